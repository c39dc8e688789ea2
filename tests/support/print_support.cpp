#include "print_support.h"

#include "app.h"
#include "resource.h"
#include "timecalc.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>

// ---- rows -------------------------------------------------------------------

void AppendEntryRow(const double times[8])
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
        FormatFixed(text, sizeof text, times[k - 1], 8, 2);
        ZeroMemory(&item, sizeof item);
        item.iSubItem = k;
        item.pszText = text;
        SendMessageA(hEntryList, LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    }
}

void ClearEntryRows()
{
    SendMessageA(hEntryList, LVM_DELETEALLITEMS, 0, 0);
}

// ---- the dialogs of a print run ------------------------------------------------

static std::string TextOf(HWND window)
{
    char text[512] = {0};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static std::string ClassOf(HWND window)
{
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    return name;
}

static BOOL CALLBACK CollectDialog(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && ClassOf(window) == "#32770")
        ((std::vector<HWND> *)list)->push_back(window);
    return TRUE;
}

// The Page Setup dialog is told from a message box by its margin fields.
static bool IsPageSetup(HWND dialog)
{
    return GetDlgItem(dialog, 0x0483) != NULL || GetDlgItem(dialog, 0x0471) != NULL;
}

static void TypeInto(HWND edit, const char *text)
{
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)"");
    for (const char *c = text; *c; c++)
        SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
}

static void Answer(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

static struct {
    PrintScript script;
    PrintRunResult *result;
    HWND printDialog;
    std::vector<HWND> answered;
    DWORD deadline;
} Run;

static void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD)
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, (LPARAM)&dialogs);
    if (GetTickCount() > Run.deadline) {
        Run.result->timedOut = true;
        for (HWND dialog : dialogs)
            if (dialog != Run.printDialog)
                Answer(dialog, IDCANCEL);
        if (Run.printDialog && IsWindow(Run.printDialog))
            EndDialog(Run.printDialog, -2);
        return;
    }
    for (HWND dialog : dialogs) {
        bool seen = false;
        for (HWND done : Run.answered)
            seen = seen || done == dialog;
        if (seen || dialog == Run.printDialog)
            continue;
        HWND owner = GetWindow(dialog, GW_OWNER);
        if (!Run.printDialog && owner == hMainWnd) {
            Run.printDialog = dialog;
            PrintRunResult *result = Run.result;
            result->sawPrintDialog = true;
            result->printDialog = dialog;
            result->shownId = TextOf(GetDlgItem(dialog, IDC_EMPLOYEEID));
            result->shownName = TextOf(GetDlgItem(dialog, IDC_EMPLOYEENAME));
            result->shownDate = TextOf(GetDlgItem(dialog, IDC_PERIODENDDATE));
            if (Run.script.employeeId)
                TypeInto(GetDlgItem(dialog, IDC_EMPLOYEEID), Run.script.employeeId);
            if (Run.script.employeeName)
                TypeInto(GetDlgItem(dialog, IDC_EMPLOYEENAME), Run.script.employeeName);
            if (Run.script.periodEndDate)
                TypeInto(GetDlgItem(dialog, IDC_PERIODENDDATE), Run.script.periodEndDate);
            Answer(dialog, Run.script.printAnswer);
        } else if (IsPageSetup(dialog)) {
            Run.result->sawPageSetup = true;
            Run.result->pageSetupOwner = owner;
            Answer(dialog, Run.script.pageSetupAnswer);
        } else {
            SeenBox box;
            box.caption = TextOf(dialog);
            box.text = TextOf(GetDlgItem(dialog, 0xFFFF));
            box.owner = owner;
        box.owner = owner;
            Run.result->boxes.push_back(box);
            Answer(dialog, IDOK);
        }
        Run.answered.push_back(dialog);
    }
}

PrintRunResult RunPrintDialog(const PrintScript &script, void (*open)())
{
    PrintRunResult result;
    result.dialogResult = 0;
    result.sawPrintDialog = false;
    result.printDialog = NULL;
    result.pageSetupOwner = NULL;
    result.sawPageSetup = false;
    result.timedOut = false;
    Run.script = script;
    Run.result = &result;
    Run.printDialog = NULL;
    Run.answered.clear();
    Run.deadline = GetTickCount() + 60000;
    UINT_PTR timer = SetTimer(NULL, 0, 50, ScriptTimer);
    if (open) {
        open();
        result.dialogResult = -1;
    } else {
        result.dialogResult = DialogBoxParamA(GetModuleHandleA(NULL),
                                              MAKEINTRESOURCEA(IDD_PRINTTIMESHEET), hMainWnd,
                                              PrintTimesheetDlgProc, 0);
    }
    KillTimer(NULL, timer);
    Run.result = NULL;
    return result;
}

static std::vector<SeenBox> AnsweredBoxes;
static std::vector<HWND> AnsweredBoxWindows;
static UINT_PTR BoxTimer;

static void CALLBACK BoxTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, (LPARAM)&dialogs);
    for (HWND dialog : dialogs) {
        bool seen = false;
        for (HWND done : AnsweredBoxWindows)
            seen = seen || done == dialog;
        if (seen)
            continue;
        HWND owner = GetWindow(dialog, GW_OWNER);
        SeenBox box;
        box.caption = TextOf(dialog);
        box.text = TextOf(GetDlgItem(dialog, 0xFFFF));
        box.owner = owner;
        AnsweredBoxes.push_back(box);
        AnsweredBoxWindows.push_back(dialog);
        Answer(dialog, IDOK);
    }
}

void StartAnsweringBoxes()
{
    AnsweredBoxes.clear();
    AnsweredBoxWindows.clear();
    BoxTimer = SetTimer(NULL, 0, 50, BoxTimerProc);
}

std::vector<SeenBox> StopAnsweringBoxes()
{
    KillTimer(NULL, BoxTimer);
    BoxTimer = 0;
    return AnsweredBoxes;
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
    std::string out;
    for (int i = 0; i < count; i++)
        out += text[i] < 128 ? (char)text[i] : '?';
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

static std::string ReadWholeFile(const std::string &path)
{
    std::string data;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return data;
    char buffer[4096];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0)
        data.append(buffer, got);
    CloseHandle(file);
    return data;
}

// cups-pdf's "Out" setting as written in its configuration.
static std::string ConfiguredOut()
{
    std::string folder = "/var/spool/cups-pdf/${USER}";
    std::string conf = ReadWholeFile("Z:\\etc\\cups\\cups-pdf.conf");
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
    std::string passwd = ReadWholeFile("Z:\\etc\\passwd");
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

FILETIME Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return now;
}

static bool Complete(const std::string &path)
{
    std::string data = ReadWholeFile(path);
    size_t tail = data.size() > 64 ? data.size() - 64 : 0;
    return data.compare(0, 5, "%PDF-") == 0 && data.find("%%EOF", tail) != std::string::npos;
}

std::string WaitForPdf(FILETIME since, int timeoutMs)
{
    std::vector<std::string> folders = PdfFolders();
    DWORD deadline = GetTickCount() + (DWORD)timeoutMs;
    std::string lastSeen;
    ULONGLONG lastSize = 0;
    do {
        std::string newest;
        FILETIME newestTime = since;
        ULONGLONG newestSize = 0;
        for (const std::string &folder : folders) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((folder + "\\*.pdf").c_str(), &found);
            if (search == INVALID_HANDLE_VALUE)
                continue;
            do {
                if (CompareFileTime(&found.ftLastWriteTime, &newestTime) >= 0) {
                    newestTime = found.ftLastWriteTime;
                    newest = folder + "\\" + found.cFileName;
                    newestSize = ((ULONGLONG)found.nFileSizeHigh << 32) | found.nFileSizeLow;
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        // done when the file has kept its size over one look and is whole
        if (!newest.empty() && newest == lastSeen && newestSize == lastSize && Complete(newest))
            return newest;
        lastSeen = newest;
        lastSize = newestSize;
        Sleep(250);
    } while (GetTickCount() < deadline);
    return "";
}

std::string PdfText(const std::string &pdf)
{
    char out[MAX_PATH];
    snprintf(out, sizeof out, "/tmp/hourwise-pdftext-%lu.txt", GetCurrentProcessId());
    std::string outWindows = UnixToWindows(out);
    DeleteFileA(outWindows.c_str());
    std::string command = "Z:\\usr\\bin\\pdftotext -layout \"" + WindowsToUnix(pdf) + "\" \"" +
                          out + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return "";
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // the Unix program may still be writing when its Windows side has ended:
    // the text is taken when two reads a tenth of a second apart agree
    std::string text, before;
    for (int i = 0; i < 50; i++) {
        text = ReadWholeFile(outWindows);
        if (!text.empty() && text == before)
            break;
        before = text;
        Sleep(100);
    }
    DeleteFileA(outWindows.c_str());
    return text;
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
