// Ctrl+C and Ctrl+Insert in the list of entries: the text a spreadsheet gets
// (with the pay summary's lines), a clipboard held by another thread, and
// that copying changes nothing.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"

#include <string>
#include <vector>

namespace {

const char HEADER[] = "Entry\tTime In 1\tTime Out 1\tTime In 2\tTime Out 2\tTime In 3\tTime Out 3"
                      "\tTime In 4\tTime Out 4\tHours\r\n";

// Everything the user sees, to prove a copy changed none of it.
std::string VisibleState()
{
    return FocusName() + "#" + std::to_string(SelectedRow()) + "#" + FieldTexts() + "#" +
           TotalTexts() + "#" + ControlText(IDC_GRANDTOTAL) + "#" + EnabledStates() + "#" +
           std::to_string(RowCount()) + "#" + (RowCount() ? RowTexts(RowCount() - 1) : "");
}

class CopyList : public WindowTest {};

// A row as typed key by key into the editor (a field not given keeps what it
// shows), or with the fields' texts set as they stand (no evaluation) and Add
// clicked.
struct CopyRow {
    bool typed;
    std::vector<const char *> texts;
    const char *hours;
};

struct CopyCase {
    const char *name;
    UINT key;
    std::vector<CopyRow> rows;
    const char *total;
    std::vector<const char *> pay;   // regular, overtime and double time, by the default rules
};

class CopiedText : public CopyList, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopiedText, IsTheListAsATableWithTheHoursOfEachRowAndTheGrandTotal)
{
    const CopyCase &c = GetParam();
    for (const CopyRow &row : c.rows) {
        if (row.typed) {
            EnterRow(row.texts);
            continue;
        }
        Click(hNewButton);
        SetFocus(hAddButton); // no field is left, so none is evaluated
        for (size_t i = 0; i < row.texts.size(); i++)
            SetControlText(IDC_TIMEIN1 + (int)i, row.texts[i]);
        Click(hAddButton);
    }
    ASSERT_EQ((int)c.rows.size(), RowCount());
    PutOnClipboard("before");
    SetFocus(hEntryList);
    std::string before = VisibleState();
    PressKey(c.key, false, true);
    EXPECT_EQ(before, VisibleState());

    std::string expected = HEADER;
    for (int row = 0; row < RowCount(); row++) {
        for (int column = 0; column <= 8; column++)
            expected += Trimmed(CellText(row, column)) + "\t";
        expected += std::string(c.rows[row].hours) + "\r\n";
    }
    expected += std::string("Total\t\t\t\t\t\t\t\t\t") + c.total + "\r\n";
    const char *labels[3] = {"Regular", "Overtime", "Double time"};
    for (int line = 0; line < 3; line++)
        expected += std::string(labels[line]) + "\t\t\t\t\t\t\t\t\t" + c.pay[line] + "\r\n";
    EXPECT_EQ(expected, ClipboardText());
    EXPECT_EQ(c.total, Trimmed(ControlText(IDC_GRANDTOTAL)));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CopiedText,
    ::testing::Values(
        CopyCase{"EmptyList", 'C', {}, "0.00", {"0.00", "0.00", "0.00"}},
        CopyCase{"TypedWeek",
                 'C',
                 {{true, {"8", "12", "12*30", "5-30"}, "9.00"},
                  {true, {"7*45", "11*15", "12*15", "16*30"}, "7.75"},
                  {true, {"0", "17", "0", "0"}, "17.00"}, // In at 0.00 counts Out in full
                  {true, {"17", "8"}, "9.00"},            // In after Out: not over midnight
                  {true, {"8.3", "12.1", "0", "0", "0", "0", "13", "17.25"}, "8.05"}},
                 "50.80", {"40.00", "10.80", "0.00"}},
        CopyCase{"CtrlInsert", VK_INSERT, {{true, {"8", "16*30"}, "8.50"}}, "8.50", {"8.50", "0.00", "0.00"}},
        // The cells are copied whole; the hours come from their first ten
        // characters, as for the grand total.
        CopyCase{"LargestValues",
                 'C',
                 {{false, {"99999999", "-9999999", "99999999", "-9999999", "99999999", "-9999999",
                           "99999999", "-9999999"}, "439999992.00"},
                  {false, {"1e308", "-1e308", "1e308", "-1e308", "1e308", "-1e308", "1e308",
                           "-1e308"}, "4400000000.00"}},
                 "4839999992.00", {"40.00", "4839999952.00", "0.00"}}),
    [](const ::testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.name); });

TEST_F(CopyList, OtherKeysAndAFieldsOwnCtrlCAreLeftAlone)
{
    EnterRow({"8", "17"});
    PutOnClipboard("before");
    SetFocus(hEntryList);
    PressKey('C');                    // no Ctrl
    PressKey('C', true, true);        // Ctrl+Shift
    PressKey(VK_INSERT);              // no Ctrl
    EXPECT_EQ("before", ClipboardText());

    Click(hNewButton);
    TypeIntoField(0, "8*30");
    SetFocus(hTimeFields[0]);
    SendMessageA(hTimeFields[0], EM_SETSEL, 0, 2);
    PressKey('C', false, true);
    EXPECT_EQ(" 8", ClipboardText());
}

TEST_F(CopyList, AClipboardHeldElsewhereIsGivenUpAfterAMomentAndNothingChanges)
{
    EnterRow({"8", "17"});
    EnterRow({"9", "12"});
    PutOnClipboard("before");
    HoldClipboardElsewhere();

    SetFocus(hEntryList);
    std::string before = VisibleState();
    DWORD start = GetTickCount();
    PressKey('C', false, true);
    DWORD took = GetTickCount() - start;
    EXPECT_EQ(before, VisibleState());
    EXPECT_GE(took, 200u);
    EXPECT_LT(took, 5000u);

    ReleaseHeldClipboard();
    EXPECT_EQ("before", ClipboardText());
}

} // namespace
