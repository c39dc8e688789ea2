// The time arithmetic as functions of values: reading numbers, rounding to
// decimals and to the step, the typed notation, pair and row hours, and the
// pay summary of a week.
#include <gtest/gtest.h>

#include "pay.h"
#include "timecalc.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

std::string Fixed(double value, int width, int decimals = 2)
{
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, value, width, decimals);
    return text;
}

// The rounding rule computed another way: the runtime library of the
// toolchain gives the 17 significant digits (exactly, ties to even), and the
// digit string is rounded at two decimals with an exact half going up.
double ReferenceRound2(double value)
{
    if (value == 0)
        return 0.0;
    char e[64];
#ifdef __MINGW32__
    __mingw_snprintf(e, sizeof e, "%.16e", fabs(value));
#else
    snprintf(e, sizeof e, "%.16e", fabs(value));
#endif
    // e = d.dddddddddddddddde[+-]xx
    std::string digits;
    digits += e[0];
    digits.append(e + 2, 16);
    int exponent = atoi(e + 19);
    // value = 0.digits * 10^(exponent + 1); position of the point in digits
    int point = exponent + 1;
    std::string integer, fraction;
    if (point <= 0) {
        integer = "0";
        fraction = std::string(-point, '0') + digits;
    } else if (point >= (int)digits.size()) {
        integer = digits + std::string(point - digits.size(), '0');
    } else {
        integer = digits.substr(0, point);
        fraction = digits.substr(point);
    }
    fraction += "000";
    std::string kept = integer + fraction.substr(0, 2);
    bool up = fraction[2] >= '5';
    // add one to the kept digits
    if (up) {
        int i = (int)kept.size() - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i < 0)
            kept = "1" + kept;
        else
            kept[i]++;
    }
    std::string text = kept.substr(0, kept.size() - 2) + "." + kept.substr(kept.size() - 2);
#ifdef __MINGW32__
    double result = __mingw_strtod(text.c_str(), NULL);
#else
    double result = strtod(text.c_str(), NULL);
#endif
    return value < 0 ? -result : result;
}

uint64_t Bits(double v)
{
    uint64_t b;
    memcpy(&b, &v, sizeof b);
    return b;
}

TEST(RoundToDecimals, RoundsAnExactHalfAwayFromZeroOnSeventeenDigits)
{
    struct Case {
        double value;
        double expected;
    } cases[] = {
        {0.125, 0.13}, {0.375, 0.38}, {-0.125, -0.13}, {0.005, 0.01}, {2.675, 2.67},
        {1.005, 1.00}, {0.37, 0.37},  {8.5, 8.5},      {0.004, 0.0},  {-0.004, 0.0},
        {0.0049999, 0.0}, {99.995, 100.0}, {1e300, 1e300}, {12345678.125, 12345678.13},
        {1.0 / 60.0 * 59, 0.98},
        {INFINITY, 0.0}, {-INFINITY, 0.0}, {NAN, 0.0}, // "inf" and "nan" read as no number
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RoundToDecimals(c.value, 2), c.expected) << c.value;
        if (c.expected == 0) { // zero comes back as +0
            EXPECT_FALSE(signbit(RoundToDecimals(c.value, 2))) << c.value;
        }
    }
    EXPECT_FALSE(signbit(RoundToDecimals(-0.001, 2)));
}

TEST(RoundToDecimals, AgreesWithTheDigitStringReferenceOnAMillionRandomValues)
{
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    int mismatches = 0;
    for (int i = 0; i < 1000000; i++) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        // a mantissa and a decimal magnitude from 1e-6 to 1e20, either sign
        double mantissa = (double)(state >> 11) / 9007199254740992.0;
        int magnitude = (int)((state >> 3) % 27) - 6;
        double value = mantissa * pow(10.0, magnitude);
        if (state & 1)
            value = -value;
        double got = RoundToDecimals(value, 2), want = ReferenceRound2(value);
        if (Bits(got) != Bits(want) && !(got == 0 && want == 0) && mismatches++ < 10)
            ADD_FAILURE() << "value " << value << ": got " << got << " want " << want;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(RoundToDecimals, AgreesWithTheReferenceOnEveryThreeDecimalTieUpTo10000)
{
    int mismatches = 0;
    for (int n = 0; n < 1000000; n++) {
        char text[32];
        snprintf(text, sizeof text, "%d.%02d5", n / 100, n % 100); // 0.005 ... 9999.995
        double value = ReadNumber(text);
        double got = RoundToDecimals(value, 2), want = ReferenceRound2(value);
        if (Bits(got) != Bits(want) && mismatches++ < 10)
            ADD_FAILURE() << text << ": got " << got << " want " << want;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ReadNumber, FollowsTheClassicGrammarWhateverTheRuntime)
{
    struct Case {
        const char *text;
        double expected;
    } cases[] = {
        {"8:30", 8},        {"0x1A", 0},      {"inf", 0},         {"nan", 0},
        {"  -1.5e2x", -150}, {".5", 0.5},      {"5.", 5},          {"e5", 0},
        {"1e", 1},          {"1e+", 1},       {"-", 0},           {"", 0},
        {"+.e1", 0},        {"\t 12", 12},    {"1e-400", 0},      {"00012.50", 12.5},
        {"0.000", 0},       {"   8.50", 8.5}, {".25", 0.25},      {"-.5", -0.5},
        {"0.1000000000000000055511151231257827", 0.1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_TRUE(isinf(ReadNumber("1e400")));
    EXPECT_EQ(ReadNumber(NULL), 0);

    // A digit string far longer than any double needs is still read exactly.
    std::string many = "0." + std::string(2000, '3');
    EXPECT_EQ(ReadNumber(many.c_str()), 1.0 / 3.0);
    std::string huge = std::string(400, '9');
    EXPECT_TRUE(isinf(ReadNumber(huge.c_str())));
    std::string halfway = "9007199254740993" + std::string(599, '0') + "1e-600";
    EXPECT_EQ(ReadNumber(halfway.c_str()), 9007199254740994.0); // a digit far out breaks the tie

    // Beyond the range: infinity, or the nearest subnormal or zero, each with
    // its sign, also where the exponent and thousands of digits nearly cancel.
    const double tiny = 4.9406564584124654e-324;
    struct Edge {
        std::string text;
        double expected;
    } edges[] = {
        {"-1e400", -INFINITY},                       {"-1e-400", -0.0},
        {"1e-320", 9.9998886718268301e-321},         {"2.4703282292062328e-324", tiny},
        {"2.4703282292062327e-324", 0.0},            {"-4.9406564584124654e-324", -tiny},
        {"0." + std::string(3000, '0') + "1e3001", 1.0},
        {"1" + std::string(3000, '0') + "e-3000", 1.0},
        {"1" + std::string(400, '0') + "e-800", 0.0}, // 1e-400
        {"0." + std::string(400, '0') + "1e800", INFINITY}, // 1e399
        // thousands of digits: a digit far out breaks an exact tie, none keeps it even
        {"9007199254740993" + std::string(3000, '0') + "1e-3001", 9007199254740994.0},
        {"9007199254740993" + std::string(3000, '0') + "e-3000", 9007199254740992.0},
    };
    for (const Edge &e : edges) {
        double got = ReadNumber(e.text.c_str());
        EXPECT_EQ(Bits(got), Bits(e.expected)) << e.text.substr(0, 40) << " reads " << got;
    }
}

TEST(ReadLong, ReadsBlanksSignAndDigits)
{
    EXPECT_EQ(ReadLong("1"), 1);
    EXPECT_EQ(ReadLong("  -42abc"), -42);
    EXPECT_EQ(ReadLong("x"), 0);
    EXPECT_EQ(ReadLong("99999999999"), 2147483647L);
}

TEST(FormatFixed, PadsAndNeverCutsANumber)
{
    struct Case {
        double value;
        int width;
        const char *expected;
    } cases[] = {
        {8.5, 5, " 8.50"},      {0, 5, " 0.00"},        {35.5, 8, "   35.50"},
        {17.75, 9, "    17.75"}, {123456.789, 5, "123456.79"}, {-0.15, 5, "-0.15"},
        {-0.001, 5, " 0.00"},    {0.125, 5, " 0.13"},    {2.675, 5, " 2.67"},
        {INFINITY, 5, "  inf"},  {-INFINITY, 8, "    -inf"}, {NAN, 5, "  nan"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Fixed(c.value, c.width), c.expected) << c.value;

    std::string big = Fixed(1e300, 5);
    EXPECT_EQ(big.size(), 304u);
    EXPECT_EQ(ReadNumber(big.c_str()), 1e300);
    std::string largest = Fixed(-1.7976931348623157e308, 9);
    EXPECT_EQ(largest.size(), 313u);
    EXPECT_EQ(ReadNumber(largest.c_str()), -1.7976931348623157e308);

    char small[6];
    EXPECT_EQ(FormatFixed(small, sizeof small, 1234.5, 5, 2), 5); // bounded by the buffer
    EXPECT_STREQ(small, "1234.");
}

TEST(RoundToStep, FollowsTheStepTypesAndComparisons)
{
    struct Case {
        double x, step;
        int type;
        double expected;
    } cases[] = {
        {0.5, 0, 1, 0.5},      {0.25, 0.25, 2, 0.25}, // no step; x equal to the step
        {0.12, 0.25, 1, 0.0},  {0.125, 0.25, 1, 0.25}, {0.2, 0.25, 2, 0.0},
        {0.0, 0.25, 3, 0.0},   {0.01, 0.25, 3, 0.25},  {0.2, 0.25, 7, 0.0},
        {0.37, 0.25, 1, 0.25}, {0.38, 0.25, 1, 0.5},   {0.45, 0.25, 2, 0.25},
        {0.3, 0.25, 3, 0.5},   {0.5, 0.25, 3, 0.5},    {0.45, 0.25, 9, 0.25},
        // with a step of 0.15 the value 0.07 goes down, a remainder of 0.07 up
        {0.07, 0.15, 1, 0.0},  {0.22, 0.15, 1, 0.3},
        // a step that is not a positive number means no step rounding
        {0.37, -0.5, 1, 0.37}, {0.37, INFINITY, 3, 0.37}, {0.37, NAN, 1, 0.37},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(RoundToStepValue(c.x, c.step, c.type), c.expected)
            << c.x << " step " << c.step << " type " << c.type;
    // a step too small to change the remainder ends the count instead of hanging
    EXPECT_GE(RoundToStepValue(1e300, 1e-300, 2), 0.0);
}

TimeRules Rules(int star = 1, int minus = 5, int plus = 8, double step = 0, int type = 1)
{
    TimeRules rules = {star, minus, plus, step, type};
    return rules;
}

TEST(EvaluateTimeText, ReadsTheTypedNotationWithTheDefaultModes)
{
    struct Case {
        const char *typed;
        const char *shown;
    } cases[] = {
        {"8*30", " 8.50"},  {"5-30", "17.50"},    {"5+30", "17.50"},   {"8.30", " 8.30"},
        {"8", " 8.00"},     {"", " 0.00"},        {"8*5", " 8.08"},    {"8*305", " 8.50"},
        {"12-30", "12.50"}, {"13-30", "13.50"},   {"11-59", "23.98"},  {"-30", "12.50"},
        {"8*30-15", "20.25"}, {"8-15*30", "20.25"}, {"8.5*30", " 8.50"}, {"8:30", " 8.00"},
        {"0.125", " 0.13"}, {"  7", " 7.00"},     {"abc", " 0.00"},
    };
    TimeRules rules = Rules();
    for (const Case &c : cases)
        EXPECT_EQ(Fixed(EvaluateTimeText(c.typed, &rules), 5), c.shown) << c.typed;
}

TEST(EvaluateTimeText, AppliesTheModeOfEachOperator)
{
    struct Case {
        int star, minus, plus;
        const char *typed;
        double expected;
    } cases[] = {
        {1, 5, 8, "8*30", 8.50}, {2, 5, 8, "8*30", 20.50}, {3, 5, 8, "8*30", 20.30},
        {1, 4, 8, "5-30", 5.50}, {1, 6, 8, "5-30", 17.30}, {1, 5, 7, "5+30", 5.50},
        {1, 5, 9, "5+30", 17.30}, {2, 5, 8, "12*00", 12.0}, {2, 5, 8, "*30", 12.50},
        // a mode number of another operator: the two characters are whole hours
        {7, 5, 8, "8*30", 38.0}, {1, 2, 8, "5-30", 35.0}, {1, 5, 0, "5+30", 35.0},
    };
    for (const Case &c : cases) {
        TimeRules rules = Rules(c.star, c.minus, c.plus);
        EXPECT_DOUBLE_EQ(EvaluateTimeText(c.typed, &rules), c.expected)
            << c.typed << " modes " << c.star << c.minus << c.plus;
    }
}

TEST(EvaluateTimeText, RoundsTheMinutesToAQuarterHourByType)
{
    struct Case {
        const char *typed;
        double both, down, up;
    } cases[] = {
        {"8*00", 8.00, 8.00, 8.00}, {"8*07", 8.00, 8.00, 8.25}, {"8*08", 8.25, 8.00, 8.25},
        {"8*15", 8.25, 8.25, 8.25}, {"8*22", 8.25, 8.25, 8.50}, {"8*23", 8.50, 8.25, 8.50},
        {"8*30", 8.50, 8.50, 8.50}, {"8*52", 8.75, 8.75, 9.00}, {"8*53", 9.00, 8.75, 9.00},
        {"8.10", 8.10, 8.10, 8.10}, // a plain number is not touched by the step
    };
    for (const Case &c : cases) {
        const double expected[3] = {c.both, c.down, c.up};
        for (int type = 1; type <= 3; type++) {
            TimeRules rules = Rules(1, 5, 8, 0.25, type);
            EXPECT_DOUBLE_EQ(EvaluateTimeText(c.typed, &rules), expected[type - 1])
                << c.typed << " type " << type;
        }
    }
}

TEST(EvaluateTimeText, TakesAnythingAtAllWithoutHarm)
{
    struct Case {
        const char *typed;
        double expected;
    } cases[] = {
        {"1e300", 1e300}, {"99999999", 99999999}, {"999999999999", 99999999}, // 8 characters
        {"-1e300", 12.02}, {"*-+", 12.0},  {"1e-400", 13.67}, {"...", 0.0},
        {"-", 12.0},       {"99*99", 100.65}, {"nan", 0.0},  {"inf", 0.0},
        // hours too large for a double count as 0, so an afternoon mode shifts them
        {"1e999", 0.0},    {"2e308", 0.0},    {"1e999*30", 0.5}, {"1e999-30", 12.5},
    };
    TimeRules rules = Rules();
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(EvaluateTimeText(c.typed, &rules), c.expected) << c.typed;
    TimeRules negative = Rules(1, 5, 8, -0.5, 1);
    EXPECT_DOUBLE_EQ(EvaluateTimeText("8*07", &negative), 8.12);
}

TEST(PairDifference, LeavesThePairTotalAloneForAnEmptySide)
{
    struct Case {
        double value, partner, expected;
    } cases[] = {
        {17.0, 8.0, 9.0}, {8.0, 17.0, 9.0}, {16.75, 8.0, 8.75}, {8.0, 0.0, 0.0},
        {0.0, 8.0, 0.0},  {8.5, 8.5, 0.0},  {8.0, 5.0, 3.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(PairDifference(c.value, c.partner), c.expected)
            << c.value << " and " << c.partner;
}

TEST(RowHours, AddsTheFourPairsAndCountsAZeroSide)
{
    const double week[8] = {8.0, 17.0, 13.0, 21.75, 0, 0, 0, 0};
    EXPECT_DOUBLE_EQ(RowHours(week), 17.75);
    EXPECT_EQ(Fixed(RowHours(week) + RowHours(week), 8), "   35.50");
    const double reversed[8] = {17.0, 8.0, 0, 0, 0, 0, 0, 0};
    EXPECT_DOUBLE_EQ(RowHours(reversed), 9.0);
    const double open[8] = {8.0, 0.0, 0, 0, 0, 0, 0, 0};
    EXPECT_DOUBLE_EQ(RowHours(open), 8.0);
    EXPECT_DOUBLE_EQ(PairHours(22.0, 6.0), 16.0);
}


// The worked examples of the guide: hours in hundredths, the rate in
// ten-thousandths, the figures in hundredths and cents.
TEST(PaySummary, WorkedExamples)
{
    const PayRules federal = DEFAULT_PAY_RULES;
    PayRules california = federal, seventh = federal;
    california.OvertimeDaily = 800;
    california.DoubleTimeDaily = 1200;
    seventh.SeventhDay = 1;
    struct {
        const char *what;
        PayRules rules;
        long long rate;
        std::vector<long long> days;
        long long regular, overtime, doubleTime, gross;
    } cases[] = {
        {"46 hours at $6", federal, 60000, {4600}, 4000, 600, 0, 29400},
        {"the week, weekly only", federal, 250000, {1000, 800, 1300, 800, 800}, 4000, 700, 0, 126250},
        {"the week, daily 8 / 12", california, 250000, {1000, 800, 1300, 800, 800}, 4000, 600, 100, 127500},
        {"seventh day", seventh, 200000, {800, 800, 800, 800, 800, 800, 1000}, 4000, 1600, 200, 136000},
        {"no seventh-day rule", federal, 200000, {800, 800, 800, 800, 800, 800, 1000}, 4000, 1800, 0, 134000},
        {"a day off: no seventh day", seventh, 200000, {800, 800, 0, 800, 800, 800, 1000}, 4000, 1000, 0, 110000},
        {"41.25 hours at $17.36", federal, 173600, {4125}, 4000, 125, 0, 72695},
        {"half a cent goes up", federal, 50, {100, 0, 0}, 100, 0, 0, 1},
        {"eight days, one week", california, 10000, {800, 800, 800, 800, 800, 800, 800, 1300}, 4000, 2800, 100, 8400},
    };
    for (auto &c : cases) {
        PayRules rules = c.rules;
        rules.HasRate = 1;
        rules.HourlyRate = c.rate;
        PaySummary got;
        SummarizePayWeek(c.days.data(), (long)c.days.size(), &rules, &got);
        EXPECT_EQ(c.regular, got.Regular) << c.what;
        EXPECT_EQ(c.overtime, got.Overtime) << c.what;
        EXPECT_EQ(c.doubleTime, got.DoubleTime) << c.what;
        EXPECT_EQ(c.gross, got.GrossPay) << c.what;
        EXPECT_EQ((long)c.days.size(), got.Days) << c.what;
    }
}

} // namespace
