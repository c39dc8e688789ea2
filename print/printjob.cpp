/* The print job: every row of the list of entries as one spooled document,
   a framed block per entry, the grand total, the pay summary of the week and
   a page number on every page. */

#include "print.h"

#include "app.h"
#include "paysummary.h"
#include "settings.h"
#include "timecalc.h"
#include "totals.h"

#include <commctrl.h>
#include <string.h>

const PrintDeviceCalls PrinterCalls = {
    StartDocA, StartPage, EndPage, EndDoc, AbortDoc, DeleteDC,
};

static void ShowStartError(HWND owner)
{
    MessageBoxA(owner, "Unable to start print job", NULL, MB_ICONERROR);
}

/* The geometry of the job's pages, fixed once the body font is chosen. */
struct SheetGeometry {
    int horzRes;
    int lineHeight;
    int lastLine;
};

/* Ends the page with its number on the given line (or on last line - 1 when
   that is further down), opens the next one and draws its header; returns
   the line where the next block may start. */
static int TurnPage(HWND owner, HDC dc, const SheetGeometry *page, int line, int *number,
                    const PrintDeviceCalls *calls)
{
    DrawPageNumber(dc, PageNumberLine(line, page->lastLine), page->lineHeight, page->horzRes,
                   *number);
    (*number)++;
    calls->endPage(dc);
    calls->startPage(dc);
    return DrawPageHeader(owner, dc, HEADER_FIRST_LINE, page->lineHeight, page->horzRes);
}

#define PAY_PRINT_LINES 6

/* A text in the program's code page added to a line of the page; gives the
   line's new length. */
static int Append(WCHAR *line, int length, const char *text)
{
    int added = MultiByteToWideChar(CP_ACP, 0, text, -1, line + length, SHEET_TEXT_UNITS - length);
    return added > 0 ? length + added - 1 : length;
}

/* The lines of the pay summary as the page shows them: "REGULAR: %9.2f" and
   the others, with a rate the rate and the gross pay, and the note of more
   entries than a week has days; gives their count. */
static int PaySummaryTexts(const PaySummary *summary,
                           WCHAR texts[PAY_PRINT_LINES][SHEET_TEXT_UNITS],
                           int lengths[PAY_PRINT_LINES])
{
    static const char *const LABELS[3] = {"REGULAR: ", "OVERTIME: ", "DOUBLE TIME: "};
    const long long hours[3] = {summary->Regular, summary->Overtime, summary->DoubleTime};
    char text[PAY_NOTE_SIZE];
    int count = 0;
    for (; count < 3; count++) {
        FormatHundredths(text, sizeof text, hours[count], 9);
        lengths[count] = Append(texts[count], Append(texts[count], 0, LABELS[count]), text);
    }
    if (summary->HasPay) {
        int n = Append(texts[count], 0, "RATE: ");
        lengths[count] = n + FormatRateMoney(texts[count] + n, SHEET_TEXT_UNITS - n, summary->Rate);
        count++;
        n = Append(texts[count], 0, "GROSS PAY: ");
        lengths[count] =
            n + FormatPayMoney(texts[count] + n, SHEET_TEXT_UNITS - n, summary->GrossPay);
        count++;
    }
    FormatPayNote(text, sizeof text, summary->Days);
    if (text[0]) {
        lengths[count] = Append(texts[count], 0, text);
        count++;
    }
    return count;
}

int RunPrintJob(HWND owner, HDC dc, HWND list, const DOCINFOA *document,
                const PrintDeviceCalls *calls)
{
    if (calls->startDoc(dc, document) <= 0) {
        ShowStartError(owner);
        calls->deleteDC(dc);
        return 0;
    }
    EnableWindow(owner, FALSE);

    SheetGeometry page;
    page.horzRes = GetDeviceCaps(dc, HORZRES);
    int vertRes = GetDeviceCaps(dc, VERTRES);
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    BodyFontRecord body;
    ForgetScriptFaces();   /* fonts may have come or gone since the last job */
    FitBodyFont(owner, dc, &body);
    TEXTMETRICA metrics;
    page.lineHeight = 0;
    if (GetTextMetricsA(dc, &metrics))
        page.lineHeight = (int)(metrics.tmHeight + metrics.tmExternalLeading);
    if (page.lineHeight <= 0)   /* no metrics: the body font's character height */
        page.lineHeight = -FontHeightForPoints(body.points, logPixelsY);
    if (page.lineHeight <= 0)
        page.lineHeight = 1;
    page.lastLine = LastLineOfPage(vertRes, page.lineHeight);
    int number = 1;

    if (calls->startPage(dc) <= 0) {
        ShowStartError(owner);
        calls->abortDoc(dc);
        ReleaseBodyFont(dc, &body);
        calls->deleteDC(dc);
        EnableWindow(owner, TRUE);
        return 0;
    }
    int line = DrawPageHeader(owner, dc, HEADER_FIRST_LINE, page.lineHeight, page.horzRes);

    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    double grandTotal = 0.0;
    PayWeek week;
    BeginPayWeek(&week, &CurrentPayRules);
    int valueHalf = body.widths.value / 2;
    int totalHalf = body.widths.total / 2;
    for (int row = 0; row < count; row++) {
        double times[8];
        ReadEntryTimes(list, row, times);
        double entryTotal = RowHours(times);
        grandTotal += entryTotal;
        AddPayDay(&week, HoursInHundredths(entryTotal));

        int valueLine = DrawEntryFrame(dc, line, page.lineHeight, page.horzRes,
                                       body.widths.timeLabel);
        for (int k = 1; k <= 8; k++)
            DrawValueCell(dc, k, valueLine, page.lineHeight, valueHalf, times[k - 1]);
        DrawValueCell(dc, 9, valueLine, page.lineHeight, totalHalf, entryTotal);

        if (RoomBelow(valueLine, page.lastLine))
            line = valueLine + 2;
        else
            line = TurnPage(owner, dc, &page, valueLine, &number, calls);
    }

    if (!RoomBelow(line, page.lastLine))
        line = TurnPage(owner, dc, &page, line, &number, calls);
    int totalLine = line, height = 0;
    line = DrawTotalLine(owner, dc, line, page.lineHeight, page.horzRes, grandTotal, &height);

    /* the pay summary, step lines apart, after the total or on one more page */
    PaySummary summary;
    EndPayWeek(&week, &summary);
    WCHAR texts[PAY_PRINT_LINES][SHEET_TEXT_UNITS];
    int lengths[PAY_PRINT_LINES];
    int lines = PaySummaryTexts(&summary, texts, lengths);
    int step = LinesForHeight(height, page.lineHeight);
    int first = PaySummaryLine(totalLine, lines, step, page.lastLine);
    if (!first)
        first = TurnPage(owner, dc, &page, line, &number, calls);
    for (int i = 0; i < lines; i++)
        DrawHeadingLine(owner, dc, first + i * step, page.lineHeight, page.horzRes, texts[i],
                        lengths[i]);
    line = first + lines * step;

    DrawPageNumber(dc, PageNumberLine(line, page.lastLine), page.lineHeight, page.horzRes,
                   number);
    calls->endPage(dc);
    calls->endDoc(dc);

    EnableWindow(owner, TRUE);
    ReleaseBodyFont(dc, &body);
    calls->deleteDC(dc);
    return 1;
}

int PrintTimesheet(HWND owner)
{
    DOCINFOA document;
    memset(&document, 0, sizeof document);
    document.cbSize = sizeof document;
    document.lpszDocName = SHEET_DOCUMENT_NAME;
    document.lpszOutput = NULL;
    document.lpszDatatype = NULL;
    document.fwType = 0;

    HDC dc = SetUpPrinter(owner);
    if (!dc) {
        MessageBoxA(owner, "Error Printing Hourwise - TimeSheet", "Printer Error!", MB_ICONERROR);
        return 0;
    }
    return RunPrintJob(owner, dc, hEntryList, &document, &PrinterCalls);
}
