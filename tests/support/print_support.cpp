// Printing helpers of the harness: rows, the dialogs of a print run, a
// recording device, a recorded job read back, and the PDF of the CUPS queue.
#include "print_support.h"

#include "harness.h"

#include "app.h"
#include "resource.h"
#include "settings.h"
#include "timecalc.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <map>

// ---- rows -------------------------------------------------------------------

void AppendEntryRow(const std::vector<double> &times)
{
    int row = (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
    char text[NUMBER_TEXT_SIZE];
    snprintf(text, sizeof text, "%d", row + 1);
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text;
    row = (int)SendMessageA(hEntryList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    for (int k = 1; k <= 8; k++) {
        FormatFixed(text, sizeof text, k <= (int)times.size() ? times[k - 1] : 0.0, 8, 2);
        ZeroMemory(&item, sizeof item);
        item.iSubItem = k;
        item.pszText = text;
        SendMessageA(hEntryList, LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    }
}

const char *const COMPANY = "Quillfeather Test Company Ltd";

void PrintTest::SetUp()
{
    memset(&TimesheetInfo, 0, sizeof TimesheetInfo);
    WindowTest::SetUp();
    snprintf(AppSettings.CustName, sizeof AppSettings.CustName, "%s", COMPANY);
}

void PrintTest::TearDown()
{
    ResetCallLog(NULL, false, false);
    memset(&TimesheetInfo, 0, sizeof TimesheetInfo);
    WindowTest::TearDown();
}

// ---- the dialogs of a print run ------------------------------------------------

// The Page Setup dialog is told from a message box by its margin fields.
static bool IsPageSetup(HWND dialog)
{
    return GetDlgItem(dialog, 0x0483) != NULL || GetDlgItem(dialog, 0x0471) != NULL;
}

std::vector<SeenBox> SeenBoxes;

void ReadBoxAndOk(HWND box)
{
    SeenBox seen = {WindowText(box), BoxText(box), GetWindow(box, GW_OWNER)};
    SeenBoxes.push_back(seen);
    PressOk(box);
}

PrintRunResult RunPrintDialog(const PrintScript &script, const std::function<void()> &open)
{
    PrintRunResult result;
    result.dialogResult = 0;
    result.printDialog = NULL;
    result.pageSetupOwner = NULL;
    result.sawPageSetup = false;
    SeenBoxes.clear();
    std::vector<AwaitedDialog> steps;
    steps.push_back({"Print Timesheet", hMainWnd, -1, [&](HWND dialog) {
                         result.printDialog = dialog;
                         result.shownId = ControlText(IDC_EMPLOYEEID, dialog);
                         result.shownName = ControlText(IDC_EMPLOYEENAME, dialog);
                         result.shownDate = ControlText(IDC_PERIODENDDATE, dialog);
                         if (script.employeeId)
                             TypeInto(dialog, IDC_EMPLOYEEID, script.employeeId);
                         if (script.employeeName)
                             TypeInto(dialog, IDC_EMPLOYEENAME, script.employeeName);
                         if (script.periodEndDate)
                             TypeInto(dialog, IDC_PERIODENDDATE, script.periodEndDate);
                         PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(script.printAnswer, BN_CLICKED),
                                      (LPARAM)GetDlgItem(dialog, script.printAnswer));
                     }});
    if (script.printAnswer == IDOK) {
        steps.push_back({"Page Setup", NULL, 0, [&](HWND dialog) {
                             result.sawPageSetup = IsPageSetup(dialog);
                             result.pageSetupOwner = GetWindow(dialog, GW_OWNER);
                             if (script.pageSetupAnswer == IDOK)
                                 PressOk(dialog);
                             else
                                 PressCancel(dialog);
                         }});
        // without a printer set up the job cannot start: the error box
        if (script.pageSetupAnswer != IDOK)
            steps.push_back({"Printer Error", NULL, 0, ReadBoxAndOk});
    }
    result.completed = DriveDialogs(
        [&] {
            if (open) {
                open();
                result.dialogResult = -1;
            } else {
                result.dialogResult = DialogBoxParamA(GetModuleHandleA(NULL),
                                                      MAKEINTRESOURCEA(IDD_PRINTTIMESHEET),
                                                      hMainWnd, PrintTimesheetDlgProc, 0);
            }
        },
        steps, 120000);
    result.boxes = SeenBoxes;
    return result;
}

std::string DefaultPrinterName()
{
    // "name,driver,port" in the [windows] section, as the spooler keeps it
    char device[512] = {0};
    GetProfileStringA("windows", "device", "", device, sizeof device);
    std::string name = device;
    return name.substr(0, name.find(','));
}


// ---- recording device calls ------------------------------------------------------

CallLog Calls;
HENHMETAFILE RecordedJob;
static HWND LogOwner;
static bool FailStartDoc, FailStartPage;

void ResetCallLog(HWND owner, bool failStartDoc, bool failStartPage)
{
    Calls = CallLog();
    Calls.disabledThroughout = true;
    LogOwner = owner;
    FailStartDoc = failStartDoc;
    FailStartPage = failStartPage;
    if (RecordedJob)
        DeleteEnhMetaFile(RecordedJob);
    RecordedJob = NULL;
}

static void NoteDisabled()
{
    if (IsWindowEnabled(LogOwner))
        Calls.disabledThroughout = false;
}

static void Comment(HDC dc, const char *text)
{
    GdiComment(dc, (UINT)strlen(text), (const BYTE *)text);
}

static int WINAPI RecordStartDoc(HDC, const DOCINFOA *document)
{
    Calls.startDoc++;
    Calls.order.push_back("StartDoc");
    Calls.enabledAtStartDoc = IsWindowEnabled(LogOwner) != FALSE;
    Calls.documentName = document && document->lpszDocName ? document->lpszDocName : "";
    Calls.documentSize = document ? document->cbSize : 0;
    return FailStartDoc ? SP_ERROR : 1;
}

static int WINAPI RecordStartPage(HDC dc)
{
    Calls.startPage++;
    Calls.order.push_back("StartPage");
    NoteDisabled();
    if (FailStartPage)
        return 0;
    Comment(dc, "HOURWISE-PAGE-START");
    return 1;
}

static int WINAPI RecordEndPage(HDC dc)
{
    Calls.endPage++;
    Calls.order.push_back("EndPage");
    NoteDisabled();
    Comment(dc, "HOURWISE-PAGE-END");
    return 1;
}

static int WINAPI RecordEndDoc(HDC)
{
    Calls.endDoc++;
    Calls.order.push_back("EndDoc");
    NoteDisabled();
    return 1;
}

static int WINAPI RecordAbortDoc(HDC)
{
    Calls.abortDoc++;
    Calls.order.push_back("AbortDoc");
    return 1;
}

static BOOL WINAPI RecordDeleteDC(HDC dc)
{
    Calls.deleteDC++;
    Calls.order.push_back("DeleteDC");
    Calls.enabledAtDeleteDC = IsWindowEnabled(LogOwner) != FALSE;
    if (GetObjectType(dc) == OBJ_ENHMETADC) {
        RecordedJob = CloseEnhMetaFile(dc);
        return RecordedJob != NULL;
    }
    return DeleteDC(dc);
}

const PrintDeviceCalls RecordingCalls = {
    RecordStartDoc, RecordStartPage, RecordEndPage, RecordEndDoc, RecordAbortDoc, RecordDeleteDC,
};

// ---- a recorded job read back --------------------------------------------------------

static std::string Narrow(const WCHAR *text, int count)
{
    std::string out(4 * (size_t)count, 0);
    if (count > 0)
        out.resize(WideCharToMultiByte(CP_UTF8, 0, text, count, &out[0], (int)out.size(), NULL, NULL));
    return out;
}

std::vector<RecordedPage> ReadRecordedPages(HENHMETAFILE job)
{
    std::vector<RecordedPage> pages;
    UINT size = GetEnhMetaFileBits(job, 0, NULL);
    std::vector<BYTE> bits(size);
    GetEnhMetaFileBits(job, size, bits.data());

    std::map<DWORD, LOGFONTW> fonts;
    LOGFONTW current;
    ZeroMemory(&current, sizeof current);
    POINTL position = {0, 0};
    RecordedPage page;
    bool inPage = false;
    for (UINT offset = 0; offset + sizeof(EMR) <= size;) {
        const ENHMETARECORD *record = (const ENHMETARECORD *)&bits[offset];
        if (record->nSize < sizeof(EMR))
            break;
        switch (record->iType) {
        case EMR_GDICOMMENT: {
            const EMRGDICOMMENT *comment = (const EMRGDICOMMENT *)record;
            std::string text((const char *)comment->Data, comment->cbData);
            if (text == "HOURWISE-PAGE-START") {
                page = RecordedPage();
                inPage = true;
            } else if (text == "HOURWISE-PAGE-END") {
                pages.push_back(page);
                inPage = false;
            }
            break;
        }
        case EMR_EXTCREATEFONTINDIRECTW: {
            const EMREXTCREATEFONTINDIRECTW *font = (const EMREXTCREATEFONTINDIRECTW *)record;
            fonts[font->ihFont] = font->elfw.elfLogFont;
            if (inPage)
                page.fontsMade.push_back(font->elfw.elfLogFont);
            break;
        }
        case EMR_SELECTOBJECT: {
            DWORD handle = ((const EMRSELECTOBJECT *)record)->ihObject;
            if (fonts.count(handle))
                current = fonts[handle];
            else if (handle & 0x80000000u)
                ZeroMemory(&current, sizeof current);
            break;
        }
        case EMR_MOVETOEX:
            position = ((const EMRMOVETOEX *)record)->ptl;
            break;
        case EMR_LINETO: {
            POINTL to = ((const EMRLINETO *)record)->ptl;
            if (inPage)
                page.lines.push_back({(int)position.x, (int)position.y, (int)to.x, (int)to.y});
            position = to;
            break;
        }
        case EMR_EXTTEXTOUTW:
        case EMR_EXTTEXTOUTA: {
            const EMREXTTEXTOUTW *out = (const EMREXTTEXTOUTW *)record;
            DrawnText text;
            text.x = out->emrtext.ptlReference.x;
            text.y = out->emrtext.ptlReference.y;
            const BYTE *chars = (const BYTE *)record + out->emrtext.offString;
            if (record->iType == EMR_EXTTEXTOUTW)
                text.text = Narrow((const WCHAR *)chars, (int)out->emrtext.nChars);
            else
                text.text.assign((const char *)chars, out->emrtext.nChars);
            text.font = current;
            if (inPage)
                page.texts.push_back(text);
            break;
        }
        }
        offset += record->nSize;
    }
    return pages;
}

std::vector<RecordedPage> RecordPrintJob(HDC printer)
{
    ResetCallLog(hMainWnd, false, false);
    HDC recorder = CreateEnhMetaFileA(printer, NULL, NULL, NULL);
    EXPECT_TRUE(recorder != NULL);
    DOCINFOA document = {sizeof(DOCINFOA), SHEET_DOCUMENT_NAME, NULL, NULL, 0};
    int result = 0;
    // no message box is awaited: one fails the test
    EXPECT_TRUE(DriveDialogs(
        [&] { result = RunPrintJob(hMainWnd, recorder, hEntryList, &document, &RecordingCalls); },
        {}));
    EXPECT_EQ(1, result);
    EXPECT_EQ(0u, GetObjectType(recorder));   // closed, which deletes the context
    EXPECT_TRUE(RecordedJob != NULL);
    return RecordedJob ? ReadRecordedPages(RecordedJob) : std::vector<RecordedPage>();
}

// ---- the PDF of the CUPS queue ---------------------------------------------------------

static std::string EnvText(const char *name)
{
    char value[1024] = {0};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

static std::string UnixToWindows(const std::string &path)
{
    std::string out = "Z:";
    for (char c : path)
        out += c == '/' ? '\\' : c;
    return out;
}

static std::string WindowsToUnix(const std::string &path)
{
    std::string out;
    for (size_t i = 2; i < path.size(); i++)
        out += path[i] == '\\' ? '/' : path[i];
    return out;
}

// cups-pdf's "Out" setting as written in its configuration.
static std::string ConfiguredOut()
{
    std::string folder = "/var/spool/cups-pdf/${USER}";
    std::string conf = FileBytes(L"Z:\\etc\\cups\\cups-pdf.conf");
    size_t start = 0;
    while (start < conf.size()) {
        size_t end = conf.find('\n', start);
        if (end == std::string::npos)
            end = conf.size();
        std::string line = conf.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, 4, "Out ") == 0 || line.compare(0, 4, "Out\t") == 0) {
            size_t value = line.find_first_not_of(" \t", 3);
            if (value != std::string::npos)
                folder = line.substr(value);
        }
    }
    while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\r'))
        folder.pop_back();
    return folder;
}

// The home folder of a user as /etc/passwd has it ("" when not there).
static std::string PasswdHome(const std::string &user)
{
    std::string passwd = FileBytes(L"Z:\\etc\\passwd");
    std::string key = user + ":";
    for (size_t at = 0; at < passwd.size();) {
        size_t end = passwd.find('\n', at);
        if (end == std::string::npos)
            end = passwd.size();
        std::string line = passwd.substr(at, end - at);
        at = end + 1;
        if (line.compare(0, key.size(), key) != 0)
            continue;
        size_t field = 0;
        for (int i = 0; i < 5 && field != std::string::npos; i++) {
            field = line.find(':', field);
            if (field != std::string::npos)
                field++;
        }
        if (field == std::string::npos)
            return "";
        return line.substr(field, line.find(':', field) - field);
    }
    return "";
}

static std::string Filled(std::string folder, const std::string &home, const std::string &user)
{
    const char *names[2] = {"${HOME}", "${USER}"};
    const std::string values[2] = {home, user};
    for (int i = 0; i < 2; i++)
        for (size_t at; (at = folder.find(names[i])) != std::string::npos;)
            folder.replace(at, strlen(names[i]), values[i]);
    return folder;
}

std::vector<std::string> PdfFolders()
{
    std::vector<std::string> folders;
    std::string chosen = EnvText("HOURWISE_PDF_DIR");
    if (!chosen.empty()) {
        folders.push_back(UnixToWindows(chosen));
        return folders;
    }
    // cups-pdf fills in the home of the job's user from the user database;
    // Wine knows the user as WINEUSERNAME and its home as WINEHOMEDIR
    std::string user = EnvText("WINEUSERNAME");
    if (user.empty())
        user = EnvText("USERNAME");
    std::string wineHome = EnvText("WINEHOMEDIR");
    if (wineHome.compare(0, 4, "\\??\\") == 0)
        wineHome = wineHome.substr(4);
    wineHome = wineHome.size() > 2 && wineHome[1] == ':' ? WindowsToUnix(wineHome) : "";
    std::string out = ConfiguredOut();
    std::string candidates[3] = {Filled(out, PasswdHome(user), user), Filled(out, wineHome, user),
                                 "/var/spool/cups-pdf/ANONYMOUS"};
    for (const std::string &folder : candidates) {
        std::string windows = UnixToWindows(folder);
        if (std::find(folders.begin(), folders.end(), windows) == folders.end())
            folders.push_back(windows);
    }
    return folders;
}

std::string PdfFolder()
{
    std::string all;
    for (const std::string &folder : PdfFolders())
        all += (all.empty() ? "" : ", ") + folder;
    return all;
}


// A shell command run as a Unix program. Wine may see such a program end
// before it has written everything, so the command's own last step renames
// its output into place, and the output is taken once it is there.
static std::string RunUnix(const std::string &command, int deadlineMs = 60000)
{
    static int runs;
    char base[MAX_PATH];
    snprintf(base, sizeof base, "/tmp/hourwise-run-%lu-%d", GetCurrentProcessId(), ++runs);
    std::string script = std::string("{ ") + command + "\n} >" + base + ".part 2>/dev/null\nmv -f " +
                         base + ".part " + base + ".out\n";
    std::string scriptPath = UnixToWindows(std::string(base) + ".sh");
    std::string outPath = UnixToWindows(std::string(base) + ".out");
    HANDLE file = CreateFileA(scriptPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, script.data(), (DWORD)script.size(), &written, NULL);
        CloseHandle(file);
    }
    std::string line = std::string("Z:\\bin\\sh ") + base + ".sh";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back(0);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (written != script.size() ||
        !CreateProcessA(NULL, commandLine.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        ADD_FAILURE() << "cannot run: " << command;
        return "";
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DWORD deadline = GetTickCount() + (DWORD)deadlineMs;
    while (GetFileAttributesA(outPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if ((LONG)(GetTickCount() - deadline) >= 0) {
            ADD_FAILURE() << "not done within " << deadlineMs << " ms: " << command;
            return "";
        }
        Sleep(20);
    }
    std::string output = FileBytes(std::wstring(outPath.begin(), outPath.end()));
    DeleteFileA(outPath.c_str());
    DeleteFileA(scriptPath.c_str());
    return output;
}

static std::string Quoted(const std::string &unixPath)
{
    return "'" + unixPath + "'";
}

std::string PdfText(const std::string &pdf)
{
    return RunUnix("/usr/bin/pdftotext -layout " + Quoted(WindowsToUnix(pdf)) + " -");
}

// The jobs of the queue PDF that the spooler lists: completed ones or all.
static std::vector<int> PdfJobs(bool completedOnly)
{
    std::string list = RunUnix(std::string("/usr/bin/lpstat -W ") +
                               (completedOnly ? "completed" : "all") + " -o PDF");
    std::vector<int> jobs;
    for (size_t at = 0; (at = list.find("PDF-", at)) != std::string::npos; at += 4)
        if (at == 0 || list[at - 1] == '\n')
            jobs.push_back(atoi(list.c_str() + at + 4));
    return jobs;
}

int LastPdfJob()
{
    int last = 0;
    for (int job : PdfJobs(false))
        last = job > last ? job : last;
    return last;
}

// The file cups-pdf wrote for a job: its name ends in "-job_<id>.pdf".
static std::string JobFile(int job)
{
    char pattern[32];
    snprintf(pattern, sizeof pattern, "\\*-job_%d.pdf", job);
    for (const std::string &folder : PdfFolders()) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        FindClose(search);
        return folder + "\\" + found.cFileName;
    }
    return "";
}

PrintedPdf FindPrintedPdf(int afterJob, const std::string &marker, int deadlineMs)
{
    PrintedPdf printed = {0, "", ""};
    std::vector<int> looked;
    DWORD deadline = GetTickCount() + (DWORD)deadlineMs;
    for (;;) {
        for (int job : PdfJobs(true)) {
            if (job <= afterJob || std::find(looked.begin(), looked.end(), job) != looked.end())
                continue;
            looked.push_back(job);
            std::string file = JobFile(job);
            std::string text = file.empty() ? "" : PdfText(file);
            if (Squeezed(text).find(marker) != std::string::npos) {
                printed.job = job;
                printed.file = file;
                printed.text = text;
                return printed;
            }
        }
        if ((LONG)(GetTickCount() - deadline) >= 0)
            break;
        Sleep(250);
    }
    ADD_FAILURE() << "no job after " << afterJob << " of the queue PDF printed \"" << marker
                  << "\" within " << deadlineMs << " ms (files in " << PdfFolder() << ")";
    return printed;
}

bool PrintedBetween(int afterJob, int beforeJob, const std::string &marker)
{
    for (int job : PdfJobs(true)) {
        if (job <= afterJob || job >= beforeJob)
            continue;
        std::string file = JobFile(job);
        if (!file.empty() && Squeezed(PdfText(file)).find(marker) != std::string::npos)
            return true;
    }
    return false;
}

std::string UniqueMarker(const char *text)
{
    static int count;
    char marker[64];
    snprintf(marker, sizeof marker, "%s %lu.%d", text, GetCurrentProcessId(), ++count);
    return marker;
}

std::string Squeezed(const std::string &text)
{
    // the PDF's hyphen glyph reads back as a soft hyphen (UTF-8 C2 AD)
    std::string plain;
    for (size_t i = 0; i < text.size(); i++) {
        if ((unsigned char)text[i] == 0xC2 && i + 1 < text.size() &&
            (unsigned char)text[i + 1] == 0xAD) {
            plain += '-';
            i++;
        } else {
            plain += text[i];
        }
    }
    std::string out;
    bool blank = false;
    for (char c : plain) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = true;
            continue;
        }
        if (blank && !out.empty() && out.back() != '\f')
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

int PageCount(const std::string &pdfText)
{
    int pages = 0;
    for (char c : pdfText)
        pages += c == '\f';
    return pages;
}
