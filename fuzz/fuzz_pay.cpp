/* Fuzz target for the pay summary.

   A week of 0 to 10 entries of 0 to 24 hours (in hundredths) under random
   rules and a random rate is split here hundredth by hundredth, in the order
   of the days: on the seventh of seven days that all have hours the first 8
   hours are overtime and the rest double time; otherwise a hundredth past the
   day's double-time limit is double time, one past its overtime limit
   overtime, and one past the week's limit among the hours still regular
   overtime. Each line's pay is hours x rate x factor in 128-bit integers,
   rounded to the cent half up; the gross pay their sum. The summary, by days
   at once and by the week counted day by day, must give the same figures.

   The same with days of any size up to 2^63: the figures by the rules'
   sums in 128-bit integers, and PAY_TOO_LARGE exactly where a figure does
   not fit 64 bits. And the texts: hundredths as "%*lld.%02lld", a rate with
   2 to 4 decimals, the hours of a row (a text of hundredths read as the
   grand total reads numbers) back as those hundredths. */

#include "fuzz_common.h"
#include "pay.h"
#include "timecalc.h"

#include <limits.h>

typedef __int128 Wide;

static long long TakeUpTo(FuzzInput *in, long long most)   /* 0 to most */
{
    return (long long)(TakeBits(in) % (uint64_t)(most + 1));
}

/* A daily or weekly limit: none, or 0.01 to 168 hours. */
static long long TakeLimit(FuzzInput *in)
{
    return TakeByte(in) % 3 == 0 ? 0 : 1 + TakeUpTo(in, 16799);
}

static long long Fit(Wide value)
{
    return value >= (Wide)PAY_TOO_LARGE ? PAY_TOO_LARGE : (long long)value;
}

static Wide Pay(long long hours, long long rate, int factor)
{
    return ((Wide)hours * rate * factor + 500000) / 1000000;
}

static void CheckPay(const PaySummary *got, const long long expect[3], const PayRules *rules)
{
    long long hours[3] = {got->Regular, got->Overtime, got->DoubleTime};
    int factors[3] = {100, rules->OvertimeFactor, rules->DoubleTimeFactor};
    long long pays[3] = {got->RegularPay, got->OvertimePay, got->DoubleTimePay};
    Wide gross = 0;
    int tooLarge = 0;
    for (int i = 0; i < 3; i++) {
        FUZZ_CHECK(hours[i] == expect[i], "line %d: %lld hundredths, expected %lld", i, hours[i],
                   expect[i]);
        if (!rules->HasRate) {
            FUZZ_CHECK(pays[i] == 0, "line %d: pay %lld without a rate", i, pays[i]);
            continue;
        }
        long long want;
        if (rules->HourlyRate == 0 || factors[i] == 0 || expect[i] == 0)
            want = 0;
        else if (expect[i] == PAY_TOO_LARGE)
            want = PAY_TOO_LARGE;
        else
            want = Fit(Pay(expect[i], rules->HourlyRate, factors[i]));
        FUZZ_CHECK(pays[i] == want, "line %d: %lld hundredths at %lld x %d: %lld cents, expected %lld",
                   i, expect[i], rules->HourlyRate, factors[i], pays[i], want);
        tooLarge |= want == PAY_TOO_LARGE;
        gross += want;
    }
    long long wantGross = !rules->HasRate ? 0 : tooLarge ? PAY_TOO_LARGE : Fit(gross);
    FUZZ_CHECK(got->GrossPay == wantGross, "gross %lld, expected %lld", got->GrossPay, wantGross);
    FUZZ_CHECK(got->HasPay == (rules->HasRate != 0), "has pay %d", got->HasPay);
}

static void CheckBothWays(const long long *days, long count, const PayRules *rules,
                          const long long expect[3])
{
    PaySummary whole, byDay;
    SummarizePayWeek(days, count, rules, &whole);
    PayWeek week;
    BeginPayWeek(&week, rules);
    for (long i = 0; i < count; i++)
        AddPayDay(&week, days[i]);
    EndPayWeek(&week, &byDay);
    CheckPay(&whole, expect, rules);
    const long long a[9] = {whole.Regular, whole.Overtime, whole.DoubleTime, whole.HasPay,
                            whole.RegularPay, whole.OvertimePay, whole.DoubleTimePay,
                            whole.GrossPay, whole.Days};
    const long long b[9] = {byDay.Regular, byDay.Overtime, byDay.DoubleTime, byDay.HasPay,
                            byDay.RegularPay, byDay.OvertimePay, byDay.DoubleTimePay,
                            byDay.GrossPay, byDay.Days};
    FUZZ_CHECK(memcmp(a, b, sizeof a) == 0, "the week day by day differs");
    FUZZ_CHECK(whole.Days == count, "%ld days, expected %ld", whole.Days, count);
}

static int SeventhDayApplies(const long long *days, long count, const PayRules *rules)
{
    if (!rules->SeventhDay || count < 7)
        return 0;
    for (int d = 0; d < 7; d++)
        if (days[d] <= 0)
            return 0;
    return 1;
}

/* Weeks of real days, split hundredth by hundredth. */
static void CheckSmallWeek(const long long *days, long count, const PayRules *rules)
{
    long long counted[3] = {0, 0, 0}; /* regular, overtime, double time */
    int seventh = SeventhDayApplies(days, count, rules);
    for (long d = 0; d < count; d++) {
        for (long long u = 0; u < days[d]; u++) {
            int kind;
            if (seventh && d == 6)
                kind = u < 800 ? 1 : 2;
            else if (rules->DoubleTimeDaily > 0 && u >= rules->DoubleTimeDaily)
                kind = 2;
            else if (rules->OvertimeDaily > 0 && u >= rules->OvertimeDaily)
                kind = 1;
            else if (rules->OvertimeWeekly > 0 && counted[0] >= rules->OvertimeWeekly)
                kind = 1;
            else
                kind = 0;
            counted[kind]++;
        }
    }
    CheckBothWays(days, count, rules, counted);
}

/* Days of any size: the rules' sums in 128 bits. */
static void CheckLargeWeek(const long long *days, long count, const PayRules *rules)
{
    Wide regular = 0, overtime = 0, doubleTime = 0;
    int seventh = SeventhDayApplies(days, count, rules);
    for (long d = 0; d < count; d++) {
        Wide h = days[d];
        if (seventh && d == 6) {
            overtime += h < 800 ? h : 800;
            doubleTime += h > 800 ? h - 800 : 0;
            continue;
        }
        Wide dt = rules->DoubleTimeDaily, ot = rules->OvertimeDaily;
        Wide belowDouble = dt > 0 && h > dt ? dt : h;
        doubleTime += h - belowDouble;
        Wide belowOver = ot > 0 && belowDouble > ot ? ot : belowDouble;
        overtime += belowDouble - belowOver;
        regular += belowOver;
    }
    Wide weekly = rules->OvertimeWeekly;
    if (weekly > 0 && regular > weekly) {
        overtime += regular - weekly;
        regular = weekly;
    }
    long long expect[3] = {Fit(regular), Fit(overtime), Fit(doubleTime)};
    CheckBothWays(days, count, rules, expect);
}

static void CheckTexts(FuzzInput *in)
{
    long long value = TakeUpTo(in, PAY_TOO_LARGE - 1);
    int width = TakeByte(in) % 12;
    char got[PAY_TEXT_SIZE], want[64];
    snprintf(want, sizeof want, "%*lld.%02lld", width > 3 ? width - 3 : 0, value / 100, value % 100);
    FormatHundredths(got, sizeof got, value, width);
    FUZZ_CHECK(strcmp(got, want) == 0, "%lld width %d: \"%s\", expected \"%s\"", value, width, got,
               want);
    char small[8];
    FUZZ_CHECK(FormatHundredths(small, sizeof small, value, width) == (int)strlen(small) &&
                   (strlen(want) < sizeof small ? strcmp(small, want) == 0 : small[0] == 0),
               "%lld in 8 bytes: \"%s\"", value, small);

    long long rate = TakeUpTo(in, PAY_RATE_MOST);
    int decimals = rate % 100 ? (rate % 10 ? 4 : 3) : 2;
    long long shown = decimals == 4 ? rate : decimals == 3 ? rate / 10 : rate / 100;
    long long unit = decimals == 4 ? 10000 : decimals == 3 ? 1000 : 100;
    snprintf(want, sizeof want, "%lld.%0*lld", shown / unit, decimals, shown % unit);
    FUZZ_CHECK(FormatRateNumber(got, sizeof got, rate) == decimals && strcmp(got, want) == 0,
               "rate %lld: \"%s\", expected \"%s\"", rate, got, want);

    /* the hours of a row, a number of hundredths the list can hold */
    long long hundredths = TakeUpTo(in, 4400000000000LL);
    char text[40];
    snprintf(text, sizeof text, "%lld.%02lld", hundredths / 100, hundredths % 100);
    long long back = HoursInHundredths(RoundToDecimals(ReadNumber(text), 2));
    FUZZ_CHECK(back == hundredths, "%s hours: %lld hundredths", text, back);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    uint8_t flags = TakeByte(&in);
    PayRules rules;
    rules.OvertimeWeekly = TakeLimit(&in);
    rules.OvertimeDaily = TakeLimit(&in);
    rules.DoubleTimeDaily = TakeLimit(&in);
    rules.SeventhDay = flags & 1;
    rules.HasRate = (flags >> 1) & 1;
    rules.OvertimeFactor = 100 + (int)TakeUpTo(&in, PAY_FACTOR_MOST - 100);
    rules.DoubleTimeFactor = 100 + (int)TakeUpTo(&in, PAY_FACTOR_MOST - 100);
    rules.HourlyRate = TakeUpTo(&in, PAY_RATE_MOST);

    long long days[10];
    long count = TakeByte(&in) % 11;
    int large = (flags >> 2) & 1;
    for (long d = 0; d < count; d++) {
        if (!large)
            days[d] = TakeByte(&in) % 5 == 0 ? 0 : TakeUpTo(&in, 2400);
        else
            days[d] = TakeByte(&in) % 4 == 0 ? TakeUpTo(&in, 2400) : TakeUpTo(&in, PAY_TOO_LARGE - 1);
    }
    if (large)
        CheckLargeWeek(days, count, &rules);
    else
        CheckSmallWeek(days, count, &rules);
    CheckTexts(&in);
    return 0;
}
