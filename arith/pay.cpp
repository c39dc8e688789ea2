/* The split of a week's hours into regular, overtime and double time, and the
   pay, in whole hundredths of an hour and whole cents. A figure that 64 bits
   cannot hold becomes PAY_TOO_LARGE and stays so through every sum. */

#include "pay.h"

#include <math.h>
#include <string.h>

static long long Sum(long long a, long long b)
{
    if (a >= PAY_TOO_LARGE || b >= PAY_TOO_LARGE || a > PAY_TOO_LARGE - 1 - b)
        return PAY_TOO_LARGE;
    return a + b;
}

/* a - b for a > b >= 0: hours past a limit stay too large past it. */
static long long Past(long long a, long long b)
{
    return a >= PAY_TOO_LARGE ? PAY_TOO_LARGE : a - b;
}

void BeginPayWeek(PayWeek *week, const PayRules *rules)
{
    week->rules = *rules;
    week->regular = week->overtime = week->doubleTime = 0;
    week->days = 0;
    week->workedInARow = 0;
}

void AddPayDay(PayWeek *week, long long hours)
{
    const PayRules *rules = &week->rules;
    if (hours < 0)
        hours = 0;
    if (week->workedInARow == week->days && hours > 0)
        week->workedInARow++;
    week->days++;

    long long regular, overtime, doubleTime;
    if (rules->SeventhDay && week->days == DAYS_OF_A_WEEK &&
        week->workedInARow == DAYS_OF_A_WEEK) {
        regular = 0;
        overtime = hours > SEVENTH_DAY_OVERTIME ? SEVENTH_DAY_OVERTIME : hours;
        doubleTime = hours > SEVENTH_DAY_OVERTIME ? Past(hours, SEVENTH_DAY_OVERTIME) : 0;
    } else {
        long long doubleLimit = rules->DoubleTimeDaily, overLimit = rules->OvertimeDaily;
        int pastDouble = doubleLimit > 0 && hours > doubleLimit;
        doubleTime = pastDouble ? Past(hours, doubleLimit) : 0;
        long long rest = pastDouble ? doubleLimit : hours;
        int pastOver = overLimit > 0 && rest > overLimit;
        overtime = pastOver ? Past(rest, overLimit) : 0;
        regular = pastOver ? overLimit : rest;
    }
    /* regular hours past the week's limit are overtime: the limit is taken
       as the days come, so that the regular hours never grow past it */
    long long weekly = rules->OvertimeWeekly;
    if (weekly > 0 && regular > weekly - week->regular) {
        overtime = Sum(overtime, Past(regular, weekly - week->regular));
        regular = weekly - week->regular;
    }
    week->regular = Sum(week->regular, regular);
    week->overtime = Sum(week->overtime, overtime);
    week->doubleTime = Sum(week->doubleTime, doubleTime);
}

long long LinePay(long long hours, long long rate, int factor)
{
    if (rate < 0 || rate > PAY_RATE_MOST || factor < 0 || factor > PAY_FACTOR_MOST)
        return PAY_TOO_LARGE;
    long long perHour = rate * factor; /* hundred-millionths of the unit an hour */
    if (perHour == 0 || hours <= 0)
        return 0;
    if (hours >= PAY_TOO_LARGE)
        return PAY_TOO_LARGE;
    /* hours * perHour / 1e6 in two parts, each within 64 bits */
    const long long MILLION = 1000000;
    long long high = hours / MILLION, low = hours % MILLION;
    long long lowPay = low * perHour; /* below 1e6 * 1e11 */
    long long cents = lowPay / MILLION + (lowPay % MILLION >= MILLION / 2 ? 1 : 0);
    if (high > (PAY_TOO_LARGE - 1 - cents) / perHour)
        return PAY_TOO_LARGE;
    return high * perHour + cents;
}

void EndPayWeek(const PayWeek *week, PaySummary *summary)
{
    const PayRules *rules = &week->rules;
    summary->Regular = week->regular;
    summary->Overtime = week->overtime;
    summary->DoubleTime = week->doubleTime;
    summary->Days = week->days;
    summary->HasPay = rules->HasRate != 0;
    summary->Rate = rules->HourlyRate;
    summary->RegularPay = summary->OvertimePay = summary->DoubleTimePay = summary->GrossPay = 0;
    if (!summary->HasPay)
        return;
    summary->RegularPay = LinePay(summary->Regular, rules->HourlyRate, 100);
    summary->OvertimePay = LinePay(summary->Overtime, rules->HourlyRate, rules->OvertimeFactor);
    summary->DoubleTimePay =
        LinePay(summary->DoubleTime, rules->HourlyRate, rules->DoubleTimeFactor);
    summary->GrossPay =
        Sum(Sum(summary->RegularPay, summary->OvertimePay), summary->DoubleTimePay);
}

void SummarizePayWeek(const long long *hours, long count, const PayRules *rules,
                      PaySummary *summary)
{
    PayWeek week;
    BeginPayWeek(&week, rules);
    for (long i = 0; i < count; i++)
        AddPayDay(&week, hours[i]);
    EndPayWeek(&week, summary);
}

long long HoursInHundredths(double hours)
{
    /* A row's hours are the double nearest to a number of hundredths; below
       2^50 hundredths that number is the nearest whole one to hours * 100. */
    if (!(hours > 0))
        return 0;
    if (hours >= 1e13)
        return PAY_TOO_LARGE;
    return llround(hours * 100.0);
}

int FormatScaled(char *text, size_t capacity, long long value, int decimals, int fewest)
{
    int negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    while (decimals > fewest && magnitude % 10 == 0) {
        magnitude /= 10;
        decimals--;
    }
    char digits[32];
    int n = 0;
    do {
        digits[n++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 || n <= decimals);
    size_t length = (size_t)negative + (size_t)n + (decimals > 0 ? 1 : 0);
    if (length >= capacity) {
        if (capacity > 0)
            text[0] = 0;
        return -1;
    }
    size_t at = 0;
    if (negative)
        text[at++] = '-';
    for (int i = n - 1; i >= 0; i--) {
        text[at++] = digits[i];
        if (i == decimals && decimals > 0)
            text[at++] = '.';
    }
    text[at] = 0;
    return decimals;
}

int FormatHundredths(char *buffer, size_t capacity, long long value, int width)
{
    char text[PAY_TEXT_SIZE];
    if (value >= PAY_TOO_LARGE)
        strcpy(text, PAY_TOO_LARGE_TEXT);
    else /* no figure of the summary is negative; one would keep its sign */
        FormatScaled(text, sizeof text, value, 2, 2);
    size_t length = strlen(text);
    size_t padding = width > 0 && (size_t)width > length ? (size_t)width - length : 0;
    if (padding + length >= capacity) {
        if (capacity > 0)
            buffer[0] = 0;
        return 0;
    }
    memset(buffer, ' ', padding);
    memcpy(buffer + padding, text, length + 1);
    return (int)(padding + length);
}

int FormatRateNumber(char *buffer, size_t capacity, long long rate)
{
    if (rate < 0 || rate >= PAY_TOO_LARGE) {
        if (capacity > 0)
            buffer[0] = 0;
        return -1;
    }
    return FormatScaled(buffer, capacity, rate, 4, 2);
}
