/* The pay summary of a week: the rules it is worked out by. The split of the
   week's hours into regular, overtime and double time, and the pay, are pure
   functions of values beside these (no windows.h, no floating point). */
#ifndef HOURWISE_PAY_H
#define HOURWISE_PAY_H

#include <stddef.h>

/* Hours are whole hundredths of an hour (4000 is 40 hours), factors whole
   hundredths (150 is 1.5), the rate whole ten-thousandths of the currency
   unit (250000 is 25.00). A limit of 0 is no limit. */
struct PayRules {
    long long OvertimeWeekly;   /* hours a week past which hours are overtime */
    long long OvertimeDaily;    /* hours a day past which hours are overtime */
    long long DoubleTimeDaily;  /* hours a day past which hours are double time */
    int       SeventhDay;       /* 1: the seventh day worked in a row is paid as overtime
                                   for its first 8 hours and double time after */
    int       OvertimeFactor;
    int       DoubleTimeFactor;
    int       HasRate;          /* 0: no rate, no pay is shown */
    long long HourlyRate;
};

/* Overtime past 40 hours a week at 1.5 times the rate; double time at 2; no
   daily limits, no seventh-day rule, no rate. */
#define DEFAULT_PAY_RULES {4000, 0, 0, 0, 150, 200, 0, 0}

/* A figure of the summary (hours in hundredths, pay in cents) that 64 bits
   cannot hold: shown as PAY_TOO_LARGE_TEXT, never as a number. */
#define PAY_TOO_LARGE 0x7FFFFFFFFFFFFFFFLL
#define PAY_TOO_LARGE_TEXT "too large"

/* The rates and factors that the pay is worked out for; a rule beyond them
   (the preferences never hold one) gives a pay too large. */
#define PAY_RATE_MOST   99999999LL   /* 9,999.9999 */
#define PAY_FACTOR_MOST 999          /* 9.99 */

#define SEVENTH_DAY_OVERTIME 800     /* the seventh day's first 8 hours */
#define DAYS_OF_A_WEEK 7

/* The summary of a week. Hours and pay are PAY_TOO_LARGE where they do not
   fit; the pay is there only with a rate. */
struct PaySummary {
    long long Regular, Overtime, DoubleTime;        /* hundredths of an hour */
    int       HasPay;
    long long RegularPay, OvertimePay, DoubleTimePay, GrossPay;   /* cents */
    long long Rate;                                 /* the rate worked with */
    long      Days;                                 /* the entries counted */
};

/* A week counted day by day, as the rows of the list are read once. */
struct PayWeek {
    PayRules  rules;
    long long regular, overtime, doubleTime;
    long      days;
    int       workedInARow;   /* the days from the first on that all had hours */
};

void BeginPayWeek(PayWeek *week, const PayRules *rules);
/* The next entry's hours (hundredths; PAY_TOO_LARGE for a day too large to
   count; less than 0 counts as no hours). */
void AddPayDay(PayWeek *week, long long hours);
void EndPayWeek(const PayWeek *week, PaySummary *summary);

/* The whole week at once: the entries' hours in their order. */
void SummarizePayWeek(const long long *hours, long count, const PayRules *rules,
                      PaySummary *summary);

/* The pay of hours at the rate times the factor (hundredths; 100 for the rate
   itself), in cents rounded half away from zero; PAY_TOO_LARGE when it does
   not fit or the rate or factor are beyond the most. */
long long LinePay(long long hours, long long rate, int factor);

/* The hours of a row as the grand total adds them (two decimals, not
   negative) in whole hundredths: exact below 1e13 hours, PAY_TOO_LARGE from
   there on. */
long long HoursInHundredths(double hours);

/* A value in units of 10^-decimals as a plain number: a '-' for a negative
   value, the digits, and a point before the decimals, of which trailing zeros
   are dropped down to fewest. Gives the decimals written, or -1 (text "")
   when it does not fit capacity with its NUL. */
int FormatScaled(char *text, size_t capacity, long long value, int decimals, int fewest);

/* "%<width>.2f" of a value in hundredths (hours, or cents as a plain number
   such as 1275.00), or PAY_TOO_LARGE_TEXT; returns the length. A text longer
   than capacity - 1 is not written: the buffer then holds "". */
#define PAY_TEXT_SIZE 32
int FormatHundredths(char *buffer, size_t capacity, long long value, int width);

/* The rate as a plain number with at least 2 and at most 4 decimals
   (25.00, 17.3625); returns the decimals written, or -1 (buffer "") when it
   does not fit. */
int FormatRateNumber(char *buffer, size_t capacity, long long rate);

#endif
