/* Printing timed: a print job of 100 and 1,000 entries to a recording
   device context, and to the CUPS PDF queue from the Page Setup OK to
   PrintTimesheet's return, with the pages of each. */

#include "bench.h"

#include <stdio.h>
#include <string.h>

#include "app.h"
#include "print.h"

static int RecordedPages;

static int WINAPI RecordStartDoc(HDC, const DOCINFOA *) { return 1; }
static int WINAPI RecordStartPage(HDC) { RecordedPages++; return 1; }
static int WINAPI RecordEndPage(HDC) { return 1; }
static int WINAPI RecordEndDoc(HDC) { return 1; }
static int WINAPI RecordAbortDoc(HDC) { return 1; }
static BOOL WINAPI RecordDeleteDC(HDC dc)
{
    HENHMETAFILE job = CloseEnhMetaFile(dc);
    if (job)
        DeleteEnhMetaFile(job);
    return job != NULL;
}

static const PrintDeviceCalls RecordingCalls = {
    RecordStartDoc, RecordStartPage, RecordEndPage, RecordEndDoc, RecordAbortDoc, RecordDeleteDC,
};

/* Answers every dialog and message box of the thread with OK from a timer,
   and notes when the Page Setup dialog was answered. */
static double DialogAnsweredAt;
static int BoxesAnswered;

static BOOL CALLBACK AnswerDialog(HWND window, LPARAM)
{
    char name[16];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) &&
        strcmp(name, "#32770") == 0) {
        if (GetDlgItem(window, 0xFFFF) && !GetDlgItem(window, 0x0483))
            BoxesAnswered++;
        DialogAnsweredAt = Seconds();
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(window, IDOK));
    }
    return TRUE;
}

static void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0);
}

static HDC ReferencePrinter(void)
{
    UINT_PTR timer = SetTimer(NULL, 0, 50, AnswerTimer);
    HDC dc = SetUpPrinter(hMainWnd);
    KillTimer(NULL, timer);
    Pump();
    return dc;
}

static double RecordedJob(HDC printer, int *pages)
{
    HDC dc = CreateEnhMetaFileA(printer, NULL, NULL, NULL);
    if (!dc)
        return -1;
    DOCINFOA document;
    ZeroMemory(&document, sizeof document);
    document.cbSize = sizeof document;
    document.lpszDocName = SHEET_DOCUMENT_NAME;
    RecordedPages = 0;
    double start = Seconds();
    int ok = RunPrintJob(hMainWnd, dc, hEntryList, &document, &RecordingCalls);
    double elapsed = Seconds() - start;
    *pages = RecordedPages;
    return ok ? elapsed : -1;
}

/* ---- the PDF of the CUPS queue ---- */

static void EnvText(const char *name, char *out, size_t size)
{
    out[0] = 0;
    DWORD n = GetEnvironmentVariableA(name, out, (DWORD)size);
    if (n == 0 || n >= size)
        out[0] = 0;
}

/* Replaces the first "${NAME}" of text by value. */
static void Substitute(char *text, size_t size, const char *name, const char *value)
{
    char *at = strstr(text, name);
    if (!at)
        return;
    char rest[MAX_PATH];
    snprintf(rest, sizeof rest, "%s", at + strlen(name));
    *at = 0;
    size_t used = strlen(text);
    snprintf(text + used, size - used, "%s%s", value, rest);
}

/* The folder of cups-pdf's files as a Windows path (HOURWISE_PDF_DIR, or the
   "Out" line of /etc/cups/cups-pdf.conf). */
static void PdfFolder(char *out, size_t size)
{
    char folder[MAX_PATH];
    EnvText("HOURWISE_PDF_DIR", folder, sizeof folder);
    if (!folder[0]) {
        snprintf(folder, sizeof folder, "/var/spool/cups-pdf/${USER}");
        FILE *conf = fopen("Z:\\etc\\cups\\cups-pdf.conf", "r");
        char line[512];
        while (conf && fgets(line, sizeof line, conf)) {
            if (strncmp(line, "Out", 3) == 0 && (line[3] == ' ' || line[3] == '\t')) {
                char *value = line + 3;
                while (*value == ' ' || *value == '\t')
                    value++;
                value[strcspn(value, "\r\n")] = 0;
                snprintf(folder, sizeof folder, "%s", value);
            }
        }
        if (conf)
            fclose(conf);
        /* Wine hides HOME and USER: the home comes as WINEHOMEDIR, a path
           on drive Z:, and the user is the name of the profile's folder. */
        char home[MAX_PATH], user[64], profile[MAX_PATH];
        EnvText("HOME", home, sizeof home);
        EnvText("USER", user, sizeof user);
        if (!home[0]) {
            char wineHome[MAX_PATH];
            EnvText("WINEHOMEDIR", wineHome, sizeof wineHome);
            const char *drive = strstr(wineHome, "Z:");
            if (drive) {
                snprintf(home, sizeof home, "%s", drive + 2);
                for (char *c = home; *c; c++)
                    if (*c == '\\')
                        *c = '/';
            }
        }
        EnvText("USERPROFILE", profile, sizeof profile);
        if (!user[0] && strrchr(profile, '\\'))
            snprintf(user, sizeof user, "%s", strrchr(profile, '\\') + 1);
        Substitute(folder, sizeof folder, "${HOME}", home);
        Substitute(folder, sizeof folder, "${USER}", user[0] ? user : "root");
    }
    snprintf(out, size, "Z:%s", folder);
    for (char *c = out; *c; c++)
        if (*c == '/')
            *c = '\\';
}

/* Pages of a PDF: its page objects. */
static int PdfPages(const char *path)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return -1;
    static char data[8 << 20];
    size_t n = fread(data, 1, sizeof data - 1, file);
    fclose(file);
    data[n] = 0;
    int pages = 0;
    for (size_t i = 0; i + 10 < n; i++)
        if (data[i] == '/' && memcmp(data + i, "/Type", 5) == 0) {
            size_t j = i + 5;
            while (j < n && (data[j] == ' ' || data[j] == '\r' || data[j] == '\n'))
                j++;
            if (j + 5 <= n && memcmp(data + j, "/Page", 5) == 0 && data[j + 5] != 's')
                pages++;
        }
    return pages;
}

/* Waits for a complete PDF newer than since with the expected pages (the
   queue's folder is shared with every other job of the user); the page
   count of the last one seen, or -1 when none came. */
static int WaitForPdfPages(const FILETIME *since, int expected, int timeoutMs)
{
    int seen = -1;
    char folder[MAX_PATH], pattern[MAX_PATH + 8], newest[2 * MAX_PATH];
    PdfFolder(folder, sizeof folder);
    snprintf(pattern, sizeof pattern, "%s\\*.pdf", folder);
    DWORD deadline = GetTickCount() + (DWORD)timeoutMs;
    ULONGLONG lastSize = 0;
    char lastSeen[2 * MAX_PATH] = "";
    do {
        newest[0] = 0;
        FILETIME newestTime = *since;
        ULONGLONG newestSize = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (CompareFileTime(&found.ftLastWriteTime, &newestTime) >= 0) {
                    newestTime = found.ftLastWriteTime;
                    snprintf(newest, sizeof newest, "%s\\%s", folder, found.cFileName);
                    newestSize = ((ULONGLONG)found.nFileSizeHigh << 32) | found.nFileSizeLow;
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        if (newest[0] && strcmp(newest, lastSeen) == 0 && newestSize == lastSize && newestSize > 0) {
            int pages = PdfPages(newest);
            if (pages > 0)
                seen = pages;
            if (pages == expected)
                return pages;
        }
        snprintf(lastSeen, sizeof lastSeen, "%s", newest);
        lastSize = newestSize;
        Sleep(250);
    } while (GetTickCount() < deadline);
    return seen;
}

void BenchPrinting(void)
{
    Heading("Printing (median; the CUPS job is timed from the Page Setup OK to PrintTimesheet's return)");
    HDC printer = ReferencePrinter();
    if (!printer) {
        Row("printing", "no printer", "", "", "");
        return;
    }
    static const int sizes[2] = {100, 1000};
    int recorded[2] = {0, 0};
    for (int s = 0; s < 2; s++) {
        FillRows(sizes[s]);
        double runs[MAX_REPEATS];
        int pages = 0, repeats = 5;
        for (int r = 0; r < repeats; r++)
            runs[r] = RecordedJob(printer, &pages);
        char what[64], value[48];
        snprintf(what, sizeof what, "%d entries to a recording device context", sizes[s]);
        snprintf(value, sizeof value, "%.3f s", Median(runs, repeats));
        char pageText[32];
        snprintf(pageText, sizeof pageText, "%d pages", pages);
        Row(what, value, pageText, "", "");
        recorded[s] = pages;
    }
    DeleteDC(printer);

    for (int s = 0; s < 2; s++) {
        FillRows(sizes[s]);
        double runs[MAX_REPEATS];
        int repeats = 3, pages = -1;
        for (int r = 0; r < repeats; r++) {
            FILETIME since;
            GetSystemTimeAsFileTime(&since);
            BoxesAnswered = 0;
            UINT_PTR timer = SetTimer(NULL, 0, 50, AnswerTimer);
            int ok = PrintTimesheet(hMainWnd);
            double end = Seconds();
            KillTimer(NULL, timer);
            Pump();
            runs[r] = ok && !BoxesAnswered ? end - DialogAnsweredAt : 1e9;
            /* one job at a time in the queue */
            int got = WaitForPdfPages(&since, recorded[s], 120000);
            if (r == 0 || got == recorded[s])
                pages = got;
        }
        double t = Median(runs, repeats);
        char what[64], value[48], pageText[32], target[64] = "";
        snprintf(what, sizeof what, "%d entries to the CUPS PDF queue", sizes[s]);
        if (t >= 1e9)
            snprintf(value, sizeof value, "failed");
        else
            snprintf(value, sizeof value, "%.3f s", t);
        if (pages > 0)
            snprintf(pageText, sizeof pageText, pages == recorded[s] ? "%d pages" : "%d pages?", pages);
        else
            snprintf(pageText, sizeof pageText, "no PDF");
        if (sizes[s] == 1000) {
            char verdict[16];
            Verdict(verdict, sizeof verdict, t < 10);
            snprintf(target, sizeof target, "< 10 s: %s", verdict);
        }
        Row(what, value, pageText, "", target);
    }
}
