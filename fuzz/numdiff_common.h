/* The differential check of the number code: the old functions (namespace
   old) and the new ones must give the same bits and the same texts. */
#ifndef HOURWISE_NUMDIFF_COMMON_H
#define HOURWISE_NUMDIFF_COMMON_H

#include "fuzz_common.h"
#include "numdiff_old.h"
#include "timecalc.h"

static long long g_values = 0, g_differences = 0;

static void Difference(const char *what, const char *detail)
{
    g_differences++;
    if (g_differences <= 20)
        fprintf(stderr, "DIFFERENCE %s: %s\n", what, detail);
#ifdef NUMDIFF_ABORT
    abort();
#endif
}

static void SameBits(const char *what, double a, double b, const char *input)
{
    if (memcmp(&a, &b, sizeof a) != 0) { /* every bit, NaN payload and sign of zero too */
        char detail[256];
        snprintf(detail, sizeof detail, "\"%.60s\": old %a new %a", input, a, b);
        Difference(what, detail);
    }
}

/* Every formatting and rounding of one value. */
static void CompareValue(double value, int width, int fieldDecimals, size_t capacity)
{
    g_values++;
    char label[64];
    snprintf(label, sizeof label, "%a", value);
    for (int decimals = -1; decimals <= 21; decimals++) {
        SameBits("RoundToDecimals", old::RoundToDecimals(value, decimals), RoundToDecimals(value, decimals), label);
        char a[NUMBER_TEXT_SIZE + 40], b[NUMBER_TEXT_SIZE + 40];
        int la = old::FormatFixed(a, sizeof a, value, 9, decimals);
        int lb = FormatFixed(b, sizeof b, value, 9, decimals);
        if (la != lb || strcmp(a, b) != 0)
            Difference("FormatFixed", label);
    }
    if (capacity <= NUMBER_TEXT_SIZE + 40) {
        int decimals = fieldDecimals;
        char a[NUMBER_TEXT_SIZE + 40], b[NUMBER_TEXT_SIZE + 40];
        memset(a, 0x55, sizeof a);
        memset(b, 0x55, sizeof b);
        int la = old::FormatFixed(a, capacity, value, width, decimals);
        int lb = FormatFixed(b, capacity, value, width, decimals);
        if (la != lb || memcmp(a, b, sizeof a) != 0)
            Difference("FormatFixed (width, capacity)", label);
    }
    static const double steps[] = {0.25, 0.1, 0.15, 1.0 / 60.0, 0.5, 0};
    for (double step : steps)
        for (int type = 1; type <= 3; type++) {
            double frac = value - floor(value);
            SameBits("RoundToStepValue", old::RoundToStepValue(frac, step, type),
                     RoundToStepValue(frac, step, type), label);
        }
}

/* Reading a text, and everything about the number it gives. */
static void CompareText(const char *text)
{
    double a = old::ReadNumber(text), b = ReadNumber(text);
    SameBits("ReadNumber", a, b, text);
    if (old::ReadLong(text) != ReadLong(text))
        Difference("ReadLong", text);
    CompareValue(b, 9, 2, NUMBER_TEXT_SIZE);
    static const TimeRules rules[] = {{1, 5, 8, 0, 1}, {2, 6, 9, 0.25, 1}, {3, 4, 7, 0.1, 2},
                                      {1, 5, 8, 0.25, 3}, {7, 2, 0, 0.15, 1}};
    for (const TimeRules &r : rules)
        SameBits("EvaluateTimeText", old::EvaluateTimeText(text, &r), EvaluateTimeText(text, &r), text);
}

/* One input of bytes laid out as fuzz_number reads it (width, decimals and
   capacity bytes, a flag, a raw double or a text), and the bytes as a text. */
static void CompareInput(const uint8_t *data, size_t size)
{
    static char text[8192];
    FuzzInput in = {data, size, 0};
    int width = (int)(int8_t)TakeByte(&in) % 24;
    int decimals = (int)(TakeByte(&in) % 26) - 2;
    size_t capacity = ((size_t)TakeByte(&in) << 8 | TakeByte(&in)) % 420;
    int rawDouble = TakeByte(&in) & 1;
    if (rawDouble) {
        double value = TakeRawDouble(&in);
        CompareValue(value, width, decimals, capacity);
        const double pair[8] = {value, fabs(value) * 0.5, value * 3, 0, 1, value, 0, 0};
        SameBits("RowHours", old::RowHours(pair), RowHours(pair), "row");
        SameBits("PairDifference", old::PairDifference(value, 8.0), PairDifference(value, 8.0), "pair");
    }
    TakeRest(&in, text, sizeof text);
    CompareText(text);
    FuzzInput whole = {data, size, 0};
    TakeRest(&whole, text, sizeof text);
    CompareText(text);
}

#endif
