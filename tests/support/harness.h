// The test harness: the real main window made and torn down in the test
// process, keys sent to it, its modal dialogs driven from a timer, the
// settings key read and written, and views of what the window shows.
// The printing helpers are in print_support.h.
#ifndef HOURWISE_HARNESS_H
#define HOURWISE_HARNESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// ---- the settings key --------------------------------------------------------
// One stored value: its type and its bytes as RegQueryValueExA gives them.
struct StoredValue {
    bool present;
    DWORD type;
    std::string bytes;
};
bool operator==(const StoredValue &a, const StoredValue &b);
void PrintTo(const StoredValue &value, std::ostream *os);
StoredValue Dword(DWORD number);              // REG_DWORD, four bytes
StoredValue Text(const std::string &text);    // REG_SZ with its NUL
StoredValue Raw(DWORD type, const std::string &bytes);

StoredValue ReadValue(const char *name);
void WriteValue(const char *name, const StoredValue &value);   // makes the key
void DeleteValue(const char *name);
void DeleteSettingsKey();
bool SettingsKeyExists();
// The value is stored, of that type, with exactly those bytes.
void ExpectStored(const char *name, const StoredValue &expected);

// The six preferences as one row: written, or expected in the registry or in
// memory (with the step that the round amount gives).
struct SettingsValues {
    DWORD operator1, operator2, operator3;
    const char *custName;
    DWORD roundType;
    const char *roundAmount;
};
extern const SettingsValues DEFAULT_SETTINGS;   // 1 5 8 "Customer Name" 1 ".00"
extern const SettingsValues CHANGED_SETTINGS;   // 2 6 9 "Acme Tools" 3 ".25"
void WriteSettings(const SettingsValues &values);
void ExpectStoredSettings(const SettingsValues &values, const char *except = NULL);
void ExpectLoadedSettings(const SettingsValues &values, double step);

// "Zo\u00eb \u0141ukasiewicz-Nguy\u1ec5n" in UTF-8: letters of 2 and 3 bytes.
#define MIXED_SCRIPT_NAME "Zo\xC3\xAB \xC5\x81ukasiewicz-Nguy\xE1\xBB\x85n"

// ---- fixtures ----------------------------------------------------------------
// No settings key before and after each test.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The main window made as the program makes it at start, from no settings
// key; every modal dialog that a test does not await fails the test and is
// closed. Torn down: the window destroyed, the key removed.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The window made again: with the key as it is, or holding only values.
    void Restart();
    void RestartWith(const SettingsValues &values);
};

void StartMainWindow();
void CloseMainWindow();
// Dispatches the messages waiting in the queue.
void Pump();

// ---- keys --------------------------------------------------------------------
// The one key sender. A key as the message loop delivers it: key down, the
// character that TranslateMessage makes, key up; sent, the character and the
// key up only while the focus stays on the target (KEY_FOLLOWS_FOCUS) or
// always (KEY_TO_TARGET); or key down and up posted, so that a dialog's own
// loop (and so its keyboard interface) takes them (KEY_POSTED). Shift,
// Ctrl and Alt are down while the key is sent as the modifiers say, and up
// otherwise; with Alt it is a system key (WM_SYSKEYDOWN, WM_SYSCHAR).
enum KeyWay { KEY_FOLLOWS_FOCUS, KEY_TO_TARGET, KEY_POSTED };
enum { WITH_SHIFT = 1, WITH_CONTROL = 2, WITH_ALT = 4 };
void KeyStroke(HWND target, UINT virtualKey, int modifiers = 0, KeyWay way = KEY_FOLLOWS_FOCUS);
// To the control with the focus (the main window when none has it).
void PressKey(UINT virtualKey, bool shift = false, bool control = false);
// Keys to the focused control one after the other: '\t' Tab, '\r' Enter,
// ' ' the space bar, '\b' Backspace, '\x1b' Escape, others typed as such.
void Keys(const char *keys);
// Characters only, to the focused control.
void TypeText(const char *text);
// Focus on a time field (0 In 1 ... 7 Out 4), its text selected, typed, Tab.
void TypeIntoField(int index, const char *text);
// A dialog's edit: focus, whole text selected and replaced by what is typed
// (UTF-8, typed as the characters it stands for).
void TypeInto(HWND dialog, int id, const char *text);
void Click(HWND button);
void PushButton(HWND dialog, int id);   // BM_CLICK inside a dialog's loop
void ClickRow(int row);                 // left button down and up over a row
void SelectRowByState(int row);         // selected and focused by LVM_SETITEMSTATE; -1: none selected

// ---- beeps and the clipboard ---------------------------------------------------
// The beeps heard so far: the program's MessageBeep calls, and system
// characters that the default handling looks up as a missing menu key.
int Beeps();
std::string ClipboardText();
// The UTF-8 text on the clipboard as Unicode text, or (asText false) as data of another
// format, so that the clipboard holds no text.
void PutOnClipboard(const std::string &text, bool asText = true);
// The clipboard held open by another thread until it is released.
void HoldClipboardElsewhere();
void ReleaseHeldClipboard();

// ---- modal dialogs -----------------------------------------------------------
// A dialog that a test awaits: found by class "#32770" and owner (a window, or
// the dialog of an earlier step), named in a failure, and answered; the answer
// must close it.
enum { MAIN_WINDOW_THEN = -2 };
struct AwaitedDialog {
    const char *name;
    HWND owner;
    int ownedByStep;   // -1: owner as given; MAIN_WINDOW_THEN: the main window as
                       // it is when the dialog shows (one the step itself made)
    std::function<void(HWND dialog)> answer;
};
// Runs open, whose modal loops show the dialogs, while a timer answers them
// in order. The test fails, naming the dialog, when a step has not appeared
// by the time open returns, when a dialog appears that no step awaits, or
// when open has not returned by the deadline: from then on every modal
// dialog of the process is closed at each tick until open returns. Gives
// true when every step was answered in time.
bool DriveDialogs(const std::function<void()> &open, const std::vector<AwaitedDialog> &steps,
                  int deadlineMs = 30000);
// The caption of a dialog of the process still shown ("" when none).
std::string OpenDialog();
// Used by WindowTest: while on, a modal dialog appearing outside
// DriveDialogs fails the test and is closed.
void GuardDialogs(bool on);
// The text of a message box (its static control).
std::string BoxText(HWND box);
// Answers that push a button.
void PressOk(HWND dialog);
void PressCancel(HWND dialog);

// ---- what the window shows -----------------------------------------------------
std::string WindowText(HWND window);
std::string ControlText(int id, HWND parent = NULL);
void SetControlText(int id, const char *text);   // of the main window, as it stands
// "New", "Add", "Clear", "Delete", "Clear All", "Preferences", "Print",
// "list", "In 1" ... "Out 4", "main window", "other" or "none".
std::string ControlName(HWND control);
std::string FocusName();
int RowCount();
std::string CellText(int row, int column);
int SelectedRow();
std::string RowTexts(int row);      // the nine cells, joined with '|'
std::string EntryNumbers();         // the entry numbers, joined with ','
std::string FieldTexts();           // the eight time fields, joined with '|'
std::string TotalTexts();           // the pair totals and the entry total
// "fields New Add Clear Delete ..." with 0/1 each; the fields as one digit
// when all eight agree, "?" when not.
std::string EnabledStates();
std::string IdleStates(bool deleteEnabled);
std::string EntryStates();
std::string EditSelection(HWND edit);   // "start,end"
std::string Trimmed(const std::string &text);   // without its leading blanks

// ---- the kept list -------------------------------------------------------------
// The kept file of the test prefix and its folder (%LOCALAPPDATA%\...\Hourwise).
std::wstring KeptFolder();
std::wstring KeptPath();
std::vector<std::wstring> KeptFolderFiles();   // the names in the folder, but the lock of a copy
std::string FileBytes(const std::wstring &path);   // "" when it cannot be read
void WriteFileBytes(const std::wstring &path, const std::string &bytes);   // makes its folder
// The folder and all in it removed (a file in its place too): a first start.
void DeleteKeptList();
// The rows of the kept file and of the list, a line each, as RowTexts gives them.
std::string KeptRows();
std::string ListRows();

// New, the texts typed into the fields 0 to 7 (NULL leaves a field), then
// Add as a click presses it: the focus goes to Add first.
void EnterRow(const std::vector<const char *> &texts);

#endif
