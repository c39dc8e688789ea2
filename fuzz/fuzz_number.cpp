/* Fuzz target for number reading, formatting and rounding to decimals.

   Input: width, decimals and capacity bytes, a flag, then either a raw double
   or a text. Checks, against references built here from the C library:
   - ReadNumber is the correctly rounded value of the longest prefix that fits
     the classic atof grammar (0 when there is none);
   - ReadLong is that prefix's integer, held to the 32-bit range;
   - FormatFixed gives exactly the text of the 17-digit rule (round the
     17-significant-digit expansion, an exact half away from zero), padded to
     the width, cut to the capacity, always terminated, never past capacity;
   - the text shown is the rounded value: reading FormatFixed's text back
     equals RoundToDecimals of the value (0 for "inf" and "nan", which hold
     no number), and RoundToDecimals is idempotent. */

#include "fuzz_common.h"
#include "timecalc.h"

#include <limits.h>

#define TEXT_MAX 4096

/* The prefix of text that the classic atof grammar takes, or "" when it
   holds no digit. */
static void GrammarPrefix(const char *text, char *out, size_t capacity, int *integerEnd)
{
    const char *s = text;
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\v' || *s == '\f' || *s == '\r')
        s++;
    const char *start = s;
    if (*s == '+' || *s == '-')
        s++;
    int digits = 0;
    while (*s >= '0' && *s <= '9') {
        s++;
        digits++;
    }
    *integerEnd = (int)(s - start);
    if (*s == '.') {
        s++;
        while (*s >= '0' && *s <= '9') {
            s++;
            digits++;
        }
    }
    if (!digits) {
        out[0] = 0;
        *integerEnd = 0;
        return;
    }
    if (*s == 'e' || *s == 'E') {
        const char *e = s + 1;
        if (*e == '+' || *e == '-')
            e++;
        if (*e >= '0' && *e <= '9') {
            while (*e >= '0' && *e <= '9')
                e++;
            s = e;
        }
    }
    size_t n = (size_t)(s - start);
    if (n + 1 > capacity)
        n = capacity - 1;
    memcpy(out, start, n);
    out[n] = 0;
}

static double ReferenceNumber(const char *prefix)
{
    if (!prefix[0])
        return 0.0;
    return strtod(prefix, NULL);
}

static long long ReferenceLong(const char *text)
{
    const char *s = text;
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\v' || *s == '\f' || *s == '\r')
        s++;
    int negative = 0;
    if (*s == '+' || *s == '-')
        negative = *s++ == '-';
    long long v = 0;
    for (; *s >= '0' && *s <= '9'; s++)
        if (v < 100000000000LL)
            v = v * 10 + (*s - '0');
    if (negative)
        v = -v;
    if (v > INT_MAX)
        v = INT_MAX;
    if (v < INT_MIN)
        v = INT_MIN;
    return v;
}

/* The text of the 17-digit rule, from glibc's exact %.16e expansion. */
static void ReferenceFixed(char *out, size_t capacity, double value, int width, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;
    char body[400];
    if (isnan(value)) {
        strcpy(body, "nan");
    } else if (isinf(value)) {
        strcpy(body, value < 0 ? "-inf" : "inf");
    } else {
        /* digits of value * 10^decimals, most significant first */
        char num[400];
        int n = 0;
        if (value != 0) {
            char e[40];
            snprintf(e, sizeof e, "%.16e", fabs(value));
            char d[17];
            d[0] = e[0];
            memcpy(d + 1, e + 2, 16);
            int exp10 = atoi(e + 19);
            int keep = exp10 + 1 + decimals;
            if (keep >= 17) {
                memcpy(num, d, 17);
                n = 17;
                for (int i = 0; i < keep - 17; i++)
                    num[n++] = '0';
            } else if (keep >= 0) {
                num[n++] = '0'; /* room for a carry */
                for (int i = 0; i < keep; i++)
                    num[n++] = d[i];
                if (d[keep] >= '5') {
                    int i = n - 1;
                    while (num[i] == '9')
                        num[i--] = '0';
                    num[i]++;
                }
            }
        }
        int lead = 0;
        while (lead < n - 1 && num[lead] == '0')
            lead++;
        memmove(num, num + lead, (size_t)(n - lead));
        n -= lead;
        if (n == 0)
            num[n++] = '0';
        int zero = n == 1 && num[0] == '0';
        int len = 0;
        if (value < 0 && !zero)
            body[len++] = '-';
        int intDigits = n - decimals;
        if (intDigits <= 0)
            body[len++] = '0';
        for (int i = 0; i < intDigits; i++)
            body[len++] = num[i];
        if (decimals > 0) {
            body[len++] = '.';
            for (int i = 0; i < decimals; i++) {
                int src = intDigits + i;
                body[len++] = src < 0 ? '0' : num[src];
            }
        }
        body[len] = 0;
    }
    snprintf(out, capacity, "%*s", width < 0 ? 0 : width, body);
}

static void CheckFormat(double value, int width, int decimals, size_t capacity)
{
    static char reference[1000];
    ReferenceFixed(reference, sizeof reference, value, width, decimals);
    size_t full = strlen(reference);

    char *buffer = (char *)malloc(capacity); /* exactly capacity: the sanitizer sees any overrun */
    if (capacity)
        memset(buffer, 0x55, capacity);
    int length = FormatFixed(buffer, capacity, value, width, decimals);
    if (capacity == 0) {
        FUZZ_CHECK(length == 0, "capacity 0 gave length %d", length);
    } else {
        size_t expect = full < capacity - 1 ? full : capacity - 1;
        FUZZ_CHECK(length >= 0 && (size_t)length == expect && buffer[length] == 0,
                   "value %.17g width %d decimals %d capacity %zu: length %d, expected %zu",
                   value, width, decimals, capacity, length, expect);
        FUZZ_CHECK(memcmp(buffer, reference, expect) == 0,
                   "value %.17g width %d decimals %d capacity %zu:\n  got      \"%s\"\n  expected \"%.*s\"",
                   value, width, decimals, capacity, buffer, (int)expect, reference);
    }
    free(buffer);
}

static void CheckRounding(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;
    double rounded = RoundToDecimals(value, decimals);
    FUZZ_CHECK(!signbit(rounded) || rounded != 0, "%.17g rounded to -0", value);
    /* The text shown is the rounded value. */
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, value, 9, decimals);
    double shown = ReadNumber(text);
    FUZZ_CHECK(SameDouble(shown, rounded),
               "%.17g with %d decimals: text \"%s\" reads %.17g, RoundToDecimals gives %.17g",
               value, decimals, text, shown, rounded);
    /* Rounding again changes nothing while the rounded value's digits fit a
       double exactly (15 significant digits); beyond that its own 17-digit
       expansion may end in a 5 that the next rounding takes up. */
    double again = RoundToDecimals(rounded, decimals);
    if (fabs(rounded) * pow(10.0, decimals) < 1e15)
        FUZZ_CHECK(SameDouble(again, rounded), "%.17g with %d decimals: %.17g then %.17g",
               value, decimals, rounded, again);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    int width = (int)(int8_t)TakeByte(&in) % 24;
    int decimals = (int)(TakeByte(&in) % 26) - 2;
    size_t capacity = ((size_t)TakeByte(&in) << 8 | TakeByte(&in)) % 420;
    int rawDouble = TakeByte(&in) & 1;

    double value;
    static char text[TEXT_MAX + 1];
    if (rawDouble) {
        value = TakeRawDouble(&in);
        TakeRest(&in, text, sizeof text);
    } else {
        TakeRest(&in, text, sizeof text);
        value = ReadNumber(text);
    }

    /* reading */
    static char prefix[TEXT_MAX + 1];
    int integerEnd;
    GrammarPrefix(text, prefix, sizeof prefix, &integerEnd);
    double read = ReadNumber(text);
    double expect = ReferenceNumber(prefix);
    FUZZ_CHECK(SameDouble(read, expect), "\"%.60s\" reads %.17g, expected %.17g", text, read, expect);
    long got = ReadLong(text);
    long long expectLong = ReferenceLong(text);
    FUZZ_CHECK(got == expectLong, "\"%.60s\" reads as integer %ld, expected %lld", text, got, expectLong);

    /* formatting and rounding */
    CheckFormat(value, width, decimals, capacity);
    CheckFormat(value, 9, 2, NUMBER_TEXT_SIZE);
    CheckRounding(value, 2);
    CheckRounding(value, decimals);
    return 0;
}
