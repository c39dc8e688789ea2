/* The timesheet's page arithmetic as functions of values: font heights, the
   grid columns, the fitting of the body font, where text goes, where pages
   break, the header's date and time texts and the texts of the Page Setup
   errors. No windows.h here: the drawing layer (print.h) feeds these with
   what it measured on the printer. */
#ifndef HOURWISE_SHEETCALC_H
#define HOURWISE_SHEETCALC_H

#include <stddef.h>

#define COLUMN_EDGE_COUNT 10     /* X0 ("Time") to X9 ("TOTAL") */

#define HEADER_FIRST_LINE 1      /* the header of every page starts on line 1 */
#define HEADER_LINE_COUNT 9      /* DrawPageHeader returns its first line + 9 */
#define FIRST_BLOCK_LINE (HEADER_FIRST_LINE + HEADER_LINE_COUNT)

#define BODY_POINTS_FIRST 10     /* the first size the fitting tries */
#define BODY_POINTS_LEAST 9      /* used untried when 10 points is too wide */
#define BODY_POINTS_MOST 720     /* ten-inch figures: no page is that wide */
#define BODY_STALL_LIMIT 8       /* sizes in a row that did not widen the grid */

#define TITLE_POINTS   12
#define HEADING_POINTS 14
#define BODY_WEIGHT    400
#define BOLD_WEIGHT    700

#define TIME_LABEL_RISE   35     /* "Time" stands this far above the value line */
#define HEADER_SIDE_GAP   100    /* the date starts and the time ends this far in */
#define EMPLOYEE_LINE_X   51

/* Room for the texts of the header. The date and time fields of a SYSTEMTIME
   are 16-bit, so "%02u" writes 5 digits at most. */
#define CLOCK_TEXT_SIZE   24     /* "MM/DD/YY" or "HH:MM:SS" from any field values */
#define HEADER_TEXT_SIZE  40     /* "DATE: %9.9s", "TIME: %8.8s" */
#define PAGE_TEXT_SIZE    24     /* "Page %5d" of any int */
#define PRINTDLG_TEXT_SIZE 81    /* the longest Page Setup error text has 56 characters */

/* The height given to CreateFontA for a font of the given points: the
   negative character height -(points * dpi div 72), so the font mapper takes
   it as the height of the characters, not of the cell. */
int FontHeightForPoints(int points, int logPixelsY);

/* E, the eighth of an inch across. */
int EighthInch(int logPixelsX);

/* The width the grid needs: 10 E + 8 Wv + Wt + Wg + 1 (the right edge of the
   last time column plus the TOTAL column at its narrowest). */
long long GridWidth(int e, int timeLabelWidth, int valueWidth, int totalWidth);

/* The right edges of the ten columns: X0 = E + Wt + 1, Xk = X0 + k (Wv + E)
   for the eight time columns, X9 = HORZRES - 1. */
void ComputeColumnEdges(int e, int timeLabelWidth, int valueWidth, int horzRes,
                        int edges[COLUMN_EDGE_COUNT]);

/* The left edge of a text centred in column k (1 to 9) when it is taken to be
   2 * half wide: (Xk - X(k-1)) div 2 + X(k-1) - half + 1. Values are placed
   with the half width of 99999.99 (or 999999.99 in the TOTAL column), the
   column heads with their own. */
int ColumnTextX(const int edges[COLUMN_EDGE_COUNT], int column, int half);

/* The left edge of "Time": (X0 div 2) - (Wt div 2) + 1. */
int TimeLabelX(int x0, int timeLabelWidth);

/* The left edge of a text centred on the page: (HORZRES - 1) div 2 - width div 2. */
int PageCentredX(int horzRes, int width);

/* The last whole text line of the page, VERTRES div L - 1. A line height that
   is not positive counts as 1 (there is nothing sensible to divide by). */
int LastLineOfPage(int vertRes, int lineHeight);

/* Another block may follow on the page after a block whose values are on
   valueLine (or the total may go on line valueLine) while it is above
   last line - 4. */
int RoomBelow(int line, int lastLine);

/* The page number goes on the given line, or on last line - 1 when the line
   is above that. */
int PageNumberLine(int line, int lastLine);

/* How many blocks a page holds: 1 + max(0, ceil((last line - 15) / 3)). */
int PageCapacity(int lastLine);

/* The fitting of the body font. measure gives the width of the grid in the
   body font of the given points, or a negative number when no font of that
   size could be made. The size is the largest one counting up from 10 whose
   grid is not wider than HORZRES, one less than the first that is too wide:
   9 when 10 already is. So that a device whose widths never grow cannot keep
   it counting, a size whose font cannot be made counts as too wide, the count
   ends at BODY_POINTS_MOST, and when BODY_STALL_LIMIT sizes in a row have not
   widened the grid it ends with the last size that did. */
typedef long long (*GridWidthProc)(int points, void *context);
int FitBodySize(int horzRes, GridWidthProc measure, void *context);

/* The body lines that a text line of the given height takes (at least 1):
   the lines of the pay summary, in the total line's font, are so far apart. */
int LinesForHeight(int height, int lineHeight);

/* The line of the first of count lines of the pay summary, which follow the
   total line step lines apart: step lines below the total line when the last
   of them ends above the page number's line (last line - 1); 0 when there is
   no room for them there, and they begin on one more page, on its
   FIRST_BLOCK_LINE. */
int PaySummaryLine(int totalLine, int count, int step, int lastLine);

/* Where an entry list of the given length puts things on pages with the given
   last line, by the rules the print job follows, with summaryLines lines of
   the pay summary step lines apart after the total (none by default). */
struct TimesheetPlan {
    int pages;             /* pages printed */
    int totalPage;         /* the page of the total line (1 based) */
    int totalLine;         /* the line of the total line */
    int lastValueLine;     /* the value line of the last entry (0 when none) */
    int lastPageNumberLine;
    int summaryPage;       /* the page and line of the first line of the pay summary */
    int summaryLine;
};
void PlanTimesheet(long entries, int lastLine, TimesheetPlan *plan, int summaryLines = 0,
                   int step = 1);

/* The header's clock texts: "MM/DD/YY" (the year modulo 100) and "HH:MM:SS",
   each field with a leading zero. Return the length written. */
int FormatClockDate(char *buffer, size_t capacity, unsigned month, unsigned day, unsigned year);
int FormatClockTime(char *buffer, size_t capacity, unsigned hour, unsigned minute, unsigned second);
/* "DATE: %9.9s" and "TIME: %8.8s" of those texts. */
int FormatDateLine(char *buffer, size_t capacity, unsigned month, unsigned day, unsigned year);
int FormatTimeLine(char *buffer, size_t capacity, unsigned hour, unsigned minute, unsigned second);

/* "Page %5d". */
int FormatPageNumber(char *buffer, size_t capacity, int page);

/* The text for an extended error of the Page Setup dialog; "" for a code the
   table does not hold. */
const char *PrintDlgErrorText(unsigned long code);

#endif
