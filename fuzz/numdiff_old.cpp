/* The number code as it was before <charconv>, kept only for the differential
   check against the new code (fuzz_numdiff and numdiff_check). Every function
   is the old one, inside namespace old. */
#include "timecalc.h"
#include "numdiff_old.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace old {
/* ---- exact big integers, just enough to expand a double ------------------ */

#define BIG_LIMBS 40 /* 1280 bits: a double times 10^340 at most */

struct BigNum {
    uint32_t limb[BIG_LIMBS]; /* least significant first */
    int used;
};

static void BigSet(BigNum *b, uint64_t v)
{
    b->limb[0] = (uint32_t)v;
    b->limb[1] = (uint32_t)(v >> 32);
    b->used = b->limb[1] ? 2 : (b->limb[0] ? 1 : 0);
}

static void BigMulSmall(BigNum *b, uint32_t factor)
{
    uint64_t carry = 0;
    for (int i = 0; i < b->used; i++) {
        uint64_t p = (uint64_t)b->limb[i] * factor + carry;
        b->limb[i] = (uint32_t)p;
        carry = p >> 32;
    }
    if (carry && b->used < BIG_LIMBS)
        b->limb[b->used++] = (uint32_t)carry;
}

static void BigMulPow10(BigNum *b, int power)
{
    static const uint32_t small[10] = {1,          10,         100,      1000,
                                       10000,      100000,     1000000,  10000000,
                                       100000000,  1000000000};
    while (power >= 9) {
        BigMulSmall(b, small[9]);
        power -= 9;
    }
    if (power > 0)
        BigMulSmall(b, small[power]);
}

static void BigShiftLeft(BigNum *b, int bits)
{
    int words = bits / 32, rest = bits % 32;
    if (b->used == 0)
        return;
    int used = b->used + words + 1;
    if (used > BIG_LIMBS)
        used = BIG_LIMBS;
    for (int i = used - 1; i >= 0; i--) {
        int src = i - words;
        uint64_t hi = (src >= 0 && src < b->used) ? b->limb[src] : 0;
        uint64_t lo = (src - 1 >= 0 && src - 1 < b->used) ? b->limb[src - 1] : 0;
        b->limb[i] = rest ? (uint32_t)((hi << rest) | (lo >> (32 - rest))) : (uint32_t)hi;
    }
    b->used = used;
    while (b->used > 0 && b->limb[b->used - 1] == 0)
        b->used--;
}

/* Divides by 2^bits; tells whether the remainder is above, at or below half. */
static void BigShiftRight(BigNum *b, int bits, int *half, int *sticky)
{
    *half = 0;
    *sticky = 0;
    if (bits <= 0)
        return;
    for (int i = 0; i < b->used && i * 32 < bits - 1; i++) {
        int top = bits - 1 - i * 32; /* bits below the half bit in this limb */
        uint32_t mask = top >= 32 ? 0xFFFFFFFFu : ((1u << top) - 1u);
        if (b->limb[i] & mask)
            *sticky = 1;
    }
    int hw = (bits - 1) / 32, hb = (bits - 1) % 32;
    if (hw < b->used)
        *half = (b->limb[hw] >> hb) & 1u;
    int words = bits / 32, rest = bits % 32;
    int used = b->used - words;
    if (used <= 0) {
        b->used = 0;
        return;
    }
    for (int i = 0; i < used; i++) {
        uint64_t lo = b->limb[i + words];
        uint64_t hi = (i + words + 1 < b->used) ? b->limb[i + words + 1] : 0;
        b->limb[i] = rest ? (uint32_t)((lo >> rest) | (hi << (32 - rest))) : (uint32_t)lo;
    }
    b->used = used;
    while (b->used > 0 && b->limb[b->used - 1] == 0)
        b->used--;
}

static uint32_t BigDivSmall(BigNum *b, uint32_t divisor)
{
    uint64_t rem = 0;
    for (int i = b->used - 1; i >= 0; i--) {
        uint64_t cur = (rem << 32) | b->limb[i];
        b->limb[i] = (uint32_t)(cur / divisor);
        rem = cur % divisor;
    }
    while (b->used > 0 && b->limb[b->used - 1] == 0)
        b->used--;
    return (uint32_t)rem;
}

/* ---- the 17 significant digits of a double ------------------------------- */

static const uint64_t POW10_16 = 10000000000000000ULL;
static const uint64_t POW10_17 = 100000000000000000ULL;

/* round(ax * 10^(16 - k)) with an exact tie going to even; ax > 0 finite.
   Returns UINT64_MAX when the result does not fit. */
static uint64_t ScaledDigits(uint64_t mantissa, int exp2, int k)
{
    BigNum n;
    BigSet(&n, mantissa);
    int p = 16 - k;
    if (exp2 > 0)
        BigShiftLeft(&n, exp2);
    if (p > 0)
        BigMulPow10(&n, p);

    int up = 0, tie = 0;
    if (exp2 < 0) {
        int half, sticky;
        BigShiftRight(&n, -exp2, &half, &sticky);
        up = half && sticky;
        tie = half && !sticky;
    }
    if (p < 0) { /* only for values of 10^17 and more, whose exp2 is positive */
        int q = -p, sticky = 0;
        uint32_t rem = 0, halfOfLast = 5;
        while (q > 0) {
            int chunk = q > 9 ? 9 : q;
            uint32_t div = 1;
            for (int i = 0; i < chunk; i++)
                div *= 10;
            q -= chunk;
            if (q > 0) {
                if (BigDivSmall(&n, div))
                    sticky = 1;
            } else {
                rem = BigDivSmall(&n, div);
                halfOfLast = div / 2;
            }
        }
        up = rem > halfOfLast || (rem == halfOfLast && sticky);
        tie = rem == halfOfLast && !sticky;
    }
    if (n.used > 2)
        return UINT64_MAX;
    uint64_t d = n.used == 0 ? 0 : (n.used == 1 ? n.limb[0] : ((uint64_t)n.limb[1] << 32) | n.limb[0]);
    if (up || (tie && (d & 1)))
        d++;
    return d;
}

/* The value's 17 significant digits: ax = digits * 10^(k - 16), with digits in
   [10^16, 10^17). ax must be finite and greater than 0. */
static void SeventeenDigits(double ax, uint64_t *digits, int *k)
{
    uint64_t bits;
    memcpy(&bits, &ax, sizeof bits);
    int biased = (int)((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((1ULL << 52) - 1);
    int exp2;
    if (biased == 0) {
        exp2 = -1074;
    } else {
        mantissa |= 1ULL << 52;
        exp2 = biased - 1075;
    }
    while ((mantissa & 1) == 0) { /* fewer bits to carry */
        mantissa >>= 1;
        exp2++;
    }
    int e = (int)floor(log10(ax));
    for (int tries = 0; tries < 8; tries++) {
        uint64_t d = ScaledDigits(mantissa, exp2, e);
        if (d != UINT64_MAX && d >= POW10_16 && d < POW10_17) {
            if (d == POW10_16) { /* a value just below 10^e may have rounded up to it */
                uint64_t below = ScaledDigits(mantissa, exp2, e - 1);
                if (below >= POW10_16 && below < POW10_17) {
                    *digits = below;
                    *k = e - 1;
                    return;
                }
            }
            *digits = d;
            *k = e;
            return;
        }
        if (d == POW10_17) { /* rounded up to the next power of ten */
            *digits = POW10_16;
            *k = e + 1;
            return;
        }
        e += (d == UINT64_MAX || d >= POW10_17) ? 1 : -1;
    }
    *digits = POW10_16; /* not reached for a finite double */
    *k = e;
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

static const double POW10_EXACT[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

static int IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static int IsDigit(char c) { return c >= '0' && c <= '9'; }

static double ConvertCanonical(const char *text)
{
#ifdef __MINGW32__
    return __mingw_strtod(text, NULL); /* the toolchain's own, correctly rounding */
#else
    return strtod(text, NULL);
#endif
}

double ReadNumber(const char *text)
{
    if (!text)
        return 0.0;
    const char *s = text;
    while (IsBlank(*s))
        s++;
    int negative = 0;
    if (*s == '+' || *s == '-')
        negative = *s++ == '-';

    /* Up to 780 significant digits are kept, more than any double needs; the
       ones beyond only tell whether anything non-zero was cut. */
    enum { KEEP = 780 };
    char canon[KEEP + 32];
    int len = 0, sigDigits = 0, anyDigit = 0, cutNonZero = 0;
    long exponent = 0; /* of the last kept digit's position */
    canon[len++] = negative ? '-' : '+';
    canon[len++] = '0';
    canon[len++] = '.';

    for (; IsDigit(*s); s++) {
        anyDigit = 1;
        if (sigDigits == 0 && *s == '0')
            continue;
        if (sigDigits < KEEP) {
            canon[len++] = *s;
            sigDigits++;
        } else {
            if (*s != '0')
                cutNonZero = 1;
            if (exponent < 100000)
                exponent++;
        }
    }
    long intPart = sigDigits + exponent; /* digits before the point, kept or cut */
    if (*s == '.') {
        s++;
        for (; IsDigit(*s); s++) {
            anyDigit = 1;
            if (sigDigits == 0 && *s == '0') {
                if (intPart > -100000)
                    intPart--;
                continue;
            }
            if (sigDigits < KEEP) {
                canon[len++] = *s;
                sigDigits++;
            } else if (*s != '0') {
                cutNonZero = 1;
            }
        }
    }
    if (!anyDigit)
        return 0.0;
    if (*s == 'e' || *s == 'E') {
        const char *e = s + 1;
        int eNeg = 0;
        if (*e == '+' || *e == '-')
            eNeg = *e++ == '-';
        if (IsDigit(*e)) {
            long ev = 0;
            for (; IsDigit(*e); e++)
                if (ev < 100000)
                    ev = ev * 10 + (*e - '0');
            intPart += eNeg ? -ev : ev;
        }
    }
    if (sigDigits == 0)
        return negative ? -0.0 : 0.0;
    if (cutNonZero)
        canon[len++] = '1';
    /* Up to 15 digits with a power of ten up to 22 are two exact doubles, and
       one division or product of them is the correctly rounded value. */
    long scale = intPart - sigDigits;
    if (!cutNonZero && sigDigits <= 15 && scale >= -22 && scale <= 22) {
        uint64_t whole = 0;
        for (int i = 0; i < sigDigits; i++)
            whole = whole * 10 + (uint64_t)(canon[3 + i] - '0');
        double v = scale < 0 ? (double)whole / POW10_EXACT[-scale] : (double)whole * POW10_EXACT[scale];
        return negative ? -v : v;
    }
    if (intPart > 100000)
        intPart = 100000;
    if (intPart < -100000)
        intPart = -100000;
    /* "+0.<digits>e<intPart>" */
    canon[len++] = 'e';
    char expText[16];
    int t = 0;
    long ev = intPart < 0 ? -intPart : intPart;
    do {
        expText[t++] = (char)('0' + ev % 10);
        ev /= 10;
    } while (ev);
    if (intPart < 0)
        canon[len++] = '-';
    while (t)
        canon[len++] = expText[--t];
    canon[len] = 0;
    return ConvertCanonical(canon);
}

long ReadLong(const char *text)
{
    if (!text)
        return 0;
    const char *s = text;
    while (IsBlank(*s))
        s++;
    int negative = 0;
    if (*s == '+' || *s == '-')
        negative = *s++ == '-';
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
    if (!isfinite(value))
        return value;
    if (value == 0)
        return 0.0;
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

double RoundToStepValue(double x, double step, int type)
{
    double a = step;
    if (!(a > 0) || isinf(a)) /* no step, or one the count of steps cannot use */
        return x;
    if (x == a)
        return x;
    if (x < a) {
        switch (type) {
        case 1: return x >= a * 0.5 ? a : 0.0;
        case 2: return 0.0;
        case 3: return x == 0 ? 0.0 : a;
        default: return 0.0;
        }
    }
    if (!(x > a))
        return x; /* not a number */

    /* Whole steps are counted by repeated subtraction, as a clerk would. */
    double whole = 0.0, rest = x;
    while (rest >= a) {
        double next = rest - a;
        if (next == rest)
            break; /* a step too small to change the remainder */
        rest = next;
        whole += a;
        if (!(rest > 0))
            break;
    }
    switch (type) {
    case 1: return RoundToDecimals(rest, 2) >= RoundToDecimals(a * 0.5, 2) ? whole + a : whole;
    case 2: return whole;
    case 3: return rest > 0 ? whole + a : whole;
    default: return whole;
    }
}

/* ---- the typed notation --------------------------------------------------- */

#define FIELD_CHARS 8

/* Reads the characters [start, start + length) of a short text as a number. */
static double ReadSpan(const char *start, size_t length)
{
    char part[FIELD_CHARS + 2];
    if (length > FIELD_CHARS + 1)
        length = FIELD_CHARS + 1;
    memcpy(part, start, length);
    part[length] = 0;
    return ReadNumber(part);
}

static const double ONE_SIXTIETH = 1.0 / 60.0;

double EvaluateTimeText(const char *text, const TimeRules *rules)
{
    char t[FIELD_CHARS + 1];
    size_t len = 0;
    if (text)
        while (len < FIELD_CHARS && text[len]) {
            t[len] = text[len];
            len++;
        }
    t[len] = 0;

    if (!strchr(t, '*') && !strchr(t, '-') && !strchr(t, '+'))
        return RoundToDecimals(ReadNumber(t), 2); /* a plain number of hours */

    static const char operators[3] = {'*', '-', '+'};
    const int modes[3] = {rules->starMode, rules->minusMode, rules->plusMode};
    double h = 0.0, q = 0.0;
    for (int i = 0; i < 3; i++) {
        const char *op = strchr(t, operators[i]);
        if (!op)
            continue;
        h = RoundToDecimals(ReadSpan(t, (size_t)(op - t)), 2);
        size_t after = strlen(op + 1);
        double m = RoundToDecimals(ReadSpan(op + 1, after < 2 ? after : 2), 2);
        double f;
        switch (modes[i] - 3 * i) { /* 1 minutes, 2 hours and minutes, 3 hours */
        case 1:
            f = RoundToDecimals(m * ONE_SIXTIETH, 2);
            break;
        case 2:
            f = RoundToDecimals(m * ONE_SIXTIETH, 2);
            if (h < 12)
                h += 12;
            break;
        case 3:
            f = RoundToDecimals(m * 0.01, 2);
            if (h < 12)
                h += 12;
            break;
        default: /* a mode of another operator: whole hours, no shift */
            f = m;
            break;
        }
        q = RoundToStepValue(f, rules->step, rules->roundType);
    }

    const char *point = strchr(t, '.');
    if (point) { /* a decimal point decides after all */
        h = RoundToDecimals(ReadSpan(t, (size_t)(point - t)), 2);
        size_t after = strlen(point + 1);
        double fraction = RoundToDecimals(ReadSpan(point, 1 + (after < 2 ? after : 2)), 2);
        q = RoundToStepValue(fraction, rules->step, rules->roundType);
    }
    return RoundToDecimals(h + q, 2);
}

/* ---- pairs and rows ------------------------------------------------------- */

double PairDifference(double value, double partner)
{
    if (partner > value)
        return value == 0 ? 0.0 : RoundToDecimals(partner - value, 2);
    return partner == 0 ? 0.0 : RoundToDecimals(value - partner, 2);
}

double PairHours(double timeIn, double timeOut)
{
    return timeIn > timeOut ? RoundToDecimals(timeIn - timeOut, 2)
                            : RoundToDecimals(timeOut - timeIn, 2);
}

double RowHours(const double times[8])
{
    double pair[4];
    for (int j = 0; j < 4; j++)
        pair[j] = PairHours(times[2 * j], times[2 * j + 1]);
    return RoundToDecimals(pair[3] + pair[2] + pair[1] + pair[0], 2);
}
} // namespace old
