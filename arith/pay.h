/* The pay summary of a week: the rules it is worked out by. The split of the
   week's hours into regular, overtime and double time, and the pay, are pure
   functions of values beside these (no windows.h, no floating point). */
#ifndef HOURWISE_PAY_H
#define HOURWISE_PAY_H

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

#endif
