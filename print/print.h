/* Printing the timesheet: the dialog, the printer set-up, the page layout and
   the print job. The arithmetic of the page is in sheetcalc.h. */
#ifndef HOURWISE_PRINT_H
#define HOURWISE_PRINT_H

#include <windows.h>

#include "numtext.h"
#include "sheetcalc.h"
#include "wholechars.h"

/* The employee texts are limited in characters; their fields hold that many
   in any code page and the NUL. */
#define EMPLOYEEID_CHARS    11
#define EMPLOYEENAME_CHARS  50
#define PERIODENDDATE_CHARS 10
#define EMPLOYEEID_SIZE    TEXT_SIZE_FOR(EMPLOYEEID_CHARS)
#define EMPLOYEENAME_SIZE  TEXT_SIZE_FOR(EMPLOYEENAME_CHARS)
#define PERIODENDDATE_SIZE TEXT_SIZE_FOR(PERIODENDDATE_CHARS)

#define SHEET_FACE_NAME "MS SERIF"
#define SHEET_DOCUMENT_NAME "Hourwise - TimeSheet"
#define SHEET_TITLE "-- Hourwise 2.2.0   T I M E S H E E T --"

struct TimesheetInfoRecord {
    char EmployeeId[EMPLOYEEID_SIZE];
    char EmployeeName[EMPLOYEENAME_SIZE];
    char PeriodEndDate[PERIODENDDATE_SIZE];
};

extern TimesheetInfoRecord TimesheetInfo;

/* ---- the Print Timesheet dialog and the printer (printdlg.cpp) ---------- */

INT_PTR CALLBACK PrintTimesheetDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

/* Shows the Page Setup dialog owned by owner and makes a portrait device
   context for the printer chosen there; NULL when cancelled (silently) or
   failed (the "PrintDlg Error" box). The caller deletes the device context. */
HDC SetUpPrinter(HWND owner);

/* The device context for the printer named by a DEVNAMES block, made with
   the DEVMODE block (NULL for none) turned to portrait; NULL when a block
   cannot be locked or does not hold what it should. Frees neither block. */
HDC CreatePrinterDC(HGLOBAL devNames, HGLOBAL devMode);

/* The "PrintDlg Error" box for an extended error code of the dialog. */
void ShowPrintDlgError(HWND owner, unsigned long code);

/* ---- the page layout (pagelayout.cpp) ----------------------------------- */

/* The right edges of the grid columns of the current job. */
extern int ColumnEdges[COLUMN_EDGE_COUNT];

struct ColumnWidths {
    int timeLabel;   /* Wt: "Military" */
    int value;       /* Wv: 99999.99 as "%8.2f" */
    int total;       /* Wg: 999999.99 as "%9.2f" */
};

/* The body font of a job, as FitBodyFont left it in the device context. */
struct BodyFontRecord {
    int points;              /* P */
    HFONT font;              /* NULL when the chosen size could not be made */
    HFONT previous;          /* the font to select back when the job ends */
    ColumnWidths widths;     /* measured in the font that is selected */
};

/* Makes the font of the timesheet's face with the given points and weight. */
HFONT CreateSheetFont(HDC dc, int points, int weight);

/* Measures Wt, Wv and Wg in the selected font and writes ColumnEdges. */
ColumnWidths MeasureColumns(HDC dc, int e, int horzRes);

/* Chooses the body size, leaves the body font selected and ColumnEdges
   computed for it; returns P. */
int FitBodyFont(HWND owner, HDC dc, BodyFontRecord *body);

/* Selects the font that was there before the body font back and deletes the
   body font. */
void ReleaseBodyFont(HDC dc, BodyFontRecord *body);

int DrawPageHeader(HWND owner, HDC dc, int line, int lineHeight, int horzRes);
int DrawEntryFrame(HDC dc, int line, int lineHeight, int horzRes, int timeLabelWidth);
/* "TOTAL: %9.2f" in the bold heading font, its right end half an inch from
   the right edge; height (when not NULL) gets the height of a line in that
   font, 0 when unknown. */
int DrawTotalLine(HWND owner, HDC dc, int line, int lineHeight, int horzRes, double total,
                  int *height = NULL);
/* Any text of at most SHEET_TEXT_UNITS units so, as the pay summary's lines
   are drawn; gives the height of a line in that font (0 when unknown). */
int DrawHeadingLine(HWND owner, HDC dc, int line, int lineHeight, int horzRes,
                    const WCHAR *text, int length);

/* A value of the grid in column 1 to 8 ("%8.2f") or the entry total in
   column 9 ("%9.2f"), placed by the half width of the widest such text. */
void DrawValueCell(HDC dc, int column, int valueLine, int lineHeight, int halfWidth,
                   double value);

/* "Page %5d" beginning at the middle of the page. */
void DrawPageNumber(HDC dc, int line, int lineHeight, int horzRes, int page);

/* ---- texts in any script (scripttext.cpp) -------------------------------- */

/* "TOTAL: " and any number: the longest text of the page, also in UTF-16 units. */
#define TOTAL_TEXT_SIZE (NUMBER_TEXT_SIZE + 8)
#define SHEET_TEXT_UNITS TOTAL_TEXT_SIZE

/* Whether SelectObject gave back the object it replaced. */
int Selected(HGDIOBJ previous);
/* Puts the previous font back and deletes the font; nothing when font is NULL. */
void RestoreFont(HDC dc, HFONT font, HGDIOBJ previous);

/* Draws a text of at most SHEET_TEXT_UNITS units with its top-left corner at
   x, y in the selected font; the characters that font has no glyph for in a
   font of the same height and weight that has them, in reading order. */
void DrawSheetText(HDC dc, int x, int y, const WCHAR *text, int length);

/* The width of the text as DrawSheetText draws it. */
int SheetTextWidth(HDC dc, const WCHAR *text, int length);

/* Forgets the fonts chosen for the texts of the last job. */
void ForgetScriptFaces(void);

/* ---- the print job (printjob.cpp) --------------------------------------- */

/* The document and device calls of a job; PrinterCalls holds the system's.
   A job can so be drawn into a recording device context as well. */
struct PrintDeviceCalls {
    int (WINAPI *startDoc)(HDC, const DOCINFOA *);
    int (WINAPI *startPage)(HDC);
    int (WINAPI *endPage)(HDC);
    int (WINAPI *endDoc)(HDC);
    int (WINAPI *abortDoc)(HDC);
    BOOL (WINAPI *deleteDC)(HDC);
};

extern const PrintDeviceCalls PrinterCalls;

/* Prints the list of entries of the main window on the printer chosen in the
   Page Setup dialog; 1 when the document was ended, 0 on failure. */
int PrintTimesheet(HWND owner);

/* The job from the start of the document on, on a device context that it
   owns and deletes on every path: the pages of the rows of list. */
int RunPrintJob(HWND owner, HDC dc, HWND list, const DOCINFOA *document,
                const PrintDeviceCalls *calls);

#endif
