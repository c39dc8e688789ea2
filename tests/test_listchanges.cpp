// Undo and Redo of the changes to the list of entries, and Paste: sequences
// of commands with the list, numbering, selection, totals and enabled states
// after each, the keys where they act and where they must not, and the
// clipboard texts a paste turns into rows or leaves out.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"

#include <string>
#include <vector>

namespace {

class ListChanges : public WindowTest {};

// ---- undo and redo -----------------------------------------------------------

// A: a row added, the k-th of the test with In 8 and Out 8 + k (k hours);
// D: Delete; C: Clear All; S1: row 1 selected; P: a paste of two rows (7 and
// 8 hours); U: Ctrl+Z in the list; u: Alt+Backspace on "Clear All"; Y: Ctrl+Y
// in the list; y: Ctrl+Shift+Z on the main window itself.
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

void Command(const std::string &command, int *added)
{
    if (command == "A") {
        ++*added;
        std::string out = std::to_string(8 + *added);
        EnterRow({"8", out.c_str()});
    } else if (command == "D") {
        Click(hDeleteButton);
    } else if (command == "C") {
        Click(hClearAllButton);
    } else if (command == "S1") {
        SelectRowByState(1);
    } else if (command == "P") {
        PutOnClipboard("8\t15\r\n9\t17\r\n");
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
        EXPECT_EQ(before, FocusName()) << "the focus moved";
    }
}

TEST_P(UndoRedo, PutsTheListBackAsItWasBeforeOrAfterEachStep)
{
    int added = 0;
    for (const After &step : GetParam().steps) {
        int beeps = Beeps();
        Command(step.command, &added);
        SCOPED_TRACE(std::string("after ") + step.command);
        EXPECT_EQ(step.numbers, EntryNumbers());
        EXPECT_EQ(step.selected, SelectedRow());
        EXPECT_EQ(step.grandTotal, Trimmed(ControlText(IDC_GRANDTOTAL)));
        EXPECT_EQ(IdleStates(RowCount() > 0), EnabledStates());
        EXPECT_EQ(step.beeped, Beeps() != beeps);
        if (RowCount() > 0) { // the editor shows the selected row (the first when none is)
            int shown = SelectedRow() < 0 ? 0 : SelectedRow();
            EXPECT_EQ(Trimmed(CellText(shown, 2)), Trimmed(ControlText(IDC_TIMEOUT1)));
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
                  {"Y", "", -1, "0.00", false},
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
                  {"U", "", -1, "0.00", false},
                  {"U", "", -1, "0.00", true},
                  {"u", "", -1, "0.00", true},
                  {"Y", "1", 0, "1.00", false},
                  {"y", "1", 0, "1.00", true}}},
        Sequence{"ANewChangeDropsTheRedo",
                 {{"A", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "3.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"A", "1,2", 1, "4.00", false},
                  {"Y", "1,2", 1, "4.00", true},
                  {"U", "1", 0, "1.00", false},
                  {"U", "", -1, "0.00", false}}},
        Sequence{"APasteIsOneStep",
                 {{"A", "1", 0, "1.00", false},
                  {"P", "1,2,3", 2, "16.00", false},
                  {"U", "1", 0, "1.00", false},
                  {"Y", "1,2,3", 2, "16.00", false},
                  {"A", "1,2,3,4", 3, "18.00", false}}}),
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

    // a Clear All pressed while typing comes back as the list it emptied
    Click(hClearAllButton);
    SetFocus(hEntryList);
    PressKey('Z', false, true);
    EXPECT_EQ(rows, EntryNumbers());
    EXPECT_EQ(IdleStates(true), EnabledStates());
}

// ---- paste -------------------------------------------------------------------

TEST_F(ListChanges, ACopiedWeekPastesBackAsItWas)
{
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
    bool changedSettings; // "*" hours and minutes, "-" and "+" hours only, up to .25
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
    if (c.changedSettings)
        RestartWith(CHANGED_SETTINGS);
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

std::string ManyLines(int count)
{
    std::string text;
    for (int i = 0; i < count; i++)
        text += "8\t17\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Clipboard, Pasted,
    ::testing::Values(
        PasteCase{"TimesAsTyped", false, "17.50\t5-30\r\n8*30\t12+1\t  9  \t16\r\n",
                  {"17.50 17.50 0.00 0.00 0.00 0.00 0.00 0.00",
                   "8.50 12.02 9.00 16.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"OperatorsUnderChangedPreferences", true, "8*30\t5-30\t4+10\t8.10\n",
                  {"20.50 17.50 16.25 8.10 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"LineEnds", false, "8\t12\n13\t17\r14\t15\r\n\r\n\n",
                  {"8.00 12.00 0.00 0.00 0.00 0.00 0.00 0.00", "13.00 17.00 0.00 0.00 0.00 0.00 0.00 0.00",
                   "14.00 15.00 0.00 0.00 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"ACopiedTableWithNumbersHoursAndTotal", false,
                  "Entry\tTime In 1\tTime Out 1\tTime In 2\tTime Out 2\tTime In 3\tTime Out 3\tTime "
                  "In 4\tTime Out 4\tHours\r\n7\t8.00\t12.00\t12.50\t17.50\t0.00\t0.00\t0.00\t0.00"
                  "\t99.00\r\nTotal\t\t\t\t\t\t\t\t\t99.00\r\n",
                  {"8.00 12.00 12.50 17.50 0.00 0.00 0.00 0.00"}, ""},
        PasteCase{"EightTimesAndEmptyCells", false, "1\t2\t\t4\t5\t6\t7\t8\t\t\t\n",
                  {"1.00 2.00 0.00 4.00 5.00 6.00 7.00 8.00"}, ""},
        PasteCase{"AHeaderOfAnotherProgram", false, "Date\tIn\tOut\r\n8\t16\r\n",
                  {"8.00 16.00 0.00 0.00 0.00 0.00 0.00 0.00"},
                  "Hourwise: 1 line was left out because it holds no entry. The first of "
                  "them:\n\n\"Date In Out\""},
        PasteCase{"CellsThatAreNoTimes", false,
                  "12345678901\t8\r\n1234567.00\r\n8:30\r\ne\r\n8h\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\r\n"
                  "x\t1\t2\t3\t4\t5\t6\t7\t8\t9\r\n",
                  {"1234567.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00"},
                  "Hourwise: 6 lines were left out because they hold no entry. The first of "
                  "them:\n\n\"12345678901 8\""},
        PasteCase{"Prose", false,
                  "Dear clerk, here are the hours of last week that you asked for.\r\nRegards\r\n",
                  {}, "Hourwise: 2 lines were left out because they hold no entry. The first of "
                      "them:\n\n\"Dear clerk, here are the hours of last w\""},
        PasteCase{"ALineInAnyScriptIsQuotedAsItStands", false,
                  MIXED_SCRIPT_NAME " worked 8 to 17 on Monday\r\n", {},
                  "Hourwise: 1 line was left out because it holds no entry. The first of "
                  "them:\n\n\"" MIXED_SCRIPT_NAME " worked 8 to 17 on\""},
        PasteCase{"OnlyAHeadingAndBlankLines", false, "Entry\tTime In 1\r\n  \t \r\n", {}, ""},
        PasteCase{"AnEmptyClipboard", false, "", {}, ""},
        PasteCase{"NoTextOnTheClipboard", false, "no text", {}, ""},
        PasteCase{"MoreThanTenThousandRows", false, ManyLines(10001), {},
                  "Hourwise: The clipboard holds more than 10,000 entries. Nothing was pasted: "
                  "paste at most 10,000 at a time."}),
    [](const ::testing::TestParamInfo<PasteCase> &info) { return std::string(info.param.name); });

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

} // namespace
