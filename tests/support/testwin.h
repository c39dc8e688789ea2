// Helpers that drive the real main window and its dialogs in the test process.
#ifndef HOURWISE_TESTWIN_H
#define HOURWISE_TESTWIN_H

#include <windows.h>
#include <string>

// Creates the main window as the program does at start (strings, class,
// window) with the settings key as it is; pumps its first messages.
void StartMainWindow();
// Destroys the main window and drains the quit message it posts.
void CloseMainWindow();
// Dispatches the messages waiting in the queue.
void Pump();

// The whole text of a control of the main window (or of a dialog).
std::string ControlText(int id, HWND parent = NULL);
std::string WindowText(HWND window);
void SetControlText(int id, const char *text);

// Keyboard input to the control that has the focus, as the message loop would
// deliver it: key down, the character TranslateMessage makes, key up.
void PressKey(UINT virtualKey, bool shift = false, bool control = false);
void TypeText(const char *text);
// Focus on a time field (index 0 for In 1 ... 7 for Out 4), type, and Tab out.
void TypeIntoField(int index, const char *text);
void Click(HWND button);

// The settings key of the program, removed or filled for a test.
void DeleteSettingsKey();
void WriteDword(const char *name, DWORD value);
void WriteString(const char *name, const char *text);
void WriteBinary(const char *name, DWORD type, const void *data, DWORD size);
bool ReadDword(const char *name, DWORD *value);
bool ReadString(const char *name, std::string *text);
void DeleteValue(const char *name);

// A dialog owned by the window, found by its class "#32770".
HWND FindOwnedDialog(HWND owner);
// Runs the action once from a timer while a modal loop runs; the action gets
// the dialog owned by owner (or NULL when none appeared within the timeout).
typedef void (*DialogAction)(HWND dialog);
void AnswerNextDialog(HWND owner, DialogAction action, int timeoutMs = 5000);
// How many times the last AnswerNextDialog's action ran.
int AnsweredDialogs();

// The row texts of the list of entries.
int RowCount();
std::string CellText(int row, int column);
int SelectedRow();

#endif
