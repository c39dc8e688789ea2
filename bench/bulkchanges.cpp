/* Changes of many rows at once in the real main window, save included: Undo
   and Redo of a paste, Delete, Clear All with its Undo and Redo, and a paste
   into a long list. Each is timed against the bare reads of one grand total
   over the rows it takes out or puts in, or over the rows the list holds
   after it where those are more: a change whose cost grows faster than its
   rows shows as a ratio that grows with them. */

#include "bench.h"

#include <stdio.h>

#include "app.h"

/* The rows of the list before each change, the middle one selected. */
static int Before;

/* The list as each run starts, filled again only when a change left it
   otherwise; no history. */
static void Prepare(void)
{
    if (RowCount() != Before)
        FillRows(Before);
    if (Before > 0)
        SelectRow(Before / 2);
    ForgetListHistory();
    Pump();
}

static double Timed(void (*command)(void))
{
    double start = Seconds();
    command();
    double elapsed = Seconds() - start;
    Pump();
    return elapsed;
}

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

static double TimeUndoPaste(int, int)
{
    Prepare();
    PasteEntries();
    Pump();
    return Timed(UndoListChange);
}

static double TimeRedoPaste(int, int)
{
    Prepare();
    PasteEntries();
    UndoListChange();
    Pump();
    double elapsed = Timed(RedoListChange);
    UndoListChange();
    Pump();
    return elapsed;
}

static double TimePaste(int, int)
{
    Prepare();
    double elapsed = Timed(PasteRows);
    UndoListChange();
    Pump();
    return elapsed;
}

static double TimeDeleteFirst(int, int)
{
    Prepare();
    SelectRow(0);
    Pump();
    double elapsed = Timed(DeleteSelected);
    UndoListChange();
    Pump();
    return elapsed;
}

static double TimeClearAll(int, int)
{
    Prepare();
    double elapsed = Timed(ClearAll);
    UndoListChange();
    Pump();
    return elapsed;
}

static double TimeUndoClearAll(int, int)
{
    Prepare();
    ClearAll();
    Pump();
    return Timed(UndoListChange);
}

static double TimeRedoClearAll(int, int)
{
    Prepare();
    ClearAll();
    UndoListChange();
    Pump();
    double elapsed = Timed(RedoListChange);
    UndoListChange();
    Pump();
    return elapsed;
}

static const struct {
    const char *what;
    TimedRun run;
    int before, pasted, floorRows, pairs;
    double seconds; /* the target; 0: none */
} CASES[] = {
    {"Undo of a paste of 1000 rows (100 before)", TimeUndoPaste, 100, 1000, 1000, 21, 0.1},
    {"Undo of a paste of 10000 rows (100 before)", TimeUndoPaste, 100, 10000, 10000, 7, 1.0},
    {"Redo of a paste of 10000 rows (100 before)", TimeRedoPaste, 100, 10000, 10000, 7, 1.0},
    {"Delete of the first of 10000 rows", TimeDeleteFirst, 10000, 0, 10000, 21, 0},
    {"Clear All of 10000 rows", TimeClearAll, 10000, 0, 10000, 7, 1.0},
    {"Undo of a Clear All of 10000 rows", TimeUndoClearAll, 10000, 0, 10000, 7, 1.0},
    {"Redo of a Clear All of 10000 rows", TimeRedoClearAll, 10000, 0, 10000, 7, 1.0},
    {"Paste of 1000 rows after 10000", TimePaste, 10000, 1000, 11000, 7, 0},
    {"Undo of a paste of 1000 rows after 10000", TimeUndoPaste, 10000, 1000, 10000, 7, 0},
};

void BenchBulkChanges(void)
{
    Heading("Changes of many rows in the main window, save included, each against the bare reads "
            "of one grand total over the rows it takes out or puts in (or over the rows the list "
            "then holds, if more); the list's middle row selected before; medians of interleaved "
            "pairs (21 at 1000 rows, 7 at 10000)");
    Row("command, rows", "time", "floor", "ratio", "target");
    for (size_t c = 0; c < sizeof CASES / sizeof CASES[0]; c++) {
        Before = CASES[c].before;
        if (CASES[c].pasted > 0 && !PutLinesOnClipboard(CASES[c].pasted)) {
            Row(CASES[c].what, "no clipboard", "", "", "");
            continue;
        }
        PairedRuns runs = {CASES[c].run, ReadsFloor, CASES[c].floorRows, CASES[c].pairs};
        PairedMedians m = TimeInterleaved(&runs);
        char target[64] = "";
        if (CASES[c].seconds > 0)
            TargetIn(target, sizeof target, &m, CASES[c].seconds);
        PairedRow(CASES[c].what, &m, target);
    }
    FillRows(0);
    ForgetListHistory();
}
