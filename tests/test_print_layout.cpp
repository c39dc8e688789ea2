// The timesheet's page arithmetic, as functions of values.
#include <gtest/gtest.h>

#include "sheetcalc.h"

#include <string.h>

#include <algorithm>
#include <map>

TEST(ColumnEdges, EightEqualTimeColumnsAndTotalToTheRightEdge)
{
    // E = 37 (300 dpi), Wt = 150, Wv = 160, HORZRES = 2479
    int edges[COLUMN_EDGE_COUNT];
    ComputeColumnEdges(37, 150, 160, 2479, edges);
    const int expected[COLUMN_EDGE_COUNT] = {188,  385,  582,  779,  976,
                                             1173, 1370, 1567, 1764, 2478};
    for (int k = 0; k < COLUMN_EDGE_COUNT; k++)
        EXPECT_EQ(expected[k], edges[k]) << "X" << k;
    for (int k = 2; k <= 8; k++)
        EXPECT_EQ(edges[1] - edges[0], edges[k] - edges[k - 1]);
}

TEST(ColumnEdges, GridWidthIsTheLastTimeEdgePlusTheNarrowestTotalColumn)
{
    struct { int e, wt, wv, wg; } cases[] = {{37, 150, 160, 180}, {12, 40, 51, 57}, {0, 0, 0, 0}};
    for (auto &c : cases) {
        int edges[COLUMN_EDGE_COUNT];
        ComputeColumnEdges(c.e, c.wt, c.wv, 100000, edges);
        EXPECT_EQ((long long)edges[8] + c.wg + c.e, GridWidth(c.e, c.wt, c.wv, c.wg));
    }
    EXPECT_EQ(10 * 37 + 8 * 160 + 150 + 180 + 1, GridWidth(37, 150, 160, 180));
}

TEST(ColumnEdges, TextIsCentredOnItsHalfWidth)
{
    int edges[COLUMN_EDGE_COUNT] = {188, 385, 582, 779, 976, 1173, 1370, 1567, 1764, 2478};
    // column 1 spans 188..385: middle 286, so a text 160 wide starts at 207
    EXPECT_EQ(98 + 188 - 80 + 1, ColumnTextX(edges, 1, 80));
    EXPECT_EQ(207, ColumnTextX(edges, 1, 80));
    // the TOTAL column: (2478 - 1764) div 2 = 357
    EXPECT_EQ(357 + 1764 - 90 + 1, ColumnTextX(edges, 9, 90));
    // "Time" is placed by the width of "Military"
    EXPECT_EQ(188 / 2 - 151 / 2 + 1, TimeLabelX(188, 151));
    EXPECT_EQ((2479 - 1) / 2 - 801 / 2, PageCentredX(2479, 801));
}

TEST(Fonts, HeightIsTheNegativeCharacterHeightOfThePoints)
{
    struct { int points, dpi, height; } cases[] = {
        {10, 300, -41}, {12, 300, -50}, {14, 300, -58}, {9, 96, -12}, {14, 600, -116}, {10, 0, 0},
    };
    for (auto &c : cases)
        EXPECT_EQ(c.height, FontHeightForPoints(c.points, c.dpi)) << c.points << "pt " << c.dpi;
    EXPECT_EQ(37, EighthInch(300));
    EXPECT_EQ(75, EighthInch(600));
}

// ---- fitting the body font --------------------------------------------------

struct WidthTable {
    std::map<int, long long> width;   // grid width by points; missing: grows 10 a point
    long long fallback;
    int calls;
    int lastAsked;
};

static long long TableWidth(int points, void *context)
{
    WidthTable *table = (WidthTable *)context;
    table->calls++;
    table->lastAsked = points;
    auto it = table->width.find(points);
    if (it != table->width.end())
        return it->second;
    return table->fallback;
}

TEST(FitBodySize, TheLargestSizeCountingUpFromTenThatFits)
{
    struct {
        long long horzRes;
        int expected;
        int asked;   // the last size measured
    } cases[] = {
        {999, 9, 10},     // 10 points already too wide: 9 untried
        {1000, 10, 11},   // exactly as wide as the page fits
        {1099, 10, 11},
        {1100, 11, 12},
        {1450, 14, 15},
    };
    for (auto &c : cases) {
        WidthTable table = {{}, 0, 0, 0};
        for (int n = 10; n <= 40; n++)
            table.width[n] = 1000 + 100 * (n - 10);
        EXPECT_EQ(c.expected, FitBodySize((int)c.horzRes, TableWidth, &table)) << c.horzRes;
        EXPECT_EQ(c.asked, table.lastAsked) << c.horzRes;
    }
}

TEST(FitBodySize, AFontThatCannotBeMadeCountsAsTooWide)
{
    WidthTable table = {{{10, 500}, {11, 600}, {12, -1}}, 700, 0, 0};
    EXPECT_EQ(11, FitBodySize(2000, TableWidth, &table));
    WidthTable none = {{}, -1, 0, 0};
    EXPECT_EQ(9, FitBodySize(2000, TableWidth, &none));
    EXPECT_EQ(1, none.calls);
}

TEST(FitBodySize, ADeviceWhoseWidthsDoNotGrowStopsCounting)
{
    WidthTable constant = {{}, 0, 0, 0};
    EXPECT_EQ(10, FitBodySize(2000, TableWidth, &constant));
    EXPECT_EQ(1 + BODY_STALL_LIMIT, constant.calls);

    // widths that stand still for a few sizes (a font with few sizes) and
    // then grow again are followed to the last size that fits
    WidthTable steps = {{}, 5000, 0, 0};
    for (int n = 10; n <= 15; n++)
        steps.width[n] = 800;
    for (int n = 16; n <= 20; n++)
        steps.width[n] = 900;
    EXPECT_EQ(20, FitBodySize(950, TableWidth, &steps));

    // growing without end stops at the largest size there is
    WidthTable tiny = {{}, 0, 0, 0};
    for (int n = 10; n <= BODY_POINTS_MOST + 5; n++)
        tiny.width[n] = n;
    EXPECT_EQ(BODY_POINTS_MOST, FitBodySize(100000, TableWidth, &tiny));
}

// ---- lines and pages ------------------------------------------------------------

TEST(Pages, LastLineAndALineHeightOfZero)
{
    EXPECT_EQ(72, LastLineOfPage(3508, 48));
    EXPECT_EQ(71, LastLineOfPage(3503, 48));
    EXPECT_EQ(3507, LastLineOfPage(3508, 0));
    EXPECT_EQ(3507, LastLineOfPage(3508, -5));
}

TEST(Pages, PageNumberGoesOnTheLineOrOnTheLastButOne)
{
    struct { int line, last, expected; } cases[] = {
        {11, 71, 70}, {69, 71, 70}, {70, 71, 70}, {71, 71, 71}, {72, 71, 72},
    };
    for (auto &c : cases)
        EXPECT_EQ(c.expected, PageNumberLine(c.line, c.last)) << c.line;
}

TEST(Pages, ValueLinesOfBlocksAreElevenPlusThreeB)
{
    // with room for many blocks, block b's values sit on line 11 + 3b
    for (int entries = 1; entries <= 10; entries++) {
        TimesheetPlan plan;
        PlanTimesheet(entries, 200, &plan);
        EXPECT_EQ(11 + 3 * (entries - 1), plan.lastValueLine);
        EXPECT_EQ(1, plan.pages);
        EXPECT_EQ(plan.lastValueLine + 2, plan.totalLine);
        EXPECT_EQ(199, plan.lastPageNumberLine);
    }
}

TEST(Pages, CapacityFollowsTheLastLine)
{
    struct { int last, capacity; } cases[] = {
        {5, 1}, {15, 1}, {16, 2}, {18, 2}, {19, 3}, {21, 3}, {22, 4}, {71, 20}, {72, 20}, {73, 21},
    };
    for (auto &c : cases)
        EXPECT_EQ(c.capacity, PageCapacity(c.last)) << c.last;
}

// The walk that the job does and the closed formula agree on every length,
// for pages that have room for the total on line 10.
TEST(Pages, ThePagesOfAListAreItsLengthOverTheCapacity)
{
    for (int last = 15; last <= 80; last++) {
        int capacity = PageCapacity(last);
        for (int entries = 0; entries <= 3 * capacity + 2; entries++) {
            TimesheetPlan plan;
            PlanTimesheet(entries, last, &plan);
            int full = entries / capacity, rest = entries % capacity;
            int blockPages = entries == 0 ? 1 : full + (rest ? 1 : 0);
            // the total needs a page of its own after a page that ends full
            bool totalMoved = entries > 0 && rest == 0;
            if (entries > 0 && rest != 0) {
                int lineAfter = 11 + 3 * (rest - 1) + 2;
                totalMoved = !(lineAfter < last - 4);
            }
            ASSERT_EQ(blockPages + (totalMoved ? 1 : 0), plan.pages)
                << "last line " << last << ", " << entries << " entries";
            EXPECT_EQ(plan.pages, plan.totalPage);
        }
    }
}

TEST(Pages, NoRoomForTheTotalAfterAValueLineOfLastLineMinusSixOrFive)
{
    // last line 71: value lines 11, 14, ... 65 (= 71 - 6) is block 18
    struct { int last, entries, valueLine; } cases[] = {
        {71, 19, 65},   // last line - 6
        {70, 19, 65},   // last line - 5
    };
    for (auto &c : cases) {
        TimesheetPlan plan;
        PlanTimesheet(c.entries, c.last, &plan);
        EXPECT_EQ(c.valueLine, plan.lastValueLine);
        EXPECT_EQ(2, plan.pages);
        EXPECT_EQ(2, plan.totalPage);
        EXPECT_EQ(FIRST_BLOCK_LINE, plan.totalLine);
        EXPECT_EQ(c.last - 1, plan.lastPageNumberLine);
    }
    // a value line of last line - 7 leaves room: the total follows on line - 5
    TimesheetPlan plan;
    PlanTimesheet(19, 72, &plan);
    EXPECT_EQ(65, plan.lastValueLine);
    EXPECT_EQ(1, plan.pages);
    EXPECT_EQ(67, plan.totalLine);
}

// The pay summary's lines follow the total, step lines apart, and end above
// the page number's line (last line - 1), or begin one more page.
TEST(Pages, ThePaySummaryFollowsTheTotalOrBeginsOneMorePage)
{
    struct { int height, lineHeight, step; } heights[] = {{58, 40, 2}, {40, 40, 1}, {0, 40, 1}, {81, 40, 3}, {10, 0, 1}};
    for (auto &h : heights)
        EXPECT_EQ(h.step, LinesForHeight(h.height, h.lineHeight)) << h.height << " " << h.lineHeight;
    struct { int total, count, step, last, first; } cases[] = {
        {10, 3, 2, 71, 12}, {62, 3, 2, 71, 64}, {63, 3, 2, 71, 0}, {60, 5, 1, 71, 61}, {64, 5, 1, 71, 65}, {65, 5, 1, 71, 0},
    };
    for (auto &c : cases)
        EXPECT_EQ(c.first, PaySummaryLine(c.total, c.count, c.step, c.last)) << c.total;
    // the total on line 67 of 72 leaves no room for three lines two apart
    TimesheetPlan plan;
    PlanTimesheet(19, 72, &plan, 3, 2);
    EXPECT_EQ(1, plan.totalPage);
    EXPECT_EQ(67, plan.totalLine);
    EXPECT_EQ(2, plan.summaryPage);
    EXPECT_EQ(FIRST_BLOCK_LINE, plan.summaryLine);
    EXPECT_EQ(2, plan.pages);
    EXPECT_EQ(71, plan.lastPageNumberLine);
    PlanTimesheet(1, 72, &plan, 3, 2);
    EXPECT_EQ(1, plan.pages);
    EXPECT_EQ(15, plan.summaryLine);
    EXPECT_EQ(71, plan.lastPageNumberLine);
}

TEST(Pages, AnEmptyListPrintsOnePageWithTheTotal)
{
    TimesheetPlan plan;
    PlanTimesheet(0, 71, &plan);
    EXPECT_EQ(1, plan.pages);
    EXPECT_EQ(FIRST_BLOCK_LINE, plan.totalLine);
    EXPECT_EQ(70, plan.lastPageNumberLine);
    // a page too short for it still holds the total, on the next page
    PlanTimesheet(0, 14, &plan);
    EXPECT_EQ(2, plan.pages);
}

TEST(Pages, TheFirstBlockIsDrawnEvenOnAPageTooShort)
{
    TimesheetPlan plan;
    PlanTimesheet(3, 12, &plan);
    EXPECT_EQ(11, plan.lastValueLine);
    // one block a page; the page opened after the last block has no room for
    // the total either, so it ends with only its header and the total goes
    // on the page after it
    EXPECT_EQ(5, plan.pages);
    EXPECT_EQ(FIRST_BLOCK_LINE, plan.totalLine);
    EXPECT_EQ(11, plan.lastPageNumberLine);
}

// ---- texts ------------------------------------------------------------------------

TEST(HeaderTexts, DateAndTimeOfTheFifthOfMarch2009)
{
    char text[HEADER_TEXT_SIZE];
    FormatDateLine(text, sizeof text, 3, 5, 2009);
    EXPECT_STREQ("DATE:  03/05/09", text);
    FormatTimeLine(text, sizeof text, 14, 7, 9);
    EXPECT_STREQ("TIME: 14:07:09", text);
}

TEST(HeaderTexts, FieldsWithLeadingZerosAndTheYearModuloHundred)
{
    struct { unsigned m, d, y; const char *date; } dates[] = {
        {12, 31, 1999, "12/31/99"}, {1, 1, 2000, "01/01/00"}, {7, 4, 2100, "07/04/00"},
    };
    char text[CLOCK_TEXT_SIZE];
    for (auto &c : dates) {
        FormatClockDate(text, sizeof text, c.m, c.d, c.y);
        EXPECT_STREQ(c.date, text);
    }
    FormatClockTime(text, sizeof text, 0, 0, 0);
    EXPECT_STREQ("00:00:00", text);
    FormatClockTime(text, sizeof text, 23, 59, 59);
    EXPECT_STREQ("23:59:59", text);
}

TEST(HeaderTexts, OutOfRangeFieldsStayInTheirBuffers)
{
    char text[HEADER_TEXT_SIZE];
    int length = FormatDateLine(text, sizeof text, 65535, 65535, 65535);
    EXPECT_EQ(15, length);   // "DATE: " and nine characters of the date
    EXPECT_EQ(0, strncmp(text, "DATE: 65535/655", 15));
    length = FormatTimeLine(text, sizeof text, 65535, 65535, 65535);
    EXPECT_STREQ("TIME: 65535:65", text);
    char small[6];
    EXPECT_EQ(5, FormatDateLine(small, sizeof small, 3, 5, 2009));
    EXPECT_STREQ("DATE:", small);
}

TEST(HeaderTexts, PageNumbersInFivePlaces)
{
    struct { int page; const char *text; } cases[] = {
        {1, "Page     1"}, {42, "Page    42"}, {99999, "Page 99999"}, {123456, "Page 123456"},
    };
    char text[PAGE_TEXT_SIZE];
    for (auto &c : cases) {
        FormatPageNumber(text, sizeof text, c.page);
        EXPECT_STREQ(c.text, text);
    }
}

TEST(PrintDlgErrors, TheTableAndAnEmptyTextForOtherCodes)
{
    struct { unsigned long code; const char *text; } cases[] = {
        {0x0001, "Invalid Struct Size Specified"},
        {0x0002, "Initialization Failure"},
        {0x000C, "RegisterWindowMessage Function Failure"},
        {0x1003, "PD_RETURNDEFAULT set but HDEVMODE and HDEVNAMES not NULL"},
        {0x1006, "Initialization Failure"},
        {0x100B, "Printer not defined in WIN.INI"},
        {0x100C, "Default Printer Information Not Matching"},
        {0xFFFF, "Dialog Failure"},
        {0x0000, ""}, {0x000D, ""}, {0x1000, ""}, {0x100D, ""}, {0x3001, ""},
    };
    for (auto &c : cases)
        EXPECT_STREQ(c.text, PrintDlgErrorText(c.code)) << std::hex << c.code;
    size_t longest = 0;
    for (unsigned long code = 0; code <= 0xFFFF; code++)
        longest = std::max(longest, strlen(PrintDlgErrorText(code)));
    EXPECT_EQ(56u, longest);
    EXPECT_LT(longest, (size_t)PRINTDLG_TEXT_SIZE);
}
