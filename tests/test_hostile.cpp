// Hostile input through the real program: texts that are no time (huge,
// tiny, signs and operators only, "nan", "inf") typed into every field, rows
// holding such values added, shown, deleted, totalled and printed, registry
// values of the wrong type or size or with nonsense in them, and the settings
// key taken away while the program runs. The program must neither crash nor
// hang, must show every number whole, and must keep every other row intact.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "print.h"
#include "print_support.h"
#include "registry.h"
#include "resource.h"
#include "settings.h"
#include "timecalc.h"
#include "totals.h"

#include <commctrl.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const char *const HOSTILE_TEXTS[] = {
    "1e300", "-1e300", "9999999", "nan", "inf", "...", "-", "*-+", "99*99", "1e-400",
    "1e999", "9e99*99", "-9e99", "0.00001", ".995", "12345.6", "+", "*", "e5", "1e30",
};

// ---- numbers on the screen ----------------------------------------------------

std::string Fixed(double value, int width)
{
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, value, width, 2);
    return text;
}

// Whether text is one whole number formatted with two decimals and padded to
// width: nothing cut, nothing left over, never "inf" or "nan".
bool IsWholeNumber(const std::string &text, int width)
{
    if (text.find_first_not_of(' ') == std::string::npos)
        return false;
    return text == Fixed(ReadNumber(text.c_str()), width);
}

TimeRules CurrentRules()
{
    return CurrentTimeRules();
}

// The value of a list cell as the totals read it: 10 characters.
double CellValue(int row, int column)
{
    std::string text = CellText(row, column).substr(0, CELL_TEXT_SIZE - 1);
    return RoundToDecimals(ReadNumber(text.c_str()), 2);
}

double RowsTotal()
{
    double total = 0;
    for (int row = 0; row < RowCount(); row++) {
        double times[8];
        for (int k = 0; k < 8; k++)
            times[k] = CellValue(row, k + 1);
        total += RowHours(times);
    }
    return total;
}

std::vector<std::string> AllCells()
{
    std::vector<std::string> cells;
    for (int row = 0; row < RowCount(); row++)
        for (int column = 0; column <= 8; column++)
            cells.push_back(CellText(row, column));
    return cells;
}

// Eight texts typed into the eight fields of a new entry: each shows what it
// evaluates to with the rules in force, and the row added counts in the total.
void ExpectTypedRowEvaluates(const char *const typed[8])
{
    TimeRules rules = CurrentRules();
    Click(hNewButton);
    for (int field = 0; field < 8; field++) {
        TypeIntoField(field, typed[field]);
        EXPECT_EQ(Fixed(EvaluateTimeText(typed[field], &rules), 5), ControlText(IDC_TIMEIN1 + field))
            << typed[field];
    }
    Click(hAddButton);
    ASSERT_EQ(1, RowCount());
    for (int column = 1; column <= 8; column++)
        EXPECT_TRUE(IsWholeNumber(CellText(0, column), 8)) << CellText(0, column);
    EXPECT_EQ(Fixed(RowsTotal(), 8), ControlText(IDC_GRANDTOTAL));
}

// A message box (or any other dialog) fails a test of this file: WindowTest
// closes it and names it.
class Hostile : public WindowTest {
protected:
    // Two ordinary rows that every hostile action must leave as they are.
    void AddOrdinaryRows()
    {
        EnterRow({"8", "12", "12*30", "5-00"});
        EnterRow({"7*15", "11*45", "", "", "1-00", "4-30"});
        ASSERT_EQ(2, RowCount());
        before = AllCells();
        totalBefore = ControlText(IDC_GRANDTOTAL);
    }

    // The third row shown in the editor whole, then deleted: the ordinary
    // rows and their total are as they were.
    void ExpectThirdRowShownWholeAndDeleted()
    {
        SelectRowByState(2);
        for (int j = 0; j < 4; j++)
            EXPECT_TRUE(IsWholeNumber(ControlText(IDC_PAIRTOTAL1 + j), 9))
                << ControlText(IDC_PAIRTOTAL1 + j);
        EXPECT_TRUE(IsWholeNumber(ControlText(IDC_ENTRYTOTAL), 9)) << ControlText(IDC_ENTRYTOTAL);
        Click(hDeleteButton);
        ASSERT_EQ(2, RowCount());
        EXPECT_EQ(before, AllCells());
        EXPECT_EQ(totalBefore, ControlText(IDC_GRANDTOTAL));
    }

    std::vector<std::string> before;
    std::string totalBefore;
};

// ---- every field typed with every hostile text ---------------------------------

class HostileText : public Hostile, public ::testing::WithParamInterface<const char *> {};

TEST_P(HostileText, EachFieldAloneThenAllEightAtOnceMakeWholeRowsThatAddShowAndDelete)
{
    const char *typed = GetParam();
    AddOrdinaryRows();

    for (int field = 0; field < 8; field++) {
        SCOPED_TRACE(std::string("field ") + std::to_string(field) + ", typed \"" + typed + "\"");
        Click(hNewButton);
        int partner = field ^ 1;
        TypeIntoField(partner, "8");
        TypeIntoField(field, typed);

        // The field shows the whole value the text stands for.
        char eight[9] = {0};
        strncpy(eight, typed, 8);
        TimeRules rules = CurrentRules();
        double value = EvaluateTimeText(eight, &rules);
        std::string shown = ControlText(IDC_TIMEIN1 + field);
        EXPECT_EQ(Fixed(value, 5), shown);
        EXPECT_TRUE(IsWholeNumber(shown, 5)) << shown;

        // The pair total shows the whole difference, or its earlier text.
        std::string pair = ControlText(IDC_PAIRTOTAL1 + field / 2);
        double difference = PairDifference(value, 8.0);
        if (difference != 0) {
            EXPECT_EQ(Fixed(difference, 5), pair);
        }
        EXPECT_TRUE(pair.empty() || IsWholeNumber(pair, 5) || IsWholeNumber(pair, 9)) << pair;
        std::string entry = ControlText(IDC_ENTRYTOTAL);
        EXPECT_TRUE(IsWholeNumber(entry, 9)) << entry;

        Click(hAddButton);
        ASSERT_EQ(3, RowCount());
        for (int column = 1; column <= 8; column++)
            EXPECT_TRUE(IsWholeNumber(CellText(2, column), 8)) << CellText(2, column);
        std::string grand = ControlText(IDC_GRANDTOTAL);
        EXPECT_TRUE(IsWholeNumber(grand, 8)) << grand;
        EXPECT_EQ(Fixed(RowsTotal(), 8), grand);

        // Shown in the editor from the row, whole; deleted again.
        SelectRowByState(0);
        SelectRowByState(2);
        for (int k = 0; k < 8; k++)
            EXPECT_EQ(CellText(2, k + 1), ControlText(IDC_TIMEIN1 + k));
        ExpectThirdRowShownWholeAndDeleted();
    }

    // All eight fields at once make one whole row; the ordinary rows, found
    // as they were after each row above, stay as they are.
    EnterRow({typed, typed, typed, typed, typed, typed, typed, typed});
    ASSERT_EQ(3, RowCount());
    for (int column = 1; column <= 8; column++)
        EXPECT_TRUE(IsWholeNumber(CellText(2, column), 8)) << CellText(2, column);
    EXPECT_EQ(Fixed(RowsTotal(), 8), ControlText(IDC_GRANDTOTAL));
    std::vector<std::string> now = AllCells();
    now.resize(before.size());
    EXPECT_EQ(before, now);
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileText, ::testing::ValuesIn(HOSTILE_TEXTS));

// ---- rows that hold what no typed entry can make ---------------------------------

// Cell texts put straight into the list, as another program could.
void InsertRawRow(const char *cell)
{
    int row = RowCount();
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = (char *)"99";
    row = (int)SendMessageA(hEntryList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    for (int k = 1; k <= 8; k++) {
        ZeroMemory(&item, sizeof item);
        item.iSubItem = k;
        item.pszText = (char *)cell;
        SendMessageA(hEntryList, LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    }
    Pump();
}

TEST_F(Hostile, ForeignCellsAreTotalledAndDeletedWithoutHarmToOtherRows)
{
    static const char *cells[] = {
        "1e300", "-1e300", "nan", "inf", "", "-", "...", "99999999999999999999",
        "   12.5abc", "1e-400", "\t\t8", "0x1p4",
    };
    AddOrdinaryRows();
    for (const char *cell : cells) {
        SCOPED_TRACE(std::string("cell \"") + cell + "\"");
        InsertRawRow(cell);
        ExpectThirdRowShownWholeAndDeleted();
    }
}

TEST_F(Hostile, HostileRowsPrintEveryValueWhole)
{
    std::string printerName = DefaultPrinterName();
    if (printerName.empty())
        GTEST_SKIP() << "no default printer";
    AddOrdinaryRows();
    for (const char *typed : HOSTILE_TEXTS)
        EnterRow({typed, "8", typed, typed, "", typed});
    InsertRawRow("1e300");
    InsertRawRow("nan");
    int rows = RowCount();

    HDC printer = CreateDCA(NULL, printerName.c_str(), NULL, NULL);
    ASSERT_TRUE(printer != NULL);
    std::vector<RecordedPage> pages = RecordPrintJob(printer);
    DeleteDC(printer);
    EXPECT_EQ(1, Calls.endDoc);
    EXPECT_EQ(0, Calls.abortDoc);

    // Every drawn text that starts like a number is a whole two-decimal number.
    int values = 0;
    for (const RecordedPage &page : pages)
        for (const DrawnText &drawn : page.texts) {
            const std::string &t = drawn.text;
            size_t start = t.find_first_not_of(' ');
            if (start == std::string::npos || t.find('.') == std::string::npos ||
                t.find_first_not_of("0123456789.-", start) != std::string::npos)
                continue; // not a value of the grid
            bool whole = IsWholeNumber(t, 8) || IsWholeNumber(t, 9);
            EXPECT_TRUE(whole) << "\"" << t << "\"";
            values++;
        }
    EXPECT_GE(values, rows * 9);
    EXPECT_EQ(rows, RowCount());
}

// ---- the registry -----------------------------------------------------------------

// The pay rules' defaults as the first start writes them.
const struct { const char *name; StoredValue stored; } RULE_DEFAULTS[] = {
    {"OvertimeWeekly", Text("40")}, {"OvertimeDaily", Text("")},    {"DoubleTimeDaily", Text("")},
    {"OvertimeFactor", Text("1.5")}, {"DoubleTimeFactor", Text("2")}, {"HourlyRate", Text("")},
    {"SeventhDay", Dword(0)},
};

// A value stored from outside, named for a failure.
struct HostileValue {
    const char *label;
    const char *name;
    StoredValue stored;
};

std::string Bytes(const char *text, size_t length) { return std::string(text, length); }

std::vector<HostileValue> StoredCases()
{
    std::vector<HostileValue> cases;
    const char *numbers[] = {"Operator1", "Operator2", "Operator3", "RoundType"};
    for (const char *name : numbers) {
        cases.push_back({"text", name, Raw(REG_SZ, Bytes("abc", 4))});
        cases.push_back({"digits as text", name, Raw(REG_SZ, Bytes("5", 2))});
        cases.push_back({"long text", name, Raw(REG_SZ, std::string(200, '7') + '\0')});
        cases.push_back({"empty", name, Raw(REG_DWORD, "")});
        cases.push_back({"two bytes", name, Raw(REG_BINARY, Bytes("\x01\x02", 2))});
        cases.push_back({"eight bytes", name, Raw(REG_QWORD, Bytes("\x01\0\0\0\0\0\0\x01", 8))});
        cases.push_back({"negative", name, Dword((DWORD)-1)});
        cases.push_back({"huge", name, Dword(0x7FFFFFFF)});
        cases.push_back({"smallest", name, Dword(0x80000000)});
    }
    const char *texts[] = {"CustName", "RoundAmount"};
    for (const char *name : texts) {
        cases.push_back({"number", name, Dword(0x2E353200)});
        cases.push_back({"number of digits", name, Dword(0x00353231)});
        cases.push_back({"empty", name, Raw(REG_SZ, "")});
        cases.push_back({"only the NUL", name, Raw(REG_SZ, Bytes("", 1))});
        cases.push_back({"no NUL", name, Raw(REG_SZ, "123456789")});
        cases.push_back({"100 characters", name, Raw(REG_SZ, std::string(100, 'W') + '\0')});
        cases.push_back({"254 characters", name, Raw(REG_SZ, std::string(254, '9') + '\0')});
        cases.push_back({"300 characters", name, Raw(REG_SZ, std::string(300, '9') + '\0')});
        cases.push_back({"expandable", name, Raw(REG_EXPAND_SZ, Bytes("%TEMP%", 7))});
        cases.push_back({"several texts", name, Raw(REG_MULTI_SZ, Bytes(".5\0.25\0\0", 8))});
        cases.push_back({"binary", name, Raw(REG_BINARY, Bytes("\xff\xfe\x00\x01-", 5))});
    }
    const char *amounts[] = {"-.5", "-1", "-0", "nan", "inf", "1e9", "9e9", "1e-", "...",
                             "abc", "  .", "+.2", ".01", "0x1", "\t.5"};
    for (const char *amount : amounts)
        cases.push_back({"amount", "RoundAmount", Raw(REG_SZ, Bytes(amount, strlen(amount) + 1))});
    // No rule of any kind: each pay rule gets three of them and a number.
    const char *noRules[] = {"abc", "-8", "1e3", "99999999999999999999", "8.12345", "1,5", "\x80"};
    for (size_t r = 0; r < sizeof RULE_DEFAULTS / sizeof RULE_DEFAULTS[0] - 1; r++) {
        for (size_t k = 0; k < 3; k++) {
            const char *text = noRules[(r + 2 * k) % 7];
            cases.push_back({"no rule", RULE_DEFAULTS[r].name, Raw(REG_SZ, Bytes(text, strlen(text) + 1))});
        }
        cases.push_back({"number", RULE_DEFAULTS[r].name, Dword(0x00303431)});   // "140" as bytes
    }
    for (StoredValue seventh : {Dword(2), Dword(0xFFFFFFFF), Raw(REG_SZ, Bytes("1", 2)), Raw(REG_BINARY, "\x01")})
        cases.push_back({"seventh day", "SeventhDay", seventh});
    return cases;
}

// Every value of the settings key, with its name.
std::vector<std::pair<std::string, StoredValue>> KeyValues()
{
    std::vector<std::pair<std::string, StoredValue>> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    char name[256];
    DWORD size = sizeof name;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &size, NULL, NULL, NULL, NULL) == ERROR_SUCCESS; i++) {
        values.push_back({name, ReadValue(name)});
        size = sizeof name;
    }
    RegCloseKey(key);
    return values;
}

// Started over the defaults that the first start wrote and one value stored
// from outside. One real first start writes the defaults for every case; each
// case stores them again itself, so that it makes only the windows it checks.
class HostileRegistry : public Hostile, public ::testing::WithParamInterface<HostileValue> {
protected:
    static void SetUpTestSuite()
    {
        DeleteSettingsKey();
        DeleteKeptList();
        GuardDialogs(true);
        StartMainWindow();
        CloseMainWindow();
        GuardDialogs(false);
        defaults = KeyValues();
        DeleteSettingsKey();
        DeleteKeptList();
    }
    void SetUp() override
    {
        DeleteSettingsKey();
        DeleteKeptList();
        for (const auto &value : defaults)
            WriteValue(value.first.c_str(), value.second);
        WriteValue(GetParam().name, GetParam().stored);
        StartMainWindow();
        GuardDialogs(true);
    }
    static std::vector<std::pair<std::string, StoredValue>> defaults;
};

std::vector<std::pair<std::string, StoredValue>> HostileRegistry::defaults;

TEST_P(HostileRegistry, StartsInBoundsEvaluatesAndANextStartReadsWhatThisOneLeft)
{
    EXPECT_LE(strnlen(AppSettings.CustName, CUSTNAME_SIZE), (size_t)CUSTNAME_SIZE - 1);
    EXPECT_LE(strnlen(AppSettings.RoundAmount, ROUNDAMOUNT_SIZE), (size_t)ROUNDAMOUNT_SIZE - 1);
    EXPECT_TRUE(AppSettings.RoundAmountValue >= 0 && isfinite(AppSettings.RoundAmountValue))
        << AppSettings.RoundAmountValue;
    AppSettingsRecord first = AppSettings;
    // A pay rule stored so is none: its default is taken and written back.
    const PayRules defaults = DEFAULT_PAY_RULES;
    EXPECT_EQ(0, memcmp(&defaults, &CurrentPayRules, sizeof defaults));
    for (const auto &rule : RULE_DEFAULTS)
        ExpectStored(rule.name, rule.stored);

    // Typed times evaluate with whatever was loaded, and show whole.
    static const char *const typed[] = {"8*30", "5-45", "5+59", "8.99", "99*99", "1e300", "-", "12"};
    ExpectTypedRowEvaluates(typed);

    // The next start, from no kept list as this one.
    CloseMainWindow();
    DeleteKeptList();
    StartMainWindow();
    const HostileValue &stored = GetParam();
    // A value that this start could not read was written back as its default
    // and is read now; one it could read is still there.
    if (strcmp(stored.name, "RoundAmount") == 0) {
        EXPECT_STREQ(first.RoundAmount, AppSettings.RoundAmount);
    }
    if (strcmp(stored.name, "Operator1") == 0) {
        EXPECT_EQ(first.Operator1, AppSettings.Operator1);
    }
    if (strcmp(stored.name, "RoundType") == 0) {
        EXPECT_EQ(first.RoundType, AppSettings.RoundType);
    }
    EXPECT_TRUE(AppSettings.RoundAmountValue >= 0 && isfinite(AppSettings.RoundAmountValue));
}

std::string StoredName(const ::testing::TestParamInfo<HostileValue> &info)
{
    std::string name = std::string(info.param.name) + "_" + std::to_string(info.index);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Values, HostileRegistry, ::testing::ValuesIn(StoredCases()), StoredName);

// ---- the key taken away while the program runs ----------------------------------

// Preferences answered with OK after the round amount is typed, if any.
const char *TypedAmount;

void OpenPreferencesTypingTheAmount()
{
    EXPECT_TRUE(DriveDialogs([] { Click(hPreferencesButton); },
                             {{"Preferences", hMainWnd, -1, [](HWND dialog) {
                                   if (TypedAmount)
                                       TypeInto(dialog, IDC_ROUNDAMOUNT, TypedAmount);
                                   PushButton(dialog, IDOK);
                               }}}));
}

TEST_F(Hostile, PreferencesOkWithTheKeyRemovedKeepsRunningSilently)
{
    AddOrdinaryRows();
    DeleteSettingsKey();
    TypedAmount = ".25";
    OpenPreferencesTypingTheAmount();
    EXPECT_TRUE(IsWindow(hMainWnd));
    EXPECT_EQ(0.25, AppSettings.RoundAmountValue); // in force for this run
    EXPECT_FALSE(ReadValue("Operator1").present); // the key comes back only at the next start

    Click(hNewButton);
    TypeIntoField(0, "8*08");
    EXPECT_EQ(" 8.25", ControlText(IDC_TIMEIN1));
    Click(hClearButton);
    EXPECT_EQ(before, AllCells());
}

class HostileAmount : public Hostile, public ::testing::WithParamInterface<const char *> {};

TEST_P(HostileAmount, TypedIntoPreferencesGivesAStepThatEndsAndWholeTimes)
{
    TypedAmount = GetParam();
    OpenPreferencesTypingTheAmount();
    EXPECT_LE(strlen(AppSettings.RoundAmount), (size_t)ROUNDAMOUNT_SIZE - 1);
    EXPECT_TRUE(AppSettings.RoundAmountValue >= 0 && isfinite(AppSettings.RoundAmountValue))
        << AppSettings.RoundAmountValue;

    static const char *const typed[] = {"8*59", "5-01", "11+30", "8.99", "99*99", "1e300", "*", "0*1"};
    ExpectTypedRowEvaluates(typed);
}

INSTANTIATE_TEST_SUITE_P(Amounts, HostileAmount,
                         ::testing::Values("1e300", "-1e300", "nan", "inf", "...", "-", "*-+",
                                           "-.5", "-0", ".01", "1e-400", "9e9", "999"));

} // namespace
