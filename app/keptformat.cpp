/* The kept file's lines: written by the program, read back by a reader that
   takes nothing on trust. A row is read only when it is exactly what the list
   would show, byte for byte. */

#include "keptformat.h"

#include "numtext.h"
#include "timecalc.h"

#include <charconv>
#include <limits.h>
#include <string.h>

size_t FormatKeptHeader(char *line, long long nextNumber)
{
    size_t length = strlen(KEPT_FORMAT_NAME);
    memcpy(line, KEPT_FORMAT_NAME, length);
    length = (size_t)(std::to_chars(line + length, line + KEPT_LINE_SIZE - 3, nextNumber).ptr - line);
    memcpy(line + length, "\r\n", 3);
    return length + 2;
}

int EntryNumbersLeft(long long counter, long long count)
{
    return count <= KEPT_NUMBER_MAX - counter;
}

/* A whole number as "%d" writes it: no sign, no leading zero, no blank;
   gives it, or -1 when it is none or above limit. */
static long long ReadWholeNumber(const char *text, size_t length, long long limit)
{
    if (length == 0 || length > 10 || (text[0] == '0' && length > 1))
        return -1;
    long long value = 0;
    for (size_t i = 0; i < length; i++) {
        if (!IsDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value <= limit ? value : -1;
}

/* A time cell as the list shows it: the "%8.2f" text of the hours it reads
   back as, which the totals also read back whole. */
static int IsTimeCell(const char *cell, size_t length)
{
    if (length == 0 || length > KEPT_CELL_CHARS)
        return 0;
    char text[KEPT_CELL_CHARS + 1];
    memcpy(text, cell, length);
    text[length] = 0;
    double hours = RoundToDecimals(ReadNumber(text), 2);
    char shown[NUMBER_TEXT_SIZE];
    FormatFixed(shown, sizeof shown, hours, 8, 2);
    /* every byte, a NUL too, which would end the cell's text in the list */
    return strlen(shown) == length && memcmp(shown, cell, length) == 0 &&
           CellReadBack(hours) == hours;
}

int ReadKeptRow(const char *line, size_t length)
{
    long long number = -1;
    size_t start = 0;
    for (int column = 0; column <= 8; column++) {
        size_t end = start;
        while (end < length && line[end] != '\t')
            end++;
        if ((column < 8) != (end < length))
            return 0; /* a cell too few or too many */
        if (column == 0 ? (number = ReadWholeNumber(line, end, KEPT_NUMBER_MAX)) <= 0
                        : !IsTimeCell(line + start, end - start))
            return 0;
        start = end + 1;
    }
    return (int)number;
}

void StartKeptReader(KeptReader *reader, KeptRowFound found, void *context)
{
    memset(reader, 0, sizeof *reader);
    reader->firstLine = 1;
    reader->found = found;
    reader->context = context;
}

static void LeaveOut(KeptReader *reader)
{
    if (reader->leftOut < LLONG_MAX)
        reader->leftOut++;
}

/* A line has ended (its bytes without the LF are held), or the file ended
   in the middle of one (torn). */
static void TakeLine(KeptReader *reader, int torn)
{
    const char *line = reader->line;
    size_t length = reader->length;
    if (!reader->started && length >= 3 && memcmp(line, "\xEF\xBB\xBF", 3) == 0) {
        line += 3; /* a byte-order mark */
        length -= 3;
    }
    reader->started = 1;
    if (length > 0 && line[length - 1] == '\r')
        length--;
    if (length == 0 && !reader->overlong) {
        reader->emptyLines++; /* left out only should a line follow it */
        return;
    }
    for (; reader->emptyLines > 0; reader->emptyLines--)
        LeaveOut(reader);
    if (torn) {
        LeaveOut(reader); /* the line never got its end */
        reader->firstLine = 0;
        return;
    }
    int first = reader->firstLine;
    reader->firstLine = 0;
    size_t nameLength = strlen(KEPT_FORMAT_NAME);
    if (first && !reader->overlong && length > nameLength &&
        memcmp(line, KEPT_FORMAT_NAME, nameLength) == 0) {
        long long next =
            ReadWholeNumber(line + nameLength, length - nameLength, KEPT_NUMBER_MAX + 1LL);
        if (next > 0) {
            reader->nextNumber = next;
            return;
        }
    }
    int number = reader->overlong ? 0 : ReadKeptRow(line, length);
    if (number > 0) {
        reader->rows++;
        if (number > reader->largestNumber)
            reader->largestNumber = number;
        if (reader->found)
            reader->found(reader->context, line, length, number);
    } else {
        LeaveOut(reader);
    }
}

void FeedKeptReader(KeptReader *reader, const char *bytes, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        if (bytes[i] == '\n') {
            TakeLine(reader, 0);
            reader->length = 0;
            reader->overlong = 0;
        } else if (reader->length < sizeof reader->line) {
            reader->line[reader->length++] = bytes[i];
        } else {
            reader->overlong = 1;
        }
    }
}

void EndKeptReader(KeptReader *reader)
{
    if (reader->length > 0 || reader->overlong) {
        TakeLine(reader, 1);
        reader->length = 0;
        reader->overlong = 0;
    }
    reader->emptyLines = 0; /* empty lines at the end lose nothing */
    if (reader->nextNumber == 0 && reader->leftOut == 0) {
        if (reader->rows == 0)
            reader->nextNumber = 1; /* no line at all: an empty list */
        else
            LeaveOut(reader); /* the first line is missing */
    }
}

int KeptEntryCounter(const KeptReader *reader)
{
    long long counter = reader->nextNumber > 0 ? reader->nextNumber - 1 : 0;
    if (counter < reader->largestNumber)
        counter = reader->largestNumber;
    if (counter < reader->rows)
        counter = reader->rows;
    return counter < KEPT_NUMBER_MAX ? (int)counter : KEPT_NUMBER_MAX;
}
