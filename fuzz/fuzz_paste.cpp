/* Fuzz target for pasted text as entries.

   Input: the three operator modes, the round type and a step (as for the
   typed notation), then the text.

   Checks, under those preferences:
   - the lines cover the text in order, each ends before a CR or LF and the
     next starts after its line end;
   - an entry's times are rounded to two decimals, and written back as the
     list copies them (its number, the eight times as "%8.2f" without their
     blanks, its hours) read as the same times; the totals, which read a
     cell's first 10 characters, read each cell as its time;
   - the first 7 bytes of the text (what a time field can hold) typed into a
     field, left and added make a cell that pastes back as itself;
   - those bytes as a cell in the typed notation paste as Add stores them, and
     a plain number with a minus sign pastes as that negative number;
   - two to eight clock times from fuzzed parts, midnights among them (once a
     run, two: every second of an hour) paste as the rule written out here
     in integers says, over as many midnights as the line crosses. */

#include "fuzz_common.h"
#include "pastetext.h"

static const double STEPS[] = {0.0, 0.05, 0.1, 0.15, 0.25, 0.5, 1.0, -1.0};

/* The list's cell of a time, without its blanks; its length. */
static size_t CellOf(double time, char cell[NUMBER_TEXT_SIZE], const char **shown)
{
    FormatFixed(cell, NUMBER_TEXT_SIZE, time, 8, 2);
    return strlen(*shown = cell + strspn(cell, " "));
}

/* The time a cell holds as the totals read it: its first 10 characters. */
static double TotalsRead(const char *cell)
{
    char read[11] = {0};
    memcpy(read, cell, strnlen(cell, 10));
    return RoundToDecimals(ReadNumber(read), 2);
}

static void CheckCopiedBack(const double times[8], const TimeRules *rules)
{
    char copied[8 * NUMBER_TEXT_SIZE + 16] = "17\t";
    size_t used = 3;
    for (int k = 0; k < 8; k++) {
        FUZZ_CHECK(isfinite(times[k]), "time %d is %g", k, times[k]);
        FUZZ_CHECK(SameDouble(times[k], RoundToDecimals(times[k], 2)), "time %d not rounded", k);
        char cell[NUMBER_TEXT_SIZE];
        const char *shown;
        size_t n = CellOf(times[k], cell, &shown);
        FUZZ_CHECK(SameDouble(TotalsRead(cell), times[k]), "the totals read %s as %.17g", cell,
                   TotalsRead(cell));
        memcpy(copied + used, shown, n);
        used += n;
        copied[used++] = '\t';
    }
    memcpy(copied + used, "99.00", 5);
    used += 5;
    double again[8];
    FUZZ_CHECK(ReadPasteLine(copied, used, rules, again) == PASTE_ENTRY, "copied row %.*s left out",
               (int)used, copied);
    for (int k = 0; k < 8; k++)
        FUZZ_CHECK(SameDouble(again[k], times[k]), "time %d: %.17g came back as %.17g", k, times[k],
                   again[k]);
}

/* A line of clock times made from their parts (hours, minutes, seconds or
   -1 for none, a suffix: 1 and 2 AM, 3 and 4 PM) pastes as the rule says:
   hundredths from the whole seconds, an exact half up; 12 AM is 0; a time of
   the day earlier than the time of the day before it is on the next day, 24
   hours on for each midnight crossed so far; a pair of two midnights is
   empty, 0 and 0, and no time of the day. */
static void CheckClockLine(const int parts[][4], int count, const TimeRules *rules)
{
    static const char *const SUFFIXES[5] = {"", " AM", "am", "PM", " pm"};
    char line[8 * 32];
    int n = 0, valid = 1, days = 0;
    long second[8], last = -1; /* of the day; -1 for a duration */
    double expected[8] = {0}, times[8];
    for (int i = 0; i < count; i++) {
        const int *p = parts[i];
        n += snprintf(line + n, sizeof line - n, p[2] < 0 ? "%s%d:%02d%.0d%s" : "%s%d:%02d:%02d%s",
                      i ? "\t" : "", p[0], p[1], p[2] < 0 ? 0 : p[2], SUFFIXES[p[3]]);
        valid &= p[1] < 60 && p[2] < 60 && (!p[3] || (p[0] >= 1 && p[0] <= 12));
        int hours = p[3] ? p[0] % 12 + 12 * (p[3] > 2) : p[0];
        second[i] = hours < 24 ? 3600L * hours + 60 * p[1] + (p[2] > 0 ? p[2] : 0) : -1;
    }
    for (int i = 0; i < count; i++) {
        if (i % 2 == 0 && i + 1 < count && second[i] == 0 && second[i + 1] == 0) {
            i++; /* an empty pair */
            continue;
        }
        const int *p = parts[i];
        int s = 60 * p[1] + (p[2] > 0 ? p[2] : 0), hours = p[3] ? p[0] % 12 + 12 * (p[3] > 2) : p[0];
        if (second[i] >= 0) {
            days += second[i] < last;
            last = second[i];
            hours += 24 * days;
        }
        expected[i] = RoundToDecimals(
            hours + RoundToStepValue((s / 36 + (s % 36 >= 18)) / 100.0, rules->step, rules->roundType), 2);
    }
    int entry = ReadPasteLine(line, (size_t)n, rules, times) == PASTE_ENTRY;
    FUZZ_CHECK(entry == valid, "\"%s\" entry %d", line, entry);
    for (int i = 0; entry && i < 8; i++)
        FUZZ_CHECK(SameDouble(times[i], expected[i]), "\"%s\": time %d is %.17g, not %.17g", line, i,
                   times[i], expected[i]);
}

/* 0: no cell of the typed notation; 1: one; 2: a plain number with a minus
   sign, which pastes as that negative number. */
static int NotationKind(const char *text, size_t length)
{
    int digits = 0, others = 0;
    for (size_t i = 0; i < length; i++) {
        if (text[i] >= '0' && text[i] <= '9')
            digits++;
        else if (!strchr(".*-+eE", text[i]))
            return 0;
        else if (i > 0 || text[i] != '-')
            others += text[i] == '.' ? 1 : 2;
    }
    return digits == 0 ? 0 : text[0] == '-' && others <= 1 ? 2 : 1;
}

/* What a time field holds, as typed, added and pasted. */
static void CheckTypedField(const char *text, size_t length, const TimeRules *rules)
{
    char field[FIELD_TEXT_CHARS + 1];
    size_t n = 0;
    while (n < length && n < FIELD_TEXT_CHARS && text[n]) /* a field's text ends at a NUL */
        field[n] = text[n], n++;
    field[n] = 0;

    char shownField[NUMBER_TEXT_SIZE]; /* Add's steps: the "%5.2f" text's first 8 characters */
    FormatFixed(shownField, sizeof shownField, EvaluateTimeText(field, rules), 5, 2);
    shownField[8] = 0;
    double added = RoundToDecimals(ReadNumber(shownField), 2);
    char cell[NUMBER_TEXT_SIZE];
    const char *shown;
    size_t cellLength = CellOf(added, cell, &shown);
    double pasted = -1;
    FUZZ_CHECK(ReadCellTime(shown, cellLength, rules, NULL, &pasted) && SameDouble(pasted, added),
               "typed \"%s\", Add stored %s, which pastes as %.17g", field, shown, pasted);

    int kind = NotationKind(field, n);
    if (kind == 0)
        return;
    double expected = kind == 2 ? RoundToDecimals(ReadNumber(field), 2) : added;
    FUZZ_CHECK(ReadCellTime(field, n, rules, NULL, &pasted) && SameDouble(pasted, expected),
               "the cell \"%s\" pastes as %.17g, not %.17g", field, pasted, expected);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    TimeRules rules;
    rules.starMode = TakeByte(&in) % 11;
    rules.minusMode = TakeByte(&in) % 11;
    rules.plusMode = TakeByte(&in) % 11;
    rules.roundType = TakeByte(&in) % 5;
    rules.step = STEPS[TakeByte(&in) % (sizeof STEPS / sizeof STEPS[0])];
    const char *text = (const char *)data + in.pos;
    size_t length = size - in.pos;

    CheckTypedField(text, length, &rules);

    static const int RANGES[4] = {30, 64, 65, 5}; /* hours, minutes, seconds + 1, suffix */
    static const int MIDNIGHTS[4][4] = {{0, 0, -1, 0}, {0, 0, 0, 0}, {12, 0, -1, 1}, {12, 0, 0, 2}};
    int clock[8][4]; /* from the text's first bytes, read again: a count, midnights, parts */
    int count = 2 + (length > 0 ? (uint8_t)text[0] : 0) % 7, midnights = length > 1 ? (uint8_t)text[1] : 0;
    for (int i = 0; i < 32; i++)
        clock[i / 4][i % 4] = (2 + i < (int)length ? (uint8_t)text[2 + i] : 0) % RANGES[i % 4] - (i % 4 == 2);
    for (int i = 0; i < 8; i++)
        if (midnights >> i & 1)
            memcpy(clock[i], MIDNIGHTS[clock[i][0] % 4], sizeof clock[i]);
    CheckClockLine(clock, count, &rules);
    static int hourSwept = 0; /* every second of 8 PM after 8:30 PM, once a run */
    for (int second = 0; !hourSwept && second < 3600; second++) {
        int sweep[2][4] = {{8, 30, -1, 3}, {8, second / 60, second % 60, 4}};
        CheckClockLine(sweep, 2, &rules);
    }
    hourSwept = 1;

    for (size_t start = 0, next; start < length; start = next) {
        size_t line = PasteLineLength(text, length, start, &next);
        FUZZ_CHECK(start + line <= length && next > start + line - (line > 0) && next <= length,
                   "line at %zu of %zu gave length %zu, next %zu", start, length, line, next);
        FUZZ_CHECK(next > start, "no progress at %zu", start);
        FUZZ_CHECK(!memchr(text + start, '\r', line) && !memchr(text + start, '\n', line),
                   "a line end inside the line at %zu", start);

        double times[8];
        if (ReadPasteLine(text + start, line, &rules, times) == PASTE_ENTRY)
            CheckCopiedBack(times, &rules);
    }
    return 0;
}
