// Helpers of the printing tests: rows in the list of entries, the dialogs of
// a print run answered from a timer, recording device calls, the drawing of a
// recorded job read back from its enhanced metafile, and the PDF that the
// CUPS queue makes.
#ifndef HOURWISE_PRINT_SUPPORT_H
#define HOURWISE_PRINT_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include "print.h"

// Appends a row to the list of entries as Add writes it: the number "%d" and
// the eight times "%8.2f".
void AppendEntryRow(const double times[8]);
void ClearEntryRows();

// ---- the dialogs of a print run --------------------------------------------

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner;
};

struct PrintScript {
    // what to type into the Print Timesheet dialog (NULL: leave as shown)
    const char *employeeId;
    const char *employeeName;
    const char *periodEndDate;
    int printAnswer;       // IDOK or IDCANCEL for the Print Timesheet dialog
    int pageSetupAnswer;   // IDOK or IDCANCEL for the Page Setup dialog
};

struct PrintRunResult {
    INT_PTR dialogResult;
    bool sawPrintDialog;
    HWND printDialog;     // the Print Timesheet dialog (gone by now)
    HWND pageSetupOwner;
    bool sawPageSetup;
    std::string shownId, shownName, shownDate;   // texts the dialog opened with
    std::vector<SeenBox> boxes;                  // message boxes, in order
    bool timedOut;
};

// Opens the Print Timesheet dialog over the main window as the Print button
// does (or by calling open, when given, which returns when the dialog has
// ended; the dialog's result is then -1) and answers it, the Page Setup
// dialog and every message box from a timer.
PrintRunResult RunPrintDialog(const PrintScript &script, void (*open)() = NULL);

// Answers every message box of the thread with OK from a timer until
// StopAnsweringBoxes, which returns what they said.
void StartAnsweringBoxes();
std::vector<SeenBox> StopAnsweringBoxes();

// The default printer's name ("" when there is none).
std::string DefaultPrinterName();

// ---- recording device calls ------------------------------------------------

struct CallLog {
    int startDoc, startPage, endPage, endDoc, abortDoc, deleteDC;
    bool enabledAtStartDoc;      // owner enabled when the document was started
    bool disabledThroughout;     // owner disabled at every page call and EndDoc
    bool enabledAtDeleteDC;
    std::string documentName;
    int documentSize;
    std::vector<std::string> order;   // the calls in the order they came
};

// Calls that draw into an enhanced metafile referenced to a printer instead
// of a spooled document: StartPage and EndPage leave comments in it, and the
// deletion closes it. failStartDoc / failStartPage make those calls fail.
extern CallLog Calls;
extern HENHMETAFILE RecordedJob;
void ResetCallLog(HWND owner, bool failStartDoc, bool failStartPage);
extern const PrintDeviceCalls RecordingCalls;

// ---- a recorded job read back ----------------------------------------------

struct DrawnText {
    int x, y;
    std::string text;
    LOGFONTW font;       // the font selected when it was drawn
};

struct DrawnLine {
    int x0, y0, x1, y1;
};

struct RecordedPage {
    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<LOGFONTW> fontsMade;
};

// The pages of a recorded job, split at its page comments.
std::vector<RecordedPage> ReadRecordedPages(HENHMETAFILE job);

// ---- the PDF of the CUPS queue ---------------------------------------------

// The folders where cups-pdf may put the files of this user's jobs, as
// Windows paths: HOURWISE_PDF_DIR when it is set; otherwise the "Out" of
// /etc/cups/cups-pdf.conf for the user's home (from /etc/passwd and from
// Wine's idea of it) and the folder of anonymous jobs. PdfFolder lists them.
std::vector<std::string> PdfFolders();
std::string PdfFolder();
FILETIME Now();
// The newest complete PDF written in the folder after since; "" when none
// came within the timeout.
std::string WaitForPdf(FILETIME since, int timeoutMs);
// The text of a PDF by pdftotext, run as a Unix program; pages end with '\f'.
std::string PdfText(const std::string &pdf);
// The text with every run of white space (but form feeds) made one blank,
// and the soft hyphens that the PDF's hyphens read back as made '-'.
std::string Squeezed(const std::string &text);
int PageCount(const std::string &pdfText);

#endif
