/* Where the time of an Add goes (--profile): each piece of its work timed
   alone with the list full. */

#include "bench.h"

#include <commctrl.h>
#include <stdio.h>

#include "app.h"
#include "keptlist.h"
#include "resource.h"
#include "timecalc.h"
#include "totals.h"

/* A row of the median of the runs, in milliseconds. */
static void MedianRow(const char *what, double *runs, int count)
{
    char value[32];
    snprintf(value, sizeof value, "%.3f ms", Median(runs, count) * 1e3);
    Row(what, value, "", "", "");
}

void BenchProfile(int rows)
{
    FillRows(rows);
    char what[80];
    double runs[MAX_REPEATS];
    int repeats = 9;
    Heading("Where an Add's time goes (median)");

    for (int i = 0; i < repeats; i++)
        runs[i] = GrandTotalReads(rows);
    snprintf(what, sizeof what, "bare reads of %d rows", rows);
    MedianRow(what, runs, repeats);

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
    MedianRow(what, runs, repeats);

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
    MedianRow(what, runs, repeats);

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        UpdateGrandTotal();
        runs[i] = Seconds() - start;
    }
    snprintf(what, sizeof what, "UpdateGrandTotal with %d rows", rows);
    MedianRow(what, runs, repeats);

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        ShowSelectedEntry();
        runs[i] = Seconds() - start;
    }
    MedianRow("ShowSelectedEntry", runs, repeats);
    ProfilePaySummary();

    for (int i = 0; i < repeats; i++) {
        double times[8];
        SampleTimes(i, times);
        double start = Seconds();
        AppendRow(times);
        runs[i] = Seconds() - start;
        SendMessageA(hEntryList, LVM_DELETEITEM, (WPARAM)(RowCount() - 1), 0);
    }
    MedianRow("inserting one row (9 list messages)", runs, repeats);

    for (int i = 0; i < repeats; i++) {
        KeptListUnsaved = 1;
        double start = Seconds();
        SaveKeptList();
        runs[i] = Seconds() - start;
    }
    MedianRow("saving the kept list (written, flushed, moved)", runs, repeats);

    for (int i = 0; i < repeats; i++) {
        FillRows(0);
        CloseKeptList();
        WriteKeptRows(rows);
        double start = Seconds();
        OpenKeptList();
        runs[i] = Seconds() - start;
    }
    MedianRow("reading the kept list back (as at start)", runs, repeats);

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        SelectRow((i * 7919) % rows);
        runs[i] = Seconds() - start;
    }
    MedianRow("selecting a row (LVM_SETITEMSTATE)", runs, repeats);

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        for (int k = 0; k < 13; k++)
            SetDlgItemTextA(hMainWnd, k < 8 ? IDC_TIMEIN1 + k : IDC_PAIRTOTAL1 + k - 8, i % 2 ? " 8.00" : "12.50");
        runs[i] = Seconds() - start;
    }
    MedianRow("13 texts of the editor set", runs, repeats);

    for (int i = 0; i < repeats; i++) {
        double start = Seconds();
        for (int k = 0; k < 8; k++)
            EnableWindow(hTimeFields[k], i % 2);
        runs[i] = Seconds() - start;
    }
    MedianRow("8 fields enabled or disabled", runs, repeats);

    for (int i = 0; i < repeats; i++) {
        InvalidateRect(hMainWnd, NULL, TRUE);
        InvalidateRect(hEntryList, NULL, TRUE);
        double start = Seconds();
        UpdateWindow(hMainWnd);
        UpdateWindow(hEntryList);
        Pump();
        runs[i] = Seconds() - start;
    }
    MedianRow("repainting the whole window", runs, repeats);
}
