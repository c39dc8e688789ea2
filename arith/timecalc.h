/* Time arithmetic as functions of values: step rounding, the typed time
   notation, and the hours of a pair and of a row (numbers as text come from
   numtext.h). No windows.h here. */
#ifndef HOURWISE_TIMECALC_H
#define HOURWISE_TIMECALC_H

#include "numtext.h"

#include <stddef.h>

/* A time field holds 7 characters as typed; Add and the evaluation read
   its first 8. The totals and the printout read a list cell's first 10. */
#define FIELD_TEXT_CHARS 7
#define FIELD_READ_CHARS 8
#define CELL_READ_CHARS  10

/* Rounds the fraction x to the step: type 1 nearest, 2 down, 3 up. A step
   that is not a positive finite number means no step rounding. */
double RoundToStepValue(double x, double step, int type);

/* The operator modes and rounding that a typed time is read with. */
struct TimeRules {
    int    starMode;    /* '*' : 1, 2, 3 */
    int    minusMode;   /* '-' : 4, 5, 6 */
    int    plusMode;    /* '+' : 7, 8, 9 */
    double step;
    int    roundType;
};

/* Whole hours and a fraction of an hour as one time: the fraction rounded to
   the step, the sum to two decimals. */
double HoursWithFraction(double hours, double fraction, const TimeRules *rules);

/* The decimal hours that a typed text (at most 8 characters are looked at)
   stands for. */
double EvaluateTimeText(const char *text, const TimeRules *rules);

/* What Add stores for a time field's text: at most its first 8 characters
   read as a number, rounded to two decimals. */
double AddedFieldValue(const char *text);

/* What Add stores for a field left showing the evaluated hours: their "%5.2f"
   text read back as Add reads a field. Hours of more than 8 characters lose
   their last ones (1e7 stays 10000000, 100000.78 becomes 100000.7). */
double AddedTime(double evaluated);

/* The hours that the list's "%8.2f" cell of these hours reads back as where
   the totals and the printout read it: its first CELL_READ_CHARS, rounded to
   two decimals. Hours whose cell is longer lose their last characters. */
double CellReadBack(double hours);

/* The hours between a freshly evaluated time and its partner as shown in the
   editor: 0 when either side is 0 (the pair total is then left alone). */
double PairDifference(double value, double partner);

/* The hours of a pair of a stored row: the absolute difference, rounded. */
double PairHours(double timeIn, double timeOut);

/* The hours of a row of eight times (In 1, Out 1, ... Out 4): the four pair
   hours added from pair 4 down to pair 1, rounded. */
double RowHours(const double times[8]);

#endif
