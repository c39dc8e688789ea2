/* The history of changes to the list of entries, for Undo and Redo. Add,
   Delete, Clear All and Paste each make one step: the rows the change took out
   and the rows it put in, both at one position, with the selected row and the
   entry counter before and after it. Undo takes the inserted rows out again
   and puts the removed ones back; Redo does the reverse. The texts of the rows
   are kept whole, whatever their length. */

#include "app.h"

#include <commctrl.h>
#include <string.h>

/* The history's bounds: at most HISTORY_STEPS steps, and at most
   HISTORY_BYTES of row texts in all steps but the newest one; the oldest steps
   are dropped first. So it never holds more than HISTORY_BYTES, plus the
   newest step (at most the texts the list itself held), plus its table of
   HISTORY_STEPS steps. */
#define HISTORY_STEPS 1000
#define HISTORY_BYTES ((size_t)64 << 20)

/* Rows as their nine texts one after the other, each with its NUL, in one
   block of the process heap. */
struct RowTexts {
    char  *bytes;
    size_t length;
    size_t capacity;
    int    rows;
    int    failed; /* memory ran out: the step cannot be kept */
};

struct ListStep {
    int      position;       /* the first row the change touched */
    RowTexts removed;        /* rows taken out, from position on */
    RowTexts inserted;       /* rows put in, from position on */
    int      selectedBefore; /* -1: no row selected */
    int      selectedAfter;
    int      counterBefore;
    int      counterAfter;
};

static ListStep Steps[HISTORY_STEPS]; /* oldest first */
static int StepCount;                 /* steps held */
static int DoneCount;                 /* Steps[0 .. DoneCount) can be undone, the rest redone */
static ListStep Pending;              /* the change being made */
static int Recording;

static void FreeRows(RowTexts *rows)
{
    if (rows->bytes)
        HeapFree(GetProcessHeap(), 0, rows->bytes);
    ZeroMemory(rows, sizeof *rows);
}

static void FreeStep(ListStep *step)
{
    FreeRows(&step->removed);
    FreeRows(&step->inserted);
}

/* Room for more bytes after the texts held; 0 when there is none to be had. */
static int Reserve(RowTexts *rows, size_t more)
{
    if (rows->failed)
        return 0;
    if (more <= rows->capacity - rows->length)
        return 1;
    size_t capacity = rows->capacity ? rows->capacity : 256;
    while (capacity - rows->length < more) {
        if (capacity > ((size_t)-1) / 2) {
            rows->failed = 1;
            return 0;
        }
        capacity *= 2;
    }
    HANDLE heap = GetProcessHeap();
    char *bytes = (char *)(rows->bytes ? HeapReAlloc(heap, 0, rows->bytes, capacity)
                                       : HeapAlloc(heap, 0, capacity));
    if (!bytes) {
        rows->failed = 1;
        return 0;
    }
    rows->bytes = bytes;
    rows->capacity = capacity;
    return 1;
}

/* Appends a cell's whole text: the read is tried again with twice the room
   until the text comes back shorter than the room. */
static void AppendCell(RowTexts *rows, HWND list, int row, int column)
{
    for (size_t room = 64;; room *= 2) {
        if (room > 0x40000000 || !Reserve(rows, room)) {
            rows->failed = 1;
            return;
        }
        char *text = rows->bytes + rows->length;
        text[0] = 0;
        LVITEMA item;
        ZeroMemory(&item, sizeof item);
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = (int)room;
        size_t got = (size_t)SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
        if (got + 1 < room) {
            text[got] = 0;
            rows->length += got + 1;
            return;
        }
    }
}

static void CaptureRows(RowTexts *rows, int first, int count)
{
    for (int row = first; row < first + count && !rows->failed; row++) {
        for (int column = 0; column <= 8; column++)
            AppendCell(rows, hEntryList, row, column);
        rows->rows++;
    }
}

/* Puts the rows back from position on; gives how many the list took, which
   is fewer only when it refused one (no memory). */
static int PutRows(const RowTexts *rows, int position)
{
    const char *text = rows->bytes;
    for (int row = 0; row < rows->rows; row++) {
        const char *cells[9];
        for (int column = 0; column <= 8; column++) {
            cells[column] = text;
            text += strlen(text) + 1;
        }
        if (InsertEntryRow(position + row, cells, 0) < 0)
            return row;
    }
    return rows->rows;
}

/* The list moves its caret to the next row each time a row at or before it
   goes, and scrolls that row into view: a selection change for every row a
   change takes out before the caret. With the caret and the selection
   cleared first, the rows go and come with neither; the change's end
   selects the row it keeps. */
static void ClearSelectionAndCaret(void)
{
    int selected = SelectedRowOrNone();
    int caret = (int)SendMessageA(hEntryList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (selected >= 0)
        SetRowState(selected, LVIS_SELECTED, 0);
    if (caret >= 0)
        SetRowState(caret, LVIS_FOCUSED, 0);
}

static void TakeOutRows(int position, int count)
{
    if (count <= 0)
        return;
    if (position == 0 && count >= EntryRowCount()) {
        SendMessageA(hEntryList, LVM_DELETEALLITEMS, 0, 0);
        return;
    }
    for (int row = position + count - 1; row >= position; row--)
        SendMessageA(hEntryList, LVM_DELETEITEM, (WPARAM)row, 0);
}

/* ---- recording -------------------------------------------------------------- */

void BeginListChange(void)
{
    FreeStep(&Pending);
    ZeroMemory(&Pending, sizeof Pending);
    Pending.position = -1;
    Pending.selectedBefore = SelectedRowOrNone();
    Pending.counterBefore = EntryCounter;
    Recording = 1;
}

void NoteRemovedRows(int first, int count)
{
    KeepRemovedRows(first, count);
    if (!Recording || count <= 0)
        return;
    Pending.position = first;
    CaptureRows(&Pending.removed, first, count);
}

void NoteInsertedRows(int first, int count)
{
    if (!Recording || count <= 0 || first < 0) {
        KeepInsertedRows(first, count, NULL);
        return;
    }
    if (Pending.position < 0)
        Pending.position = first;
    size_t captured = Pending.inserted.length;
    CaptureRows(&Pending.inserted, first, count);
    KeepInsertedRows(first, count, Pending.inserted.failed ? NULL : Pending.inserted.bytes + captured);
}

static size_t StepBytes(const ListStep *step)
{
    return step->removed.capacity + step->inserted.capacity;
}

static void DropOldestStep(void)
{
    FreeStep(&Steps[0]);
    memmove(&Steps[0], &Steps[1], sizeof Steps[0] * (size_t)(StepCount - 1));
    ZeroMemory(&Steps[StepCount - 1], sizeof Steps[0]);
    StepCount--;
    if (DoneCount > 0)
        DoneCount--;
}

static void ForgetHistory(void)
{
    for (int i = 0; i < StepCount; i++)
        FreeStep(&Steps[i]);
    ZeroMemory(Steps, sizeof Steps);
    StepCount = DoneCount = 0;
}

void EndListChange(void)
{
    if (!Recording)
        return;
    Recording = 0;
    if (Pending.removed.rows == 0 && Pending.inserted.rows == 0) {
        FreeStep(&Pending); /* the list did not change */
        return;
    }
    if (Pending.removed.failed || Pending.inserted.failed) {
        /* a step that could not be kept whole: the history before it would
           no longer fit the list */
        FreeStep(&Pending);
        ForgetHistory();
        return;
    }
    Pending.selectedAfter = SelectedRowOrNone();
    Pending.counterAfter = EntryCounter;

    while (StepCount > DoneCount) /* a new change ends what could be redone */
        FreeStep(&Steps[--StepCount]);
    if (StepCount == HISTORY_STEPS)
        DropOldestStep();
    Steps[StepCount++] = Pending;
    DoneCount = StepCount;
    ZeroMemory(&Pending, sizeof Pending);

    size_t older = 0;
    for (int i = 0; i < StepCount - 1; i++)
        older += StepBytes(&Steps[i]);
    while (StepCount > 1 && older > HISTORY_BYTES) {
        older -= StepBytes(&Steps[0]);
        DropOldestStep();
    }
}

void ForgetListHistory(void)
{
    FreeStep(&Pending);
    ZeroMemory(&Pending, sizeof Pending);
    Recording = 0;
    ForgetHistory();
}

void GiveUpListHistory(void)
{
    ForgetListHistory();
    HWND focus = GetFocus();
    MessageBoxA(hMainWnd,
                "There is not enough memory for another entry, so the change stopped "
                "there. The entries in the list stay as they are now, and the changes "
                "before can no longer be undone.",
                "Hourwise", MB_OK | MB_ICONWARNING);
    if (focus)
        SetFocus(focus);
}

/* ---- undo and redo -------------------------------------------------------- */

/* Takes one step back or forth; gives 0 when the list refused a row, and then
   keeps the rows it took, the last of them selected. */
static int ApplyStep(const ListStep *step, int undo)
{
    const RowTexts *out = undo ? &step->inserted : &step->removed;
    const RowTexts *in = undo ? &step->removed : &step->inserted;
    HWND focus = GetFocus();
    BeginQuietListChange();
    ClearSelectionAndCaret();
    KeepRemovedRows(step->position, out->rows);
    TakeOutRows(step->position, out->rows);
    int put = PutRows(in, step->position);
    KeepInsertedRows(step->position, put, in->bytes);
    int whole = put == in->rows;
    if (whole)
        SelectOnlyRow(undo ? step->selectedBefore : step->selectedAfter);
    else
        SelectOnlyRow(put > 0 ? step->position + put - 1 : -1);
    EndQuietListChange();
    EntryCounter = undo ? step->counterBefore : step->counterAfter;
    ShowListAfterChange(focus);
    return whole;
}

int CanUndoListChange(void)
{
    return !InEntryMode() && DoneCount > 0;
}

int CanRedoListChange(void)
{
    return !InEntryMode() && DoneCount < StepCount;
}

void UndoListChange(void)
{
    if (!CanUndoListChange()) {
        MessageBeep(MB_OK);
        return;
    }
    DoneCount--;
    if (!ApplyStep(&Steps[DoneCount], 1))
        GiveUpListHistory();
}

void RedoListChange(void)
{
    if (!CanRedoListChange()) {
        MessageBeep(MB_OK);
        return;
    }
    if (ApplyStep(&Steps[DoneCount], 0))
        DoneCount++;
    else
        GiveUpListHistory();
}
