// Keyboard navigation of the real main window: the Tab rings of the idle and
// the entry mode, Enter and the space bar on buttons, Escape, the selection of
// a field's text, the way back from the main window itself after a dialog,
// and the accelerators of the About box.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"

#include <ostream>
#include <string>
#include <vector>

namespace {

class Navigation : public WindowTest {};

// ---- the rings -----------------------------------------------------------------

enum RingStart { IDLE_EMPTY, IDLE_WITH_ROWS, ENTRY, ENTRY_FROM_LIST };

struct RingCase {
    const char *name;
    RingStart start;
    std::vector<std::string> ring; // the focus at the start, then after each key
    // a dialog opened and closed from focus (0: the window itself), then Ctrl+Z,
    // then a second dialog from the window itself
    int focus = 0, dialog = 0;
    bool undo = false;
    int second = 0;
};

struct KeyCase {
    const char *name;
    UINT key;
    bool shift;
};

void PrintTo(const RingCase &c, std::ostream *os) { *os << c.name; }
void PrintTo(const KeyCase &c, std::ostream *os) { *os << c.name; }

class Ring : public Navigation, public ::testing::WithParamInterface<std::tuple<RingCase, KeyCase>> {};

TEST_P(Ring, FollowsTheFixedOrderSkippingDisabledControls)
{
    const RingCase &ring = std::get<0>(GetParam());
    const KeyCase &key = std::get<1>(GetParam());
    switch (ring.start) {
    case IDLE_EMPTY:
        break;
    case IDLE_WITH_ROWS:
        EnterRow({"8", "17"});
        break;
    case ENTRY:
        Click(hNewButton);
        break;
    case ENTRY_FROM_LIST:
        EnterRow({"8", "17"});
        Click(hNewButton);
        SetFocus(hEntryList);
        break;
    }
    if (ring.dialog) {
        SetFocus(ring.focus ? GetDlgItem(hMainWnd, ring.focus) : hMainWnd);
        for (int dialog : {ring.dialog, ring.second})
            if (dialog) {
                EXPECT_TRUE(DriveDialogs([&] { SendMessageA(hMainWnd, WM_COMMAND, dialog, 0); },
                                         {{"dialog", hMainWnd, -1, PressCancel}}));
            }
        if (ring.undo)
            KeyStroke(hMainWnd, 'Z', WITH_CONTROL);
    }
    const std::string states = EnabledStates();
    const int rows = RowCount();
    std::vector<std::string> seen(1, FocusName());
    for (size_t i = 1; i < ring.ring.size(); i++) {
        PressKey(key.key, key.shift);
        seen.push_back(FocusName());
        for (HWND field : hTimeFields) { // a field moved into has its whole text selected
            if (field == GetFocus() && IsWindowEnabled(field)) {
                EXPECT_EQ("0," + std::to_string(WindowText(field).size()), EditSelection(field));
            }
        }
    }
    EXPECT_EQ(ring.ring, seen);
    // Moving on presses nothing.
    EXPECT_EQ(states, EnabledStates());
    EXPECT_EQ(rows, RowCount());
}

const RingCase RING_CASES[] = {
    {"IdleEmpty", IDLE_EMPTY, {"New", "list", "Clear All", "Preferences", "Print", "New", "list"}},
    {"IdleWithRows",
     IDLE_WITH_ROWS,
     {"New", "Delete", "list", "Clear All", "Preferences", "Print", "New", "Delete"}},
    {"Entry",
     ENTRY,
     {"In 1", "Out 1", "In 2", "Out 2", "In 3", "Out 3", "In 4", "Out 4", "Add", "Clear", "In 1", "Out 1"}},
    {"EntryFromTheList",
     ENTRY_FROM_LIST,
     {"list", "Clear All", "Preferences", "Print", "Add", "Clear", "In 1"}},
    // back from the window itself to the control that held the focus, or on from it
    {"AboutFromPrint", IDLE_WITH_ROWS, {"main window", "Print", "New"}, IDC_PRINT, IDM_ABOUT},
    {"PreferencesFromAField", ENTRY, {"main window", "In 2", "Out 2"}, IDC_TIMEIN2, IDM_PREFERENCES},
    {"PayRulesFromAField", ENTRY, {"main window", "Out 3", "In 4"}, IDC_TIMEOUT3, IDM_PAYRULES},
    {"PrintFromAdd", ENTRY, {"main window", "Add", "Clear"}, IDC_ADD, IDM_PRINTTIMESHEET},
    {"ADeleteDisabledSince", IDLE_WITH_ROWS, {"main window", "list"}, IDC_DELETE, IDM_PREFERENCES, true},
    {"PrintFromTheWindow", IDLE_WITH_ROWS, {"main window", "New", "Delete"}, 0, IDM_PRINTTIMESHEET},
    {"AboutFromTheWindowInEntryMode", ENTRY, {"main window", "Add"}, 0, IDM_ABOUT},
    {"AboutThenPrintFromAField", ENTRY, {"main window", "Out 1", "In 2"}, IDC_TIMEOUT1, IDM_ABOUT, false,
     IDM_PRINTTIMESHEET},
};

const KeyCase KEY_CASES[] = {
    {"Tab", VK_TAB, false},
    {"ShiftTab", VK_TAB, true},
    {"Enter", VK_RETURN, false},
    {"ShiftEnter", VK_RETURN, true},
};

INSTANTIATE_TEST_SUITE_P(Keys, Ring,
                         ::testing::Combine(::testing::ValuesIn(RING_CASES), ::testing::ValuesIn(KEY_CASES)),
                         [](const ::testing::TestParamInfo<std::tuple<RingCase, KeyCase>> &info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

// ---- buttons -----------------------------------------------------------------------

TEST_F(Navigation, EnterOnAButtonMovesOnWithoutPressingIt)
{
    EnterRow({"8", "17"});
    struct Case {
        HWND button;
        const char *next;
    } cases[] = {
        {hNewButton, "Delete"},       {hDeleteButton, "list"},     {hClearAllButton, "Preferences"},
        {hPreferencesButton, "Print"}, {hPrintButton, "New"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(ControlName(c.button));
        SetFocus(c.button);
        PressKey(VK_RETURN);
        EXPECT_EQ(c.next, FocusName());
        EXPECT_EQ(IdleStates(true), EnabledStates());
        EXPECT_EQ(1, RowCount());
        EXPECT_EQ("", OpenDialog());
    }
    Click(hNewButton);
    TypeIntoField(0, "9");
    SetFocus(hAddButton);
    PressKey(VK_RETURN);
    EXPECT_EQ("Clear", FocusName());
    PressKey(VK_RETURN);
    EXPECT_EQ("In 1", FocusName());
    EXPECT_EQ(EntryStates(), EnabledStates());
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ(" 9.00", ControlText(IDC_TIMEIN1));
}

TEST_F(Navigation, TheSpaceBarPressesTheFocusedButton)
{
    ASSERT_EQ("New", FocusName());
    PressKey(VK_SPACE);
    EXPECT_EQ(EntryStates(), EnabledStates());
    EXPECT_EQ("In 1", FocusName());

    TypeIntoField(0, "8");
    TypeIntoField(1, "17");
    SetFocus(hAddButton);
    PressKey(VK_SPACE);
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ("New", FocusName());

    SetFocus(hDeleteButton);
    PressKey(VK_SPACE);
    EXPECT_EQ(0, RowCount());
}

// ---- what reaches the controls' own procedures -----------------------------------

// Stands between a subclass procedure and the control's own procedure and
// records the key messages that get through.
WNDPROC spiedProc;
std::vector<std::string> reached;

LRESULT CALLBACK SpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) &&
        (wParam == VK_ESCAPE || wParam == VK_TAB || wParam == VK_RETURN || wParam == 'C' ||
         wParam == 3)) {
        const char *name = message == WM_KEYDOWN ? "down" : message == WM_KEYUP ? "up" : "char";
        reached.push_back(name);
    }
    return CallWindowProcA(spiedProc, window, message, wParam, lParam);
}

enum SpiedControl { SPY_BUTTON, SPY_FIELD, SPY_LIST };

struct ReachCase {
    const char *name;
    SpiedControl control;
    UINT key;
    std::vector<std::string> reached;
    bool withControl = false; // Ctrl held down with the key
};

class KeyReaches : public Navigation, public ::testing::WithParamInterface<ReachCase> {};

TEST_P(KeyReaches, TheControlsOwnProcedureAsTheTableSays)
{
    const ReachCase &c = GetParam();
    WNDPROC *slot = NULL;
    HWND control = NULL;
    switch (c.control) {
    case SPY_BUTTON:
        slot = &OrigButtonProc;
        control = hClearAllButton;
        break;
    case SPY_FIELD:
        Click(hNewButton);
        slot = &OrigEditProc;
        control = hTimeFields[2];
        break;
    case SPY_LIST:
        slot = &OrigListProc;
        control = hEntryList;
        break;
    }
    SetFocus(control);
    ASSERT_EQ(control, GetFocus());
    spiedProc = *slot;
    *slot = SpyProc;
    reached.clear();
    // The key as the message loop delivers it, to the focused control only.
    KeyStroke(control, c.key, c.withControl ? WITH_CONTROL : 0, KEY_TO_TARGET);
    *slot = spiedProc;
    Pump();
    EXPECT_EQ(c.reached, reached);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyReaches,
    ::testing::Values(ReachCase{"EscapeOnAButton", SPY_BUTTON, VK_ESCAPE, {"down"}},
                      ReachCase{"EscapeInAField", SPY_FIELD, VK_ESCAPE, {"down", "char", "up"}},
                      ReachCase{"EscapeInTheList", SPY_LIST, VK_ESCAPE, {"down", "char", "up"}},
                      ReachCase{"TabOnAButton", SPY_BUTTON, VK_TAB, {}},
                      ReachCase{"TabInAField", SPY_FIELD, VK_TAB, {}},
                      ReachCase{"TabInTheList", SPY_LIST, VK_TAB, {}},
                      ReachCase{"EnterOnAButton", SPY_BUTTON, VK_RETURN, {}},
                      ReachCase{"EnterInAField", SPY_FIELD, VK_RETURN, {}},
                      ReachCase{"EnterInTheList", SPY_LIST, VK_RETURN, {}},
                      ReachCase{"CtrlCInTheList", SPY_LIST, 'C', {"down", "char", "up"}, true}),
    [](const ::testing::TestParamInfo<ReachCase> &info) { return std::string(info.param.name); });

TEST_F(Navigation, EscapeOnAButtonLeavesEverythingAsItWas)
{
    EnterRow({"8", "17"});
    const std::string fields = FieldTexts();
    SetFocus(hClearAllButton);
    PressKey(VK_ESCAPE);
    EXPECT_EQ("Clear All", FocusName());
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ(fields, FieldTexts());
    EXPECT_TRUE(IsWindow(hMainWnd));
}

// ---- the fields -----------------------------------------------------------------------

TEST_F(Navigation, TabOrEnterIntoAFieldSelectsItsWholeText)
{
    EnterRow({"8", "17", "12*30", "5-00"});
    Click(hNewButton);
    EXPECT_EQ("0,8", EditSelection(hTimeFields[0]));
    PressKey(VK_TAB);
    EXPECT_EQ("Out 1", FocusName());
    EXPECT_EQ("0,8", EditSelection(hTimeFields[1]));
    PressKey(VK_RETURN);
    EXPECT_EQ("In 2", FocusName());
    EXPECT_EQ("0,8", EditSelection(hTimeFields[2]));
    // The first key typed replaces the text.
    Keys("9\t");
    EXPECT_EQ(" 9.00", ControlText(IDC_TIMEIN2));
    // A field left with Tab was rewritten by then: " 8.00" has 5 characters.
    SetFocus(hClearButton);
    PressKey(VK_TAB);
    EXPECT_EQ("In 1", FocusName());
    EXPECT_EQ("0,5", EditSelection(hTimeFields[0]));
    Keys("7\t");
    EXPECT_EQ(" 7.00", ControlText(IDC_TIMEIN1));
    EXPECT_EQ("10.00", ControlText(IDC_PAIRTOTAL1));
}

TEST_F(Navigation, TheFieldsTakeNoTypingInIdleMode)
{
    SetFocus(hTimeFields[0]);
    TypeText("8");
    EXPECT_EQ("0.00", ControlText(IDC_TIMEIN1));
}

// ---- the accelerators of the About box -----------------------------------------------

// The About box as it is awaited: its caption read, closed with OK.
std::string aboutCaption;

std::vector<AwaitedDialog> AboutBox(int count)
{
    std::vector<AwaitedDialog> steps;
    if (count)
        steps.push_back({"About", hMainWnd, -1, [](HWND dialog) {
                             aboutCaption = WindowText(dialog);
                             SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                         }});
    return steps;
}

// Alt + the character as the message loop meets it: WM_SYSCHAR for the window
// with the focus, offered to the accelerators with that window as target.
void AltCharacter(char character)
{
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_TRUE(accelerators != NULL);
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE oldAlt = keys[VK_MENU];
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);

    MSG msg;
    ZeroMemory(&msg, sizeof msg);
    msg.hwnd = GetFocus();
    msg.message = WM_SYSCHAR;
    msg.wParam = (WPARAM)(unsigned char)character;
    msg.lParam = 1 | (1 << 29); // one repeat, Alt held down
    if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    keys[VK_MENU] = oldAlt;
    SetKeyboardState(keys);
}

enum AltFocus { ALT_ON_MAIN_WINDOW, ALT_ON_NEW, ALT_ON_FIELD, ALT_ON_LIST };

struct AltCase {
    const char *name;
    char character;
    AltFocus focus;
    int aboutBoxes;
};

class AboutAccelerator : public Navigation, public ::testing::WithParamInterface<AltCase> {};

TEST_P(AboutAccelerator, OpensTheAboutBoxOnlyFromTheMainWindow)
{
    const AltCase &c = GetParam();
    switch (c.focus) {
    case ALT_ON_MAIN_WINDOW:
        SetFocus(hMainWnd);
        break;
    case ALT_ON_NEW:
        SetFocus(hNewButton);
        break;
    case ALT_ON_FIELD:
        Click(hNewButton);
        break;
    case ALT_ON_LIST:
        SetFocus(hEntryList);
        break;
    }
    const std::string states = EnabledStates();
    aboutCaption.clear();
    // An About box that no row awaits fails the test and is closed.
    EXPECT_TRUE(DriveDialogs([&] { AltCharacter(c.character); }, AboutBox(c.aboutBoxes)));
    if (c.aboutBoxes) {
        EXPECT_EQ("About", aboutCaption);
    }
    EXPECT_EQ("", OpenDialog());
    EXPECT_EQ(states, EnabledStates());
    EXPECT_EQ(0, RowCount());
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutAccelerator,
                         ::testing::Values(AltCase{"QuestionMarkOnTheMainWindow", '?', ALT_ON_MAIN_WINDOW, 1},
                                           AltCase{"SlashOnTheMainWindow", '/', ALT_ON_MAIN_WINDOW, 1},
                                           AltCase{"QuestionMarkOnNew", '?', ALT_ON_NEW, 0},
                                           AltCase{"SlashOnNew", '/', ALT_ON_NEW, 0},
                                           AltCase{"QuestionMarkInAField", '?', ALT_ON_FIELD, 0},
                                           AltCase{"SlashInTheList", '/', ALT_ON_LIST, 0},
                                           AltCase{"OtherCharacterOnTheMainWindow", 'a',
                                                   ALT_ON_MAIN_WINDOW, 0}),
                         [](const ::testing::TestParamInfo<AltCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
