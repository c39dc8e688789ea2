/* Pasted text as entries, as functions of values: lines, cells, and the eight
   times a line stands for. No windows.h here. */
#ifndef HOURWISE_PASTETEXT_H
#define HOURWISE_PASTETEXT_H

#include "timecalc.h"

#include <stddef.h>

#define PASTE_TIME_CHARS 10   /* a list cell is read with room for 10 characters */
#define PASTE_MAX_ROWS   10000

enum PasteLineKind {
    PASTE_SKIPPED,   /* an empty line, or the heading or Total line of a copied table */
    PASTE_ENTRY,     /* the eight times of an entry */
    PASTE_LEFT_OUT   /* a line that is no entry */
};

/* The length of the line that starts at text[start] (up to its CR, LF or the
   end); *next is where the following line starts (CR LF, LF and CR each end
   one line). */
size_t PasteLineLength(const char *text, size_t length, size_t start, size_t *next);

/* A cell is a time when it is empty, or at most 10 characters of 0-9 . * - +
   e E with at least one digit. */
int IsTimeCell(const char *cell, size_t length);

/* What a line is; for an entry, its eight times (In 1, Out 1, ... Out 4) as
   typing each cell into a time field and leaving it gives them, missing ones
   0. A line of 10 cells whose first cell is a whole number is a copied row:
   the number is dropped and the hours at its end are ignored. */
PasteLineKind ReadPasteLine(const char *line, size_t length, const TimeRules *rules,
                            double times[8]);

#endif
