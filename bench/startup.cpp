/* Start-up of Hourwise.exe to its main window, and the working sets of the
   program and of the benchmark's own main window. */

#include "bench.h"

#include <stdio.h>
#include <string.h>

#include "app.h"

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

void BenchStartUp(void)
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

void BenchMemory(SIZE_T emptySet)
{
    char value[32];
    snprintf(value, sizeof value, "%.1f MB", emptySet / 1048576.0);
    Row("working set, bench's main window, empty list", value, "", "", "");
    FillRows(10000);
    snprintf(value, sizeof value, "%.1f MB", WorkingSet(GetCurrentProcess()) / 1048576.0);
    Row("working set, bench's main window, 10,000 rows", value, "", "", "");
}
