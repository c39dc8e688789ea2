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
/* Delete: the selected row (the first when none is) out of the list, as one
   step of the history; the focus then goes to focusAfter. */
void DeleteEntry(HWND focusAfter);

LRESULT CALLBACK ButtonSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
/* Moves the focus on along the ring; from the main window itself, back to
   the control remembered by RememberFocus. */
void AdvanceFocus(HWND mainWindow);
/* Notes the control that holds the focus as the main window is deactivated. */
void RememberFocus(HWND mainWindow);
void ForgetRememberedFocus(void);   /* when the main window goes */
/* The modifiers held while a key went down: MOD_CONTROL, MOD_SHIFT, MOD_ALT. */
int HeldModifiers(void);

/* Puts the whole list on the clipboard as tab-separated text with the hours of
   each row and their total. A clipboard held elsewhere or no memory for the
   text: a warning beep, and the clipboard keeps what it held. Should the
   clipboard, once emptied for the text, refuse it, the warning beep too, but
   the clipboard's earlier content is gone. Returns 1 when copied. */
int CopyEntryList(HWND list);
/* Opens the clipboard, trying for about a quarter of a second while another
   program holds it; 1 when open. */
int OpenClipboardPatiently(HWND owner);

/* Appends the entries of the clipboard's text (in idle mode; otherwise a
   beep), as one step of the history; says how many lines were left out.
   Returns the number of entries added. */
int PasteEntries(void);
/* Whether Paste would read a text now: idle mode, and a text on the
   clipboard that is not empty. */
int CanPasteEntries(void);

/* ---- the list's context menu and its Del key ------------------------------ */
/* A right click on the list (WM_CONTEXTMENU), Shift+F10 or the Menu key opens
   the menu of Undo, Redo, Copy, Paste and Delete; Del deletes the selected
   row. Gives 1 when the message was used. */
int HandleListMenuKey(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
/* The menu's items greyed where they would only beep or do nothing now, and
   one of its commands (IDM_UNDO to IDM_DELETE) run as its key or button runs it. */
void OfferListCommands(HMENU menu);
void RunListCommand(UINT command);

/* ---- the Edit menu of the menu bar ----------------------------------------- */
/* The list's commands, greyed as the list's menu greys them as the Edit menu
   opens (WM_INITMENUPOPUP of any other menu is left alone), and Pay Rules,
   whose OK brings the grand total and the pay summary up to the new rules;
   rule changes make no step of the history. */
void OfferEditCommands(HWND window, HMENU popup);
void RunEditCommand(HWND window, UINT command);

/* ---- the history of list changes, for Undo and Redo ---------------------- */
/* In idle mode, take back or make again one change of the list; with nothing
   to take back or make again, or in entry mode, a beep. */
void UndoListChange(void);
void RedoListChange(void);
/* Whether they would act now (idle mode, a step to take back or make again). */
int CanUndoListChange(void);
int CanRedoListChange(void);
/* A change of the list is one step: begun before it, the rows it takes out
   noted before they go and the rows it puts in after they came, ended after
   it. A change that touched no row makes no step. The rows noted reach the
   kept list as well. */
void BeginListChange(void);
void NoteRemovedRows(int first, int count);
void NoteInsertedRows(int first, int count);
void EndListChange(void);
void ForgetListHistory(void);
/* After the list refused a row midway through a change: the history no longer
   fits the list, so it is dropped, and a message box says so. */
void GiveUpListHistory(void);
/* The undo and redo keys on the list, a button or the main window: a key-down
   acts and goes on as any other key; gives 1 for the character such a key
   makes, which is dropped. */
int HandleHistoryKey(UINT message, WPARAM key);

/* ---- rows of the list and the editor -------------------------------------- */
/* Entry mode: an entry is being typed (New is disabled then). */
int InEntryMode(void);
/* The eight time fields, the pair totals and the entry total emptied. */
void EmptyEditor(void);
int EntryRowCount(void);
int SelectedRowOrNone(void);            /* -1 when no row is selected */
void SelectOnlyRow(int row);            /* with the caret; -1: none */
/* Sets the states of mask (LVIS_SELECTED, LVIS_FOCUSED) of a row to state. */
void SetRowState(int row, UINT mask, UINT state);
/* Inserts a row of nine texts at index, then gives it that state (0, or
   LVIS_SELECTED with LVIS_FOCUSED); returns the row's index, or -1 when the
   list refused it or one of its texts (no memory): then no row was added and
   the selection is as it was. */
int InsertEntryRow(int index, const char *const cells[9], UINT state);
/* The same for a row as Add writes it: the number "%d", the times "%8.2f". */
int InsertEntryTimes(int index, int number, const double times[8], UINT state);
/* While set, a selection change of the list shows nothing: the rows are being
   put in or taken out many at a time, redrawn once at the end. */
extern int ListChangesQuiet;
void BeginQuietListChange(void);
void EndQuietListChange(void);
/* How every change of the list ends (Add, Delete, Clear All, Paste, Undo,
   Redo), in idle mode: the grand total, Delete enabled while there are rows,
   the selected row shown in the editor and made the list's caret, scrolled
   into view, and then the focus on the control given (NULL: it stays; New for
   a Delete that has just been disabled). A list left empty shows nothing at
   all, as after Clear All; or, with EMPTY_KEEPS_EDITOR (a Delete of the last
   row), the editor keeps the row it showed and the grand total is 0.00.
   Last, the list is kept on disk (SaveKeptList). */
enum { EMPTY_AS_CLEAR_ALL, EMPTY_KEEPS_EDITOR };
void ShowListAfterChange(HWND focus, int whenEmpty = EMPTY_AS_CLEAR_ALL);

/* ---- the kept list ---------------------------------------------------------- */
/* The list outlives the program in the file
   %LOCALAPPDATA%\Quillfeather Systems Inc\Hourwise\Entries.txt.
   At start, once the window is built: the list read back, unless another
   copy of the program keeps it (the title then says the list is not kept).
   A file that does not read whole is set aside and a message says so. */
void OpenKeptList(void);
/* Rows of the list noted as they change: taken out (before they go) or put
   in (after they came), with their texts as the history holds them (nine a
   row, each with its NUL), or NULL to read them from the list. The history's
   notes pass them on. */
void KeepRemovedRows(int first, int count);
void KeepInsertedRows(int first, int count, const char *texts);
/* The list as the window shows it written to the disk, after each change;
   a write that fails says so, once until a save goes through again, and
   each later change tries again. */
void SaveKeptList(void);
/* Before the window closes (its close box, File Exit): should the disk not
   hold the list shown, one more save, and if that fails too, the question
   whether to close all the same. Gives 1 to close. */
int MayCloseKeptList(void);
/* Windows ends the session: one more save should it be needed, in silence. */
void SaveKeptListInSilence(void);
/* As the window goes: a last save should the one before have failed, and the
   list is let go for another copy to keep. */
void CloseKeptList(void);
/* Whether count more entries (of an Add, or pasted) can be numbered on from
   EntryCounter: entry numbers end at 999,999,999, the largest the kept file
   reads back. When not, a message says so and gives 0. */
int MayNumberEntries(int count, int pasted);
/* Tests only: asked before each file operation of a save and each read of
   the list at start; an error other than 0 fails the operation with it. */
extern DWORD (*KeptFileFault)(void);

#endif
