// Undo and Redo of the changes to the list of entries, and Paste: sequences
// of commands with the list, numbering, selection, totals and enabled states
// after each, the keys where they act and where they must not, and the
// clipboard texts a paste turns into rows or leaves out.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"
#include "settings.h"
#include "totals.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace {

class ListChanges : public WindowTest {};

// ---- undo and redo -----------------------------------------------------------

// A: a row added, the k-th of the test with In 8 and Out 8 + k (k hours);
// D: Delete; C: Clear All; S1: row 1 selected (S-1 none); P: a paste of two
// rows (7 and 8 hours); U: Ctrl+Z in the list; u: Alt+Backspace on "Clear
// All"; Y: Ctrl+Y in the list; y: Ctrl+Shift+Z on the main window itself; K:
// Del in the list; M: a paste of 300 rows (9 hours each), whose numbers are
// written "first..last"; N: no text on the clipboard, E: an empty one; "W L G":
// the list's menu opened by W (F10, Menu, Click0 on row 0; Edit: the Edit menu
// by Alt+E), its item L chosen, G the greyed items' first letters; !N (?N): the
// list takes N more rows (cell texts), then refuses
// one, as with no memory, in the next command, which must say so; a refused
// Add keeps the entry being typed.
struct After {
    const char *command;
    const char *numbers;   // the entry numbers of the rows
    int selected;          // -1: none
    const char *grandTotal;
    bool beeped;
};

struct Sequence {
    const char *name;
    std::vector<After> steps;
};

class UndoRedo : public ListChanges, public ::testing::WithParamInterface<Sequence> {};

// The entry numbers, with "first..last" written out.
std::string Expanded(const std::string &numbers)
{
    size_t dots = numbers.find("..");
    if (dots == std::string::npos)
        return numbers;
    std::string all;
    for (int n = std::stoi(numbers), last = std::stoi(numbers.substr(dots + 2)); n <= last; n++)
        all += (all.empty() ? "" : ",") + std::to_string(n);
    return all;
}

std::string ManyLines(int count)
{
    std::string text;
    for (int i = 0; i < count; i++)
        text += "8\t17\n";
    return text;
}

// The menu as it opened, its states as the window left them: the first letters
// of its greyed items, and the row under its top left corner ("corner": the
// list's own). A menu of the menu bar is typed its letter once it is open.
std::string menuGreyed, menuPlace;
char menuBarLetter;

LRESULT CALLBACK WatchMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *sent = (const CWPRETSTRUCT *)lParam;
    HMENU menu = (HMENU)sent->wParam;
    for (int i = 0; sent->message == WM_INITMENUPOPUP && i < GetMenuItemCount(menu); i++) {
        char text[32] = {0};
        GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
        if ((state & (MF_GRAYED | MF_SEPARATOR)) == MF_GRAYED)
            menuGreyed += text[text[0] == '&'];
    }
    if (sent->message == WM_INITMENUPOPUP && menuBarLetter) {
        PostMessageA(hEntryList, WM_CHAR, (WPARAM)menuBarLetter, 1);
        PostMessageA(hEntryList, WM_KEYDOWN, VK_ESCAPE, 1);
        menuBarLetter = 0;
    }
    if (sent->message == WM_MENUSELECT && menuPlace.empty()) {
        RECT shown;
        GetWindowRect(FindWindowA("#32768", NULL), &shown);
        LVHITTESTINFO hit = {{shown.left, shown.top}, 0, 0, 0, 0};
        ScreenToClient(hEntryList, &hit.pt);
        int row = (int)SendMessageA(hEntryList, LVM_HITTEST, 0, (LPARAM)&hit);
        menuPlace = hit.pt.x == 0 && hit.pt.y == 0 ? "corner" : "row " + std::to_string(row);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

void ListMenuCommand(const std::string &command)
{
    std::string way = command.substr(0, command.find(' ')), greyed = command.substr(way.size() + 3);
    char letter = command[way.size() + 1];
    int row = way.substr(0, 5) == "Click" ? std::stoi(way.substr(5)) : SelectedRow();
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(hEntryList, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&bounds);
    LPARAM at = MAKELPARAM(bounds.left + 20, bounds.top + 2);
    menuGreyed = menuPlace = "";
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchMenu, NULL, GetCurrentThreadId());
    SetFocus(hEntryList);
    if (way[0] == 'C') // the list follows the button until it goes up
        PostMessageA(hEntryList, WM_RBUTTONUP, 0, at);
    if (way == "Edit") {
        menuBarLetter = letter;
    } else {
        PostMessageA(hEntryList, WM_CHAR, (WPARAM)letter, 1); // for the menu's own loop
        PostMessageA(hEntryList, WM_KEYDOWN, VK_ESCAPE, 1);
    }
    if (way[0] == 'C')
        SendMessageA(hEntryList, WM_RBUTTONDOWN, MK_RBUTTON, at);
    else if (way == "Edit")
        KeyStroke(hEntryList, 'E', WITH_ALT);
    else
        KeyStroke(hEntryList, way == "F10" ? VK_F10 : VK_APPS, way == "F10" ? WITH_SHIFT : 0);
    Pump();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(greyed == "-" ? "" : greyed, menuGreyed);
    EXPECT_EQ(0, menuBarLetter) << "the Edit menu did not open";
    menuBarLetter = 0;
    if (way[0] != 'C' && way != "Edit") {
        EXPECT_EQ(row < 0 ? "corner" : "row " + std::to_string(row), menuPlace);
    }
    if (letter == 'c') { // the table that Ctrl+C copies
        EXPECT_EQ(0u, ClipboardText().find("Entry\tTime In 1"));
    }
}

int InsertsLeft = -1, TextsLeft = -1; // -1: the list takes every row, every text
WNDPROC ListProcBefore;

LRESULT CALLBACK RefusingListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVM_INSERTITEMA && InsertsLeft >= 0 && InsertsLeft-- == 0)
        return -1;
    if (message == LVM_SETITEMTEXTA && TextsLeft >= 0 && TextsLeft-- == 0)
        return FALSE;
    return CallWindowProcA(ListProcBefore, window, message, wParam, lParam);
}

void Command(const std::string &command, int *added, bool refusal = false)
{
    if (command[0] == '!' || command[0] == '?') {
        (command[0] == '!' ? InsertsLeft : TextsLeft) = command[1] - '0';
        if (GetWindowLongPtrA(hEntryList, GWLP_WNDPROC) != (LONG_PTR)RefusingListProc)
            ListProcBefore = (WNDPROC)SetWindowLongPtrA(hEntryList, GWLP_WNDPROC, (LONG_PTR)RefusingListProc);
        return;
    }
    if ((InsertsLeft >= 0 || TextsLeft >= 0) && !refusal) {
        std::string box;
        DriveDialogs([&] { Command(command, added, true); },
                     {{"no memory", hMainWnd, -1, [&](HWND dialog) {
                           box = BoxText(dialog);
                           PressOk(dialog);
                       }}});
        EXPECT_NE(std::string::npos, box.find("not enough memory")) << box;
        EXPECT_TRUE(InsertsLeft == -1 && TextsLeft == -1);
        return;
    }
    if (command == "A") {
        ++*added;
        std::string out = std::to_string(8 + *added);
        EnterRow({"8", out.c_str()});
    } else if (command == "D") {
        Click(hDeleteButton);
    } else if (command == "C") {
        Click(hClearAllButton);
    } else if (command[0] == 'S') {
        SelectRowByState(std::stoi(command.substr(1)));
    } else if (command == "K") {
        SetFocus(hEntryList);
        KeyStroke(hEntryList, VK_DELETE);
    } else if (command == "N" || command == "E") {
        PutOnClipboard("", command == "E");
    } else if (command.find(' ') != std::string::npos) {
        ListMenuCommand(command);
    } else if (command == "P" || command == "M") {
        PutOnClipboard(command == "P" ? "8\t15\r\n9\t17\r\n" : ManyLines(300));
        SetFocus(hEntryList);
        PressKey('V', false, true);
    } else {
        HWND target = command == "u" ? hClearAllButton : command == "y" ? hMainWnd : hEntryList;
        SetFocus(target);
        std::string before = FocusName();
        int modifiers = command == "u" ? WITH_ALT : command == "y" ? WITH_CONTROL | WITH_SHIFT
                                                                   : WITH_CONTROL;
        UINT key = command == "u" ? VK_BACK : command == "Y" ? 'Y' : 'Z';
        KeyStroke(target, key, modifiers);
        if (!refusal) { // after a message box, Wine may give the focus back late
            EXPECT_EQ(before, FocusName()) << "the focus moved";
        }
    }
}

TEST_P(UndoRedo, PutsTheListBackAsItWasBeforeOrAfterEachStep)
{
    int added = 0;
    bool typing = false;
    for (const After &step : GetParam().steps) {
        int beeps = Beeps(), caret = (int)SendMessageA(hEntryList, LVM_GETNEXTITEM, -1, LVNI_FOCUSED);
        std::string numbers = EntryNumbers();
        bool refusing = InsertsLeft >= 0 || TextsLeft >= 0;
        typing = (typing && step.command[0] == '?') || (refusing && std::string(step.command) == "A");
        Command(step.command, &added);
        SCOPED_TRACE(std::string("after ") + step.command);
        std::string expected = Expanded(step.numbers);
        EXPECT_EQ(expected, EntryNumbers());
        EXPECT_EQ(step.selected, SelectedRow());
        EXPECT_EQ(step.grandTotal, Trimmed(ControlText(IDC_GRANDTOTAL)));
        EXPECT_EQ(typing ? EntryStates() : IdleStates(RowCount() > 0), EnabledStates());
        EXPECT_EQ(step.beeped, Beeps() != beeps);
        // the program puts the caret on the selected row, or on none, when the list changes
        EXPECT_EQ(step.selected < 0 && numbers == expected ? caret : step.selected,
                  SendMessageA(hEntryList, LVM_GETNEXTITEM, -1, LVNI_FOCUSED))
            << "the list's caret, where Up and Down start";
        if (typing) { // the entry typed last, kept
            EXPECT_EQ(std::to_string(8 + added) + ".00", ControlText(IDC_TIMEOUT1));
        } else if (RowCount() > 0) { // the editor shows the selected row (the first when none is)
            int shown = SelectedRow() < 0 ? 0 : SelectedRow();
            EXPECT_EQ(Trimmed(CellText(shown, 2)), Trimmed(ControlText(IDC_TIMEOUT1)));
        } else if (!*step.grandTotal) { // as Clear All leaves it
            EXPECT_EQ("|||||||#||||", FieldTexts() + "#" + TotalTexts());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, UndoRedo,
    ::testing::Values(
        Sequence{"DeleteTheMiddleRow",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"A", "1,2,3", 2, "6.00", false},
                  {"S1", "1,2,3", 1, "6.00", false},
                  {"D", "1,3", 1, "4.00", false},
                  {"U", "1,2,3", 1, "6.00", false},
                  {"Y", "1,3", 1, "4.00", false},
                  {"u", "1,2,3", 1, "6.00", false},
                  {"y", "1,3", 1, "4.00", false},
                  {"A", "1,3,4", 2, "8.00", false}}},
        Sequence{"ClearAll",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"C", "", -1, "", false},
                  {"U", "1,2", 1, "3.00", false},
                  {"Y", "", -1, "", false},
                  {"U", "1,2", 1, "3.00", false},
                  {"A", "1,2,3", 2, "6.00", false}}},
        // the counter goes back to 0 with the last row, and comes back with it
        Sequence{"DeleteDownToEmpty",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"A", "1,2,3", 2, "6.00", false},
                  {"D", "1,2", 1, "3.00", false},
                  {"D", "1", 0, "1.00", false},
                  {"D", "", -1, "0.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"A", "1,4", 1, "5.00", false}}},
        Sequence{"PastTheStartAndTheEnd",
                 {{"A", "1", 0, "1.00", false},
                  {"U", "", -1, "", false},
                  {"U", "", -1, "", true},
                  {"u", "", -1, "", true},
                  {"Y", "1", 0, "1.00", false},
                  {"y", "1", 0, "1.00", true}}},
        // many rows go and come back at once, the selection as it was before
        Sequence{"APasteOfManyRows",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"S0", "1,2", 0, "3.00", false},
                  {"M", "1..302", 301, "2703.00", false},
                  {"U", "1,2", 0, "3.00", false},
                  {"Y", "1..302", 301, "2703.00", false},
                  {"S150", "1..302", 150, "2703.00", false},
                  {"U", "1,2", 0, "3.00", false},
                  {"S-1", "1,2", -1, "3.00", false},
                  {"M", "1..302", 301, "2703.00", false},
                  {"U", "1,2", -1, "3.00", false},
                  {"Y", "1..302", 301, "2703.00", false},
                  {"C", "", -1, "", false},
                  {"U", "1..302", 301, "2703.00", false},
                  {"Y", "", -1, "", false},
                  {"U", "1..302", 301, "2703.00", false},
                  {"A", "1..303", 302, "2706.00", false}}},
        Sequence{"ANewChangeDropsTheRedo",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "4.00", false},
                  {"Y", "1,2", 1, "4.00", true},
                  {"U", "1", 0, "1.00", false},
                  {"U", "", -1, "", false}}},
        Sequence{"APasteIsOneStep",
                 {{"A", "1", 0, "1.00", false},
                  {"P", "1,2,3", 2, "16.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"Y", "1,2,3", 2, "16.00", false},
                  {"A", "1,2,3,4", 3, "18.00", false}}},
        // a row the list refuses: the rows taken stay, the history is gone
        Sequence{"ThePasteStopsAtARefusedRow",
                 {{"A", "1", 0, "1.00", false},
                  {"!1", "1", 0, "1.00", false},
                  {"P", "1,2", 1, "8.00", false},
                  {"U", "1,2", 1, "8.00", true},
                  {"A", "1,2,3", 2, "10.00", false}}},
        Sequence{"TheUndoStopsAtARefusedRow",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"A", "1,2,3", 2, "6.00", false},
                  {"C", "", -1, "", false},
                  {"!2", "", -1, "", false},
                  {"U", "1,2", 1, "3.00", false},
                  {"U", "1,2", 1, "3.00", true},
                  {"Y", "1,2", 1, "3.00", true},
                  {"A", "1,2,4", 2, "7.00", false}}},
        Sequence{"TheRedoStopsAtARefusedRow",
                 {{"A", "1", 0, "1.00", false},
                  {"P", "1,2,3", 2, "16.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"!1", "1", 0, "1.00", false},
                  {"Y", "1,2", 1, "8.00", false},
                  {"Y", "1,2", 1, "8.00", true}}},
        Sequence{"TheListsMenuAndDel",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"Click0 d R", "2", 0, "2.00", false},
                  {"F10 u R", "1,2", 0, "3.00", false},
                  {"Menu r -", "2", 0, "2.00", false},
                  {"K", "", -1, "0.00", false},
                  {"U", "2", 0, "2.00", false},
                  {"S-1", "2", -1, "2.00", false},
                  {"K", "2", -1, "2.00", false},
                  {"N", "2", -1, "2.00", false},
                  {"F10 c PD", "2", -1, "2.00", false},
                  {"Menu p D", "2,3", 1, "4.00", false},
                  {"E", "2,3", 1, "4.00", false},
                  {"F10 p RP", "2,3", 1, "4.00", false},
                  {"U", "2", -1, "2.00", false}}},
        // the Edit menu of the menu bar: its items greyed as the list's menu
        // greys them, each run as there
        Sequence{"TheEditMenu",
                 {{"N", "", -1, "0.00", false},
                  {"Edit c URPD", "", -1, "0.00", false},
                  {"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"Edit l R", "1", 0, "1.00", false},
                  {"Edit u R", "1,2", 1, "3.00", false},
                  {"Edit d -", "1", 0, "1.00", false},
                  {"S-1", "1", -1, "1.00", false},
                  {"N", "1", -1, "1.00", false},
                  {"Edit c RPD", "1", -1, "1.00", false},
                  {"Edit p RD", "1,3", 1, "2.00", false}}},
        // the list refuses the row, then one of its texts: the entry stays typed
        Sequence{"ARefusedAddKeepsTheEntry",
                 {{"A", "1", 0, "1.00", false},
                  {"!0", "1", 0, "1.00", false},
                  {"A", "1", 0, "1.00", false},
                  {"?3", "1", 0, "1.00", false},
                  {"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "5.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"U", "1", 0, "1.00", true}}}),
    [](const ::testing::TestParamInfo<Sequence> &info) { return std::string(info.param.name); });

TEST_F(ListChanges, UndoBringsBackEveryTextOfTheRowsAndTheRowShown)
{
    EnterRow({"7*45", "11*15", "12*15", "16*30"});
    EnterRow({"8", "12", "12*30", "5-30", "1e5", "1e5*47"});
    SelectRowByState(0);
    std::vector<std::string> rows = {RowTexts(0), RowTexts(1)};
    std::string shown = FieldTexts() + "#" + TotalTexts();
    Click(hClearAllButton);
    SetFocus(hEntryList);
    PressKey('Z', false, true);
    ASSERT_EQ(2, RowCount());
    EXPECT_EQ(rows[0], RowTexts(0));
    EXPECT_EQ(rows[1], RowTexts(1));
    EXPECT_EQ(shown, FieldTexts() + "#" + TotalTexts());
}

TEST_F(ListChanges, TimeFieldsKeepTheirOwnUndoAndEntryModeOnlyBeeps)
{
    EnterRow({"8", "17"});
    EnterRow({"9", "18"});
    std::string rows = EntryNumbers();

    Click(hNewButton);
    SetControlText(IDC_TIMEIN1, "8*30");
    SendMessageA(hTimeFields[0], EM_SETSEL, 0, -1);
    TypeText("10");
    PressKey('Z', false, true); // the field's own undo: its typing is gone
    EXPECT_EQ("8*30", ControlText(IDC_TIMEIN1));
    EXPECT_EQ(rows, EntryNumbers());

    for (HWND target : {hEntryList, hClearAllButton}) {
        for (int modifiers : {(int)WITH_CONTROL, WITH_CONTROL | WITH_SHIFT}) {
            SetFocus(target);
            int beeps = Beeps();
            KeyStroke(target, 'Z', modifiers);
            EXPECT_EQ(beeps + 1, Beeps());
        }
        KeyStroke(target, 'Y', WITH_CONTROL);
        EXPECT_EQ(rows, EntryNumbers());
        EXPECT_EQ(EntryStates(), EnabledStates());
        EXPECT_EQ(" 8.50", ControlText(IDC_TIMEIN1));
    }
    int added = 0, beeps = Beeps(); // the list's menu offers only Copy; it and Del delete nothing
    Command("Menu d URPD", &added);
    Command("K", &added);
    EXPECT_EQ(rows + EntryStates() + "0", EntryNumbers() + EnabledStates() + std::to_string(Beeps() - beeps));

    // a Clear All pressed while typing comes back as the list it emptied
    Click(hClearAllButton);
    SetFocus(hEntryList);
    PressKey('Z', false, true);
    EXPECT_EQ(rows, EntryNumbers());
    EXPECT_EQ(IdleStates(true), EnabledStates());
}

// ---- paste -------------------------------------------------------------------

// "+" as minutes only, so that a typed time can be negative
const SettingsValues PLUS_MINUTES = {1, 5, 7, "Customer Name", 1, ".00"};
const SettingsValues QUARTER_BOTH = {1, 5, 8, "Customer Name", 1, ".25"};
const SettingsValues TENTH_BOTH = {1, 5, 8, "Customer Name", 1, ".1"};

TEST_F(ListChanges, ACopiedWeekPastesBackAsItWas)
{
    RestartWith(PLUS_MINUTES);
    EnterRow({"-1+5", "1e7", "1e5*47", "-99e5+0", "1e10", "-0.5"});
    EnterRow({"8", "12", "12*30", "5-30"});
    EnterRow({"7*45", "11*15", "12*15", "16*30"});
    EnterRow({"0", "17"});
    EnterRow({"8.3", "12.1", "0", "0", "0", "0", "13", "17.25"});
    EnterRow({"9999999", "1e5*47"});
    SetFocus(hEntryList);
    PressKey('C', false, true);
    std::string copied = ClipboardText();
    std::vector<std::string> rows;
    for (int row = 0; row < RowCount(); row++)
        rows.push_back(RowTexts(row));
    std::string grand = ControlText(IDC_GRANDTOTAL);

    Click(hClearAllButton);
    SetFocus(hEntryList);
    PressKey('V', false, true);
    ASSERT_EQ(rows.size(), (size_t)RowCount());
    for (int row = 0; row < RowCount(); row++)
        EXPECT_EQ(rows[row], RowTexts(row));
    EXPECT_EQ(grand, ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(RowCount() - 1, SelectedRow());
    EXPECT_EQ("list", FocusName());
    PressKey('C', false, true);
    EXPECT_EQ(copied, ClipboardText());
}

struct PasteCase {
    const char *name;
    const SettingsValues *settings; // NULL: the defaults
    std::string clipboard;
    std::vector<const char *> rows;  // the times of each added row, from In 1 on
    const char *message;             // "": none
};

class Pasted : public ListChanges, public ::testing::WithParamInterface<PasteCase> {};

std::string PastedTimes(int row)
{
    std::string times;
    for (int column = 1; column <= 8; column++)
        times += (column > 1 ? " " : "") + Trimmed(CellText(row, column));
    return times;
}

TEST_P(Pasted, TextGivesTheseRowsOrSaysWhatWasLeftOut)
{
    const PasteCase &c = GetParam();
    if (c.settings)
        RestartWith(*c.settings);
    EnterRow({"8", "9"});
    if (c.clipboard == "no text")
        PutOnClipboard(c.clipboard, false);
    else
        PutOnClipboard(c.clipboard);
    SetFocus(hEntryList);
    int beeps = Beeps();
    std::string message;
    if (*c.message)
        DriveDialogs([] { PressKey('V', false, true); },
                     {{"paste message", hMainWnd, -1, [&](HWND box) {
                           message = WindowText(box) + ": " + BoxText(box);
                           PressOk(box);
                       }}});
    else
        PressKey('V', false, true);
    EXPECT_EQ(c.message, message);
    EXPECT_EQ(c.rows.empty() && !*c.message, Beeps() != beeps) << "a beep when nothing is pasted";

    ASSERT_EQ(1 + (int)c.rows.size(), RowCount());
    for (size_t i = 0; i < c.rows.size(); i++) {
        EXPECT_EQ(c.rows[i], PastedTimes(1 + (int)i)) << "row " << i;
        EXPECT_EQ(std::to_string(2 + i), CellText(1 + (int)i, 0));
    }
    EXPECT_EQ(RowCount() - 1, SelectedRow());
    EXPECT_EQ(IdleStates(true), EnabledStates());
    // After a message box the focus comes back to the list once Wine has
    // activated the main window again, which it may do late: not checked.
    if (!*c.message) {
        EXPECT_EQ("list", FocusName());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clipboard, Pasted,
    ::testing::Values(
        PasteCase{"TimesAsTyped", NULL, "17.50\t5-30\r\n8*30\t12+1\t  9  \t16\r\n",
                  {"17.50 17.50 0.00 0.00 0.00 0.00 0.00 0.00",
                   "8.50 12.02 9.00 16.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"OperatorsUnderChangedPreferences", &CHANGED_SETTINGS, "8*30\t5-30\t4+10\t8.10\n",
                  {"20.50 17.50 16.25 8.10 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"ClockTimesOfSpreadsheets", NULL,
                  "08:30:00 AM\t12:00:00 PM\t12:30 pm\t05:15PM\r\n16:05\t8:30:45\t40:15\t12:00 am\r\n"
                  "-0.92\t10000000.00\t-9900000.00\t1e10\t1e5*47\t100000.78\t99999999.50\r\n",
                  {"8.50 12.00 12.50 17.25 0.00 0.00 0.00 0.00", "16.08 32.51 40.25 48.00 0.00 0.00 0.00 0.00",
                   "-0.92 10000000.00 -9900000.00 10000000.00 100000.70 100000.78 99999999.50 0.00"}, ""},
        // the clock times of a line run on over midnight; a duration stays as it is
        PasteCase{"NightShiftsAndExactHalvesOfSeconds", NULL,
                  "10:15 PM\t6:00 AM\r\n4:00 PM\t12:00 AM\r\n10:00 PM\t2:00 AM\t2:30 AM\t6:00 AM\r\n"
                  "12:00 AM\t8:00:54\t8:01:30\t8:02:42\r\n12:30 AM\t24:00\r\n",
                  {"22.25 30.00 0.00 0.00 0.00 0.00 0.00 0.00", "16.00 24.00 0.00 0.00 0.00 0.00 0.00 0.00",
                   "22.00 26.00 26.50 30.00 0.00 0.00 0.00 0.00", "0.00 8.02 8.03 8.05 0.00 0.00 0.00 0.00",
                   "0.50 24.00 0.00 0.00 0.00 0.00 0.00 0.00"}, ""},
        // a pair of two midnights is empty and leaves the shift's clock alone
        PasteCase{"EmptyPairsAtMidnight", NULL,
                  "22:00\t6:00\t0:00\t0:00\r\n10:00 PM\t2:00 AM\t12:00 AM\t12:00 am\t3:00 AM\t4:00 AM\r\n"
                  "00:00:00\t0:00\t8:00\t17:00\r\n",
                  {"22.00 30.00 0.00 0.00 0.00 0.00 0.00 0.00", "22.00 26.00 0.00 0.00 27.00 28.00 0.00 0.00",
                   "0.00 0.00 8.00 17.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"ExactHalvesOfSecondsToATenth", &TENTH_BOTH, "8:00:54\t8:02:42\r\n",
                  {"8.00 8.10 0.00 0.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"ClockTimesToAQuarterHour", &QUARTER_BOTH, "7:52\t7*52\t11:37:30 AM\t5:07 PM\r\n",
                  {"7.75 7.75 11.75 17.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"LineEnds", NULL, "8\t12\n13\t17\r14\t15\r\n\r\n\n",
                  {"8.00 12.00 0.00 0.00 0.00 0.00 0.00 0.00", "13.00 17.00 0.00 0.00 0.00 0.00 0.00 0.00",
                   "14.00 15.00 0.00 0.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"ACopiedTableWithNumbersHoursAndTotal", NULL,
                  "Entry\tTime In 1\tTime Out 1\tTime In 2\tTime Out 2\tTime In 3\tTime Out 3\tTime "
                  "In 4\tTime Out 4\tHours\r\n7\t8.00\t12.00\t12.50\t17.50\t0.00\t0.00\t0.00\t0.00"
                  "\t99.00\r\nTotal\t\t\t\t\t\t\t\t\t99.00\r\nRegular\t\t\t\t\t\t\t\t\t40.00\r\n"
                  "Overtime\t\t\t\t\t\t\t\t\t59.00\r\nDouble time\t\t\t\t\t\t\t\t\t0.00\r\n"
                  "Gross pay\t\t\t\t\t\t\t\t\t1275.00\r\n",
                  {"8.00 12.00 12.50 17.50 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"EightTimesAndEmptyCells", NULL, "1\t2\t\t4\t5\t6\t7\t8\t\t\t\n",
                  {"1.00 2.00 0.00 4.00 5.00 6.00 7.00 8.00"}, ""},
        PasteCase{"AHeaderOfAnotherProgram", NULL, "Date\tIn\tOut\r\n8\t16\r\n",
                  {"8.00 16.00 0.00 0.00 0.00 0.00 0.00 0.00"},
                  "Hourwise: 1 line was left out because it holds no entry. The first of "
                  "them:\n\n\"Date In Out\""},
        PasteCase{"CellsThatAreNoTimes", NULL,
                  "12345678901\t8\r\n1234567.00\r\n8:60\r\ne\r\n8h30\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\r\n"
                  "x\t1\t2\t3\t4\t5\t6\t7\t8\t9\r\n13:00 PM\t8:5\t8:30:00:00\r\n12345678.55\r\n"
                  "1234*567\r\n0:30 AM\r\n8:30:60\r\n",
                  {"1234567.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00"},
                  "Hourwise: 11 lines were left out because they hold no entry. The first of "
                  "them:\n\n\"12345678901 8\""},
        PasteCase{"Prose", NULL,
                  "Dear clerk, here are the hours of last week that you asked for.\r\nRegards\r\n",
                  {}, "Hourwise: 2 lines were left out because they hold no entry. The first of "
                      "them:\n\n\"Dear clerk, here are the hours of last w\""},
        PasteCase{"ALineInAnyScriptIsQuotedAsItStands", NULL,
                  MIXED_SCRIPT_NAME " worked 8 to 17 on Monday\r\n", {},
                  "Hourwise: 1 line was left out because it holds no entry. The first of "
                  "them:\n\n\"" MIXED_SCRIPT_NAME " worked 8 to 17 on\""},
        PasteCase{"OnlyAHeadingAndBlankLines", NULL, "Entry\tTime In 1\r\n  \t \r\n", {}, ""},
        PasteCase{"AnEmptyClipboard", NULL, "", {}, ""},
        PasteCase{"NoTextOnTheClipboard", NULL, "no text", {}, ""},
        PasteCase{"MoreThanTenThousandRows", NULL, ManyLines(10001), {},
                  "Hourwise: The clipboard holds more than 10,000 entries. Nothing was pasted: "
                  "paste at most 10,000 at a time."}),
    [](const ::testing::TestParamInfo<PasteCase> &info) { return std::string(info.param.name); });

TEST_F(ListChanges, APasteEndsWithItsLastRowInView)
{
    PutOnClipboard(ManyLines(40));
    SetFocus(hEntryList);
    PressKey('V', false, true);
    EXPECT_EQ(40, SendMessageA(hEntryList, LVM_GETTOPINDEX, 0, 0) +
                      SendMessageA(hEntryList, LVM_GETCOUNTPERPAGE, 0, 0));
}

TEST_F(ListChanges, PasteInEntryModeOnlyBeeps)
{
    EnterRow({"8", "9"});
    PutOnClipboard("8\t17\r\n");
    Click(hNewButton);
    SetFocus(hEntryList);
    int beeps = Beeps();
    PressKey('V', false, true);
    KeyStroke(hEntryList, VK_INSERT, WITH_SHIFT);
    EXPECT_EQ(beeps + 2, Beeps());
    EXPECT_EQ("1", EntryNumbers());
    EXPECT_EQ(EntryStates(), EnabledStates());
}

TEST_F(ListChanges, AClipboardHeldElsewhereIsGivenUpAfterAMomentWithABeep)
{
    EnterRow({"8", "17"});
    PutOnClipboard("9\t12\r\n");
    HoldClipboardElsewhere();

    SetFocus(hEntryList);
    int beeps = Beeps();
    DWORD start = GetTickCount();
    KeyStroke(hEntryList, VK_INSERT, WITH_SHIFT);
    DWORD took = GetTickCount() - start;
    EXPECT_EQ("1", EntryNumbers());
    EXPECT_EQ(beeps + 1, Beeps());
    EXPECT_GE(took, 200u);
    EXPECT_LT(took, 5000u);

    ReleaseHeldClipboard();
    KeyStroke(hEntryList, VK_INSERT, WITH_SHIFT); // free again: it pastes
    EXPECT_EQ("1,2", EntryNumbers());
}


// ---- the pay summary -----------------------------------------------------------

class PaySummaryFollows : public ListChanges {
protected:
    void TearDown() override
    {
        const PayRules defaults = DEFAULT_PAY_RULES;
        CurrentPayRules = defaults;
        ListChanges::TearDown();
    }
};

// The four figures and the note of more days than a week has, '|' between.
std::string Summary()
{
    std::string shown;
    for (int id = IDC_REGULARHOURS; id <= IDC_GROSSPAY; id++)
        shown += Trimmed(ControlText(id)) + "|";
    for (HWND child = GetWindow(hMainWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child).find("counted as one week") != std::string::npos)
            shown += WindowText(child);
    return shown;
}

// The week of the guide: Mon 10 h, Tue 8, Wed 13, Thu 8, Fri 8.
TEST_F(PaySummaryFollows, EveryChangeOfTheListAndOfTheRules)
{
    for (const char *out : {"18", "16", "21", "16", "16"})
        EnterRow({"8", out});
    EXPECT_EQ("40.00|7.00|0.00||", Summary());
    Restart(); // the kept list read at start
    EXPECT_EQ("40.00|7.00|0.00||", Summary());
    SelectRowByState(2);
    Click(hDeleteButton);
    EXPECT_EQ("34.00|0.00|0.00||", Summary());
    int added = 0;
    for (const char *command : {"U", "Y", "U"})
        Command(command, &added);
    EXPECT_EQ("40.00|7.00|0.00||", Summary());

    PayRules california = DEFAULT_PAY_RULES;
    california.OvertimeDaily = 800;
    california.DoubleTimeDaily = 1200;
    california.HasRate = 1;
    california.HourlyRate = 250000;
    CurrentPayRules = california;
    UpdateGrandTotal(); // as the rules' dialog ends
    EXPECT_EQ("40.00|6.00|1.00|$1,275.00|", Summary());

    SetFocus(hEntryList);
    PressKey('C', false, true); // the copy's own lines are in test_copylist
    EXPECT_NE(std::string::npos, ClipboardText().find("\r\nGross pay\t\t\t\t\t\t\t\t\t1275.00\r\n"));
    Click(hClearAllButton);
    EXPECT_EQ("||||", Summary());
    SetFocus(hEntryList);
    PressKey('V', false, true); // no message: the pay lines are passed over
    EXPECT_EQ(5, RowCount());
    EXPECT_EQ("40.00|6.00|1.00|$1,275.00|", Summary());

    for (int i = 0; i < 3; i++)
        EnterRow({"8", "16"});
    EXPECT_EQ("40.00|30.00|1.00|$2,175.00|8 days: counted as one week", Summary());
    // a day of 10,000,000 hours: $500,002,025.00 does not fit its static, and
    // 9999989.00 hours (by the width of the font) fit or do not, never cut
    EnterRow({"0", "1e10"});
    std::string doubleTime = Trimmed(ControlText(IDC_DOUBLETIMEHOURS));
    EXPECT_TRUE(doubleTime == "9999989.00" || doubleTime == "too large") << doubleTime;
    EXPECT_EQ("40.00|42.00|" + doubleTime + "|too large|9 days: counted as one week", Summary());
}

} // namespace
