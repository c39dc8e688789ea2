/* The entry commands of the real main window with 100, 1,000 and 10,000 rows
   in the list, each timed against its floor: the bare list reads that
   recomputing the grand total makes. Add and Delete are timed with the list
   not kept and with its save to the kept file; the other commands with their
   save. */

#include "bench.h"

#include <commctrl.h>
#include <stdio.h>

#include "app.h"
#include "keptlist.h"

/* The repaints that followed the commands timed, apart from them: painting
   shows only the visible rows and does not grow with the list. */
static double Repaints[3 * (MAX_PAIRS + 1)];
static int RepaintCount;

static void RepaintAfter(double from)
{
    UpdateWindow(hMainWnd);
    Pump();
    if (RepaintCount < (int)(sizeof Repaints / sizeof Repaints[0]))
        Repaints[RepaintCount++] = Seconds() - from;
}

/* One Add of a typed entry; the entry is taken out again outside the timing. */
double TimeAdd(int, int)
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
    KeepRemovedRows(RowCount(), 1);
    EntryCounter = RowCount();
    return elapsed;
}

/* The grand total an Add recomputes counts the added row too. */
double AddFloor(int rows, int)
{
    return GrandTotalReads(rows + 1);
}

/* One Delete of a row in the middle; the row is put back outside the timing. */
static double TimeDelete(int rows, int)
{
    SelectRow(rows / 2);
    Pump();
    double start = Seconds();
    Click(hDeleteButton);
    double elapsed = Seconds() - start;
    RepaintAfter(start + elapsed);
    double times[8];
    SampleTimes(rows, times);
    AppendRow(times);
    KeepInsertedRows(RowCount() - 1, 1, NULL);
    return elapsed;
}

static double DeleteFloor(int rows, int)
{
    return GrandTotalReads(rows - 1);
}

/* One selection change to another row, which shows it in the editor. */
static double TimeSelect(int rows, int turn)
{
    int row = (int)(((long long)turn * 7919) % rows);
    double start = Seconds();
    SelectRow(row);
    double elapsed = Seconds() - start;
    RepaintAfter(start + elapsed);
    return elapsed;
}

static double SelectFloor(int rows, int)
{
    return GrandTotalReads(rows);
}

/* Pairs enough that two runs agree on the medians; fewer where a pair is long. */
static const struct {
    int rows, pairs;
} SIZES[3] = {{100, 201}, {1000, 101}, {10000, 61}};

void BenchCommands(void)
{
    char heading[256];
    snprintf(heading, sizeof heading,
             "Entry commands in the main window: each command's handling and its floor (the bare "
             "LVM_GETITEMTEXTA reads of one grand total) timed in interleaved pairs; medians of the "
             "times and of the pairs' ratios (%d, %d and %d pairs)",
             SIZES[0].pairs, SIZES[1].pairs, SIZES[2].pairs);
    Heading(heading);
    Row("command, rows in the list", "time", "floor", "ratio", "target");
    for (int s = 0; s < 3; s++) {
        int rows = SIZES[s].rows, pairs = SIZES[s].pairs;
        FillRows(rows);
        RepaintCount = 0;
        char what[64], target[64];

        int kept = ListIsKept;
        for (int save = 0; save <= kept; save++) {
            ListIsKept = save;
            if (save)
                FillRows(rows); /* the kept file made to hold the rows */
            PairedRuns add = {TimeAdd, AddFloor, rows, pairs};
            PairedMedians m = TimeInterleaved(&add);
            snprintf(what, sizeof what, save ? "Add with %d rows, save included" : "Add with %d rows",
                     rows);
            target[0] = 0;
            char verdict[16];
            if (save && rows == 1000) {
                Verdict(verdict, sizeof verdict, m.command < 0.0167);
                snprintf(target, sizeof target, "< 16.7 ms (a frame): %s", verdict);
            } else if (save && rows == 10000) {
                Verdict(verdict, sizeof verdict, m.ratio <= 1.5 && m.command < 0.050);
                snprintf(target, sizeof target, "<= 1.5x and < 50 ms: %s", verdict);
            }
            PairedRow(what, &m, target);
        }

        PairedMedians m;
        for (int save = 0; save <= kept; save++) {
            ListIsKept = save;
            if (save)
                FillRows(rows); /* the kept file made to hold the rows */
            PairedRuns del = {TimeDelete, DeleteFloor, rows, pairs};
            m = TimeInterleaved(&del);
            snprintf(what, sizeof what, save ? "Delete with %d rows, save included" : "Delete with %d rows",
                     rows);
            PairedRow(what, &m, "");
        }

        PairedRuns select = {TimeSelect, SelectFloor, rows, pairs};
        m = TimeInterleaved(&select);
        snprintf(what, sizeof what, "selection change with %d rows", rows);
        PairedRow(what, &m, "(shows one row: 8 reads)");

        char value[32];
        snprintf(what, sizeof what, "  repaint after each, with %d rows", rows);
        snprintf(value, sizeof value, "%.3f ms", Median(Repaints, RepaintCount) * 1e3);
        Row(what, value, "", "", "(not in the times above)");
    }
}
