/* Time arithmetic as functions of values: number reading, rounding, the typed
   time notation, and the hours of a pair and of a row. No windows.h here. */
#ifndef HOURWISE_TIMECALC_H
#define HOURWISE_TIMECALC_H

#include <stddef.h>

/* Room for any double formatted with two decimals and a width of up to 9:
   309 integer digits, sign, point, two decimals and the NUL. */
#define NUMBER_TEXT_SIZE 330

/* Reads a number with the classic atof grammar: leading white space, an
   optional sign, digits with an optional point, an optional exponent; stops at
   the first character that does not fit; no number gives 0. */
double ReadNumber(const char *text);

/* Reads an integer with the classic atol grammar (blanks, sign, digits). */
long ReadLong(const char *text);

/* Formats value as printf's "%<width>.<decimals>f" would, with one rule of our
   own for every runtime: the value's decimal expansion to 17 significant
   digits is rounded to the decimals, an exact half away from zero.
   Non-finite values give "inf", "-inf" or "nan". The text is always
   terminated and never longer than capacity - 1; returns its length. */
int FormatFixed(char *buffer, size_t capacity, double value, int width, int decimals);

/* Rounds to the given decimals: nearest, an exact half (on the 17-digit
   expansion) away from zero. Zero comes back as +0; non-finite values come
   back unchanged. */
double RoundToDecimals(double value, int decimals);

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

/* The decimal hours that a typed text (at most 8 characters are looked at)
   stands for. */
double EvaluateTimeText(const char *text, const TimeRules *rules);

/* The hours between a freshly evaluated time and its partner as shown in the
   editor: 0 when either side is 0 (the pair total is then left alone). */
double PairDifference(double value, double partner);

/* The hours of a pair of a stored row: the absolute difference, rounded. */
double PairHours(double timeIn, double timeOut);

/* The hours of a row of eight times (In 1, Out 1, ... Out 4): the four pair
   hours added from pair 4 down to pair 1, rounded. */
double RowHours(const double times[8]);

#endif
