/* Start-up of Hourwise.exe to its main window, with no kept list and with
   1,000 and 10,000 kept rows, and the working sets of the program and of the
   benchmark's own main window. */

#include "bench.h"

#include <stdio.h>
#include <string.h>

#include "app.h"
#include "keptlist.h"

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

/* The benchmark's own window lets the list go, so that the program started
   keeps it and reads it back; the file is emptied again at the end. */
void BenchStartUp(void)
{
    Heading("Start-up and memory");
    CloseKeptList();
    static const struct {
        int rows;
        double target;
    } KEPT[3] = {{0, 0.150}, {1000, 0}, {10000, 0.500}};
    SIZE_T programSet = 0;
    for (int k = 0; k < 3; k++) {
        if (!WriteKeptRows(KEPT[k].rows)) {
            Row("start-up of Hourwise.exe", "no kept file", "", "", "");
            return;
        }
        double runs[MAX_REPEATS];
        int repeats = 5, good = 0;
        for (int r = 0; r < repeats; r++) {
            PROCESS_INFORMATION process;
            double t = StartProgram(&process);
            if (t < 0) {
                Row("start-up of Hourwise.exe", "failed", "", "", "");
                return;
            }
            runs[good++] = t;
            Sleep(300);
            if (k == 0 && r == repeats - 1)
                programSet = WorkingSet(process.hProcess);
            StopProgram(&process);
        }
        char what[80], value[32], target[64] = "(process start included)";
        snprintf(what, sizeof what, "start-up of Hourwise.exe, %d kept rows", KEPT[k].rows);
        double median = Median(runs, good);
        snprintf(value, sizeof value, "%.0f ms", median * 1e3);
        if (KEPT[k].target > 0) {
            char verdict[16];
            Verdict(verdict, sizeof verdict, median < KEPT[k].target);
            snprintf(target, sizeof target, "< %.0f ms, process start included: %s",
                     KEPT[k].target * 1e3, verdict);
        }
        Row(what, value, "", "", target);
    }
    WriteKeptRows(0);
    char value[32];
    snprintf(value, sizeof value, "%.1f MB", programSet / 1048576.0);
    Row("working set of Hourwise.exe after start-up", value, "", "", "");
}

void BenchMemory(SIZE_T emptySet)
{
    char value[32];
    snprintf(value, sizeof value, "%.1f MB", emptySet / 1048576.0);
    Row("working set, bench's main window, empty list", value, "", "", "");
    FillRows(10000);
    snprintf(value, sizeof value, "%.1f MB", WorkingSet(GetCurrentProcess()) / 1048576.0);
    Row("working set, bench's main window, 10,000 rows", value, "", "", "");
}
