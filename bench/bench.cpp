/* Hourwise benchmark: times the time evaluator, the entry commands of the real
   main window with many rows, printing, start-up and memory, and prints one
   table of medians. Runs under Wine on a display (scripts/bench). */

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app.h"
#include "print.h"
#include "resource.h"
#include "settings.h"
#include "timecalc.h"
#include "totals.h"

/* ---- timing -------------------------------------------------------------- */

static double TicksPerSecond;

static double Seconds(void)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / TicksPerSecond;
}

static int CompareDoubles(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : (x > y ? 1 : 0);
}

#define MAX_REPEATS 64

static double Median(double *values, int count)
{
    qsort(values, (size_t)count, sizeof values[0], CompareDoubles);
    return count % 2 ? values[count / 2] : (values[count / 2 - 1] + values[count / 2]) / 2;
}

/* ---- the table ----------------------------------------------------------- */

static void Heading(const char *title)
{
    printf("\n%s\n", title);
    fflush(stdout);
}

static void Row(const char *what, const char *value, const char *floor, const char *ratio,
                const char *target)
{
    printf("  %-44s %14s %14s %8s  %s\n", what, value, floor, ratio, target);
    fflush(stdout);
}

static void Verdict(char *out, size_t size, int met)
{
    snprintf(out, size, "%s", met ? "met" : "MISSED");
}

/* ---- the main window ----------------------------------------------------- */

static void Pump(void)
{
    MSG msg;
    for (int round = 0; round < 3; round++)
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

static void StartWindow(void)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    LoadStringA(instance, IDS_APP_TITLE, AppTitle, TITLE_SIZE);
    LoadStringA(instance, IDS_WINDOW_CLASS, WindowClassName, TITLE_SIZE);
    RegisterMainWindowClass(instance);
    CreateMainWindow(instance, SW_SHOW);
    SetForegroundWindow(hMainWnd);
    Pump();
}

static int RowCount(void)
{
    return (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
}

/* The times of a made-up row: a day of two or three pairs. */
static void SampleTimes(int row, double times[8])
{
    static const double days[4][8] = {
        {8.00, 12.00, 12.50, 17.00, 0, 0, 0, 0},
        {7.25, 11.75, 12.25, 16.50, 17.00, 19.25, 0, 0},
        {9.10, 13.40, 14.00, 18.35, 0, 0, 0, 0},
        {6.00, 10.00, 10.25, 14.25, 15.00, 18.00, 19.00, 21.50},
    };
    memcpy(times, days[row % 4], sizeof days[0]);
}

/* Appends a row as Add writes it: "%d" number, "%8.2f" times. */
static void AppendRow(const double times[8])
{
    int row = RowCount();
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

/* Fills the list to count rows, as if they had been added one by one. */
static void FillRows(int count)
{
    SendMessageA(hEntryList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hEntryList, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < count; row++) {
        double times[8];
        SampleTimes(row, times);
        AppendRow(times);
    }
    SendMessageA(hEntryList, WM_SETREDRAW, TRUE, 0);
    EntryCounter = count;
    UpdateGrandTotal();
    EnableWindow(hDeleteButton, count > 0);
    Pump();
}

static void SelectRow(int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hEntryList, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

/* The bare reads that recomputing the grand total over rows rows makes. */
static double FloorSeconds(int rows)
{
    char text[CELL_TEXT_SIZE];
    LVITEMA item;
    double start = Seconds();
    for (int row = 0; row < rows; row++)
        for (int k = 1; k <= 8; k++) {
            ZeroMemory(&item, sizeof item);
            item.iSubItem = k;
            item.pszText = text;
            item.cchTextMax = CELL_TEXT_SIZE;
            SendMessageA(hEntryList, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
        }
    return Seconds() - start;
}

static double MedianFloor(int rows, int repeats)
{
    double runs[MAX_REPEATS];
    for (int i = 0; i < repeats; i++)
        runs[i] = FloorSeconds(rows);
    return Median(runs, repeats);
}

/* The repaints that followed the commands timed, apart from them: painting
   shows only the visible rows and does not grow with the list. */
static double Repaints[3 * MAX_REPEATS];
static int RepaintCount;

static void RepaintAfter(double from)
{
    UpdateWindow(hMainWnd);
    Pump();
    if (RepaintCount < 3 * MAX_REPEATS)
        Repaints[RepaintCount++] = Seconds() - from;
}

static void Click(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
}

/* One Add of a typed entry with rows rows in the list; the entry is then
   taken out again outside the timing. */
static double TimeAdd(void)
{
    Click(hNewButton);
    Pump();
    static const char *typed[8] = {" 8.00", "12.00", "12.50", "17.00", "", "", "", ""};
    for (int i = 0; i < 8; i++)
        SetWindowTextA(hTimeFields[i], typed[i]);
    double start = Seconds();
    Click(hAddButton);
    double elapsed = Seconds() - start;
    RepaintAfter(start + elapsed);
    SendMessageA(hEntryList, LVM_DELETEITEM, (WPARAM)(RowCount() - 1), 0);
    EntryCounter = RowCount();
    return elapsed;
}

/* One Delete of a row in the middle; the row is put back outside the timing. */
static double TimeDelete(void)
{
    int rows = RowCount();
    SelectRow(rows / 2);
    Pump();
    double start = Seconds();
    Click(hDeleteButton);
    double elapsed = Seconds() - start;
    RepaintAfter(start + elapsed);
    double times[8];
    SampleTimes(rows, times);
    AppendRow(times);
    return elapsed;
}

/* One selection change to another row, which shows it in the editor. */
static double TimeSelect(int turn)
{
    int rows = RowCount();
    int row = (turn * 7919) % rows;
    double start = Seconds();
    SelectRow(row);
    double elapsed = Seconds() - start;
    RepaintAfter(start + elapsed);
    return elapsed;
}

static void BenchCommands(void)
{
    static const int sizes[3] = {100, 1000, 10000};
    Heading("Entry commands in the main window: the command's handling, median (floor: the bare LVM_GETITEMTEXTA reads of one grand total)");
    Row("command, rows in the list", "time", "floor", "ratio", "target");
    for (int s = 0; s < 3; s++) {
        int rows = sizes[s];
        int repeats = rows >= 10000 ? 11 : 21;
        FillRows(rows);
        RepaintCount = 0;

        double runs[MAX_REPEATS];
        char what[64], value[32], floor[32], ratio[16], target[64];

        for (int i = 0; i < repeats; i++)
            runs[i] = TimeAdd();
        double add = Median(runs, repeats);
        double addFloor = MedianFloor(rows + 1, repeats);
        snprintf(what, sizeof what, "Add with %d rows", rows);
        snprintf(value, sizeof value, "%.3f ms", add * 1e3);
        snprintf(floor, sizeof floor, "%.3f ms", addFloor * 1e3);
        snprintf(ratio, sizeof ratio, "%.2fx", add / addFloor);
        if (rows == 10000) {
            char verdict[16];
            Verdict(verdict, sizeof verdict, add <= 1.5 * addFloor && add < 0.050);
            snprintf(target, sizeof target, "<= 1.5x and < 50 ms: %s", verdict);
        } else {
            target[0] = 0;
        }
        Row(what, value, floor, ratio, target);

        for (int i = 0; i < repeats; i++)
            runs[i] = TimeDelete();
        double del = Median(runs, repeats);
        double delFloor = MedianFloor(rows - 1, repeats);
        snprintf(what, sizeof what, "Delete with %d rows", rows);
        snprintf(value, sizeof value, "%.3f ms", del * 1e3);
        snprintf(floor, sizeof floor, "%.3f ms", delFloor * 1e3);
        snprintf(ratio, sizeof ratio, "%.2fx", del / delFloor);
        Row(what, value, floor, ratio, "");

        for (int i = 0; i < repeats; i++)
            runs[i] = TimeSelect(i + 1);
        double sel = Median(runs, repeats);
        snprintf(what, sizeof what, "selection change with %d rows", rows);
        snprintf(value, sizeof value, "%.3f ms", sel * 1e3);
        snprintf(floor, sizeof floor, "%.3f ms", addFloor * 1e3);
        snprintf(ratio, sizeof ratio, "%.2fx", sel / addFloor);
        Row(what, value, floor, ratio, "(shows one row: 8 reads)");
        snprintf(what, sizeof what, "  repaint after each, with %d rows", rows);
        snprintf(value, sizeof value, "%.3f ms", Median(Repaints, RepaintCount) * 1e3);
        Row(what, value, "", "", "(not in the times above)");
    }
}

/* ---- the pure evaluator -------------------------------------------------- */

static void BenchEvaluator(void)
{
    static const char *corpus[] = {
        "8*30", "5-30", "5+30", "8.30", "8", "", "8*5", "8*305", "12-30", "13-30",
        "11-59", "-30", "8*30-15", "8-15*30", "8.5*30", "8:30", "17.25", "7*45", "4-45", "9+15",
        "1e300", "9999999", "nan", "...", "*-+", "99*99", "0.125", "23.99", "12*00", "6-07",
        "10.5", "3+52",
    };
    const int texts = (int)(sizeof corpus / sizeof corpus[0]);
    TimeRules rules;
    rules.starMode = 1;
    rules.minusMode = 5;
    rules.plusMode = 8;
    rules.step = 0.25;
    rules.roundType = 1;

    const int rounds = 20000; /* 640,000 texts a run */
    double runs[MAX_REPEATS];
    volatile double sink = 0;
    int repeats = 7;
    for (int r = 0; r < repeats; r++) {
        double start = Seconds();
        double sum = 0;
        for (int i = 0; i < rounds; i++)
            for (int t = 0; t < texts; t++)
                sum += EvaluateTimeText(corpus[t], &rules);
        runs[r] = Seconds() - start;
        sink = sink + sum;
    }
    double perSecond = (double)rounds * texts / Median(runs, repeats);
    Heading("Time evaluator (EvaluateTimeText over 32 mixed texts, step 0.25; median of 7 runs)");
    char value[32], target[64], verdict[16];
    snprintf(value, sizeof value, "%.0f/s", perSecond);
    Verdict(verdict, sizeof verdict, perSecond > 1e6);
    snprintf(target, sizeof target, "> 1,000,000/s: %s", verdict);
    Row("texts evaluated per second", value, "", "", target);
}

/* ---- start-up and memory ------------------------------------------------- */

static SIZE_T WorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters;
    ZeroMemory(&counters, sizeof counters);
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return counters.WorkingSetSize;
}

struct FoundWindow {
    DWORD processId;
    HWND window;
};

static BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param)
{
    FoundWindow *found = (FoundWindow *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[TITLE_SIZE];
    if (owner == found->processId && IsWindowVisible(window) &&
        GetClassNameA(window, name, sizeof name) && strcmp(name, WindowClassName) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

/* Starts Hourwise.exe of this build and waits for its main window to show;
   seconds until then, or a negative number. Leaves the process running. */
static double StartProgram(PROCESS_INFORMATION *process)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    char *slash = strrchr(path, '\\');
    if (!length || !slash)
        return -1;
    snprintf(slash + 1, sizeof path - (size_t)(slash + 1 - path), "Hourwise.exe");
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    double start = Seconds();
    if (!CreateProcessA(path, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, process))
        return -1;
    WaitForInputIdle(process->hProcess, 20000);
    FoundWindow found = {process->dwProcessId, NULL};
    while (Seconds() - start < 30) {
        EnumWindows(FindProcessWindow, (LPARAM)&found);
        if (found.window)
            return Seconds() - start;
        Sleep(1);
    }
    return -1;
}

static void StopProgram(PROCESS_INFORMATION *process)
{
    FoundWindow found = {process->dwProcessId, NULL};
    EnumWindows(FindProcessWindow, (LPARAM)&found);
    if (found.window)
        PostMessageA(found.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process->hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process->hProcess, 1);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
}

static void BenchStartUp(void)
{
    Heading("Start-up and memory");
    double runs[MAX_REPEATS];
    int repeats = 5, good = 0;
    SIZE_T programSet = 0;
    for (int r = 0; r < repeats; r++) {
        PROCESS_INFORMATION process;
        double t = StartProgram(&process);
        if (t < 0) {
            Row("start-up of Hourwise.exe", "failed", "", "", "");
            return;
        }
        runs[good++] = t;
        Sleep(300);
        if (r == repeats - 1)
            programSet = WorkingSet(process.hProcess);
        StopProgram(&process);
    }
    char value[32];
    snprintf(value, sizeof value, "%.0f ms", Median(runs, good) * 1e3);
    Row("start-up of Hourwise.exe to its main window", value, "", "", "(process start included)");
    snprintf(value, sizeof value, "%.1f MB", programSet / 1048576.0);
    Row("working set of Hourwise.exe after start-up", value, "", "", "");
}

static void BenchMemory(SIZE_T emptySet)
{
    char value[32];
    snprintf(value, sizeof value, "%.1f MB", emptySet / 1048576.0);
    Row("working set, bench's main window, empty list", value, "", "", "");
    FillRows(10000);
    snprintf(value, sizeof value, "%.1f MB", WorkingSet(GetCurrentProcess()) / 1048576.0);
    Row("working set, bench's main window, 10,000 rows", value, "", "", "");
}

/* ---- printing ------------------------------------------------------------ */

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

static void BenchPrinting(void)
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


/* ---- where the time of an Add goes (--profile) ---------------------------- */

static void BenchProfile(int rows)
{
    FillRows(rows);
    char what[80], value[32];
    double runs[MAX_REPEATS];
    int repeats = 9;
    Heading("Where an Add's time goes (median)");

    for (int i = 0; i < repeats; i++)
        runs[i] = FloorSeconds(rows);
    snprintf(what, sizeof what, "bare reads of %d rows", rows);
    snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3);
    Row(what, value, "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        volatile double sum = 0;
        for (int row = 0; row < rows; row++) {
            double times[8];
            ReadEntryTimes(hEntryList, row, times);
            sum = sum + times[0];
        }
        runs[i] = Seconds() - start;
    }
    snprintf(what, sizeof what, "ReadEntryTimes of %d rows", rows);
    snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3);
    Row(what, value, "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        volatile double sum = 0;
        for (int row = 0; row < rows; row++) {
            double times[8];
            SampleTimes(row, times);
            sum = sum + RowHours(times);
        }
        runs[i] = Seconds() - start;
    }
    snprintf(what, sizeof what, "RowHours of %d rows", rows);
    snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3);
    Row(what, value, "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        UpdateGrandTotal();
        runs[i] = Seconds() - start;
    }
    snprintf(what, sizeof what, "UpdateGrandTotal with %d rows", rows);
    snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3);
    Row(what, value, "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        ShowSelectedEntry();
        runs[i] = Seconds() - start;
    }
    Row("ShowSelectedEntry", (snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3), value), "", "", "");

    for (int i = 0; i < repeats; i++) {
        double times[8];
        SampleTimes(i, times);
        double start = Seconds();
        AppendRow(times);
        runs[i] = Seconds() - start;
        SendMessageA(hEntryList, LVM_DELETEITEM, (WPARAM)(RowCount() - 1), 0);
    }
    Row("inserting one row (9 list messages)", (snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3), value), "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        SelectRow((i * 7919) % rows);
        runs[i] = Seconds() - start;
    }
    Row("selecting a row (LVM_SETITEMSTATE)", (snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3), value), "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        for (int k = 0; k < 13; k++)
            SetDlgItemTextA(hMainWnd, k < 8 ? IDC_TIMEIN1 + k : IDC_PAIRTOTAL1 + k - 8, i % 2 ? " 8.00" : "12.50");
        runs[i] = Seconds() - start;
    }
    Row("13 texts of the editor set", (snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3), value), "", "", "");

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        for (int k = 0; k < 8; k++)
            EnableWindow(hTimeFields[k], i % 2);
        runs[i] = Seconds() - start;
    }
    Row("8 fields enabled or disabled", (snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3), value), "", "", "");

    for (int i = 0; i < repeats; i++) {
        InvalidateRect(hMainWnd, NULL, TRUE);
        InvalidateRect(hEntryList, NULL, TRUE);
        double start = Seconds();
        UpdateWindow(hMainWnd);
        UpdateWindow(hEntryList);
        Pump();
        runs[i] = Seconds() - start;
    }
    Row("repainting the whole window", (snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3), value), "", "", "");
}

/* ---- main ------------------------------------------------------------------ */

int main(int argc, char **argv)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    TicksPerSecond = (double)frequency.QuadPart;
    int withPrint = 1, withStartUp = 1, profile = 0, printOnly = 0;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--no-print") == 0)
            withPrint = 0;
        else if (strcmp(argv[i], "--no-startup") == 0)
            withStartUp = 0;
        else if (strcmp(argv[i], "--profile") == 0)
            profile = 1;
        else if (strcmp(argv[i], "--print-only") == 0)
            printOnly = 1;
    }

    printf("Hourwise benchmark (medians of repeated runs)\n");
    if (!printOnly)
        BenchEvaluator();

    StartWindow();
    if (!hMainWnd) {
        printf("the main window could not be made\n");
        return 1;
    }
    SIZE_T emptySet = WorkingSet(GetCurrentProcess());
    if (printOnly) {
        BenchPrinting();
        DestroyWindow(hMainWnd);
        Pump();
        return 0;
    }
    if (profile) {
        BenchProfile(10000);
        DestroyWindow(hMainWnd);
        Pump();
        return 0;
    }
    BenchCommands();
    if (withPrint)
        BenchPrinting();
    if (withStartUp)
        BenchStartUp();
    BenchMemory(emptySet);
    DestroyWindow(hMainWnd);
    Pump();
    return 0;
}
