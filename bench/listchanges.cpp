/* Undo and Redo of a Clear All, and Paste, in the real main window, each
   timed against the same floor as the entry commands: the bare list reads of
   one grand total over the rows that come back. Each includes its save to the
   kept file. */

#include "bench.h"

#include <stdio.h>
#include <string.h>

#include "app.h"

/* A Clear All of the list's rows, taken back by the timed Undo. */
static double TimeUndoClearAll(int, int)
{
    Click(hClearAllButton);
    Pump();
    double start = Seconds();
    UndoListChange();
    double elapsed = Seconds() - start;
    Pump();
    return elapsed;
}

/* The timed Redo empties the list again; an Undo outside the timing puts the
   rows back. */
static double TimeRedoClearAll(int, int)
{
    Click(hClearAllButton);
    UndoListChange();
    Pump();
    double start = Seconds();
    RedoListChange();
    double elapsed = Seconds() - start;
    Pump();
    UndoListChange();
    Pump();
    return elapsed;
}

/* The clipboard holds rows lines of In 1 to Out 2 in the typed notation; the
   timed Paste appends them to the empty list, an Undo takes them out. */
static double TimePaste(int, int)
{
    double start = Seconds();
    PasteEntries();
    double elapsed = Seconds() - start;
    Pump();
    UndoListChange();
    Pump();
    return elapsed;
}

double ReadsFloor(int rows, int)
{
    return GrandTotalReads(rows);
}

int PutLinesOnClipboard(int lines)
{
    static const char line[] = "8*30\t12\t12*30\t5-30\r\n";
    size_t size = (sizeof line - 1) * (size_t)lines + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    char *text = block ? (char *)GlobalLock(block) : NULL;
    if (!text)
        return 0;
    for (int i = 0; i < lines; i++)
        memcpy(text + (sizeof line - 1) * (size_t)i, line, sizeof line - 1);
    text[size - 1] = 0;
    GlobalUnlock(block);
    if (!OpenClipboard(hMainWnd)) {
        GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    int put = SetClipboardData(CF_TEXT, block) != NULL;
    CloseClipboard();
    if (!put)
        GlobalFree(block);
    return put;
}

void TargetIn(char *target, size_t size, const PairedMedians *m, double seconds)
{
    char verdict[16];
    Verdict(verdict, sizeof verdict, m->command < seconds);
    snprintf(target, size, "< %g s: %s", seconds, verdict);
}

void BenchListChanges(void)
{
    Heading("Undo, Redo and Paste in the main window, each against the bare reads of one grand "
            "total over the rows that come back; medians of interleaved pairs (41, 41, 41 and 7 "
            "pairs)");
    Row("command, rows", "time", "floor", "ratio", "target");
    char target[64];

    FillRows(1000);
    ForgetListHistory();
    PairedRuns undo = {TimeUndoClearAll, ReadsFloor, 1000, 41};
    PairedMedians m = TimeInterleaved(&undo);
    TargetIn(target, sizeof target, &m, 1.0);
    PairedRow("Undo of a Clear All of 1000 rows", &m, target);

    ForgetListHistory();
    PairedRuns redo = {TimeRedoClearAll, ReadsFloor, 1000, 41};
    m = TimeInterleaved(&redo);
    TargetIn(target, sizeof target, &m, 1.0);
    PairedRow("Redo of a Clear All of 1000 rows", &m, target);

    static const struct {
        int rows, pairs;
        double seconds;
    } PASTES[2] = {{1000, 41, 1.0}, {10000, 7, 1.0}};
    for (int p = 0; p < 2; p++) {
        FillRows(0);
        ForgetListHistory();
        char what[64];
        snprintf(what, sizeof what, "Paste of %d rows, save included", PASTES[p].rows);
        if (!PutLinesOnClipboard(PASTES[p].rows)) {
            Row(what, "no clipboard", "", "", "");
            continue;
        }
        PairedRuns paste = {TimePaste, ReadsFloor, PASTES[p].rows, PASTES[p].pairs};
        m = TimeInterleaved(&paste);
        TargetIn(target, sizeof target, &m, PASTES[p].seconds);
        PairedRow(what, &m, target);
    }
}
