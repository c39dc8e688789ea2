/* Lines of pasted text as entries. Cells are separated by tabs; blanks around
   a cell and empty cells at the end of a line do not count. */

#include "pastetext.h"

#include <string.h>

size_t PasteLineLength(const char *text, size_t length, size_t start, size_t *next)
{
    size_t end = start;
    while (end < length && text[end] != '\r' && text[end] != '\n')
        end++;
    size_t after = end;
    if (after < length && text[after] == '\r')
        after++;
    if (after < length && text[after] == '\n' && (after == end || text[end] == '\r'))
        after++;
    *next = after;
    return end - start;
}

int IsTimeCell(const char *cell, size_t length)
{
    if (length == 0)
        return 1;
    if (length > PASTE_TIME_CHARS)
        return 0;
    int digits = 0;
    for (size_t i = 0; i < length; i++) {
        char c = cell[i];
        if (c >= '0' && c <= '9')
            digits++;
        else if (!strchr(".*-+eE", c) || c == 0)
            return 0;
    }
    return digits > 0;
}

struct Cell {
    const char *text;
    size_t      length;
};

#define MOST_CELLS 10

/* Splits a line into its cells without their blanks; gives the count of cells
   up to the last one that is not empty, or MOST_CELLS + 1 for more. */
static int SplitCells(const char *line, size_t length, Cell cells[MOST_CELLS])
{
    int count = 0, counted = 0; /* cells seen; cells up to the last one not empty */
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < length && line[end] != '\t')
            end++;
        size_t first = start, last = end;
        while (first < last && line[first] == ' ')
            first++;
        while (last > first && line[last - 1] == ' ')
            last--;
        if (last > first) {
            if (count >= MOST_CELLS)
                return MOST_CELLS + 1;
            counted = count + 1;
        }
        if (count < MOST_CELLS) {
            cells[count].text = line + first;
            cells[count].length = last - first;
        }
        count++;
        if (end >= length)
            break;
        start = end + 1;
    }
    return counted;
}

static int CellIs(const Cell *cell, const char *word)
{
    return cell->length == strlen(word) && memcmp(cell->text, word, cell->length) == 0;
}

static int IsWholeNumber(const Cell *cell)
{
    if (cell->length == 0)
        return 0;
    for (size_t i = 0; i < cell->length; i++)
        if (cell->text[i] < '0' || cell->text[i] > '9')
            return 0;
    return 1;
}

/* The value a time cell gives in a field that is left: evaluated as typed,
   then rounded as Add rounds it. A plain number is read whole, as the totals
   read a cell: one of 9 or 10 characters (9999999.00) can only come from the
   list, and its last digits must not be lost. */
static double CellTime(const Cell *cell, const TimeRules *rules)
{
    char text[PASTE_TIME_CHARS + 1];
    memcpy(text, cell->text, cell->length);
    text[cell->length] = 0;
    if (!strpbrk(text, "*-+"))
        return RoundToDecimals(ReadNumber(text), 2);
    return RoundToDecimals(EvaluateTimeText(text, rules), 2);
}

PasteLineKind ReadPasteLine(const char *line, size_t length, const TimeRules *rules,
                            double times[8])
{
    Cell cells[MOST_CELLS];
    int count = SplitCells(line, length, cells);
    if (count == 0)
        return PASTE_SKIPPED;
    if (CellIs(&cells[0], "Entry") || CellIs(&cells[0], "Total"))
        return PASTE_SKIPPED;

    int first;
    if (count == MOST_CELLS && IsWholeNumber(&cells[0]))
        first = 1; /* a copied row: its number, eight times and its hours */
    else if (count <= 8)
        first = 0;
    else
        return PASTE_LEFT_OUT;

    int timeCount = first ? 8 : count;
    for (int k = 0; k < timeCount; k++)
        if (!IsTimeCell(cells[first + k].text, cells[first + k].length))
            return PASTE_LEFT_OUT;
    for (int k = 0; k < 8; k++)
        times[k] = k < timeCount ? CellTime(&cells[first + k], rules) : 0.0;
    return PASTE_ENTRY;
}
