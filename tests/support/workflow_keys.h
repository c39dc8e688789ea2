// Helpers for driving the entry workflow and the keyboard navigation of the
// main window as a user would: keystrokes to the focused control, rows entered
// through the editor, and compact views of the window's state.
#ifndef HOURWISE_WORKFLOW_KEYS_H
#define HOURWISE_WORKFLOW_KEYS_H

#include <windows.h>
#include <string>
#include <vector>

// Types keys to whatever control has the focus, one after the other, each as
// key down, the character and key up: '\t' is Tab, '\r' Enter, ' ' the space
// bar, '\b' Backspace, '\x1b' Escape; other characters are typed as such.
void Keys(const char *keys);

// The control that has the focus: "New", "Add", "Clear", "Delete",
// "Clear All", "Preferences", "Print", "list", "In 1" ... "Out 4",
// "main window", or "other" / "none".
std::string FocusName();
std::string ControlName(HWND control);

// New, the given texts typed into the fields 0 to 7 (NULL or a missing entry
// leaves a field as it is; each is left with Tab), then Add as a mouse click
// would press it: the focus goes to Add first.
void EnterRow(const std::vector<const char *> &texts);

// The texts of a row's nine cells, joined with '|'.
std::string RowTexts(int row);
// The entry numbers of all rows, joined with ','.
std::string EntryNumbers();
// The texts of the eight time fields, joined with '|'.
std::string FieldTexts();
// The four pair totals and the entry total, joined with '|'.
std::string TotalTexts();

// The enabled states: "fields New Add Clear Delete" as 0/1 each, the eight
// fields given as one digit when they agree and as "?" when they do not.
std::string EnabledStates();
// The idle mode (with "Delete" as given) and the entry mode, as
// EnabledStates() shows them.
std::string IdleStates(bool deleteEnabled);
std::string EntryStates();

// The selection of an edit control, as "start,end".
std::string EditSelection(HWND edit);

// Selects a row of the list (or no row with -1) with LVM_SETITEMSTATE.
void SelectRowByState(int row);
// Presses and releases the left mouse button over a row of the list.
void ClickRow(int row);

#endif
