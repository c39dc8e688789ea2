/* Numbers as text.

   Numbers travel as text through the program, and the rounding rule is
   fixed by what the text shows: a value is rounded on its decimal expansion
   to 17 significant digits, an exact half going away from zero. The C
   runtimes do not agree on this (some round an exact binary half to even,
   some print only 17 digits), so the runtime's printf and atof are never
   used: the 17 digits come from std::to_chars, which is exact, and texts are
   read with the classic atof grammar scanned here, handing the scanned number
   to std::from_chars, which rounds correctly. */

#include "numtext.h"

#include <charconv>
#include <math.h>
#include <stdint.h>
#include <system_error>

static const double POW10_EXACT[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/* ---- the 17 significant digits of a double ------------------------------- */

static const uint64_t POW10_16 = 10000000000000000ULL;

/* The value's 17 significant digits: ax = digits * 10^(k - 16), with digits in
   [10^16, 10^17). ax must be finite and greater than 0. */
static void SeventeenDigits(double ax, uint64_t *digits, int *k)
{
    /* "d.dddddddddddddddde-ddd": the exact expansion rounded to 17 digits */
    char text[32];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, ax, std::chars_format::scientific, 16);
    const char *p = text;
    uint64_t d = 0;
    for (; p < r.ptr && *p != 'e'; p++)
        if (*p >= '0' && *p <= '9')
            d = d * 10 + (uint64_t)(*p - '0');
    int exponent = 0, negative = 0;
    if (p < r.ptr)
        p++; /* the 'e' */
    if (p < r.ptr && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    for (; p < r.ptr; p++)
        exponent = exponent * 10 + (*p - '0');
    *digits = d;
    *k = negative ? -exponent : exponent;
}

/* The value, rounded to the decimals on its 17-digit expansion, as the
   integer value * 10^decimals in decimal digits (most significant first, no
   leading zeros, "0" for zero). Returns the number of digits. */
static int RoundedDigits(double ax, int decimals, char *out, size_t capacity)
{
    uint64_t d;
    int k;
    SeventeenDigits(ax, &d, &k);
    int keep = k + 1 + decimals; /* digits of d left of the rounding place */
    char digits[24];
    int n = 0;
    if (keep >= 17) {
        uint64_t v = d;
        char tmp[24];
        int t = 0;
        while (v) {
            tmp[t++] = (char)('0' + v % 10);
            v /= 10;
        }
        while (t)
            digits[n++] = tmp[--t];
        int zeros = keep - 17;
        int len = 0;
        for (int i = 0; i < n && (size_t)len + 1 < capacity; i++)
            out[len++] = digits[i];
        for (int i = 0; i < zeros && (size_t)len + 1 < capacity; i++)
            out[len++] = '0';
        out[len] = 0;
        return len;
    }
    uint64_t r;
    if (keep < 0) {
        r = 0;
    } else if (keep == 0) {
        r = (d / POW10_16) >= 5 ? 1 : 0;
    } else {
        uint64_t div = 1;
        for (int i = 0; i < 17 - keep; i++)
            div *= 10;
        r = d / div;
        if ((d / (div / 10)) % 10 >= 5)
            r++;
    }
    char tmp[24];
    int t = 0;
    do {
        tmp[t++] = (char)('0' + r % 10);
        r /= 10;
    } while (r);
    int len = 0;
    while (t && (size_t)len + 1 < capacity)
        out[len++] = tmp[--t];
    out[len] = 0;
    return len;
}

/* ---- formatting ----------------------------------------------------------- */

static int Emit(char *buffer, size_t capacity, const char *text, int length, int width)
{
    if (capacity == 0)
        return 0;
    int pad = width > length ? width - length : 0;
    size_t pos = 0;
    for (int i = 0; i < pad && pos + 1 < capacity; i++)
        buffer[pos++] = ' ';
    for (int i = 0; i < length && pos + 1 < capacity; i++)
        buffer[pos++] = text[i];
    buffer[pos] = 0;
    return (int)pos;
}

int FormatFixed(char *buffer, size_t capacity, double value, int width, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;
    if (isnan(value))
        return Emit(buffer, capacity, "nan", 3, width);
    if (isinf(value))
        return value < 0 ? Emit(buffer, capacity, "-inf", 4, width) : Emit(buffer, capacity, "inf", 3, width);

    char digits[NUMBER_TEXT_SIZE];
    int n;
    if (value == 0) {
        digits[0] = '0';
        digits[1] = 0;
        n = 1;
    } else {
        n = RoundedDigits(fabs(value), decimals, digits, sizeof digits);
    }
    int negative = value < 0 && !(n == 1 && digits[0] == '0');

    /* integer digits, point, decimals; at least one integer digit */
    char text[NUMBER_TEXT_SIZE + 24];
    int len = 0;
    if (negative)
        text[len++] = '-';
    int intDigits = n - decimals;
    if (intDigits <= 0) {
        text[len++] = '0';
    } else {
        for (int i = 0; i < intDigits; i++)
            text[len++] = digits[i];
    }
    if (decimals > 0) {
        text[len++] = '.';
        for (int i = 0; i < decimals; i++) {
            int src = intDigits + i; /* may be negative: leading zeros */
            text[len++] = src < 0 ? '0' : digits[src];
        }
    }
    return Emit(buffer, capacity, text, len, width);
}

/* ---- reading -------------------------------------------------------------- */

static int IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/* The leading white space and an optional sign that both grammars start with. */
static const char *SkipBlanksAndSign(const char *s, int *negative)
{
    while (IsBlank(*s))
        s++;
    *negative = 0;
    if (*s == '+' || *s == '-')
        *negative = *s++ == '-';
    return s;
}

double ReadNumber(const char *text)
{
    if (!text)
        return 0.0;
    int negative;
    const char *s = SkipBlanksAndSign(text, &negative);

    /* digits with an optional point; magnitude counts the digits from the
       first non-zero one to the point (negative for zeros after the point) */
    const char *start = s;
    int anyDigit = 0, nonZero = 0;
    long long magnitude = 0;
    for (; IsDigit(*s); s++) {
        anyDigit = 1;
        nonZero |= *s != '0';
        if (nonZero)
            magnitude++;
    }
    if (*s == '.') {
        s++;
        for (; IsDigit(*s); s++) {
            anyDigit = 1;
            if (!nonZero && *s == '0')
                magnitude--;
            nonZero |= *s != '0';
        }
    }
    if (!anyDigit)
        return 0.0;
    /* an exponent counts only with a digit */
    if (*s == 'e' || *s == 'E') {
        const char *e = s + 1;
        int eNeg = 0;
        if (*e == '+' || *e == '-')
            eNeg = *e++ == '-';
        if (IsDigit(*e)) {
            long long ev = 0;
            for (; IsDigit(*e); e++)
                if (ev < 1000000000000LL)
                    ev = ev * 10 + (*e - '0');
            magnitude += eNeg ? -ev : ev;
            s = e;
        }
    }
    if (!nonZero)
        return negative ? -0.0 : 0.0;

    double value = 0.0;
    std::from_chars_result r = std::from_chars(start, s, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) /* the value is left unset */
        value = magnitude > 0 ? HUGE_VAL : 0.0; /* at least 1: too large; else too small */
    return negative ? -value : value;
}

long ReadLong(const char *text)
{
    if (!text)
        return 0;
    int negative;
    const char *s = SkipBlanksAndSign(text, &negative);
    long long v = 0;
    for (; IsDigit(*s); s++) {
        v = v * 10 + (*s - '0');
        if (v > 2147483648LL)
            v = 2147483648LL;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        v = 2147483647LL;
    return (long)v;
}

/* ---- rounding ------------------------------------------------------------- */

double RoundToDecimals(double value, int decimals)
{
    if (!isfinite(value) || value == 0)
        return 0.0; /* "inf" and "nan" read back as no number: 0 */
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;

    /* The scaled value's fraction, unless it lies so near one half that the
       17-digit expansion or the product's rounding could tip it, decides
       alone: the expansion differs from the value by at most half a unit of
       its 17th digit, and the product by half a unit of its last bit. */
    double scaled = fabs(value) * POW10_EXACT[decimals];
    if (scaled < 1e15) {
        double whole = floor(scaled);
        double fraction = scaled - whole;
        if (fabs(fraction - 0.5) > scaled * 1e-15) {
            double r = fraction > 0.5 ? whole + 1 : whole;
            if (r == 0)
                return 0.0;
            double result = r / POW10_EXACT[decimals];
            return value < 0 ? -result : result;
        }
    }

    char digits[NUMBER_TEXT_SIZE];
    int n = RoundedDigits(fabs(value), decimals, digits, sizeof digits);
    double result;
    if (n <= 15) { /* an exact integer over an exact power of ten: one rounding */
        uint64_t r = 0;
        for (int i = 0; i < n; i++)
            r = r * 10 + (uint64_t)(digits[i] - '0');
        result = (double)r / POW10_EXACT[decimals];
        if (r == 0)
            return 0.0;
    } else {
        char text[NUMBER_TEXT_SIZE + 16];
        int len = 0;
        for (int i = 0; i < n; i++)
            text[len++] = digits[i];
        text[len++] = 'e';
        text[len++] = '-';
        if (decimals >= 10)
            text[len++] = (char)('0' + decimals / 10);
        text[len++] = (char)('0' + decimals % 10);
        text[len] = 0;
        result = ReadNumber(text);
    }
    return value < 0 ? -result : result;
}
