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

/* The digits among the characters of text, or -1 when one of them is
   neither a digit nor one of others. */
static int DigitsAmong(const char *text, size_t length, const char *others)
{
    int digits = 0;
    for (size_t i = 0; i < length; i++) {
        if (IsDigit(text[i]))
            digits++;
        else if (text[i] == 0 || !strchr(others, text[i]))
            return -1;
    }
    return digits;
}

static int IsWholeNumber(const Cell *cell)
{
    return DigitsAmong(cell->text, cell->length, "") > 0;
}

/* ---- one cell ------------------------------------------------------------- */

/* Reads the digits at text[*at], at most most of them; gives their count and
   their value (exact up to 15 digits). */
static int ReadDigits(const char *text, size_t length, size_t *at, int most, double *value)
{
    int count = 0;
    *value = 0.0;
    while (*at < length && count < most && IsDigit(text[*at])) {
        *value = *value * 10 + (text[*at] - '0');
        (*at)++;
        count++;
    }
    return count;
}

/* ":SS" or ":MM" at text[*at]: two digits from 00 to 59. */
static int ReadSixtieths(const char *text, size_t length, size_t *at, int *value)
{
    if (*at >= length || text[*at] != ':')
        return 0;
    (*at)++;
    double digits;
    int two = ReadDigits(text, length, at, 2, &digits) == 2;
    *value = (int)digits;
    return two && *value < 60 && !(*at < length && IsDigit(text[*at]));
}

static int IsLetter(char c, char upper) { return c == upper || c == upper + ('a' - 'A'); }

int ReadClockTime(const char *text, size_t length, const TimeRules *rules, ClockLine *line,
                  double *hours)
{
    size_t at = 0;
    double h;
    int m, s = 0;
    if (ReadDigits(text, length, &at, PASTE_NUMBER_CHARS, &h) == 0 ||
        (at < length && IsDigit(text[at])) || !ReadSixtieths(text, length, &at, &m))
        return 0;
    if (at < length && text[at] == ':' && !ReadSixtieths(text, length, &at, &s))
        return 0;
    if (at < length && text[at] == ' ')
        at++;
    int ofDay = h <= 23; /* a time of the day; more hours are a duration */
    if (at < length) {   /* AM or PM, and nothing after it */
        if (length - at != 2 || !IsLetter(text[at + 1], 'M'))
            return 0;
        int pm = IsLetter(text[at], 'P');
        if ((!pm && !IsLetter(text[at], 'A')) || h < 1 || h > 12)
            return 0;
        h = (h == 12 ? 0 : h) + (pm ? 12 : 0);
        ofDay = 1;
    }
    int secondOfHour = 60 * m + s;
    if (ofDay && line) { /* a time earlier than the one before is on the next day */
        long second = (long)h * 3600 + secondOfHour;
        if (second < line->last)
            line->days++;
        line->last = second;
        h += 24.0 * line->days;
    }
    /* hundredths of an hour from the whole seconds, an exact half up */
    *hours = HoursWithFraction(h, (secondOfHour + 18) / 36 / 100.0, rules);
    return 1;
}

/* A plain decimal number: an optional minus sign, then digits with at most
   one point among or after them, and at least one digit. */
static int IsPlainNumber(const char *text, size_t length)
{
    size_t i = length > 0 && text[0] == '-' ? 1 : 0;
    const char *point = (const char *)memchr(text + i, '.', length - i);
    return DigitsAmong(text + i, length - i, ".") > 0 &&
           !(point && memchr(point + 1, '.', (size_t)(text + length - point - 1)));
}

static int IsTypedTime(const char *text, size_t length)
{
    return DigitsAmong(text, length, ".*-+eE") > 0;
}

int ReadCellTime(const char *cell, size_t length, const TimeRules *rules, ClockLine *line,
                 double *hours)
{
    char text[PASTE_NUMBER_CHARS + 1];
    *hours = 0.0;
    if (length == 0)
        return 1;
    int plain = length <= PASTE_NUMBER_CHARS && IsPlainNumber(cell, length);
    int typed = length <= FIELD_TEXT_CHARS && IsTypedTime(cell, length);
    double value;
    if (plain || typed) {
        memcpy(text, cell, length);
        text[length] = 0;
    }
    if (plain) /* a negative number too, which typed would be the - operator */
        value = RoundToDecimals(ReadNumber(text), 2);
    else if (typed)
        value = AddedTime(EvaluateTimeText(text, rules));
    else if (!ReadClockTime(cell, length, rules, line, &value))
        return 0;
    if (CellReadBack(value) != value)
        return 0; /* more than a cell can hold */
    *hours = value;
    return 1;
}

/* A clock time at midnight exactly (0:00, 00:00:00, 12:00 AM). */
static int IsMidnight(const Cell *cell, const TimeRules *rules)
{
    ClockLine alone = {-1, 0};
    double hours;
    return ReadClockTime(cell->text, cell->length, rules, &alone, &hours) && alone.last == 0;
}

PasteLineKind ReadPasteLine(const char *line, size_t length, const TimeRules *rules,
                            double times[8])
{
    Cell cells[MOST_CELLS];
    int count = SplitCells(line, length, cells);
    if (count == 0)
        return PASTE_SKIPPED;
    static const char *const SKIPPED_LABELS[] = {"Entry",    "Total",       "Regular",
                                                 "Overtime", "Double time", "Gross pay"};
    for (const char *label : SKIPPED_LABELS)
        if (CellIs(&cells[0], label))
            return PASTE_SKIPPED;

    int first;
    if (count == MOST_CELLS && IsWholeNumber(&cells[0]))
        first = 1; /* a copied row: its number, eight times and its hours */
    else if (count <= 8)
        first = 0;
    else
        return PASTE_LEFT_OUT;

    int timeCount = first ? 8 : count;
    ClockLine clock = {-1, 0};
    for (int k = 0; k < 8; k++) {
        times[k] = 0.0;
        const Cell *cell = &cells[first + k];
        if (k % 2 == 0 && k + 1 < timeCount && IsMidnight(cell, rules) && IsMidnight(cell + 1, rules)) {
            times[++k] = 0.0; /* an empty pair: no time of the day */
            continue;
        }
        if (k < timeCount && !ReadCellTime(cell->text, cell->length, rules, &clock, &times[k]))
            return PASTE_LEFT_OUT;
    }
    return PASTE_ENTRY;
}
