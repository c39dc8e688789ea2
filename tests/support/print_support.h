// Helpers of the printing tests: rows in the list of entries, the dialogs of
// a print run driven by the harness, recording device calls, the drawing of a
// recorded job read back from its enhanced metafile, and the PDF that the
// CUPS queue makes.
#ifndef HOURWISE_PRINT_SUPPORT_H
#define HOURWISE_PRINT_SUPPORT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "harness.h"
#include "print.h"

// Appends a row to the list of entries as Add writes it: the number "%d" and
// the eight times "%8.2f" (those not given are 0).
void AppendEntryRow(const std::vector<double> &times);

// The main window of WindowTest with the company name of the sheet set and
// no employee texts; ResetCallLog'ed at the end.
extern const char *const COMPANY;   // "Quillfeather Test Company Ltd"
class PrintTest : public WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// ---- the dialogs of a print run --------------------------------------------

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner;
};

// The message boxes read by ReadBoxAndOk since the last print run.
extern std::vector<SeenBox> SeenBoxes;
// An answer for DriveDialogs: keeps what the box says and presses OK.
void ReadBoxAndOk(HWND box);

struct PrintScript {
    // what to type into the Print Timesheet dialog (NULL: leave as shown)
    const char *employeeId;
    const char *employeeName;
    const char *periodEndDate;
    int printAnswer;       // IDOK or IDCANCEL for the Print Timesheet dialog
    int pageSetupAnswer;   // IDOK or IDCANCEL for the Page Setup dialog
};

struct PrintRunResult {
    bool completed;       // every dialog came and went in time
    INT_PTR dialogResult;
    HWND printDialog;     // the Print Timesheet dialog (gone by now)
    HWND pageSetupOwner;
    bool sawPageSetup;    // the dialog after OK had the margin fields
    std::string shownId, shownName, shownDate;   // texts the dialog opened with
    std::vector<SeenBox> boxes;                  // message boxes, in order
};

// Opens the Print Timesheet dialog over the main window as the Print button
// does (or by calling open, when given, which returns when the dialog has
// ended; the dialog's result is then -1) and drives it, the Page Setup
// dialog after OK and the printer error box after a cancelled Page Setup.
PrintRunResult RunPrintDialog(const PrintScript &script,
                              const std::function<void()> &open = nullptr);

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
// Runs a whole print job of the list over the main window into a metafile
// referenced to the printer, through the recording calls; the job must end
// with success and no message box. Gives its pages.
std::vector<RecordedPage> RecordPrintJob(HDC printer);

// ---- the PDF of the CUPS queue ---------------------------------------------

// The folders where cups-pdf may put the files of this user's jobs, as
// Windows paths: HOURWISE_PDF_DIR when it is set; otherwise the "Out" of
// /etc/cups/cups-pdf.conf for the user's home (from /etc/passwd and from
// Wine's idea of it) and the folder of anonymous jobs. PdfFolder lists them.
std::vector<std::string> PdfFolders();
std::string PdfFolder();

// A text to print that no other print of any test run holds.
std::string UniqueMarker(const char *text);
// The newest job the spooler knows of the queue PDF; a print's job comes after.
int LastPdfJob();
struct PrintedPdf {
    int job;             // 0 when none came
    std::string file;
    std::string text;    // by pdftotext -layout; pages end with '\f'
};
// Waits for the spooler to complete a job after afterJob whose PDF holds the
// marker (jobs of other runs are passed over); fails naming it at the deadline.
PrintedPdf FindPrintedPdf(int afterJob, const std::string &marker, int deadlineMs = 120000);
// Whether a completed job between the two printed the marker.
bool PrintedBetween(int afterJob, int beforeJob, const std::string &marker);
// The text of a PDF by pdftotext; pages end with '\f'.
std::string PdfText(const std::string &pdf);
// The text with every run of white space (but form feeds) made one blank,
// and the soft hyphens that the PDF's hyphens read back as made '-'.
std::string Squeezed(const std::string &text);
int PageCount(const std::string &pdfText);

#endif
