/* Changes of many rows at once in the real main window, save included: Undo
   and Redo of a paste, Delete, Clear All with its Undo and Redo, and a paste
   into a long list. Each is timed against the bare reads of one grand total
   over the rows it takes out or puts in, or over the rows the list holds
   after it where those are more: a change whose cost grows faster than its
   rows shows as a ratio that grows with them. */

#include "bench.h"

#include <stdio.h>

#include "app.h"

/* What of a case is timed. */
enum Phase { THE_CHANGE, ITS_UNDO, ITS_REDO };

static void PasteRows(void)
{
    PasteEntries();
}

static void ClearAll(void)
{
    Click(hClearAllButton);
}

static void DeleteSelected(void)
{
    Click(hDeleteButton);
}

static const struct {
    const char *what;
    void (*change)(void);
    Phase timed;
    int before, selected, pasted; /* the list before the change; the clipboard's lines */
    int floorRows, pairs;
    double seconds; /* the target; 0: none */
} CASES[] = {
    {"Undo of a paste of 1000 rows (100 before)", PasteRows, ITS_UNDO, 100, 50, 1000, 1000, 21, 0.1},
    {"Undo of a paste of 10000 rows (100 before)", PasteRows, ITS_UNDO, 100, 50, 10000, 10000, 7, 1.0},
    {"Redo of a paste of 10000 rows (100 before)", PasteRows, ITS_REDO, 100, 50, 10000, 10000, 7, 1.0},
    {"Delete of the first of 10000 rows", DeleteSelected, THE_CHANGE, 10000, 0, 0, 10000, 21, 0},
    {"Clear All of 10000 rows", ClearAll, THE_CHANGE, 10000, 5000, 0, 10000, 7, 1.0},
    {"Undo of a Clear All of 10000 rows", ClearAll, ITS_UNDO, 10000, 5000, 0, 10000, 7, 1.0},
    {"Redo of a Clear All of 10000 rows", ClearAll, ITS_REDO, 10000, 5000, 0, 10000, 7, 1.0},
    {"Paste of 1000 rows after 10000", PasteRows, THE_CHANGE, 10000, 5000, 1000, 11000, 7, 0},
    {"Undo of a paste of 1000 rows after 10000", PasteRows, ITS_UNDO, 10000, 5000, 1000, 10000, 7, 0},
};

static size_t Case; /* the one being timed */

static double Timed(void (*command)(void))
{
    double start = Seconds();
    command();
    double elapsed = Seconds() - start;
    Pump();
    return elapsed;
}

/* The list as the case has it before its change (filled again only when a
   change left it otherwise), no history; the change, its Undo or its Redo
   timed, and the list put back. */
static double TimeCase(int, int)
{
    if (RowCount() != CASES[Case].before)
        FillRows(CASES[Case].before);
    SelectRow(CASES[Case].selected);
    ForgetListHistory();
    Pump();
    if (CASES[Case].timed == THE_CHANGE) {
        double elapsed = Timed(CASES[Case].change);
        UndoListChange();
        Pump();
        return elapsed;
    }
    CASES[Case].change();
    Pump();
    if (CASES[Case].timed == ITS_UNDO)
        return Timed(UndoListChange);
    UndoListChange();
    Pump();
    double elapsed = Timed(RedoListChange);
    UndoListChange();
    Pump();
    return elapsed;
}

void BenchBulkChanges(void)
{
    Heading("Changes of many rows in the main window, save included, each against the bare reads "
            "of one grand total over the rows it takes out or puts in (or over the rows the list "
            "then holds, if more); the list's middle row selected before (the first for Delete); "
            "medians of interleaved pairs (21 where a run is short, 7 where it is long)");
    Row("command, rows", "time", "floor", "ratio", "target");
    for (size_t c = 0; c < sizeof CASES / sizeof CASES[0]; c++) {
        Case = c;
        if (CASES[c].pasted > 0 && !PutLinesOnClipboard(CASES[c].pasted)) {
            Row(CASES[c].what, "no clipboard", "", "", "");
            continue;
        }
        PairedRuns runs = {TimeCase, ReadsFloor, CASES[c].floorRows, CASES[c].pairs};
        PairedMedians m = TimeInterleaved(&runs);
        char target[64] = "";
        if (CASES[c].seconds > 0)
            TargetIn(target, sizeof target, &m, CASES[c].seconds);
        PairedRow(CASES[c].what, &m, target);
    }
    FillRows(0);
    ForgetListHistory();
}
