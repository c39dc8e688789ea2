/* The pay rules as texts, read and written in whole units. */

#include "payrules.h"
#include "numtext.h"

#include <string.h>

/* What each kind keeps: decimals, the least and most value in its units,
   whether an empty text stands for none, and the characters of the longest
   text of a valid value ("1234.5678", "167.99", "9.99"). */
struct RuleRange {
    int decimals;
    long long least, most;
    int emptyIsNone;
    int chars;
};

static const RuleRange RANGES[3] = {
    {4, 0, 99999900, 1, 9},   /* a rate: 0 to 9,999.99 */
    {2, 1, 16800, 1, 6},      /* hours: 0.01 to 168 */
    {2, 100, 999, 0, 4},      /* a factor: 1 to 9.99 */
};

static const RuleRange *RangeOf(int kind)
{
    return &RANGES[kind == RULE_RATE ? 0 : kind == RULE_LIMIT ? 1 : 2];
}

static long long Scale(int decimals)
{
    long long scale = 1;
    while (decimals-- > 0)
        scale *= 10;
    return scale;
}

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int RuleDecimals(int kind)
{
    return RangeOf(kind)->decimals;
}

int RuleTextChars(int kind)
{
    return RangeOf(kind)->chars;
}

int ReadRuleText(const char *text, int kind, long long *value)
{
    const RuleRange *range = RangeOf(kind);
    size_t begin = 0, end = text ? strlen(text) : 0;
    while (begin < end && IsBlank(text[begin]))
        begin++;
    while (end > begin && IsBlank(text[end - 1]))
        end--;
    if (begin == end) {
        if (!range->emptyIsNone)
            return RULE_MISSING;
        *value = 0;
        return RULE_NONE;
    }

    /* The whole part stops growing past the range, so that no length of
       digits overflows; the decimals past the kind's must all be zeros. */
    long long whole = 0, part = 0;
    int digits = 0, points = 0, decimals = 0, tooLarge = 0, tooPrecise = 0;
    for (size_t i = begin; i < end; i++) {
        char c = text[i];
        if (c == '.') {
            if (++points > 1)
                return RULE_NOT_NUMBER;
            continue;
        }
        if (!IsDigit(c))
            return RULE_NOT_NUMBER;
        digits++;
        int digit = c - '0';
        if (points == 0) {
            whole = whole * 10 + digit;
            if (whole > range->most) {
                whole = range->most + 1;
                tooLarge = 1;
            }
        } else if (decimals < range->decimals) {
            part = part * 10 + digit;
            decimals++;
        } else if (digit != 0) {
            tooPrecise = 1;
        }
    }
    if (digits == 0)
        return RULE_NOT_NUMBER;
    if (tooPrecise)
        return RULE_TOO_PRECISE;
    long long number = whole * Scale(range->decimals) + part * Scale(range->decimals - decimals);
    if (tooLarge || number < range->least || number > range->most)
        return RULE_OUT_OF_RANGE;
    *value = number;
    return RULE_NUMBER;
}

void FormatRuleText(char *text, size_t capacity, int kind, long long value)
{
    if (text && capacity > 0)
        FormatScaled(text, capacity, value, RuleDecimals(kind), 0);
}

const PayRuleTextInfo PAY_RULE_TEXT_INFO[PAY_RULE_TEXTS] = {
    {"HourlyRate", RULE_RATE, ""},
    {"OvertimeWeekly", RULE_LIMIT, "40"},
    {"OvertimeDaily", RULE_LIMIT, ""},
    {"DoubleTimeDaily", RULE_LIMIT, ""},
    {"OvertimeFactor", RULE_FACTOR, "1.5"},
    {"DoubleTimeFactor", RULE_FACTOR, "2"},
};

void SetPayRule(PayRules *rules, int rule, int verdict, long long value)
{
    long long number = verdict == RULE_NUMBER ? value : 0;
    switch (rule) {
    case RULE_HOURLYRATE:
        rules->HasRate = verdict == RULE_NUMBER;
        rules->HourlyRate = number;
        break;
    case RULE_OVERTIMEWEEKLY: rules->OvertimeWeekly = number; break;
    case RULE_OVERTIMEDAILY: rules->OvertimeDaily = number; break;
    case RULE_DOUBLETIMEDAILY: rules->DoubleTimeDaily = number; break;
    case RULE_OVERTIMEFACTOR: rules->OvertimeFactor = (int)number; break;
    case RULE_DOUBLETIMEFACTOR: rules->DoubleTimeFactor = (int)number; break;
    }
}

void PayRuleText(const PayRules *rules, int rule, char *text, size_t capacity)
{
    long long value = 0;
    int given = 1;
    switch (rule) {
    case RULE_HOURLYRATE:
        value = rules->HourlyRate;
        given = rules->HasRate != 0;
        break;
    case RULE_OVERTIMEWEEKLY: value = rules->OvertimeWeekly; break;
    case RULE_OVERTIMEDAILY: value = rules->OvertimeDaily; break;
    case RULE_DOUBLETIMEDAILY: value = rules->DoubleTimeDaily; break;
    case RULE_OVERTIMEFACTOR: value = rules->OvertimeFactor; break;
    case RULE_DOUBLETIMEFACTOR: value = rules->DoubleTimeFactor; break;
    default: given = 0; break;   /* no rule of ours */
    }
    int kind = given ? PAY_RULE_TEXT_INFO[rule].kind : RULE_RATE;
    if (kind == RULE_LIMIT && value == 0)
        given = 0;
    if (!given) {
        if (text && capacity)
            text[0] = 0;
        return;
    }
    FormatRuleText(text, capacity, kind, value);
}

int DoubleTimeIsPastOvertime(const PayRules *rules)
{
    return rules->OvertimeDaily == 0 || rules->DoubleTimeDaily == 0 ||
           rules->DoubleTimeDaily > rules->OvertimeDaily;
}
