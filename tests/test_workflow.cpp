// The entry workflow of the real main window: numbering of the rows, New,
// Add, Clear, Delete and Clear All, the totals they show, typed values that
// must survive the notifications nested in the commands, and the evaluation
// of typed times through the real fields.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"
#include "timecalc.h"

#include <string>
#include <vector>

namespace {

const char *const ZERO_ROW_CELLS = "    0.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00";

class Workflow : public WindowTest {};

// ---- numbering -------------------------------------------------------------

TEST_F(Workflow, RowsAreNumberedInOrderAndADeletedNumberIsNotReused)
{
    EnterRow({"8"});
    EnterRow({"9"});
    EnterRow({"10"});
    EXPECT_EQ("1,2,3", EntryNumbers());

    SelectRowByState(1);
    Click(hDeleteButton);
    EXPECT_EQ("1,3", EntryNumbers());

    EnterRow({"11"});
    EXPECT_EQ("1,3,4", EntryNumbers());
    EXPECT_EQ("   11.00", CellText(2, 1));
}

TEST_F(Workflow, DeletingEveryRowStartsTheNumbersAgain)
{
    EnterRow({"8"});
    EnterRow({"9"});
    EnterRow({"10"});
    for (int left = 2; left >= 0; left--) {
        Click(hDeleteButton);
        EXPECT_EQ(left, RowCount());
    }
    EXPECT_FALSE(IsWindowEnabled(hDeleteButton));
    EnterRow({"12"});
    EXPECT_EQ("1", EntryNumbers());
}

TEST_F(Workflow, ClearAllStartsTheNumbersAgain)
{
    EnterRow({"8"});
    EnterRow({"9"});
    Click(hClearAllButton);
    EnterRow({"7"});
    EnterRow({"6"});
    EXPECT_EQ("1,2", EntryNumbers());
}

// ---- Delete ----------------------------------------------------------------

// Rows entered, a selection (or none, or the one Add left), then Delete.
// NULL skips a check.
struct DeleteCase {
    const char *name;
    std::vector<std::vector<const char *>> rows;
    int select;                 // a row, -1 for none, -2 to leave Add's selection
    int selectedBefore;         // the selection Delete starts from
    const char *fieldsBefore;   // what the editor shows then
    const char *grandBefore;
    const char *numbers;        // after Delete
    int selected;
    const char *fields, *totals, *grand;
    bool deleteEnabled;
};

void PrintTo(const DeleteCase &c, std::ostream *os) { *os << c.name; }

class Deleting : public Workflow, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(Deleting, LeavesTheRowsTotalsEditorAndFocusAsTheTableSays)
{
    const DeleteCase &c = GetParam();
    for (const std::vector<const char *> &row : c.rows)
        EnterRow(row);
    if (c.select != -2)
        SelectRowByState(c.select);
    ASSERT_EQ(c.selectedBefore, SelectedRow());
    if (c.fieldsBefore) {
        EXPECT_EQ(c.fieldsBefore, FieldTexts());
    }
    if (c.grandBefore) {
        EXPECT_EQ(c.grandBefore, ControlText(IDC_GRANDTOTAL));
    }

    Click(hDeleteButton);
    EXPECT_EQ(c.numbers, EntryNumbers());
    EXPECT_EQ(c.selected, SelectedRow());
    if (c.fields) {
        EXPECT_EQ(c.fields, FieldTexts());
    }
    if (c.totals) {
        EXPECT_EQ(c.totals, TotalTexts());
    }
    EXPECT_EQ(c.grand, ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(IdleStates(c.deleteEnabled), EnabledStates());
    EXPECT_EQ("New", FocusName());
}

const DeleteCase DELETE_CASES[] = {
    // With no row selected a list change shows row 0, and Delete takes it.
    {"NoRowSelectedDeletesTheFirstRow", {{"1", "2"}, {"3", "5"}, {"6", "9"}}, -1, -1,
     "    1.00|    2.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", NULL, "2,3", 0,
     "    3.00|    5.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
     "     2.00|     0.00|     0.00|     0.00|     2.00", "    5.00", true},
    {"TheLastOfSeveralRowsSelectsTheNewLastRow", {{"1", "2"}, {"3", "5"}, {"6", "9"}}, -2, 2, NULL,
     NULL, "1,2", 1, "    3.00|    5.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
     "     2.00|     0.00|     0.00|     0.00|     2.00", "    3.00", true},
    // The only row: it stays shown in the editor with its totals.
    {"TheOnlyRowLeavesItShownInTheEditor", {{"8", "17"}}, -2, 0,
     "    8.00|   17.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", NULL, "", -1,
     "    8.00|   17.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
     "     9.00|     0.00|     0.00|     0.00|     9.00", "    0.00", false},
    {"ARowLowersTheGrandTotalByItsHours", {{"8", "17"}, {"8", "16", "17", "18"}}, 0, 0, NULL,
     "   18.00", "2", 0, NULL, NULL, "    9.00", true},
};

INSTANTIATE_TEST_SUITE_P(Variants, Deleting, ::testing::ValuesIn(DELETE_CASES),
                         [](const ::testing::TestParamInfo<DeleteCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Add, New, Clear, Clear All ----------------------------------------------

TEST_F(Workflow, AddWithUntouchedFieldsStoresZeroInEveryCell)
{
    Click(hNewButton);
    SetFocus(hAddButton);
    Click(hAddButton);
    ASSERT_EQ(1, RowCount());
    EXPECT_EQ(std::string("1|") + ZERO_ROW_CELLS, RowTexts(0));

    // Empty fields (after Clear) are stored as zero too.
    Click(hNewButton);
    SetFocus(hClearButton);
    Click(hClearButton);
    ASSERT_EQ("|||||||", FieldTexts());
    Click(hNewButton);
    SetFocus(hAddButton);
    Click(hAddButton);
    ASSERT_EQ(2, RowCount());
    EXPECT_EQ(std::string("2|") + ZERO_ROW_CELLS, RowTexts(1));
    EXPECT_EQ("    0.00", ControlText(IDC_GRANDTOTAL));
}

TEST_F(Workflow, AddShowsTheNewRowInIdleModeAndNewStartsFromIt)
{
    EnterRow({"8", "5-00", "17*30", "18*15"});
    EXPECT_EQ("1|    8.00|   17.00|   17.50|   18.25|    0.00|    0.00|    0.00|    0.00", RowTexts(0));
    EXPECT_EQ("    8.00|   17.00|   17.50|   18.25|    0.00|    0.00|    0.00|    0.00", FieldTexts());
    EXPECT_EQ("     9.00|     0.75|     0.00|     0.00|     9.75", TotalTexts());
    EXPECT_EQ("    9.75", ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(IdleStates(true), EnabledStates());
    EXPECT_EQ("New", FocusName());
    EXPECT_EQ(0, SelectedRow());

    Click(hNewButton);
    EXPECT_EQ(EntryStates(), EnabledStates());
    EXPECT_EQ("    8.00|   17.00|   17.50|   18.25|    0.00|    0.00|    0.00|    0.00", FieldTexts());
    EXPECT_EQ("In 1", FocusName());
    EXPECT_EQ("0,8", EditSelection(hTimeFields[0]));
    // New changes no total on the screen.
    EXPECT_EQ("     9.00|     0.75|     0.00|     0.00|     9.75", TotalTexts());
    EXPECT_EQ("    9.75", ControlText(IDC_GRANDTOTAL));
}

TEST_F(Workflow, ClearEmptiesTheEditorAndItsTotalsButNotTheList)
{
    EnterRow({"8", "17"});
    Click(hNewButton);
    TypeIntoField(0, "7");
    TypeIntoField(2, "18");
    Click(hClearButton);
    EXPECT_EQ("|||||||", FieldTexts());
    EXPECT_EQ("||||", TotalTexts());
    EXPECT_EQ("    9.00", ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ("1|    8.00|   17.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", RowTexts(0));
    EXPECT_EQ(IdleStates(true), EnabledStates());
    EXPECT_EQ("New", FocusName());
}

// Clear All from idle mode and from the middle of typing: the same empty window.
struct ClearAllCase {
    const char *name;
    void (*before)();
};

void PrintTo(const ClearAllCase &c, std::ostream *os) { *os << c.name; }

class ClearingAll : public Workflow, public ::testing::WithParamInterface<ClearAllCase> {};

TEST_P(ClearingAll, EmptiesTheListAndEveryTotalAndEndsInIdleMode)
{
    GetParam().before();
    Click(hClearAllButton);
    EXPECT_EQ(0, RowCount());
    EXPECT_EQ("|||||||", FieldTexts());
    EXPECT_EQ("||||", TotalTexts());
    EXPECT_EQ("", ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(IdleStates(false), EnabledStates());
    EXPECT_EQ("New", FocusName());
}

const ClearAllCase CLEAR_ALL_CASES[] = {
    {"FromIdleMode",
     [] {
         EnterRow({"8", "17"});
         EnterRow({"9", "12"});
     }},
    {"WhileTyping",
     [] {
         EnterRow({"8", "17"});
         Click(hNewButton);
         TypeIntoField(0, "7");
         SetFocus(hTimeFields[1]);
         TypeText("5-00"); // still in the field
     }},
};

INSTANTIATE_TEST_SUITE_P(Ways, ClearingAll, ::testing::ValuesIn(CLEAR_ALL_CASES),
                         [](const ::testing::TestParamInfo<ClearAllCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- typed values and the nested notifications --------------------------------

// Ways of leaving the last field (Out 4) that end with Add being pressed.
enum LeaveBy { LEAVE_BY_TAB, LEAVE_BY_ENTER, LEAVE_BY_CLICK_ON_ADD, LEAVE_BY_PLAIN_CLICK_ON_ADD };

struct LeaveCase {
    const char *name;
    LeaveBy how;
};

class TypedValue : public Workflow, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(TypedValue, SurvivesLeavingTheFieldAndAdd)
{
    // A row is there and selected, so inserting the new one changes the
    // selection and rewrites the fields while Add runs.
    EnterRow({"1", "2", "3", "4", "5", "6", "7", "8"});
    Click(hNewButton);
    TypeIntoField(0, "8");
    SetFocus(hTimeFields[7]);
    SendMessageA(hTimeFields[7], EM_SETSEL, 0, -1);
    TypeText("5-00");
    switch (GetParam().how) {
    case LEAVE_BY_TAB:
        PressKey(VK_TAB);
        EXPECT_EQ("Add", FocusName());
        PressKey(VK_SPACE);
        break;
    case LEAVE_BY_ENTER:
        PressKey(VK_RETURN);
        EXPECT_EQ("Add", FocusName());
        PressKey(VK_SPACE);
        break;
    case LEAVE_BY_CLICK_ON_ADD:
        SetFocus(hAddButton); // the press takes the focus, the release clicks
        EXPECT_EQ("17.00", ControlText(IDC_TIMEOUT4));
        Click(hAddButton);
        break;
    case LEAVE_BY_PLAIN_CLICK_ON_ADD:
        Click(hAddButton);
        break;
    }
    ASSERT_EQ(2, RowCount());
    EXPECT_EQ("2|    8.00|    2.00|    3.00|    4.00|    5.00|    6.00|    7.00|   17.00", RowTexts(1));
    EXPECT_EQ("    8.00|    2.00|    3.00|    4.00|    5.00|    6.00|    7.00|   17.00", FieldTexts());
    EXPECT_EQ("     6.00|     1.00|     1.00|    10.00|    18.00", TotalTexts());
    EXPECT_EQ("   22.00", ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(IdleStates(true), EnabledStates());
    EXPECT_EQ("New", FocusName());
}

INSTANTIATE_TEST_SUITE_P(Leaving, TypedValue,
                         ::testing::Values(LeaveCase{"Tab", LEAVE_BY_TAB},
                                           LeaveCase{"Enter", LEAVE_BY_ENTER},
                                           LeaveCase{"FocusThenClickOnAdd", LEAVE_BY_CLICK_ON_ADD},
                                           LeaveCase{"ClickOnAdd", LEAVE_BY_PLAIN_CLICK_ON_ADD}),
                         [](const ::testing::TestParamInfo<LeaveCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(Workflow, TypedValueIsEvaluatedBeforeTheNextFieldIsSelected)
{
    Click(hNewButton);
    SetFocus(hTimeFields[0]);
    TypeText("8*30");
    PressKey(VK_RETURN);
    EXPECT_EQ(" 8.50", ControlText(IDC_TIMEIN1));
    EXPECT_EQ("Out 1", FocusName());
    TypeText("5-00");
    PressKey(VK_TAB);
    EXPECT_EQ("17.00", ControlText(IDC_TIMEOUT1));
    EXPECT_EQ(" 8.50", ControlText(IDC_PAIRTOTAL1));
    EXPECT_EQ("     8.50", ControlText(IDC_ENTRYTOTAL));
}

// ---- totals -------------------------------------------------------------------

struct PairCase {
    const char *timeIn, *timeOut;
    const char *shownIn, *shownOut, *pairTotal, *entryTotal;
};

TEST_F(Workflow, PairAndEntryTotalsFollowTheFieldsLeft)
{
    static const PairCase cases[] = {
        {"8", "5-00", " 8.00", "17.00", " 9.00", "     9.00"},
        {"8", "4-45", " 8.00", "16.75", " 8.75", "     8.75"},
        {"17", "8", "17.00", " 8.00", " 9.00", "     9.00"},
        {"8", "17", " 8.00", "17.00", " 9.00", "     9.00"},
        {"8*30", "12", " 8.50", "12.00", " 3.50", "     3.50"},
    };
    // Each case in each of the four pairs, each in a fresh window.
    for (const PairCase &c : cases)
        for (int pair = 0; pair < 4; pair++) {
            SCOPED_TRACE(std::string(c.timeIn) + " to " + c.timeOut + " in pair " +
                         std::to_string(pair + 1));
            RestartWith(DEFAULT_SETTINGS);
            Click(hNewButton);
            TypeIntoField(2 * pair, c.timeIn);
            EXPECT_EQ(c.shownIn, ControlText(IDC_TIMEIN1 + 2 * pair));
            // The partner still reads 0: the pair total is left as it was.
            EXPECT_EQ("0.00", ControlText(IDC_PAIRTOTAL1 + pair));
            EXPECT_EQ("     0.00", ControlText(IDC_ENTRYTOTAL));
            TypeIntoField(2 * pair + 1, c.timeOut);
            EXPECT_EQ(c.shownOut, ControlText(IDC_TIMEIN1 + 2 * pair + 1));
            EXPECT_EQ(c.pairTotal, ControlText(IDC_PAIRTOTAL1 + pair));
            EXPECT_EQ(c.entryTotal, ControlText(IDC_ENTRYTOTAL));
            EXPECT_EQ("0.00", ControlText(IDC_GRANDTOTAL));
        }
}

TEST_F(Workflow, PairTotalKeepsItsTextWhenThePairGivesNoHours)
{
    Click(hNewButton);
    TypeIntoField(0, "8");
    TypeIntoField(1, "17");
    ASSERT_EQ(" 9.00", ControlText(IDC_PAIRTOTAL1));
    TypeIntoField(1, "\b"); // Out 1 emptied
    EXPECT_EQ(" 0.00", ControlText(IDC_TIMEOUT1));
    EXPECT_EQ(" 9.00", ControlText(IDC_PAIRTOTAL1));
    TypeIntoField(1, "8"); // the same time as In 1
    EXPECT_EQ(" 9.00", ControlText(IDC_PAIRTOTAL1));
    // The kept text still counts in the entry total.
    TypeIntoField(2, "13");
    TypeIntoField(3, "14*30");
    EXPECT_EQ(" 1.50", ControlText(IDC_PAIRTOTAL2));
    EXPECT_EQ("    10.50", ControlText(IDC_ENTRYTOTAL));
}

TEST_F(Workflow, RowHoursAndGrandTotalAreAddedFromTheRows)
{
    EnterRow({"8", "17", "8", "4-45"});
    EXPECT_EQ("     9.00|     8.75|     0.00|     0.00|    17.75", TotalTexts());
    EXPECT_EQ("   17.75", ControlText(IDC_GRANDTOTAL));
    EnterRow({"8", "17", "8", "4-45"});
    EXPECT_EQ("   35.50", ControlText(IDC_GRANDTOTAL));
    // A pair typed the wrong way round counts the same hours.
    EnterRow({"17", "8", "0", "0"});
    EXPECT_EQ("     9.00|     0.00|     0.00|     0.00|     9.00", TotalTexts());
    EXPECT_EQ("   44.50", ControlText(IDC_GRANDTOTAL));
}

TEST_F(Workflow, ATimeLeftOutOfAShownRowCountsWithTheRowsOtherTotals)
{
    EnterRow({"8", "9", nullptr, nullptr, "13", "21.75"});
    EXPECT_EQ("     1.00|     0.00|     8.75|     0.00|     9.75", TotalTexts());
    Click(hNewButton);
    TypeIntoField(0, "7");
    EXPECT_EQ(" 7.00", ControlText(IDC_TIMEIN1));
    EXPECT_EQ(" 2.00", ControlText(IDC_PAIRTOTAL1));
    EXPECT_EQ("    10.75", ControlText(IDC_ENTRYTOTAL));
    EXPECT_EQ("    9.75", ControlText(IDC_GRANDTOTAL));
}

TEST_F(Workflow, ATimeOutLeftAtZeroCountsTheTimeInAsHours)
{
    Click(hNewButton);
    TypeIntoField(0, "8");
    EXPECT_EQ("0.00", ControlText(IDC_PAIRTOTAL1));
    SetFocus(hAddButton);
    Click(hAddButton);
    EXPECT_EQ("1|    8.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", RowTexts(0));
    EXPECT_EQ("     8.00|     0.00|     0.00|     0.00|     8.00", TotalTexts());
    EXPECT_EQ("    8.00", ControlText(IDC_GRANDTOTAL));
}

TEST_F(Workflow, ClickOnARowInEntryModeShowsItAndEntryModeGoesOn)
{
    EnterRow({"8", "17"});
    EnterRow({"9", "12", "13", "17*15"});
    Click(hNewButton);
    TypeIntoField(0, "7");

    SelectRowByState(0);
    EXPECT_EQ("    8.00|   17.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", FieldTexts());
    EXPECT_EQ("     9.00|     0.00|     0.00|     0.00|     9.00", TotalTexts());
    EXPECT_EQ(EntryStates(), EnabledStates());

    // A real click: the list may select the row before it takes the focus,
    // and the field left then is evaluated from the row's value, so the
    // values count here, not the width of their texts.
    ClickRow(1);
    EXPECT_EQ(1, SelectedRow());
    EXPECT_EQ("list", FocusName());
    const double shown[8] = {9, 12, 13, 17.25, 0, 0, 0, 0};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(shown[i], ReadNumber(ControlText(IDC_TIMEIN1 + i).c_str())) << "field " << i;
    const double totals[5] = {3, 4.25, 0, 0, 7.25};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(totals[i], ReadNumber(ControlText(IDC_PAIRTOTAL1 + i).c_str())) << "total " << i;
    EXPECT_EQ("     7.25", ControlText(IDC_ENTRYTOTAL));
    EXPECT_EQ(EntryStates(), EnabledStates());
    EXPECT_EQ("   16.25", ControlText(IDC_GRANDTOTAL));

    // The shown row can be taken over as a new entry.
    SetFocus(hAddButton);
    Click(hAddButton);
    EXPECT_EQ("3|    9.00|   12.00|   13.00|   17.25|    0.00|    0.00|    0.00|    0.00", RowTexts(2));
    EXPECT_EQ("   23.50", ControlText(IDC_GRANDTOTAL));
}

// ---- typed times through the real fields ---------------------------------------

struct TypedCase {
    const char *typed, *shown;
};

TEST_F(Workflow, TypedTimesAreShownAsDecimalHours)
{
    static const TypedCase cases[] = {
        {"8*30", " 8.50"},   {"5-30", "17.50"},    {"5+30", "17.50"},   {"8.30", " 8.30"},
        {"8", " 8.00"},      {"", " 0.00"},        {"8*5", " 8.08"},    {"8*305", " 8.50"},
        {"12-30", "12.50"},  {"13-30", "13.50"},   {"11-59", "23.98"},  {"-30", "12.50"},
        {"8*30-15", "20.25"}, {"8-15*30", "20.25"}, {"8.5*30", " 8.50"}, {"8:30", " 8.00"},
        {"0.125", " 0.13"},  {"abc", " 0.00"},     {"  9", " 9.00"},
    };
    Click(hNewButton);
    for (const TypedCase &c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        std::string keys = std::string("\b") + c.typed; // the selection goes first
        TypeIntoField(0, keys.c_str());
        EXPECT_EQ(c.shown, ControlText(IDC_TIMEIN1));
        EXPECT_EQ("Out 1", FocusName());
    }
}

struct SettingsCase {
    DWORD starMode, roundType;
    const char *roundAmount;
    std::vector<TypedCase> typed;
};

TEST_F(Workflow, TypedTimesFollowTheOperatorModesAndTheStepOfThePreferences)
{
    static const SettingsCase cases[] = {
        {2, 1, ".00", {{"8*30", "20.50"}, {"12*30", "12.50"}, {"*30", "12.50"}}},
        {3, 1, ".00", {{"8*30", "20.30"}, {"8*5", "20.05"}}},
        {1, 1, ".25", {{"8*00", " 8.00"}, {"8*07", " 8.00"}, {"8*08", " 8.25"}, {"8*15", " 8.25"},
                       {"8*22", " 8.25"}, {"8*23", " 8.50"}, {"8*30", " 8.50"}, {"8*52", " 8.75"},
                       {"8*53", " 9.00"}, {"8.10", " 8.10"}}},
        {1, 2, ".25", {{"8*00", " 8.00"}, {"8*07", " 8.00"}, {"8*08", " 8.00"}, {"8*15", " 8.25"},
                       {"8*22", " 8.25"}, {"8*23", " 8.25"}, {"8*30", " 8.50"}, {"8*52", " 8.75"},
                       {"8*53", " 8.75"}, {"8.10", " 8.10"}}},
        {1, 3, ".25", {{"8*00", " 8.00"}, {"8*07", " 8.25"}, {"8*08", " 8.25"}, {"8*15", " 8.25"},
                       {"8*22", " 8.50"}, {"8*23", " 8.50"}, {"8*30", " 8.50"}, {"8*52", " 9.00"},
                       {"8*53", " 9.00"}, {"8.10", " 8.10"}}},
    };
    for (const SettingsCase &c : cases) {
        SettingsValues values = DEFAULT_SETTINGS;
        values.operator1 = c.starMode;
        values.roundType = c.roundType;
        values.roundAmount = c.roundAmount;
        RestartWith(values);
        Click(hNewButton);
        for (const TypedCase &t : c.typed) {
            SCOPED_TRACE("mode " + std::to_string(c.starMode) + " type " + std::to_string(c.roundType) +
                         " step " + c.roundAmount + " typed " + t.typed);
            TypeIntoField(0, (std::string("\b") + t.typed).c_str());
            EXPECT_EQ(t.shown, ControlText(IDC_TIMEIN1));
        }
    }
}

TEST_F(Workflow, AFieldTakesSevenCharacters)
{
    Click(hNewButton);
    TypeIntoField(0, "8*30-155");
    EXPECT_EQ("20.25", ControlText(IDC_TIMEIN1)); // "8*30-15" was kept
}

TEST_F(Workflow, AHugeTypedNumberIsShownWholeAndTheWindowGoesOn)
{
    Click(hNewButton);
    TypeIntoField(0, "1e300");
    std::string shown = ControlText(IDC_TIMEIN1);
    EXPECT_EQ(304u, shown.size()); // 301 digits, the point and two decimals
    EXPECT_EQ('1', shown[0]);
    EXPECT_EQ(".00", shown.substr(shown.size() - 3));
    EXPECT_EQ(1e300, ReadNumber(shown.c_str()));
    EXPECT_EQ("Out 1", FocusName());

    // The partner and Add read a field's first 8 characters only.
    TypeIntoField(1, "8");
    EXPECT_EQ("9999992.00", ControlText(IDC_PAIRTOTAL1));
    EXPECT_EQ("9999992.00", ControlText(IDC_ENTRYTOTAL));

    // The window still works: Tab moves on, Add stores a row.
    PressKey(VK_TAB);
    EXPECT_EQ("Out 2", FocusName());
    SetFocus(hAddButton);
    Click(hAddButton);
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ("1|10000000.00|    8.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", RowTexts(0));
    EXPECT_EQ(IdleStates(true), EnabledStates());
    EXPECT_EQ("New", FocusName());
}

// ---- a week of time cards --------------------------------------------------------

// One step of the session: the keys typed (to the focused control) or a row
// clicked, and what the window shows afterwards. NULL skips a check.
struct SessionStep {
    const char *keys;
    int clickRow; // -1: none
    const char *focus;
    const char *states; // "idle", "idle+delete", "entry"
    const char *fields;
    const char *totals;
    const char *grand;
    const char *numbers;
};

TEST_F(Workflow, AClerkTypesAWeekOfTimeCards)
{
    static const SessionStep steps[] = {
        // Start: the editor at rest.
        {"", -1, "New", "idle", "0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00", "0.00|0.00|0.00|0.00|0.00",
         "0.00", ""},
        // Monday: 8 to 12 and 12:30 to 5 pm.
        {" ", -1, "In 1", "entry", "0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00", "0.00|0.00|0.00|0.00|0.00",
         "0.00", ""},
        {"8\t", -1, "Out 1", "entry", " 8.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00",
         "0.00|0.00|0.00|0.00|     0.00", "0.00", ""},
        {"12\t", -1, "In 2", "entry", " 8.00|12.00|0.00|0.00|0.00|0.00|0.00|0.00",
         " 4.00|0.00|0.00|0.00|     4.00", "0.00", ""},
        {"12*30\t", -1, "Out 2", "entry", " 8.00|12.00|12.50|0.00|0.00|0.00|0.00|0.00",
         " 4.00|0.00|0.00|0.00|     4.00", "0.00", ""},
        {"5-00\t", -1, "In 3", "entry", " 8.00|12.00|12.50|17.00|0.00|0.00|0.00|0.00",
         " 4.00| 4.50|0.00|0.00|     8.50", "0.00", ""},
        {"\t\t\t\t", -1, "Add", "entry", " 8.00|12.00|12.50|17.00| 0.00| 0.00| 0.00| 0.00",
         " 4.00| 4.50|0.00|0.00|     8.50", "0.00", ""},
        {" ", -1, "New", "idle+delete", "    8.00|   12.00|   12.50|   17.00|    0.00|    0.00|    0.00|    0.00",
         "     4.00|     4.50|     0.00|     0.00|     8.50", "    8.50", "1"},
        // Tuesday over Monday's values, left with Enter this time.
        {" ", -1, "In 1", "entry", "    8.00|   12.00|   12.50|   17.00|    0.00|    0.00|    0.00|    0.00",
         "     4.00|     4.50|     0.00|     0.00|     8.50", "    8.50", "1"},
        {"7*45\r", -1, "Out 1", "entry", " 7.75|   12.00|   12.50|   17.00|    0.00|    0.00|    0.00|    0.00",
         " 4.25|     4.50|     0.00|     0.00|     8.75", "    8.50", "1"},
        {"11*30\r", -1, "In 2", "entry", nullptr, " 3.75|     4.50|     0.00|     0.00|     8.25", nullptr, nullptr},
        {"12*15\r", -1, "Out 2", "entry", nullptr, " 3.75| 4.75|     0.00|     0.00|     8.50", nullptr, nullptr},
        {"4-30\r", -1, "In 3", "entry", " 7.75|11.50|12.25|16.50|    0.00|    0.00|    0.00|    0.00",
         " 3.75| 4.25|     0.00|     0.00|     8.00", "    8.50", "1"},
        {"\r\r\r\r", -1, "Add", "entry", " 7.75|11.50|12.25|16.50| 0.00| 0.00| 0.00| 0.00", nullptr, nullptr, nullptr},
        {" ", -1, "New", "idle+delete", "    7.75|   11.50|   12.25|   16.50|    0.00|    0.00|    0.00|    0.00",
         "     3.75|     4.25|     0.00|     0.00|     8.00", "   16.50", "1,2"},
        // Wednesday: a false start, abandoned with Clear.
        {" ", -1, "In 1", "entry", nullptr, nullptr, nullptr, nullptr},
        {"9\t", -1, "Out 1", "entry", nullptr, " 2.50|     4.25|     0.00|     0.00|     6.75", nullptr, nullptr},
        {"\t\t\t\t\t\t\t\t", -1, "Clear", "entry", nullptr, nullptr, "   16.50", "1,2"},
        {" ", -1, "New", "idle+delete", "|||||||", "||||", "   16.50", "1,2"},
        // Wednesday again, into the empty editor: 8 to 5 pm.
        {" ", -1, "In 1", "entry", "|||||||", "||||", "   16.50", "1,2"},
        {"8\t", -1, "Out 1", "entry", " 8.00|||||||", "||||     0.00", nullptr, nullptr},
        {"5-00\t", -1, "In 2", "entry", " 8.00|17.00||||||", " 9.00||||     9.00", nullptr, nullptr},
        {"\t\t\t\t\t\t", -1, "Add", "entry", " 8.00|17.00| 0.00| 0.00| 0.00| 0.00| 0.00| 0.00",
         " 9.00||||     9.00", "   16.50", "1,2"},
        {" ", -1, "New", "idle+delete", "    8.00|   17.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
         "     9.00|     0.00|     0.00|     0.00|     9.00", "   25.50", "1,2,3"},
        // Thursday: 8 to 4 pm in one pair.
        {" ", -1, "In 1", "entry", nullptr, nullptr, nullptr, nullptr},
        {"8\t", -1, "Out 1", "entry", nullptr, " 9.00|     0.00|     0.00|     0.00|     9.00", nullptr, nullptr},
        {"4+00\t", -1, "In 2", "entry", " 8.00|16.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
         " 8.00|     0.00|     0.00|     0.00|     8.00", nullptr, nullptr},
        {"\t\t\t\t\t\t ", -1, "New", "idle+delete",
         "    8.00|   16.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
         "     8.00|     0.00|     0.00|     0.00|     8.00", "   33.50", "1,2,3,4"},
        // Friday: 8 to 12 and 1 to 5:30 pm.
        {" 8\t12\t13\t5+30\t", -1, "In 3", "entry",
         " 8.00|12.00|13.00|17.50|    0.00|    0.00|    0.00|    0.00",
         " 4.00| 4.50|     0.00|     0.00|     8.50", "   33.50", "1,2,3,4"},
        {"\t\t\t\t ", -1, "New", "idle+delete",
         "    8.00|   12.00|   13.00|   17.50|    0.00|    0.00|    0.00|    0.00",
         "     4.00|     4.50|     0.00|     0.00|     8.50", "   42.00", "1,2,3,4,5"},
        // Wednesday was a day off after all: a click on row 3, then round
        // to Delete and press it.
        {"\t\t", -1, "list", "idle+delete", nullptr, nullptr, "   42.00", "1,2,3,4,5"},
        {"", 2, "list", "idle+delete",
         "    8.00|   17.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
         "     9.00|     0.00|     0.00|     0.00|     9.00", "   42.00", "1,2,3,4,5"},
        {"\t\t\t\t\t", -1, "Delete", "idle+delete", nullptr, nullptr, "   42.00", "1,2,3,4,5"},
        {" ", -1, "New", "idle+delete", "    8.00|   16.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00",
         "     8.00|     0.00|     0.00|     0.00|     8.00", "   33.00", "1,2,4,5"},
        // Enter on Delete only moves on.
        {"\t\r", -1, "list", "idle+delete", nullptr, nullptr, "   33.00", "1,2,4,5"},
        // Saturday morning, 9 to 5:30 pm, after a look at Tuesday.
        {"", 1, "list", "idle+delete", "    7.75|   11.50|   12.25|   16.50|    0.00|    0.00|    0.00|    0.00",
         "     3.75|     4.25|     0.00|     0.00|     8.00", "   33.00", "1,2,4,5"},
        {"\t\t\t\t", -1, "New", "idle+delete", nullptr, nullptr, nullptr, nullptr},
        {" 9\t5-30\t\t\t\t\t\t\t ", -1, "New", "idle+delete",
         "    9.00|   17.50|   12.25|   16.50|    0.00|    0.00|    0.00|    0.00",
         "     8.50|     4.25|     0.00|     0.00|    12.75", "   45.75", "1,2,4,5,6"},
    };
    int index = 0;
    for (const SessionStep &step : steps) {
        SCOPED_TRACE("step " + std::to_string(index++) + " keys \"" + step.keys + "\"");
        if (step.clickRow >= 0)
            ClickRow(step.clickRow);
        Keys(step.keys);
        EXPECT_EQ(step.focus, FocusName());
        std::string states = step.states;
        EXPECT_EQ(states == "entry" ? EntryStates() : IdleStates(states == "idle+delete"), EnabledStates());
        if (step.fields) {
            EXPECT_EQ(step.fields, FieldTexts());
        }
        if (step.totals) {
            EXPECT_EQ(step.totals, TotalTexts());
        }
        if (step.grand) {
            EXPECT_EQ(step.grand, ControlText(IDC_GRANDTOTAL));
        }
        if (step.numbers) {
            EXPECT_EQ(step.numbers, EntryNumbers());
        }
    }
    // The rows of the week as the list holds them.
    EXPECT_EQ("1|    8.00|   12.00|   12.50|   17.00|    0.00|    0.00|    0.00|    0.00", RowTexts(0));
    EXPECT_EQ("2|    7.75|   11.50|   12.25|   16.50|    0.00|    0.00|    0.00|    0.00", RowTexts(1));
    EXPECT_EQ("4|    8.00|   16.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00", RowTexts(2));
    EXPECT_EQ("5|    8.00|   12.00|   13.00|   17.50|    0.00|    0.00|    0.00|    0.00", RowTexts(3));
    EXPECT_EQ("6|    9.00|   17.50|   12.25|   16.50|    0.00|    0.00|    0.00|    0.00", RowTexts(4));
}

} // namespace
