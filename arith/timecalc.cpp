/* Time arithmetic as functions of values: the step rounding, the typed time
   notation, and the hours of a pair and of a row. Numbers are read and
   rounded to decimals by numtext.cpp. */

#include "timecalc.h"

#include <math.h>
#include <string.h>

/* ---- step rounding -------------------------------------------------------- */

double RoundToStepValue(double x, double step, int type)
{
    double a = step;
    if (!(a > 0) || isinf(a)) /* no step, or one the count of steps cannot use */
        return x;
    if (x == a)
        return x;
    if (x < a) {
        switch (type) {
        case 1: return x >= a * 0.5 ? a : 0.0;
        case 2: return 0.0;
        case 3: return x == 0 ? 0.0 : a;
        default: return 0.0;
        }
    }
    if (!(x > a))
        return x; /* not a number */

    /* Whole steps are counted by repeated subtraction, as a clerk would. */
    double whole = 0.0, rest = x;
    while (rest >= a) {
        double next = rest - a;
        if (next == rest)
            break; /* a step too small to change the remainder */
        rest = next;
        whole += a;
        if (!(rest > 0))
            break;
    }
    switch (type) {
    case 1: return RoundToDecimals(rest, 2) >= RoundToDecimals(a * 0.5, 2) ? whole + a : whole;
    case 2: return whole;
    case 3: return rest > 0 ? whole + a : whole;
    default: return whole;
    }
}

/* ---- the typed notation --------------------------------------------------- */

/* Reads the characters [start, start + length) of a short text as a number. */
static double ReadSpan(const char *start, size_t length)
{
    char part[FIELD_READ_CHARS + 2];
    if (length > FIELD_READ_CHARS + 1)
        length = FIELD_READ_CHARS + 1;
    memcpy(part, start, length);
    part[length] = 0;
    return ReadNumber(part);
}

static const double ONE_SIXTIETH = 1.0 / 60.0;

/* A field's text as the evaluation and Add read it: its first 8 characters. */
static void FirstFieldChars(char read[FIELD_READ_CHARS + 1], const char *text)
{
    size_t n = 0;
    while (text && n < FIELD_READ_CHARS && text[n]) {
        read[n] = text[n];
        n++;
    }
    read[n] = 0;
}

double HoursWithFraction(double hours, double fraction, const TimeRules *rules)
{
    return RoundToDecimals(hours + RoundToStepValue(fraction, rules->step, rules->roundType), 2);
}

double EvaluateTimeText(const char *text, const TimeRules *rules)
{
    char t[FIELD_READ_CHARS + 1];
    FirstFieldChars(t, text);

    if (!strchr(t, '*') && !strchr(t, '-') && !strchr(t, '+'))
        return RoundToDecimals(ReadNumber(t), 2); /* a plain number of hours */

    static const char operators[3] = {'*', '-', '+'};
    const int modes[3] = {rules->starMode, rules->minusMode, rules->plusMode};
    double h = 0.0, f = 0.0; /* the whole hours and the fraction the step rounds */
    for (int i = 0; i < 3; i++) {
        const char *op = strchr(t, operators[i]);
        if (!op)
            continue;
        h = RoundToDecimals(ReadSpan(t, (size_t)(op - t)), 2);
        size_t after = strlen(op + 1);
        double m = RoundToDecimals(ReadSpan(op + 1, after < 2 ? after : 2), 2);
        switch (modes[i] - 3 * i) { /* 1 minutes, 2 hours and minutes, 3 hours */
        case 1:
            f = RoundToDecimals(m * ONE_SIXTIETH, 2);
            break;
        case 2:
            f = RoundToDecimals(m * ONE_SIXTIETH, 2);
            if (h < 12)
                h += 12;
            break;
        case 3:
            f = RoundToDecimals(m * 0.01, 2);
            if (h < 12)
                h += 12;
            break;
        default: /* a mode of another operator: whole hours, no shift */
            f = m;
            break;
        }
    }

    const char *point = strchr(t, '.');
    if (point) { /* a decimal point decides after all */
        h = RoundToDecimals(ReadSpan(t, (size_t)(point - t)), 2);
        size_t after = strlen(point + 1);
        f = RoundToDecimals(ReadSpan(point, 1 + (after < 2 ? after : 2)), 2);
    }
    return HoursWithFraction(h, f, rules);
}

double AddedFieldValue(const char *text)
{
    char read[FIELD_READ_CHARS + 1];
    FirstFieldChars(read, text);
    return RoundToDecimals(ReadNumber(read), 2);
}

double AddedTime(double evaluated)
{
    char shown[NUMBER_TEXT_SIZE];
    FormatFixed(shown, sizeof shown, evaluated, 5, 2);
    return AddedFieldValue(shown);
}

double CellReadBack(double hours)
{
    char cell[NUMBER_TEXT_SIZE];
    FormatFixed(cell, sizeof cell, hours, 8, 2);
    cell[CELL_READ_CHARS] = 0;
    return RoundToDecimals(ReadNumber(cell), 2);
}

/* ---- pairs and rows ------------------------------------------------------- */

double PairDifference(double value, double partner)
{
    if (partner > value)
        return value == 0 ? 0.0 : RoundToDecimals(partner - value, 2);
    return partner == 0 ? 0.0 : RoundToDecimals(value - partner, 2);
}

double PairHours(double timeIn, double timeOut)
{
    return timeIn > timeOut ? RoundToDecimals(timeIn - timeOut, 2)
                            : RoundToDecimals(timeOut - timeIn, 2);
}

double RowHours(const double times[8])
{
    double pair[4];
    for (int j = 0; j < 4; j++)
        pair[j] = PairHours(times[2 * j], times[2 * j + 1]);
    return RoundToDecimals(pair[3] + pair[2] + pair[1] + pair[0], 2);
}
