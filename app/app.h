/* The application shell: process-wide window state and the main window's
   routines. */
#ifndef HOURWISE_APP_H
#define HOURWISE_APP_H

#include <windows.h>

#define UM_TABKEY   (WM_USER)       /* Tab went down in a subclassed control */
#define UM_ENTERKEY (WM_USER + 2)   /* Enter went down in a subclassed control */

#define TITLE_SIZE 100

extern char AppTitle[TITLE_SIZE];
extern char WindowClassName[TITLE_SIZE];

extern HINSTANCE hInst;
extern HWND hMainWnd;
extern HWND hEntryList;
extern HWND hClearAllButton, hPreferencesButton, hPrintButton;
extern HWND hNewButton, hAddButton, hClearButton, hDeleteButton;
extern HWND hTimeFields[8];          /* In 1, Out 1, ... Out 4 (IDs 1004 to 1011) */

extern WNDPROC OrigListProc, OrigButtonProc, OrigEditProc;

extern int EntryCounter;
extern double EntryTotal;
extern double GrandTotal;

void RegisterMainWindowClass(HINSTANCE instance);
int CreateMainWindow(HINSTANCE instance, int showCommand);
/* Start-up to the end of the message loop; returns the exit code. */
int RunHourwise(HINSTANCE instance, int showCommand);
/* Runs the loop until the quit message; returns its code. */
int RunMessageLoop(HACCEL accelerators);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int SelectedEntryIndex(void);

LRESULT CALLBACK ButtonSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void AdvanceFocus(HWND mainWindow);

/* Ctrl+C or Ctrl+Insert, with neither Alt nor Shift held. */
int IsCopyKey(WPARAM key);
/* Puts the whole list on the clipboard as tab-separated text with the hours of
   each row and their total. A clipboard held elsewhere or no memory: a warning
   beep, and nothing changes. Returns 1 when copied. */
int CopyEntryList(HWND list);

#endif
