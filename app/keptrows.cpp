/* The rows of the kept list as the file's lines, changed as the list changes,
   so that a save costs a write and not a read of every cell of the list. */

#include "app.h"
#include "keptformat.h"
#include "keptlist.h"
#include "totals.h"

#include <string.h>

int ListIsKept;
char *KeptLines;
size_t KeptLinesLength;
int KeptLineCount;
int KeptLinesBroken;
int KeptListUnsaved;

static size_t LinesCapacity;
static size_t *Starts; /* Starts[i]: where row i begins in KeptLines */
static size_t StartsCapacity;

/* The block grown to hold count units of size unit; NULL when it cannot be. */
static void *Grow(void *block, size_t *capacity, size_t count, size_t unit)
{
    if (count <= *capacity)
        return block;
    size_t grown = *capacity ? *capacity : 256;
    while (grown < count) {
        if (grown > ((size_t)-1) / 4 / unit)
            return NULL;
        grown *= 2;
    }
    HANDLE heap = GetProcessHeap();
    void *bigger = block ? HeapReAlloc(heap, 0, block, grown * unit) : HeapAlloc(heap, 0, grown * unit);
    if (bigger)
        *capacity = grown;
    return bigger;
}

void ForgetKeptLines(void)
{
    HANDLE heap = GetProcessHeap();
    if (KeptLines)
        HeapFree(heap, 0, KeptLines);
    if (Starts)
        HeapFree(heap, 0, Starts);
    KeptLines = NULL;
    Starts = NULL;
    KeptLinesLength = LinesCapacity = StartsCapacity = 0;
    KeptLineCount = 0;
}

int InsertKeptLine(int position, const char *line, size_t length)
{
    size_t *starts = (size_t *)Grow(Starts, &StartsCapacity, (size_t)KeptLineCount + 1, sizeof *Starts);
    if (starts)
        Starts = starts;
    char *lines = starts ? (char *)Grow(KeptLines, &LinesCapacity, KeptLinesLength + length, 1) : NULL;
    if (!lines)
        return 0;
    KeptLines = lines;
    size_t at = position < KeptLineCount ? Starts[position] : KeptLinesLength;
    memmove(KeptLines + at + length, KeptLines + at, KeptLinesLength - at);
    memcpy(KeptLines + at, line, length);
    memmove(Starts + position + 1, Starts + position, sizeof *Starts * (size_t)(KeptLineCount - position));
    Starts[position] = at;
    KeptLineCount++;
    KeptLinesLength += length;
    for (int row = position + 1; row < KeptLineCount; row++)
        Starts[row] += length;
    return 1;
}

/* A row as its line: the nine texts joined by tabs, then CR LF. A cell
   longer than any of ours would be cut, but the list never holds one. */
static size_t JoinLine(const char *const cells[9], char line[KEPT_LINE_SIZE])
{
    size_t length = 0;
    for (int column = 0; column <= 8; column++) {
        size_t n = strnlen(cells[column], KEPT_CELL_CHARS);
        memcpy(line + length, cells[column], n);
        length += n;
        line[length++] = column < 8 ? '\t' : '\r';
    }
    line[length++] = '\n';
    return length;
}

void KeepInsertedRows(int first, int count, const char *texts)
{
    if (!ListIsKept || count <= 0)
        return;
    KeptListUnsaved = 1;
    if (first < 0 || first > KeptLineCount)
        KeptLinesBroken = 1;
    for (int i = 0; i < count && !KeptLinesBroken; i++) {
        const char *cells[9];
        char read[9][KEPT_CELL_CHARS + 1];
        for (int column = 0; column <= 8; column++) {
            if (texts) {
                cells[column] = texts;
                texts += strlen(texts) + 1;
            } else {
                ReadCellText(hEntryList, first + i, column, read[column], (int)sizeof read[column]);
                cells[column] = read[column];
            }
        }
        char line[KEPT_LINE_SIZE];
        KeptLinesBroken = !InsertKeptLine(first + i, line, JoinLine(cells, line));
    }
}

void KeepRemovedRows(int first, int count)
{
    if (!ListIsKept || count <= 0)
        return;
    KeptListUnsaved = 1;
    if (first < 0 || count > KeptLineCount - first)
        KeptLinesBroken = 1;
    if (KeptLinesBroken)
        return;
    int after = first + count;
    size_t from = Starts[first], to = after < KeptLineCount ? Starts[after] : KeptLinesLength;
    size_t bytes = to - from;
    memmove(KeptLines + from, KeptLines + to, KeptLinesLength - to);
    memmove(Starts + first, Starts + after, sizeof *Starts * (size_t)(KeptLineCount - after));
    KeptLineCount -= count;
    KeptLinesLength -= bytes;
    for (int row = first; row < KeptLineCount; row++)
        Starts[row] -= bytes;
}

int ReadKeptLinesFromList(void)
{
    ForgetKeptLines();
    KeptLinesBroken = 0;
    KeepInsertedRows(0, EntryRowCount(), NULL);
    return !KeptLinesBroken;
}
