/* Fuzz target for pasted text as entries.

   Input: the three operator modes, the round type and a step (as for the
   typed notation), then the text.

   Checks: the lines cover the text in order, each ends before a CR or LF and
   the next starts after its line end; an entry's times are finite and
   rounded to two decimals; and an entry written back as the list copies it
   (its number, the eight times as "%8.2f" without their blanks, its hours)
   reads as the same times. */

#include "fuzz_common.h"
#include "pastetext.h"

static const double STEPS[] = {0.0, 0.05, 0.1, 0.15, 0.25, 0.5, 1.0, -1.0};

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

    for (size_t start = 0, next; start < length; start = next) {
        size_t line = PasteLineLength(text, length, start, &next);
        FUZZ_CHECK(start + line <= length && next > start + line - (line > 0) && next <= length,
                   "line at %zu of %zu gave length %zu, next %zu", start, length, line, next);
        FUZZ_CHECK(next > start, "no progress at %zu", start);
        FUZZ_CHECK(!memchr(text + start, '\r', line) && !memchr(text + start, '\n', line),
                   "a line end inside the line at %zu", start);

        double times[8];
        if (ReadPasteLine(text + start, line, &rules, times) != PASTE_ENTRY)
            continue;
        char copied[12 * 11 + 8];
        size_t used = 0;
        memcpy(copied, "17\t", 3);
        used = 3;
        int fits = 1;
        for (int k = 0; k < 8; k++) {
            FUZZ_CHECK(!isnan(times[k]), "time %d is NaN", k);
            FUZZ_CHECK(SameDouble(times[k], RoundToDecimals(times[k], 2)), "time %d not rounded", k);
            char cell[NUMBER_TEXT_SIZE];
            FormatFixed(cell, sizeof cell, times[k], 8, 2);
            const char *shown = cell + strspn(cell, " ");
            size_t n = strlen(shown);
            if (n > PASTE_TIME_CHARS || !isfinite(times[k]) || (n > 0 && shown[0] == '-'))
                fits = 0; /* a cell no paste reads as a time, or one read with its operator */
            if (fits) {
                memcpy(copied + used, shown, n);
                used += n;
                copied[used++] = '\t';
            }
        }
        if (!fits)
            continue;
        memcpy(copied + used, "99.00", 5);
        used += 5;
        double again[8];
        FUZZ_CHECK(ReadPasteLine(copied, used, &rules, again) == PASTE_ENTRY, "copied row %.*s left out",
                   (int)used, copied);
        for (int k = 0; k < 8; k++)
            FUZZ_CHECK(SameDouble(again[k], times[k]), "time %d: %.17g came back as %.17g", k,
                       times[k], again[k]);
    }
    return 0;
}
