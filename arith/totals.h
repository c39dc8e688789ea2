/* The layer between the time arithmetic and the main window's controls. */
#ifndef HOURWISE_TOTALS_H
#define HOURWISE_TOTALS_H

#include <windows.h>
#include "timecalc.h"

#define CELL_TEXT_SIZE  (CELL_READ_CHARS + 1)    /* a list cell as the totals read it */
#define FIELD_READ_SIZE (FIELD_READ_CHARS + 1)   /* a time field as Add reads it */

/* The operator modes and rounding of the preferences as they are now. */
TimeRules CurrentTimeRules(void);

/* Step rounding with the round type and step of the preferences. */
double RoundToStep(double x);

void EvaluateTimeField(int field, int partner, int result);
void UpdateEntryTotal(void);
void ShowSelectedEntry(void);
/* The grand total and the pay summary of the week (by CurrentPayRules), both
   from one read of the rows. */
void UpdateGrandTotal(void);

/* The text of a list cell, read into capacity bytes and always terminated. */
void ReadCellText(HWND list, int row, int column, char *text, int capacity);

/* Reads the eight times of a row of the list (columns 1 to 8), each read into
   11 bytes and rounded to two decimals. */
void ReadEntryTimes(HWND list, int row, double times[8]);

/* The hours of a row of the list, from those reads: what the grand total adds. */
double EntryHours(HWND list, int row);

#endif
