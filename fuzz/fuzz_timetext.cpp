/* Fuzz target for the typed time notation.

   Input: the three operator modes (0 to 10 each, so modes of the wrong
   operator and out of range come too), the round type (0 to 4), a step
   (special values: 0, -0, negative, NaN, infinite, tiny; or a step of at
   least 0.001; or the step a three-character round amount reads as), then
   the typed text (longer than 8 characters too).

   Checks: the value is always finite, is already rounded to two decimals (never
   -0), depends only on the first 8 characters, equals the rounded number for
   a text without operators, and reads back from its "%5.2f" text unchanged.
   A hang (an endless whole-step count) is caught by libFuzzer's -timeout. */

#include "fuzz_common.h"
#include "settings.h"
#include "timecalc.h"

static const double SPECIAL_STEPS[] = {
    0.0, -0.0, -0.25, -1e300, NAN, INFINITY, -INFINITY,
    1e-300, 4.9406564584124654e-324, 1e-20,
    0.001, 0.01, 0.15, 0.25, 1.0, 99.0,
};
#define SPECIAL_COUNT (sizeof SPECIAL_STEPS / sizeof SPECIAL_STEPS[0])

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    TimeRules rules;
    rules.starMode = TakeByte(&in) % 11;
    rules.minusMode = TakeByte(&in) % 11;
    rules.plusMode = TakeByte(&in) % 11;
    rules.roundType = TakeByte(&in) % 5;
    unsigned selector = TakeByte(&in) % (SPECIAL_COUNT + 4);
    if (selector < SPECIAL_COUNT) {
        rules.step = SPECIAL_STEPS[selector];
    } else if (selector < SPECIAL_COUNT + 2) {
        unsigned thousandths = ((unsigned)TakeByte(&in) << 8 | TakeByte(&in)) % 100000;
        rules.step = (thousandths + 1) * 0.001; /* 0.001 to 100 */
    } else {
        char amount[ROUNDAMOUNT_SIZE];
        TakeRoundAmount(&in, amount);
        rules.step = StepFromRoundAmount(amount);
    }

    char text[24];
    size_t length = TakeRest(&in, text, sizeof text);

    double value = EvaluateTimeText(text, &rules);
    FUZZ_CHECK(isfinite(value), "\"%s\" gave %g", text, value);
    FUZZ_CHECK(SameDouble(value, RoundToDecimals(value, 2)), "\"%s\" gave %.17g, not rounded", text, value);
    FUZZ_CHECK(!(value == 0 && signbit(value)), "\"%s\" gave -0", text);

    char first8[9];
    size_t n = length < 8 ? length : 8;
    memcpy(first8, text, n);
    first8[n] = 0;
    double again = EvaluateTimeText(first8, &rules);
    FUZZ_CHECK(SameDouble(again, value), "\"%s\" gave %.17g, its first 8 characters %.17g", text,
               value, again);

    if (!strpbrk(first8, "*-+")) {
        double plain = RoundToDecimals(ReadNumber(first8), 2);
        FUZZ_CHECK(SameDouble(plain, value), "plain \"%s\" gave %.17g, expected %.17g", first8,
                   value, plain);
    }

    char shown[NUMBER_TEXT_SIZE];
    int shownLength = FormatFixed(shown, sizeof shown, value, 5, 2);
    FUZZ_CHECK(shownLength < (int)sizeof shown - 1, "\"%s\" shows cut", text);
    FUZZ_CHECK(SameDouble(ReadNumber(shown), value),
               "\"%s\" gave %.17g, shown as \"%s\"", text, value, shown);
    return 0;
}
