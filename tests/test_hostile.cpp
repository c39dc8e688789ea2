// Hostile input through the real program: texts that are no time (huge,
// tiny, signs and operators only, "nan", "inf") typed into every field, rows
// holding such values added, shown, deleted, totalled and printed, registry
// values of the wrong type or size or with nonsense in them, and the settings
// key taken away while the program runs. The program must neither crash nor
// hang, must show every number whole, and must keep every other row intact.
#include <gtest/gtest.h>

#include "app.h"
#include "print.h"
#include "print_support.h"
#include "registry.h"
#include "resource.h"
#include "settings.h"
#include "testwin.h"
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

// ---- message boxes ------------------------------------------------------------

// Answers, from a timer, every message box of the thread (a dialog without an
// edit field) and keeps its text.
std::vector<std::string> Boxes;
UINT_PTR BoxTimer;

BOOL CALLBACK HasEdit(HWND child, LPARAM found)
{
    char name[16] = {0};
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Edit") == 0) {
        *(bool *)found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK AnswerBox(HWND window, LPARAM)
{
    char name[16] = {0};
    GetClassNameA(window, name, sizeof name);
    bool edit = false;
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        EnumChildWindows(window, HasEdit, (LPARAM)&edit);
        if (!edit) {
            char text[512] = {0};
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            Boxes.push_back(text);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            ShowWindow(window, SW_HIDE);
        }
    }
    return TRUE;
}

void CALLBACK BoxTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
}

std::string BoxList()
{
    std::string all;
    for (const std::string &box : Boxes)
        all += "[" + box + "] ";
    return all;
}

// ---- numbers on the screen ----------------------------------------------------

std::string Fixed(double value, int width)
{
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, value, width, 2);
    return text;
}

// Whether text is one whole number formatted with two decimals and padded to
// width: nothing cut, nothing left over.
bool IsWholeNumber(const std::string &text, int width)
{
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return false;
    std::string body = text.substr(start);
    if (body == "inf" || body == "-inf" || body == "nan")
        return text == Fixed(body == "nan" ? NAN : (body[0] == '-' ? -INFINITY : INFINITY), width);
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

void AddRow(const std::vector<const char *> &typed)
{
    Click(hNewButton);
    for (size_t i = 0; i < typed.size(); i++)
        TypeIntoField((int)i, typed[i]);
    Click(hAddButton);
}

void SelectRow(int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hEntryList, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
    Pump();
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Boxes.clear();
        BoxTimer = SetTimer(NULL, 0, 50, BoxTimerProc);
        PrepareRegistry();
        StartMainWindow();
        ASSERT_TRUE(hMainWnd != NULL && IsWindow(hMainWnd));
    }
    void TearDown() override
    {
        CloseMainWindow();
        KillTimer(NULL, BoxTimer);
        DeleteSettingsKey();
    }
    virtual void PrepareRegistry() { DeleteSettingsKey(); }

    // Two ordinary rows that every hostile action must leave as they are.
    void AddOrdinaryRows()
    {
        AddRow({"8", "12", "12*30", "5-00"});
        AddRow({"7*15", "11*45", "", "", "1-00", "4-30"});
        ASSERT_EQ(2, RowCount());
    }
};

// ---- every field typed with every hostile text ---------------------------------

class HostileText : public Hostile, public ::testing::WithParamInterface<const char *> {};

TEST_P(HostileText, EveryFieldShowsItsWholeValueAndTheRowAddsShowsAndDeletes)
{
    const char *typed = GetParam();
    AddOrdinaryRows();
    std::vector<std::string> before = AllCells();
    std::string totalBefore = ControlText(IDC_GRANDTOTAL);

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

        // Shown in the editor from the row, whole.
        SelectRow(0);
        SelectRow(2);
        for (int k = 0; k < 8; k++)
            EXPECT_EQ(CellText(2, k + 1), ControlText(IDC_TIMEIN1 + k));
        for (int j = 0; j < 4; j++)
            EXPECT_TRUE(IsWholeNumber(ControlText(IDC_PAIRTOTAL1 + j), 9))
                << ControlText(IDC_PAIRTOTAL1 + j);
        EXPECT_TRUE(IsWholeNumber(ControlText(IDC_ENTRYTOTAL), 9)) << ControlText(IDC_ENTRYTOTAL);

        // Deleted again: the other rows and their total are as they were.
        Click(hDeleteButton);
        ASSERT_EQ(2, RowCount());
        EXPECT_EQ(before, AllCells());
        EXPECT_EQ(totalBefore, ControlText(IDC_GRANDTOTAL));
    }
    EXPECT_TRUE(Boxes.empty()) << BoxList();
}

TEST_P(HostileText, AllEightFieldsAtOnceMakeOneWholeRow)
{
    const char *typed = GetParam();
    AddOrdinaryRows();
    std::vector<std::string> before = AllCells();
    AddRow({typed, typed, typed, typed, typed, typed, typed, typed});
    ASSERT_EQ(3, RowCount());
    for (int column = 1; column <= 8; column++)
        EXPECT_TRUE(IsWholeNumber(CellText(2, column), 8)) << CellText(2, column);
    EXPECT_EQ(Fixed(RowsTotal(), 8), ControlText(IDC_GRANDTOTAL));
    std::vector<std::string> now = AllCells();
    now.resize(before.size());
    EXPECT_EQ(before, now);
    EXPECT_TRUE(Boxes.empty()) << BoxList();
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
    std::vector<std::string> before = AllCells();
    std::string totalBefore = ControlText(IDC_GRANDTOTAL);
    for (const char *cell : cells) {
        SCOPED_TRACE(std::string("cell \"") + cell + "\"");
        InsertRawRow(cell);
        SelectRow(2);
        for (int j = 0; j < 4; j++)
            EXPECT_TRUE(IsWholeNumber(ControlText(IDC_PAIRTOTAL1 + j), 9))
                << ControlText(IDC_PAIRTOTAL1 + j);
        EXPECT_TRUE(IsWholeNumber(ControlText(IDC_ENTRYTOTAL), 9)) << ControlText(IDC_ENTRYTOTAL);
        Click(hDeleteButton);
        ASSERT_EQ(2, RowCount());
        EXPECT_EQ(before, AllCells());
        EXPECT_EQ(totalBefore, ControlText(IDC_GRANDTOTAL));
    }
    EXPECT_TRUE(Boxes.empty()) << BoxList();
}

TEST_F(Hostile, HostileRowsPrintEveryValueWhole)
{
    std::string printerName = DefaultPrinterName();
    if (printerName.empty())
        GTEST_SKIP() << "no default printer";
    AddOrdinaryRows();
    for (const char *typed : HOSTILE_TEXTS)
        AddRow({typed, "8", typed, typed, "", typed});
    InsertRawRow("1e300");
    InsertRawRow("nan");
    int rows = RowCount();

    HDC printer = CreateDCA(NULL, printerName.c_str(), NULL, NULL);
    ASSERT_TRUE(printer != NULL);
    ResetCallLog(hMainWnd, false, false);
    HDC recorder = CreateEnhMetaFileA(printer, NULL, NULL, NULL);
    ASSERT_TRUE(recorder != NULL);
    DOCINFOA document = {sizeof(DOCINFOA), SHEET_DOCUMENT_NAME, NULL, NULL, 0};
    EXPECT_EQ(1, RunPrintJob(hMainWnd, recorder, hEntryList, &document, &RecordingCalls));
    DeleteDC(printer);
    EXPECT_EQ(1, Calls.endDoc);
    EXPECT_EQ(0, Calls.abortDoc);
    ASSERT_TRUE(RecordedJob != NULL);

    // Every drawn text that starts like a number is a whole two-decimal number.
    int values = 0;
    for (const RecordedPage &page : ReadRecordedPages(RecordedJob))
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
    EXPECT_TRUE(Boxes.empty()) << BoxList();
}

// ---- the registry -----------------------------------------------------------------

struct StoredValue {
    const char *label;
    const char *name;
    DWORD type;
    std::string data; // the bytes stored
};

std::string Bytes(const char *text, size_t length) { return std::string(text, length); }

std::string Dword(DWORD value) { return std::string((const char *)&value, sizeof value); }

std::vector<StoredValue> StoredCases()
{
    std::vector<StoredValue> cases;
    const char *numbers[] = {"Operator1", "Operator2", "Operator3", "RoundType"};
    for (const char *name : numbers) {
        cases.push_back({"text", name, REG_SZ, Bytes("abc", 4)});
        cases.push_back({"digits as text", name, REG_SZ, Bytes("5", 2)});
        cases.push_back({"long text", name, REG_SZ, std::string(200, '7') + '\0'});
        cases.push_back({"empty", name, REG_DWORD, ""});
        cases.push_back({"two bytes", name, REG_BINARY, Bytes("\x01\x02", 2)});
        cases.push_back({"eight bytes", name, REG_QWORD, Bytes("\x01\0\0\0\0\0\0\x01", 8)});
        cases.push_back({"negative", name, REG_DWORD, Dword((DWORD)-1)});
        cases.push_back({"huge", name, REG_DWORD, Dword(0x7FFFFFFF)});
        cases.push_back({"smallest", name, REG_DWORD, Dword(0x80000000)});
    }
    const char *texts[] = {"CustName", "RoundAmount"};
    for (const char *name : texts) {
        cases.push_back({"number", name, REG_DWORD, Dword(0x2E353200)});
        cases.push_back({"number of digits", name, REG_DWORD, Dword(0x00353231)});
        cases.push_back({"empty", name, REG_SZ, ""});
        cases.push_back({"only the NUL", name, REG_SZ, Bytes("", 1)});
        cases.push_back({"no NUL", name, REG_SZ, "123456789"});
        cases.push_back({"100 characters", name, REG_SZ, std::string(100, 'W') + '\0'});
        cases.push_back({"254 characters", name, REG_SZ, std::string(254, '9') + '\0'});
        cases.push_back({"300 characters", name, REG_SZ, std::string(300, '9') + '\0'});
        cases.push_back({"expandable", name, REG_EXPAND_SZ, Bytes("%TEMP%", 7)});
        cases.push_back({"several texts", name, REG_MULTI_SZ, Bytes(".5\0.25\0\0", 8)});
        cases.push_back({"binary", name, REG_BINARY, Bytes("\xff\xfe\x00\x01-", 5)});
    }
    const char *amounts[] = {"-.5", "-1", "-0", "nan", "inf", "1e9", "9e9", "1e-", "...",
                             "abc", "  .", "+.2", ".01", "0x1", "\t.5"};
    for (const char *amount : amounts)
        cases.push_back({"amount", "RoundAmount", REG_SZ, Bytes(amount, strlen(amount) + 1)});
    return cases;
}

class HostileRegistry : public Hostile, public ::testing::WithParamInterface<StoredValue> {
protected:
    void PrepareRegistry() override
    {
        DeleteSettingsKey();
        StartMainWindow(); // writes every default
        CloseMainWindow();
        const StoredValue &stored = GetParam();
        WriteBinary(stored.name, stored.type, stored.data.data(), (DWORD)stored.data.size());
    }
};

TEST_P(HostileRegistry, StartsKeepsItsFieldsInBoundsAndEvaluates)
{
    EXPECT_TRUE(Boxes.empty()) << BoxList();
    EXPECT_LE(strnlen(AppSettings.CustName, CUSTNAME_SIZE), (size_t)CUSTNAME_SIZE - 1);
    EXPECT_LE(strnlen(AppSettings.RoundAmount, ROUNDAMOUNT_SIZE), (size_t)ROUNDAMOUNT_SIZE - 1);
    EXPECT_TRUE(AppSettings.RoundAmountValue >= 0 && isfinite(AppSettings.RoundAmountValue))
        << AppSettings.RoundAmountValue;

    // Typed times evaluate with whatever was loaded, and show whole.
    static const char *typed[] = {"8*30", "5-45", "5+59", "8.99", "99*99", "1e300", "-", "12"};
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

TEST_P(HostileRegistry, ANextStartReadsWhatThisOneLeft)
{
    AppSettingsRecord first = AppSettings;
    CloseMainWindow();
    StartMainWindow();
    EXPECT_TRUE(Boxes.empty()) << BoxList();
    const StoredValue &stored = GetParam();
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

std::string StoredName(const ::testing::TestParamInfo<StoredValue> &info)
{
    std::string name = std::string(info.param.name) + "_" + std::to_string(info.index);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Values, HostileRegistry, ::testing::ValuesIn(StoredCases()), StoredName);

// ---- the key taken away while the program runs ----------------------------------

const char *TypedAmount;

void TypeAmountAndOk(HWND dialog)
{
    if (!dialog)
        return;
    if (TypedAmount) {
        HWND edit = GetDlgItem(dialog, IDC_ROUNDAMOUNT);
        SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)"");
        for (const char *c = TypedAmount; *c; c++)
            SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
    }
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

TEST_F(Hostile, PreferencesOkWithTheKeyRemovedKeepsRunningSilently)
{
    AddOrdinaryRows();
    std::vector<std::string> before = AllCells();
    DeleteSettingsKey();
    TypedAmount = ".25";
    AnswerNextDialog(hMainWnd, TypeAmountAndOk);
    Click(hPreferencesButton);
    Pump();
    EXPECT_EQ(1, AnsweredDialogs());
    EXPECT_TRUE(Boxes.empty()) << BoxList();
    EXPECT_TRUE(IsWindow(hMainWnd));
    EXPECT_EQ(0.25, AppSettings.RoundAmountValue); // in force for this run
    DWORD unused;
    EXPECT_FALSE(ReadDword("Operator1", &unused)); // the key comes back only at the next start

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
    AnswerNextDialog(hMainWnd, TypeAmountAndOk);
    Click(hPreferencesButton);
    Pump();
    EXPECT_EQ(1, AnsweredDialogs());
    EXPECT_TRUE(Boxes.empty()) << BoxList();
    EXPECT_LE(strlen(AppSettings.RoundAmount), (size_t)ROUNDAMOUNT_SIZE - 1);
    EXPECT_TRUE(AppSettings.RoundAmountValue >= 0 && isfinite(AppSettings.RoundAmountValue))
        << AppSettings.RoundAmountValue;

    TimeRules rules = CurrentRules();
    static const char *typed[] = {"8*59", "5-01", "11+30", "8.99", "99*99", "1e300", "*", "0*1"};
    Click(hNewButton);
    for (int field = 0; field < 8; field++) {
        TypeIntoField(field, typed[field]);
        EXPECT_EQ(Fixed(EvaluateTimeText(typed[field], &rules), 5), ControlText(IDC_TIMEIN1 + field))
            << typed[field];
    }
    Click(hAddButton);
    ASSERT_EQ(1, RowCount());
    EXPECT_EQ(Fixed(RowsTotal(), 8), ControlText(IDC_GRANDTOTAL));
}

INSTANTIATE_TEST_SUITE_P(Amounts, HostileAmount,
                         ::testing::Values("1e300", "-1e300", "nan", "inf", "...", "-", "*-+",
                                           "-.5", "-0", ".01", "1e-400", "9e9", "999"));

} // namespace
