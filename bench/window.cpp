/* The real main window in the benchmark's process, and the made-up rows
   its list is filled with. */

#include "bench.h"

#include <commctrl.h>
#include <psapi.h>

#include <stdio.h>
#include <string.h>

#include "app.h"
#include "keptformat.h"
#include "keptlist.h"
#include "numtext.h"
#include "resource.h"
#include "settings.h"
#include "totals.h"

void Pump(void)
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

void StartWindow(void)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    LoadStringA(instance, IDS_APP_TITLE, AppTitle, TITLE_SIZE);
    LoadStringA(instance, IDS_WINDOW_CLASS, WindowClassName, TITLE_SIZE);
    RegisterMainWindowClass(instance);
    CreateMainWindow(instance, SW_SHOW);
    SetForegroundWindow(hMainWnd);
    Pump();
}

int RowCount(void)
{
    return (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
}

void SampleTimes(int row, double times[8])
{
    static const double days[4][8] = {
        {8.00, 12.00, 12.50, 17.00, 0, 0, 0, 0},
        {7.25, 11.75, 12.25, 16.50, 17.00, 19.25, 0, 0},
        {9.10, 13.40, 14.00, 18.35, 0, 0, 0, 0},
        {6.00, 10.00, 10.25, 14.25, 15.00, 18.00, 19.00, 21.50},
    };
    memcpy(times, days[row % 4], sizeof days[0]);
}

void AppendRow(const double times[8])
{
    int row = RowCount();
    InsertEntryTimes(row, row + 1, times, 0);
}

void FillRows(int count)
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
    if (ListIsKept) { /* the kept file holds these rows before any command is timed */
        ReadKeptLinesFromList();
        KeptListUnsaved = 1;
        SaveKeptList();
    }
    Pump();
}

void SelectRow(int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hEntryList, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

void Click(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
}

double GrandTotalReads(int rows)
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

SIZE_T WorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters;
    ZeroMemory(&counters, sizeof counters);
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return counters.WorkingSetSize;
}

/* The kept file with rows made-up rows, as the program writes it; 0 when it
   cannot be written. */
int WriteKeptRows(int rows)
{
    HANDLE file = CreateFileW(KeptFilePath(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    char line[KEPT_LINE_SIZE + NUMBER_TEXT_SIZE];
    DWORD written;
    int good = WriteFile(file, line, (DWORD)FormatKeptHeader(line, rows + 1LL), &written, NULL);
    for (int row = 0; row < rows && good; row++) {
        double times[8];
        SampleTimes(row, times);
        int length = snprintf(line, sizeof line, "%d", row + 1);
        for (int k = 0; k < 8; k++) {
            line[length++] = '\t';
            length += FormatFixed(line + length, sizeof line - (size_t)length, times[k], 8, 2);
        }
        line[length++] = '\r';
        line[length++] = '\n';
        good = WriteFile(file, line, (DWORD)length, &written, NULL);
    }
    CloseHandle(file);
    return good;
}
