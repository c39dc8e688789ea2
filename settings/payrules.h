/* The pay rules as texts: the registry's values and the Pay Rules dialog's
   fields read and written in whole units, without floating point. Shared by
   the store and the dialog. No windows.h here. */
#ifndef HOURWISE_PAYRULES_H
#define HOURWISE_PAYRULES_H

#include "pay.h"

#include <stddef.h>

/* The kinds of rule: an hourly rate (ten-thousandths, 0 to 9,999.99, empty
   for no rate), a limit in hours (hundredths, 0.01 to 168, empty for none)
   and a pay factor (hundredths, 1 to 9.99, never empty). */
enum RuleKind { RULE_RATE, RULE_LIMIT, RULE_FACTOR };

/* How a text reads as a rule of a kind. */
enum RuleVerdict {
    RULE_NUMBER,        /* a number in range */
    RULE_NONE,          /* empty (or blanks only) where the kind allows none */
    RULE_MISSING,       /* empty where a number is needed */
    RULE_NOT_NUMBER,    /* anything but digits with at most one decimal point */
    RULE_TOO_PRECISE,   /* a digit other than 0 past the kind's decimals */
    RULE_OUT_OF_RANGE
};

static inline int RuleIsValid(int verdict) { return verdict == RULE_NUMBER || verdict == RULE_NONE; }

/* Reads text as a rule of the kind: digits with at most one decimal point
   (".5" and "8." too), blanks around them allowed. The checks go in the
   order of the verdicts above. The value, in the kind's whole units, is set
   for RULE_NUMBER and is 0 for RULE_NONE; otherwise it is left alone. Any
   text of any length reads in integers that cannot overflow. */
int ReadRuleText(const char *text, int kind, long long *value);

/* The decimals a kind keeps (4 for a rate, 2 otherwise). */
int RuleDecimals(int kind);

/* The longest text FormatRuleText makes for a valid value of the kind: the
   dialog's fields take that many characters. */
int RuleTextChars(int kind);
#define RULE_TEXT_SIZE 32   /* room for any value's text and the NUL */

/* The shortest text that reads back as value: "40", "1.5", "12.3456"; no
   trailing zeros, no blanks; "" when it does not fit capacity. */
void FormatRuleText(char *text, size_t capacity, int kind, long long value);

/* The six rules kept as texts, in the order of the dialog's fields. */
enum PayRuleField {
    RULE_HOURLYRATE,
    RULE_OVERTIMEWEEKLY,
    RULE_OVERTIMEDAILY,
    RULE_DOUBLETIMEDAILY,
    RULE_OVERTIMEFACTOR,
    RULE_DOUBLETIMEFACTOR,
    PAY_RULE_TEXTS
};

struct PayRuleTextInfo {
    const char *name;          /* the registry value */
    int kind;
    const char *defaultText;
};

extern const PayRuleTextInfo PAY_RULE_TEXT_INFO[PAY_RULE_TEXTS];

/* A text read as valid (RULE_NUMBER or RULE_NONE, with its value) put into
   its member of rules: an empty rate clears HasRate. */
void SetPayRule(PayRules *rules, int rule, int verdict, long long value);

/* The text of a rule as FormatRuleText writes it; "" for no rate or no limit. */
void PayRuleText(const PayRules *rules, int rule, char *text, size_t capacity);

/* Whether the daily double time starts past the daily overtime, as it must
   where both are set. */
int DoubleTimeIsPastOvertime(const PayRules *rules);

#endif
