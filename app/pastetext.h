/* Pasted text as entries, as functions of values: lines, cells, and the eight
   times a line stands for. No windows.h here. */
#ifndef HOURWISE_PASTETEXT_H
#define HOURWISE_PASTETEXT_H

#include "timecalc.h"

#include <stddef.h>

#define PASTE_NUMBER_CHARS 40   /* a plain decimal number, read whole */
#define PASTE_MAX_ROWS     10000

enum PasteLineKind {
    PASTE_SKIPPED,   /* an empty line, or the heading, Total or pay line of a copied table */
    PASTE_ENTRY,     /* the eight times of an entry */
    PASTE_LEFT_OUT   /* a line that is no entry */
};

/* The length of the line that starts at text[start] (up to its CR, LF or the
   end); *next is where the following line starts (CR LF, LF and CR each end
   one line). */
size_t PasteLineLength(const char *text, size_t length, size_t start, size_t *next);

/* The clock times of a line so far: the second of the day of the last time
   of the day (-1 before the first) and the midnights the line has crossed. */
struct ClockLine {
    long last;
    int  days;
};

/* A clock time as a spreadsheet copies it: H:MM or H:MM:SS, then AM or PM in
   any case, with or without a blank before it. Minutes and seconds are two
   digits below 60; hours are 1 to 12 with AM or PM (12 AM is 0, 1 PM is 13),
   any whole number without. The minutes and seconds are hundredths of an
   hour, worked out from the whole seconds with an exact half up, rounded to
   the step as a typed minute part is. A time of the day (with AM or PM, or
   hours 0 to 23) that is earlier than the line's one before it is on the next
   day: from it on 24 hours are added for each midnight crossed. More hours
   are a duration, read as they stand. Without a line (NULL) every time is
   read as of its own day. Gives 1 and the hours for such a text. */
int ReadClockTime(const char *text, size_t length, const TimeRules *rules, ClockLine *line,
                  double *hours);

/* The hours a cell stands for, as the list would hold them; 0 when the cell
   is no time, or one no row can hold:
   - empty: 0;
   - a clock time (ReadClockTime, on the line's clock);
   - a plain decimal number, with or without a minus sign (-0.92, 10000000.00),
     of at most 40 characters: that number rounded to two decimals;
   - the typed notation, at most 7 characters of 0-9 . * - + e E with a digit:
     what typing it into a time field, leaving the field and pressing Add
     stores (1e10 gives 10000000.00, 1e5*47 gives 100000.70).
   A clock time or a number counts only when the list's cell of it reads back
   whole where the totals read it (CellReadBack gives it again): 99999999.50
   does, 12345678.55 and 12345678901 do not. */
int ReadCellTime(const char *cell, size_t length, const TimeRules *rules, ClockLine *line,
                 double *hours);

/* What a line is; for an entry, its eight times (In 1, Out 1, ... Out 4) as
   ReadCellTime gives them on the line's one clock, missing ones 0; a pair
   of two clock times at midnight (0:00, 12:00 AM) is an empty pair, 0 and 0,
   and leaves the clock as it was. A line of
   10 cells whose first cell is a whole number is a copied row: the number is
   dropped and the hours at its end are ignored. */
PasteLineKind ReadPasteLine(const char *line, size_t length, const TimeRules *rules,
                            double times[8]);

#endif
