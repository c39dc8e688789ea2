/* Fuzz target for the settings helpers.

   CopyRegistryText gets every capacity (0 to 299, and no field at all) and
   every byte count the registry can report (0 to 299), over a source of
   exactly that many bytes, with or without a NUL inside, or no source. The
   field must hold the source's text up to the first NUL, the last counted
   byte or capacity - 1 characters, whichever comes first, be terminated, and
   nothing past the terminator may change; the sanitizer catches any read or
   write outside the buffers.

   StepFromRoundAmount must give the number the text reads as when that is a
   positive finite number, and +0 otherwise. */

#include "fuzz_common.h"
#include "settings.h"
#include "timecalc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    uint8_t flags = TakeByte(&in);
    size_t capacity = ((size_t)TakeByte(&in) << 8 | TakeByte(&in)) % 300;
    unsigned long count = ((unsigned long)TakeByte(&in) << 8 | TakeByte(&in)) % 300;

    char *src = NULL;
    if (!(flags & 1)) {
        src = (char *)malloc(count ? count : 1);
        for (unsigned long i = 0; i < count; i++)
            src[i] = in.pos < in.size ? (char)TakeByte(&in) : (char)('a' + i % 26);
    }
    char *dest = (flags & 2) ? NULL : (char *)malloc(capacity);
    if (dest && capacity)
        memset(dest, 0x5A, capacity);

    CopyRegistryText(dest, capacity, src, count);

    if (dest && capacity) {
        size_t expect = 0;
        size_t limit = count > 0 ? count - 1 : 0;
        while (src && expect < limit && expect + 1 < capacity && src[expect] != 0)
            expect++;
        FUZZ_CHECK(dest[expect] == 0, "capacity %zu count %lu: no terminator at %zu", capacity,
                   count, expect);
        FUZZ_CHECK(expect == 0 || memcmp(dest, src, expect) == 0,
                   "capacity %zu count %lu: text differs", capacity, count);
        for (size_t i = expect + 1; i < capacity; i++)
            FUZZ_CHECK((unsigned char)dest[i] == 0x5A, "capacity %zu count %lu: byte %zu written",
                       capacity, count, i);
    }

    /* A round amount of any length, and as the stored value's room keeps it. */
    char text[64];
    TakeRest(&in, text, sizeof text);
    char amount[ROUNDAMOUNT_SIZE];
    CopyRegistryText(amount, sizeof amount, text, (unsigned long)strlen(text) + 1);
    const char *texts[2] = {text, amount};
    for (int i = 0; i < 2; i++) {
        double step = StepFromRoundAmount(texts[i]);
        double read = ReadNumber(texts[i]);
        if (read > 0 && isfinite(read))
            FUZZ_CHECK(SameDouble(step, read), "\"%s\" gave step %.17g, reads %.17g", texts[i],
                       step, read);
        else
            FUZZ_CHECK(SameDouble(step, 0.0), "\"%s\" gave step %.17g", texts[i], step);
    }

    free(src);
    free(dest);
    return 0;
}
