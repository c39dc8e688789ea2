/* The timesheet's page: fonts, the fitting of the body font, the header, the
   frame of an entry, the total line, the value cells and the page number,
   drawn with GDI on the device context of the job. */

#include "codepage.h"
#include "print.h"

#include "settings.h"
#include "timecalc.h"

#include <stdio.h>
#include <string.h>

#define EMPLOYEE_TEXT_SIZE (16 + EMPLOYEENAME_SIZE)   /* "Employee Name: " and the name */
/* Any text of the page in UTF-16: n bytes make at most n units. */
static_assert(SHEET_TEXT_UNITS >= EMPLOYEE_TEXT_SIZE &&
                  SHEET_TEXT_UNITS >= HEADER_TEXT_SIZE && SHEET_TEXT_UNITS >= PAGE_TEXT_SIZE,
              "the longest text of the page fits the UTF-16 buffer");

int ColumnEdges[COLUMN_EDGE_COUNT];

static const char *const ColumnHeads[9] = {
    "IN 1", "OUT 1", "IN 2", "OUT 2", "IN 3", "OUT 3", "IN 4", "OUT 4", "TOTAL",
};

int Selected(HGDIOBJ previous)
{
    return previous != NULL && previous != HGDI_ERROR;
}

/* The page's texts are in the program's code page. The narrow calls would
   read their bytes as code page 1252, the sheet fonts' ANSI_CHARSET, whatever
   ours is; so every text is drawn and measured in UTF-16, in the fonts that
   have its glyphs (scripttext.cpp). */
static int Widen(const char *text, WCHAR *wide)
{
    return MultiByteToWideChar(CP_ACP, 0, text, (int)strlen(text), wide, SHEET_TEXT_UNITS);
}

static void PutText(HDC dc, int x, int y, const char *text)
{
    WCHAR wide[SHEET_TEXT_UNITS];
    DrawSheetText(dc, x, y, wide, Widen(text, wide));
}

static int TextWidth(HDC dc, const char *text)
{
    WCHAR wide[SHEET_TEXT_UNITS];
    return SheetTextWidth(dc, wide, Widen(text, wide));
}

/* The label followed by at most chars whole characters of the value. */
static void LabelledText(char *text, size_t size, const char *label, const char *value,
                         size_t chars)
{
    size_t labelLength = strlen(label);
    size_t room = size > labelLength ? size - 1 - labelLength : 0;
    size_t length = ProgramWholeCharsLength(value, strlen(value), room, chars);
    snprintf(text, size, "%s%.*s", label, (int)length, value);
}

static void DrawLine(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, NULL);
    LineTo(dc, x1, y1);
}

static void ShowFontError(HWND owner)
{
    MessageBoxA(owner, "Error Creating Font", "Font Error Message", MB_OK);
}

HFONT CreateSheetFont(HDC dc, int points, int weight)
{
    return CreateFontA(FontHeightForPoints(points, GetDeviceCaps(dc, LOGPIXELSY)), 0, 0, 0,
                       weight, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, SHEET_FACE_NAME);
}

/* The title or heading font for one routine: made and selected, or NULL
   after the font error box, when the routine draws in the body font. */
static HFONT SelectBoldFont(HWND owner, HDC dc, int points, HFONT *previous)
{
    *previous = NULL;
    HFONT font = CreateSheetFont(dc, points, BOLD_WEIGHT);
    if (!font) {
        ShowFontError(owner);
        return NULL;
    }
    HGDIOBJ old = SelectObject(dc, font);
    if (!Selected(old)) {
        DeleteObject(font);
        return NULL;
    }
    *previous = (HFONT)old;
    return font;
}

void RestoreFont(HDC dc, HFONT font, HGDIOBJ previous)
{
    if (!font)
        return;
    SelectObject(dc, previous);
    DeleteObject(font);
}

ColumnWidths MeasureColumns(HDC dc, int e, int horzRes)
{
    char number[NUMBER_TEXT_SIZE];
    ColumnWidths widths;
    widths.timeLabel = TextWidth(dc, "Military");
    FormatFixed(number, sizeof number, 99999.99, 8, 2);
    widths.value = TextWidth(dc, number);
    FormatFixed(number, sizeof number, 999999.99, 9, 2);
    widths.total = TextWidth(dc, number);
    ComputeColumnEdges(e, widths.timeLabel, widths.value, horzRes, ColumnEdges);
    return widths;
}

struct FitContext {
    HWND owner;
    HDC dc;
    int e;
    int horzRes;
};

/* The grid width in the body font of the given size; -1 when that font could
   not be made or selected (after the boxes that say so). */
static long long MeasureCandidate(int points, void *context)
{
    FitContext *fit = (FitContext *)context;
    HFONT font = CreateSheetFont(fit->dc, points, BODY_WEIGHT);
    if (!font)
        ShowFontError(fit->owner);
    HGDIOBJ previous = font ? SelectObject(fit->dc, font) : NULL;
    if (!Selected(previous))
        MessageBoxA(fit->owner, "OldFont = NULL", "MSG", MB_OK);
    ColumnWidths widths = MeasureColumns(fit->dc, fit->e, fit->horzRes);
    if (Selected(previous))
        SelectObject(fit->dc, previous);
    if (font)
        DeleteObject(font);
    if (!font || !Selected(previous))
        return -1;
    return GridWidth(fit->e, widths.timeLabel, widths.value, widths.total);
}

int FitBodyFont(HWND owner, HDC dc, BodyFontRecord *body)
{
    FitContext fit;
    fit.owner = owner;
    fit.dc = dc;
    fit.e = EighthInch(GetDeviceCaps(dc, LOGPIXELSX));
    fit.horzRes = GetDeviceCaps(dc, HORZRES);

    body->points = FitBodySize(fit.horzRes, MeasureCandidate, &fit);
    body->previous = NULL;
    body->font = CreateSheetFont(dc, body->points, BODY_WEIGHT);
    if (body->font) {
        HGDIOBJ previous = SelectObject(dc, body->font);
        if (Selected(previous)) {
            body->previous = (HFONT)previous;
        } else {
            DeleteObject(body->font);
            body->font = NULL;
        }
    }
    body->widths = MeasureColumns(dc, fit.e, fit.horzRes);
    return body->points;
}

void ReleaseBodyFont(HDC dc, BodyFontRecord *body)
{
    RestoreFont(dc, body->font, body->previous);
    body->font = NULL;
    body->previous = NULL;
}

int DrawPageHeader(HWND owner, HDC dc, int line, int lineHeight, int horzRes)
{
    int width = GetDeviceCaps(dc, HORZRES);
    int height = GetDeviceCaps(dc, VERTRES);
    DrawLine(dc, 1, 1, width - 1, 1);
    DrawLine(dc, 1, 1, 1, height - 1);
    DrawLine(dc, width - 1, 1, width - 1, height - 1);
    DrawLine(dc, 1, height - 1, width - 1, height - 1);

    SYSTEMTIME date, time;
    GetLocalTime(&date);
    GetLocalTime(&time);
    char dateLine[HEADER_TEXT_SIZE], timeLine[HEADER_TEXT_SIZE];
    FormatDateLine(dateLine, sizeof dateLine, date.wMonth, date.wDay, date.wYear);
    FormatTimeLine(timeLine, sizeof timeLine, time.wHour, time.wMinute, time.wSecond);

    HFONT previous;
    HFONT font = SelectBoldFont(owner, dc, TITLE_POINTS, &previous);
    int y = line * lineHeight;
    PutText(dc, HEADER_SIDE_GAP, y, dateLine);
    PutText(dc, PageCentredX(horzRes, TextWidth(dc, SHEET_TITLE)), y, SHEET_TITLE);
    PutText(dc, horzRes - TextWidth(dc, timeLine) - HEADER_SIDE_GAP, y, timeLine);
    RestoreFont(dc, font, previous);

    char text[EMPLOYEE_TEXT_SIZE];
    font = SelectBoldFont(owner, dc, HEADING_POINTS, &previous);
    LabelledText(text, sizeof text, "", AppSettings.CustName, CUSTNAME_CHARS);
    PutText(dc, PageCentredX(horzRes, TextWidth(dc, text)), (line + 2) * lineHeight, text);
    RestoreFont(dc, font, previous);

    DrawLine(dc, 1, (line + 4) * lineHeight, horzRes, (line + 4) * lineHeight);

    y = (line + 5) * lineHeight;
    LabelledText(text, sizeof text, "EMPLOYEE ID: ", TimesheetInfo.EmployeeId, EMPLOYEEID_CHARS);
    PutText(dc, EMPLOYEE_LINE_X, y, text);
    LabelledText(text, sizeof text, "Period End Date: ", TimesheetInfo.PeriodEndDate,
                 PERIODENDDATE_CHARS);
    PutText(dc, (horzRes - 1) / 2, y, text);
    LabelledText(text, sizeof text, "Employee Name: ", TimesheetInfo.EmployeeName,
                 EMPLOYEENAME_CHARS);
    PutText(dc, EMPLOYEE_LINE_X, (line + 7) * lineHeight, text);
    return line + HEADER_LINE_COUNT;
}

int DrawEntryFrame(HDC dc, int line, int lineHeight, int horzRes, int timeLabelWidth)
{
    int top = line * lineHeight;
    int bottom = (line + 2) * lineHeight;
    DrawLine(dc, ColumnEdges[0] + 1, top, ColumnEdges[0] + 1, bottom);
    PutText(dc, TimeLabelX(ColumnEdges[0], timeLabelWidth),
             (line + 1) * lineHeight - TIME_LABEL_RISE, "Time");
    for (int k = 1; k <= 9; k++) {
        DrawLine(dc, ColumnEdges[k] + 1, top, ColumnEdges[k] + 1, bottom);
        int width = TextWidth(dc, ColumnHeads[k - 1]);
        PutText(dc, ColumnTextX(ColumnEdges, k, width / 2), top + lineHeight / 16,
                 ColumnHeads[k - 1]);
    }
    DrawLine(dc, 1, top, horzRes, top);
    DrawLine(dc, 1, bottom, horzRes, bottom);
    return line + 1;
}

int DrawHeadingLine(HWND owner, HDC dc, int line, int lineHeight, int horzRes,
                    const WCHAR *text, int length)
{
    HFONT previous;
    HFONT font = SelectBoldFont(owner, dc, HEADING_POINTS, &previous);
    TEXTMETRICA metrics;
    int height = GetTextMetricsA(dc, &metrics) ? (int)(metrics.tmHeight + metrics.tmExternalLeading)
                                               : 0;
    int x = horzRes - GetDeviceCaps(dc, LOGPIXELSX) / 2 - SheetTextWidth(dc, text, length);
    DrawSheetText(dc, x, line * lineHeight, text, length);
    RestoreFont(dc, font, previous);
    return height;
}

int DrawTotalLine(HWND owner, HDC dc, int line, int lineHeight, int horzRes, double total,
                  int *height)
{
    char number[NUMBER_TEXT_SIZE];
    char text[TOTAL_TEXT_SIZE];
    FormatFixed(number, sizeof number, total, 9, 2);
    snprintf(text, sizeof text, "TOTAL: %s", number);
    WCHAR wide[SHEET_TEXT_UNITS];
    int drawn = DrawHeadingLine(owner, dc, line, lineHeight, horzRes, wide, Widen(text, wide));
    if (height)
        *height = drawn;
    return line + 1;
}

void DrawValueCell(HDC dc, int column, int valueLine, int lineHeight, int halfWidth,
                   double value)
{
    char number[NUMBER_TEXT_SIZE];
    FormatFixed(number, sizeof number, value, column == 9 ? 9 : 8, 2);
    PutText(dc, ColumnTextX(ColumnEdges, column, halfWidth), valueLine * lineHeight, number);
}

void DrawPageNumber(HDC dc, int line, int lineHeight, int horzRes, int page)
{
    char text[PAGE_TEXT_SIZE];
    FormatPageNumber(text, sizeof text, page);
    PutText(dc, horzRes / 2, line * lineHeight, text);
}
