// What a print job draws, recorded in an enhanced metafile referenced to the
// real printer device context and checked against the layout rules of the
// timesheet; and the document calls on the paths where the job fails.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "print.h"
#include "print_support.h"
#include "settings.h"
#include "timecalc.h"

#include <stdio.h>
#include <string.h>
#include <usp10.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

static std::wstring Wide(const std::string &utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], (int)wide.size()));
    return wide;
}

struct Metrics {
    int wt, wv, wg, lineHeight;
};

struct TextLook {
    int points;
    int weight;
};

class PrintDrawing : public PrintTest {
protected:
    HDC printer = NULL;
    int horz = 0, vert = 0, dpiX = 0, dpiY = 0;

    void SetUp() override
    {
        PrintTest::SetUp();
        snprintf(TimesheetInfo.EmployeeId, sizeof TimesheetInfo.EmployeeId, "00123");
        snprintf(TimesheetInfo.EmployeeName, sizeof TimesheetInfo.EmployeeName, "Jane Q. Public");
        snprintf(TimesheetInfo.PeriodEndDate, sizeof TimesheetInfo.PeriodEndDate, "03/07/2009");
        std::string name = DefaultPrinterName();
        ASSERT_FALSE(name.empty()) << "no default printer";
        printer = CreateDCA(NULL, name.c_str(), NULL, NULL);
        ASSERT_TRUE(printer != NULL);
        horz = GetDeviceCaps(printer, HORZRES);
        vert = GetDeviceCaps(printer, VERTRES);
        dpiX = GetDeviceCaps(printer, LOGPIXELSX);
        dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    }

    void TearDown() override
    {
        if (printer)
            DeleteDC(printer);
        PrintTest::TearDown();
    }

    std::vector<RecordedPage> RecordJob() { return RecordPrintJob(printer); }

    HFONT Font(int points, int weight)
    {
        return CreateFontA(-(points * dpiY / 72), 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0,
                           "MS SERIF");
    }

    int Width(int points, int weight, const std::string &text)
    {
        HFONT font = Font(points, weight);
        HGDIOBJ old = SelectObject(printer, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(printer, text.c_str(), (int)text.size(), &size);
        SelectObject(printer, old);
        DeleteObject(font);
        return (int)size.cx;
    }

    Metrics Measure(int points)
    {
        Metrics m;
        m.wt = Width(points, 400, "Military");
        m.wv = Width(points, 400, "99999.99");
        m.wg = Width(points, 400, "999999.99");
        HFONT font = Font(points, 400);
        HGDIOBJ old = SelectObject(printer, font);
        TEXTMETRICA tm;
        GetTextMetricsA(printer, &tm);
        SelectObject(printer, old);
        DeleteObject(font);
        m.lineHeight = tm.tmHeight + tm.tmExternalLeading;
        return m;
    }

    // The height of a line in the bold font of the total.
    int HeadingHeight()
    {
        HFONT font = Font(14, 700);
        HGDIOBJ old = SelectObject(printer, font);
        TEXTMETRICA tm;
        GetTextMetricsA(printer, &tm);
        SelectObject(printer, old);
        DeleteObject(font);
        return tm.tmHeight + tm.tmExternalLeading;
    }

    // The width of a recorded text shaped in its font, and whether that font has its glyphs.
    int DrawnWidth(const DrawnText &t, bool *hasGlyphs)
    {
        std::wstring text = Wide(t.text);
        HFONT font = CreateFontIndirectW(&t.font);
        HGDIOBJ old = SelectObject(printer, font);
        std::vector<WORD> glyphs(text.size() + 1);
        SIZE size = {0, 0};
        SCRIPT_STRING_ANALYSIS shaped;
        if (SUCCEEDED(ScriptStringAnalyse(printer, text.c_str(), (int)text.size(), (int)text.size() * 2 + 16,
                                          -1, SSA_GLYPHS, 0, NULL, NULL, NULL, NULL, NULL, &shaped))) {
            size = *ScriptString_pSize(shaped);
            ScriptStringFree(&shaped);
        }
        *hasGlyphs = GetGlyphIndicesW(printer, text.c_str(), (int)text.size(), glyphs.data(),
                                      GGI_MARK_NONEXISTING_GLYPHS) == text.size() &&
                     std::count(glyphs.begin(), glyphs.end() - 1, 0xFFFF) == 0;
        SelectObject(printer, old);
        DeleteObject(font);
        return (int)size.cx;
    }

    int PointsOf(const LOGFONTW &font)
    {
        for (int p = 1; p < 1000; p++)
            if (-(p * dpiY / 72) == font.lfHeight)
                return p;
        return 0;
    }

    // The size that the grid rule picks, found here by measuring every size.
    int ExpectedBodyPoints()
    {
        int e = dpiX / 8;
        for (int p = 10;; p++) {
            Metrics m = Measure(p);
            if (10 * e + 8 * m.wv + m.wt + m.wg + 1 > horz)
                return p - 1;
        }
    }
};

static const DrawnText *FindText(const RecordedPage &page, const std::string &text)
{
    for (const DrawnText &t : page.texts)
        if (t.text == text)
            return &t;
    return NULL;
}

static const DrawnText *FindPrefix(const RecordedPage &page, const std::string &prefix)
{
    for (const DrawnText &t : page.texts)
        if (t.text.compare(0, prefix.size(), prefix) == 0)
            return &t;
    return NULL;
}

static std::string Face(const LOGFONTW &font)
{
    std::string face;
    for (int i = 0; i < LF_FACESIZE && font.lfFaceName[i]; i++)
        face += (char)font.lfFaceName[i];
    return face;
}

typedef std::tuple<int, int, int, int> Line;

static std::vector<Line> SortedLines(const std::vector<DrawnLine> &lines)
{
    std::vector<Line> out;
    for (const DrawnLine &l : lines)
        out.push_back(Line(l.x0, l.y0, l.x1, l.y1));
    std::sort(out.begin(), out.end());
    return out;
}

static std::string Number(double value, int width)
{
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, value, width, 2);
    return text;
}

TEST_F(PrintDrawing, OnePageHasTheHeaderTheBlocksTheTotalAndThePageNumber)
{
    AppendEntryRow({8.00, 12.00, 13.00, 17.50, 0, 0, 0, 0});
    AppendEntryRow({22.00, 6.00, 0, 0, 0, 0, 0, 0});
    SYSTEMTIME before;
    GetLocalTime(&before);
    std::vector<RecordedPage> pages = RecordJob();
    SYSTEMTIME after;
    GetLocalTime(&after);
    ASSERT_EQ(1u, pages.size());
    const RecordedPage &page = pages[0];

    // the calls of a job that went through
    const char *order[] = {"StartDoc", "StartPage", "EndPage", "EndDoc", "DeleteDC"};
    ASSERT_EQ(5u, Calls.order.size());
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(order[i], Calls.order[i]);
    EXPECT_EQ("Hourwise - TimeSheet", Calls.documentName);
    EXPECT_EQ((int)sizeof(DOCINFOA), Calls.documentSize);
    EXPECT_TRUE(Calls.enabledAtStartDoc);
    EXPECT_TRUE(Calls.disabledThroughout);
    EXPECT_TRUE(Calls.enabledAtDeleteDC);
    EXPECT_TRUE(IsWindowEnabled(hMainWnd));

    // the body font: the fitted size, and everything in it but the bold lines
    const DrawnText *id = FindText(page, "EMPLOYEE ID: 00123");
    ASSERT_TRUE(id != NULL);
    int p = PointsOf(id->font);
    EXPECT_EQ(ExpectedBodyPoints(), p);
    EXPECT_GE(p, 9);
    EXPECT_EQ(400, id->font.lfWeight);
    EXPECT_EQ("MS SERIF", Face(id->font));
    EXPECT_EQ(0, id->font.lfWidth);
    EXPECT_EQ(0, id->font.lfItalic + id->font.lfUnderline + id->font.lfStrikeOut);
    EXPECT_EQ(ANSI_CHARSET, id->font.lfCharSet);
    EXPECT_EQ(0, id->font.lfOutPrecision + id->font.lfClipPrecision + id->font.lfQuality +
                     id->font.lfPitchAndFamily);

    Metrics m = Measure(p);
    int L = m.lineHeight;
    int lastLine = vert / L - 1;
    int e = dpiX / 8;
    int x[10];
    x[0] = e + m.wt + 1;
    for (int k = 1; k <= 8; k++)
        x[k] = x[0] + k * (m.wv + e);
    x[9] = horz - 1;

    // every text: what, where, in which font
    struct Expect {
        std::string text;
        int x, y;
        TextLook look;
    };
    TextLook body = {p, 400}, title = {12, 700}, heading = {14, 700};
    std::vector<Expect> expected;
    const char *heads[9] = {"IN 1", "OUT 1", "IN 2", "OUT 2", "IN 3", "OUT 3", "IN 4", "OUT 4",
                            "TOTAL"};
    std::string titleText = "-- Hourwise 2.2.0   T I M E S H E E T --";
    expected.push_back({titleText, (horz - 1) / 2 - Width(12, 700, titleText) / 2, L, title});
    expected.push_back({COMPANY, (horz - 1) / 2 - Width(14, 700, COMPANY) / 2, 3 * L, heading});
    expected.push_back({"EMPLOYEE ID: 00123", 51, 6 * L, body});
    expected.push_back({"Period End Date: 03/07/2009", (horz - 1) / 2, 6 * L, body});
    expected.push_back({"Employee Name: Jane Q. Public", 51, 8 * L, body});
    double rows[2][9] = {{8, 12, 13, 17.5, 0, 0, 0, 0, 8.5}, {22, 6, 0, 0, 0, 0, 0, 0, 16}};
    for (int b = 0; b < 2; b++) {
        int a = 10 + 3 * b;
        expected.push_back({"Time", x[0] / 2 - m.wt / 2 + 1, (a + 1) * L - 35, body});
        for (int k = 1; k <= 9; k++) {
            int w = Width(p, 400, heads[k - 1]);
            expected.push_back({heads[k - 1], (x[k] - x[k - 1]) / 2 + x[k - 1] - w / 2 + 1,
                                a * L + L / 16, body});
            int half = k == 9 ? m.wg / 2 : m.wv / 2;
            expected.push_back({Number(rows[b][k - 1], k == 9 ? 9 : 8),
                                (x[k] - x[k - 1]) / 2 + x[k - 1] - half + 1, (a + 1) * L, body});
        }
    }
    std::string total = "TOTAL:     24.50";
    expected.push_back({total, horz - dpiX / 2 - Width(14, 700, total), 16 * L, heading});
    // the pay summary in the total's style, as many lines apart as a line of it takes
    int step = (HeadingHeight() + L - 1) / L;
    const char *summary[3] = {"REGULAR:     24.50", "OVERTIME:      0.00", "DOUBLE TIME:      0.00"};
    for (int i = 0; i < 3; i++)
        expected.push_back({summary[i], horz - dpiX / 2 - Width(14, 700, summary[i]),
                            (16 + (i + 1) * step) * L, heading});
    expected.push_back({"Page     1", horz / 2, (lastLine - 1) * L, body});

    std::vector<const DrawnText *> used;
    for (const Expect &want : expected) {
        const DrawnText *got = NULL;
        for (const DrawnText &t : page.texts) {
            if (t.text != want.text || std::find(used.begin(), used.end(), &t) != used.end())
                continue;
            got = &t;
            break;
        }
        ASSERT_TRUE(got != NULL) << "\"" << want.text << "\" not drawn";
        used.push_back(got);
        EXPECT_EQ(want.x, got->x) << want.text;
        EXPECT_EQ(want.y, got->y) << want.text;
        EXPECT_EQ(-(want.look.points * dpiY / 72), got->font.lfHeight) << want.text;
        EXPECT_EQ(want.look.weight, got->font.lfWeight) << want.text;
        EXPECT_EQ("MS SERIF", Face(got->font)) << want.text;
    }

    // the date and time of the header, from the clock of the drawing
    const DrawnText *date = FindPrefix(page, "DATE:  ");
    const DrawnText *time = FindPrefix(page, "TIME: ");
    ASSERT_TRUE(date && time);
    EXPECT_EQ(100, date->x);
    EXPECT_EQ(L, date->y);
    EXPECT_EQ(horz - Width(12, 700, time->text) - 100, time->x);
    EXPECT_EQ(L, time->y);
    EXPECT_EQ(-(12 * dpiY / 72), date->font.lfHeight);
    EXPECT_EQ(700, time->font.lfWeight);
    char text[HEADER_TEXT_SIZE];
    bool dateOk = false, timeOk = false;
    for (const SYSTEMTIME &t : {before, after}) {
        snprintf(text, sizeof text, "DATE:  %02d/%02d/%02d", t.wMonth, t.wDay, t.wYear % 100);
        dateOk = dateOk || date->text == text;
    }
    EXPECT_TRUE(dateOk) << date->text;
    ASSERT_EQ(14u, time->text.size());
    int seconds = atoi(time->text.substr(6, 2).c_str()) * 3600 +
                  atoi(time->text.substr(9, 2).c_str()) * 60 + atoi(time->text.substr(12, 2).c_str());
    int from = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
    int to = after.wHour * 3600 + after.wMinute * 60 + after.wSecond;
    timeOk = to >= from ? seconds >= from && seconds <= to : seconds >= from || seconds <= to;
    EXPECT_TRUE(timeOk) << time->text;
    EXPECT_EQ(':', time->text[8]);
    EXPECT_EQ(':', time->text[11]);

    // nothing else is drawn
    EXPECT_EQ(expected.size() + 2, page.texts.size());

    // the lines: page frame, rule, and the box of each block
    std::vector<DrawnLine> want = {
        {1, 1, horz - 1, 1},           {1, 1, 1, vert - 1},
        {horz - 1, 1, horz - 1, vert - 1}, {1, vert - 1, horz - 1, vert - 1},
        {1, 5 * L, horz, 5 * L},
    };
    for (int b = 0; b < 2; b++) {
        int a = 10 + 3 * b;
        for (int k = 0; k <= 9; k++)
            want.push_back({x[k] + 1, a * L, x[k] + 1, (a + 2) * L});
        want.push_back({1, a * L, horz, a * L});
        want.push_back({1, (a + 2) * L, horz, (a + 2) * L});
    }
    EXPECT_EQ(SortedLines(want), SortedLines(page.lines));
    EXPECT_EQ(horz, x[9] + 1);   // the TOTAL column's right border is at HORZRES

    // the bold fonts are made afresh for each line that uses them
    int bold = 0;
    for (const LOGFONTW &font : page.fontsMade)
        bold += font.lfWeight == 700;
    EXPECT_EQ(6, bold);
}

TEST_F(PrintDrawing, ThreePagesNumberedWithTheTotalAfterTheLastEntry)
{
    int p = ExpectedBodyPoints();
    int lastLine = vert / Measure(p).lineHeight - 1;
    int capacity = PageCapacity(lastLine);
    for (int i = 0; i < 2 * capacity + 1; i++)
        AppendEntryRow({8, 12, 0, 0, 0, 0, 0, 0});
    std::vector<RecordedPage> pages = RecordJob();
    ASSERT_EQ(3u, pages.size());
    EXPECT_EQ(3, Calls.startPage);
    EXPECT_EQ(3, Calls.endPage);
    int L = Measure(p).lineHeight;
    for (int n = 0; n < 3; n++) {
        char number[PAGE_TEXT_SIZE];
        snprintf(number, sizeof number, "Page %5d", n + 1);
        const DrawnText *page = FindText(pages[n], number);
        ASSERT_TRUE(page != NULL) << number;
        int blocks = 0;
        for (const DrawnText &t : pages[n].texts)
            blocks += t.text == "Time";
        EXPECT_EQ(n < 2 ? capacity : 1, blocks) << "page " << n + 1;
        // a full page ends with its number on the last block's value line
        int lastValue = 11 + 3 * (blocks - 1);
        EXPECT_EQ(std::max(lastValue, lastLine - 1) * L, page->y) << number;
        EXPECT_TRUE(FindText(pages[n], "EMPLOYEE ID: 00123") != NULL);
        EXPECT_TRUE(FindText(pages[n], COMPANY) != NULL);
        EXPECT_EQ(n == 2, FindText(pages[n], Number(4.0 * (2 * capacity + 1), 9).insert(0, "TOTAL: ")) != NULL);
    }
    // the headers are the same on every page but for the clock
    auto header = [&](const RecordedPage &page) {
        std::vector<std::tuple<std::string, int, int>> texts;
        for (const DrawnText &t : page.texts)
            if (t.y < 10 * L && t.text.compare(0, 5, "DATE:") && t.text.compare(0, 5, "TIME:"))
                texts.push_back(std::make_tuple(t.text, t.x, t.y));
        return texts;
    };
    EXPECT_EQ(5u, header(pages[0]).size());
    EXPECT_EQ(header(pages[0]), header(pages[1]));
    EXPECT_EQ(header(pages[0]), header(pages[2]));
}

TEST_F(PrintDrawing, TheTotalGoesOnANewPageWhenTheLastValueLineLeavesNoRoom)
{
    int p = ExpectedBodyPoints();
    int L = Measure(p).lineHeight;
    int lastLine = vert / L - 1;
    // the block whose value line is last line - 6 or last line - 5
    int entries = 0;
    for (int b = 0; 11 + 3 * b <= lastLine - 5; b++)
        if (11 + 3 * b >= lastLine - 6)
            entries = b + 1;
    if (entries == 0)
        GTEST_SKIP() << "no value line falls on last line - 6 or - 5 on this page";
    for (int i = 0; i < entries; i++)
        AppendEntryRow({1, 2, 0, 0, 0, 0, 0, 0});
    std::vector<RecordedPage> pages = RecordJob();
    ASSERT_EQ(2u, pages.size());
    const DrawnText *first = FindText(pages[0], "Page     1");
    ASSERT_TRUE(first != NULL);
    EXPECT_EQ((lastLine - 1) * L, first->y);
    EXPECT_TRUE(FindPrefix(pages[0], "TOTAL: ") == NULL);
    const DrawnText *total = FindPrefix(pages[1], "TOTAL: ");
    ASSERT_TRUE(total != NULL);
    EXPECT_EQ(10 * L, total->y);
    EXPECT_EQ("TOTAL: " + Number(entries, 9), total->text);
    EXPECT_TRUE(FindText(pages[1], "Time") == NULL);
    const DrawnText *second = FindText(pages[1], "Page     2");
    ASSERT_TRUE(second != NULL);
    EXPECT_EQ((lastLine - 1) * L, second->y);
}

// A last page with room for the total but not for the pay summary after it:
// the summary goes on one more page, with its header and number.
TEST_F(PrintDrawing, ThePaySummaryGoesOnOneMorePageWhenTheLastHasNoRoom)
{
    int L = Measure(ExpectedBodyPoints()).lineHeight, lastLine = vert / L - 1;
    int step = (HeadingHeight() + L - 1) / L;
    PayRules rated = DEFAULT_PAY_RULES, defaults = DEFAULT_PAY_RULES;
    rated.HasRate = 1;
    rated.HourlyRate = 173625; // more decimals than the currency has: all of them shown
    int entries = 1;
    TimesheetPlan plan;
    for (;; entries++) {   // 5 lines with the rate
        PlanTimesheet(entries, lastLine, &plan, 5, step);
        ASSERT_LT(entries, 100);
        if (plan.totalPage == 1 && plan.summaryPage == 2)
            break;
    }
    for (int i = 0; i < entries; i++)
        AppendEntryRow({0, 8});
    CurrentPayRules = rated;
    std::vector<RecordedPage> pages = RecordJob();
    CurrentPayRules = defaults;
    ASSERT_EQ(2u, pages.size());
    EXPECT_TRUE(FindPrefix(pages[0], "TOTAL: ") && !FindPrefix(pages[0], "REGULAR: "));
    ASSERT_TRUE(FindText(pages[0], "Page     1") != NULL);
    EXPECT_EQ((lastLine - 1) * L, FindText(pages[0], "Page     1")->y);
    const char *lines[5] = {"REGULAR: ", "OVERTIME: ", "DOUBLE TIME:      0.00", "RATE: $17.3625", "GROSS PAY: $"};
    for (int i = 0; i < 5; i++) {
        const DrawnText *line = FindPrefix(pages[1], lines[i]);
        ASSERT_TRUE(line != NULL) << lines[i];
        EXPECT_EQ((FIRST_BLOCK_LINE + i * step) * L, line->y) << lines[i];
    }
    EXPECT_TRUE(FindText(pages[1], "EMPLOYEE ID: 00123") && !FindText(pages[1], "Time"));
    EXPECT_TRUE(FindText(pages[1], "Page     2") != NULL);
}

TEST_F(PrintDrawing, AnEmptyListPrintsOnePageWithAZeroTotal)
{
    std::vector<RecordedPage> pages = RecordJob();
    ASSERT_EQ(1u, pages.size());
    int L = Measure(ExpectedBodyPoints()).lineHeight;
    const DrawnText *total = FindText(pages[0], "TOTAL:      0.00");
    ASSERT_TRUE(total != NULL);
    EXPECT_EQ(10 * L, total->y);
    EXPECT_TRUE(FindText(pages[0], "Page     1") != NULL);
    EXPECT_TRUE(FindText(pages[0], "Time") == NULL);
}

TEST_F(PrintDrawing, LongTextsAreCutToTheirFields)
{
    memset(AppSettings.CustName, 'C', CUSTNAME_SIZE - 1);
    AppSettings.CustName[CUSTNAME_SIZE - 1] = 0;
    TimesheetInfo.EmployeeId[0] = 0;
    std::string letters;   // 50 e with circumflex and dot below, of three bytes each, print whole
    for (int i = 0; i < 50; i++)
        letters += "\xE1\xBB\x85";
    snprintf(TimesheetInfo.EmployeeName, sizeof TimesheetInfo.EmployeeName, "%s", letters.c_str());
    std::vector<RecordedPage> pages = RecordJob();
    ASSERT_EQ(1u, pages.size());
    EXPECT_TRUE(FindText(pages[0], std::string(50, 'C')) != NULL);
    // whole: with its label, or beside it in a font that has the letters
    EXPECT_TRUE(FindText(pages[0], "Employee Name: " + letters) != NULL ||
                (FindText(pages[0], "Employee Name: ") && FindText(pages[0], letters)));
    EXPECT_TRUE(FindText(pages[0], "EMPLOYEE ID: ") != NULL);   // an empty id prints its label
}

// ---- names in other scripts ------------------------------------------------------

// A name and a company name in a script the sheet's font has no glyphs for:
// every word in a font of the line's height and weight that has its glyphs,
// the words from left to right in reading order, the pieces of each line side
// by side, the company name centred on what is drawn, and the Latin header
// where a Latin name leaves it. The test prefix has no face of Windows for
// Arabic and Hebrew: they take any installed font that has their glyphs.
struct ScriptCase {
    const char *script;
    const char *name;
    std::vector<const char *> wordsLeftToRight;
};
void PrintTo(const ScriptCase &c, std::ostream *os) { *os << c.script; }

class PrintScripts : public PrintDrawing, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(PrintScripts, EachWordIsDrawnWithItsGlyphsInReadingOrder)
{
    const ScriptCase &c = GetParam();
    int L = Measure(ExpectedBodyPoints()).lineHeight;
    auto header = [&](const RecordedPage &page) {   // the Latin texts of the header
        std::vector<std::tuple<std::string, int, int, LONG, LONG>> texts;
        for (const DrawnText &t : page.texts)
            if (t.y < 7 * L && std::abs(t.y - 3 * L) > L / 2 && t.text.compare(0, 5, "DATE:") &&
                t.text.compare(0, 5, "TIME:"))
                texts.push_back(std::make_tuple(t.text, t.x, t.y, t.font.lfHeight, t.font.lfWeight));
        return texts;
    };
    std::vector<RecordedPage> latin = RecordJob();
    snprintf(TimesheetInfo.EmployeeName, sizeof TimesheetInfo.EmployeeName, "%s", c.name);
    snprintf(AppSettings.CustName, sizeof AppSettings.CustName, "%s", c.name);
    std::vector<RecordedPage> pages = RecordJob();
    ASSERT_EQ(1u, pages.size());
    EXPECT_EQ(header(latin[0]), header(pages[0]));
    for (int line : {3, 8}) {   // the company name and the employee name
        std::vector<DrawnText> pieces;
        for (const DrawnText &t : pages[0].texts)
            if (t.y > line * L - L / 2 && t.y < line * L + L / 2)
                pieces.push_back(t);
        std::sort(pieces.begin(), pieces.end(), [](const DrawnText &a, const DrawnText &b) { return a.x < b.x; });
        ASSERT_FALSE(pieces.empty());
        std::vector<const char *> words;
        int x = pieces[0].x;
        for (const DrawnText &t : pieces) {
            bool hasGlyphs = false;
            EXPECT_EQ(x, t.x) << t.text;   // each piece starts where the last one ends
            x += DrawnWidth(t, &hasGlyphs);
            EXPECT_TRUE(hasGlyphs) << t.text << " in " << Face(t.font);
            EXPECT_EQ(pieces[0].font.lfHeight, t.font.lfHeight) << t.text;
            EXPECT_EQ(pieces[0].font.lfWeight, t.font.lfWeight) << t.text;
            for (const char *word : c.wordsLeftToRight)
                if (t.text == word)
                    words.push_back(word);
        }
        EXPECT_EQ(c.wordsLeftToRight, words) << "line " << line;
        if (line == 3)
            EXPECT_EQ((horz - 1) / 2 - (x - pieces[0].x) / 2, pieces[0].x);
        else
            EXPECT_EQ("Employee Name: ", pieces[0].text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, PrintScripts,
    ::testing::Values(
        ScriptCase{"Arabic", u8"\u0645\u062d\u0645\u062f \u0639\u0644\u064a", {u8"\u0639\u0644\u064a", u8"\u0645\u062d\u0645\u062f"}},
        ScriptCase{"Hebrew", u8"\u05d3\u05d5\u05d3 \u05dc\u05d5\u05d9", {u8"\u05dc\u05d5\u05d9", u8"\u05d3\u05d5\u05d3"}},
        ScriptCase{"Han", u8"\u5c71\u7530\u592a\u90ce", {u8"\u5c71\u7530\u592a\u90ce"}},
        ScriptCase{"Hangul", u8"\uae40\ubbfc\uc900", {u8"\uae40\ubbfc\uc900"}},
        ScriptCase{"Thai", u8"\u0e2a\u0e21\u0e0a\u0e32\u0e22", {u8"\u0e2a\u0e21\u0e0a\u0e32\u0e22"}},
        ScriptCase{"Devanagari", u8"\u0930\u093e\u092e", {u8"\u0930\u093e\u092e"}}),
    [](const ::testing::TestParamInfo<ScriptCase> &info) { return std::string(info.param.script); });

// ---- the failure paths -------------------------------------------------------------

// A document call that fails: the box over the owner, the calls that were
// made, the device context deleted and the owner enabled again.
struct FailureCase {
    const char *name;
    bool failStartDoc, failStartPage;
    std::vector<std::string> order;
};

void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.name; }

class PrintFailing : public PrintDrawing, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PrintFailing, ShowsTheBoxDeletesTheDeviceContextAndEnablesTheOwnerAgain)
{
    const FailureCase &c = GetParam();
    HDC dc = CreateDCA(NULL, DefaultPrinterName().c_str(), NULL, NULL);
    ASSERT_TRUE(dc != NULL);
    ResetCallLog(hMainWnd, c.failStartDoc, c.failStartPage);
    DOCINFOA document = {sizeof(DOCINFOA), SHEET_DOCUMENT_NAME, NULL, NULL, 0};
    SeenBoxes.clear();
    int result = -1;
    EXPECT_TRUE(DriveDialogs(
        [&] { result = RunPrintJob(hMainWnd, dc, hEntryList, &document, &RecordingCalls); },
        {{"Unable to start print job", hMainWnd, -1, ReadBoxAndOk}}));
    EXPECT_EQ(0, result);
    ASSERT_EQ(1u, SeenBoxes.size());
    EXPECT_EQ("Unable to start print job", SeenBoxes[0].text);
    EXPECT_EQ("Error", SeenBoxes[0].caption);
    EXPECT_EQ(c.order, Calls.order);
    EXPECT_EQ(0u, GetObjectType(dc));
    EXPECT_TRUE(IsWindowEnabled(hMainWnd));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, PrintFailing,
    ::testing::Values(FailureCase{"StartDoc", true, false, {"StartDoc", "DeleteDC"}},
                      FailureCase{"StartPage", false, true, {"StartDoc", "StartPage", "AbortDoc", "DeleteDC"}}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });
