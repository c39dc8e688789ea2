/* Fuzz target for rounding a fraction of an hour to the step.

   The whole steps are counted by repeated subtraction, so the fuzzed values
   stay in what the program can hand over: |x| <= 200 and a step of at least
   0.001, or a step that means no rounding (0, negative, NaN, infinite), or a
   tiny step that cannot change the remainder. Round types -1 to 5.

   Checks: without a step x comes back unchanged; with one, the result is a
   whole number of steps, never negative, and for x >= 0 it lies within one
   step of x on the side the type asks for (within half a step, give or take
   the two-decimal comparison, for "Both "). A hang is caught by -timeout. */

#include "fuzz_common.h"
#include "settings.h"
#include "timecalc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    int type = (int)(TakeByte(&in) % 7) - 1;
    uint8_t xKind = TakeByte(&in);
    uint8_t stepKind = TakeByte(&in);
    double x = TakeRawDouble(&in);
    double rawStep = TakeRawDouble(&in);

    if (isfinite(x) && fabs(x) > 200)
        x = fmod(x, 200);
    if (!isfinite(x) && (xKind & 0x80) == 0)
        x = 0.0;
    if (xKind & 1)
        x = RoundToDecimals(x, 2); /* the program rounds fractions to two decimals first */

    double step;
    int noStep = 0, tiny = 0;
    switch (stepKind % 8) {
    case 0: step = 0.0; noStep = 1; break;
    case 1: step = isnan(rawStep) ? -1.0 : -fabs(rawStep); noStep = 1; break;
    case 2: step = (stepKind & 8) ? NAN : ((stepKind & 16) ? INFINITY : -INFINITY); noStep = 1; break;
    case 3: /* the fraction is then one the program makes: 0 or at least 0.01 */
        step = (stepKind & 8) ? 1e-300 : 4.9406564584124654e-324;
        x = RoundToDecimals(x, 2);
        tiny = 1;
        break;
    case 4: {
        char amount[ROUNDAMOUNT_SIZE];
        TakeRoundAmount(&in, amount);
        step = StepFromRoundAmount(amount); /* none reads below 0.01: the count ends in time */
        noStep = !(step > 0) || isinf(step);
        break;
    }
    default:
        step = isfinite(rawStep) ? 0.001 + fabs(fmod(rawStep, 250.0)) : 0.25;
        if (stepKind & 8)
            step = RoundToDecimals(step, 2) < 0.01 ? 0.01 : RoundToDecimals(step, 2);
        break;
    }

    double result = RoundToStepValue(x, step, type);

    if (noStep) {
        FUZZ_CHECK(SameDouble(result, x), "x %.17g step %g type %d gave %.17g", x, step, type, result);
        return 0;
    }
    if (tiny || !isfinite(x))
        return 0; /* only that it ends */

    double k = round(result / step);
    double tolerance = (k * k * 4e-16 + 1e-12) * step + 1e-12;
    FUZZ_CHECK(result >= 0, "x %.17g step %.17g type %d gave %.17g", x, step, type, result);
    FUZZ_CHECK(fabs(result - k * step) <= tolerance,
               "x %.17g step %.17g type %d gave %.17g, not a whole number of steps", x, step, type,
               result);
    if (x == step) {
        FUZZ_CHECK(SameDouble(result, x), "x equal to the step %.17g gave %.17g", step, result);
        return 0;
    }
    if (x < 0) {
        FUZZ_CHECK(result == 0 || (type == 3 && result == step),
                   "negative x %.17g step %.17g type %d gave %.17g", x, step, type, result);
        return 0;
    }
    double slack = tolerance + 1e-9 * (1 + x);
    switch (type) {
    case 1:
        FUZZ_CHECK(fabs(result - x) <= step * 0.5 + 0.01 + slack,
                   "x %.17g step %.17g nearest gave %.17g", x, step, result);
        break;
    case 3:
        FUZZ_CHECK(result >= x - slack && result - x < step + slack,
                   "x %.17g step %.17g up gave %.17g", x, step, result);
        break;
    default: /* 2 "Down Only", and a type of no meaning rounds down too */
        FUZZ_CHECK(result <= x + slack && x - result < step + slack,
                   "x %.17g step %.17g type %d down gave %.17g", x, step, type, result);
        break;
    }
    return 0;
}
