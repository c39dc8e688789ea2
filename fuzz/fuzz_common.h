/* Small helpers shared by the fuzz targets: a reader that takes values from
   the fuzzer's bytes, and a check that stops the run with a message. */
#ifndef HOURWISE_FUZZ_COMMON_H
#define HOURWISE_FUZZ_COMMON_H

#include <math.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "settings.h"
#include "wholechars.h"

struct FuzzInput {
    const uint8_t *data;
    size_t size;
    size_t pos;
};

static inline uint8_t TakeByte(FuzzInput *in)
{
    return in->pos < in->size ? in->data[in->pos++] : 0;
}

static inline uint64_t TakeBits(FuzzInput *in)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; i++)
        v = (v << 8) | TakeByte(in);
    return v;
}

static inline double TakeRawDouble(FuzzInput *in)
{
    uint64_t bits = TakeBits(in);
    double d;
    memcpy(&d, &bits, sizeof d);
    return d;
}

/* The bytes that are left, as a NUL-terminated text (NULs inside end it). */
static inline size_t TakeRest(FuzzInput *in, char *text, size_t capacity)
{
    size_t n = 0;
    while (in->pos < in->size && n + 1 < capacity)
        text[n++] = (char)in->data[in->pos++];
    text[n] = 0;
    return n;
}

/* A round amount as the program can hold one: the field and the stored value
   keep at most its 3 characters, here in UTF-8 (a byte that begins no whole
   character counts as one). Longer texts would give steps the program never
   has, such as "0.000000001", whose whole-step count does not end in time. */
static inline void TakeRoundAmount(FuzzInput *in, char amount[ROUNDAMOUNT_SIZE])
{
    size_t n = 0;
    while (n + 1 < ROUNDAMOUNT_SIZE)
        amount[n++] = (char)TakeByte(in);
    amount[n] = 0;
    TextEncoding utf8 = {1, {0}};
    n = WholeCharsLength(amount, strlen(amount), ROUNDAMOUNT_SIZE - 1, ROUNDAMOUNT_CHARS, &utf8);
    memset(amount + n, 0, ROUNDAMOUNT_SIZE - n);
}

#define FUZZ_CHECK(cond, ...)                                                   \
    do {                                                                        \
        if (!(cond)) {                                                          \
            fprintf(stderr, "invariant broken at %s:%d: %s\n  ", __FILE__,      \
                    __LINE__, #cond);                                           \
            fprintf(stderr, __VA_ARGS__);                                       \
            fprintf(stderr, "\n");                                              \
            abort();                                                            \
        }                                                                       \
    } while (0)

static inline int SameDouble(double a, double b)
{
    if (isnan(a) || isnan(b))
        return isnan(a) && isnan(b);
    return memcmp(&a, &b, sizeof a) == 0;
}

#endif
