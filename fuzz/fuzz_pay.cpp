/* Fuzz target for the pay summary. Weeks of 0 to 10 entries of 0 to 24
   hours under random rules and rates are split here hundredth by hundredth
   in the order of the days (the seventh of seven worked days: 8 hours
   overtime, the rest double time; else past the day's double-time limit,
   past its overtime limit, past the week's limit among the regular hours),
   each line paid in 128-bit integers, the cent half up; days of any size up
   to 2^63 by the rules' sums in 128 bits, PAY_TOO_LARGE exactly where 64
   bits end. Both ways of counting must agree. And the texts: hundredths,
   the rate, and a row's hours read back as hundredths. */

#include "fuzz_common.h"
#include "pay.h"
#include "timecalc.h"

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

/* The figures of both ways of counting against the expected hours, and the
   pay of each line: hours x rate x factor in 128 bits, the cent half up. */
static void CheckBothWays(const long long *days, long count, const PayRules *rules,
                          const long long expect[3])
{
    PaySummary got[2];
    SummarizePayWeek(days, count, rules, &got[0]);
    PayWeek week;
    BeginPayWeek(&week, rules);
    for (long i = 0; i < count; i++)
        AddPayDay(&week, days[i]);
    EndPayWeek(&week, &got[1]);
    const int factors[3] = {100, rules->OvertimeFactor, rules->DoubleTimeFactor};
    for (int way = 0; way < 2; way++) {
        const PaySummary *g = &got[way];
        const long long hours[3] = {g->Regular, g->Overtime, g->DoubleTime};
        const long long pays[3] = {g->RegularPay, g->OvertimePay, g->DoubleTimePay};
        Wide gross = 0;
        int tooLarge = 0;
        for (int i = 0; i < 3; i++) {
            FUZZ_CHECK(hours[i] == expect[i], "way %d line %d: %lld, expected %lld", way, i, hours[i],
                       expect[i]);
            long long want = !rules->HasRate || rules->HourlyRate == 0 || expect[i] == 0 ? 0
                             : expect[i] == PAY_TOO_LARGE ? PAY_TOO_LARGE
                                                          : Fit(Pay(expect[i], rules->HourlyRate, factors[i]));
            FUZZ_CHECK(pays[i] == want, "way %d line %d: %lld x %lld x %d: %lld cents, expected %lld", way,
                       i, expect[i], rules->HourlyRate, factors[i], pays[i], want);
            tooLarge |= want == PAY_TOO_LARGE;
            gross += want;
        }
        long long wantGross = !rules->HasRate ? 0 : tooLarge ? PAY_TOO_LARGE : Fit(gross);
        FUZZ_CHECK(g->GrossPay == wantGross && g->HasPay == (rules->HasRate != 0) && g->Days == count,
                   "way %d: gross %lld, expected %lld", way, g->GrossPay, wantGross);
    }
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
