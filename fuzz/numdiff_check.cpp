/* The differential check as a program: the arithmetic tests' million random
   values and every three-decimal tie up to 10,000, random bit patterns, and
   every file given on the command line (fuzz corpus inputs). */
#include "numdiff_common.h"

#include <string>

int main(int argc, char **argv)
{
    long long files = 0;
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 1000000; i++) { /* the same values as the arithmetic tests */
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double mantissa = (double)(state >> 11) / 9007199254740992.0;
        int magnitude = (int)((state >> 3) % 27) - 6;
        double value = mantissa * pow(10.0, magnitude);
        if (state & 1)
            value = -value;
        CompareValue(value, 9, 2, NUMBER_TEXT_SIZE);
    }
    long long afterRandom = g_values;
    for (int n = 0; n < 1000000; n++) { /* 0.005 ... 9999.995 */
        char text[32];
        snprintf(text, sizeof text, "%d.%02d5", n / 100, n % 100);
        CompareText(text);
    }
    long long afterTies = g_values;
    long long bitsCount = argc > 1 && strncmp(argv[1], "--bits=", 7) == 0 ? atoll(argv[1] + 7) : 0;
    for (long long i = 0; i < bitsCount; i++) { /* any double at all, and its 17-digit text */
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double value;
        memcpy(&value, &state, sizeof value);
        CompareValue(value, (int)(state % 24), (int)((state >> 8) % 26) - 2, (size_t)(state >> 40) % 420);
        char text[40];
        snprintf(text, sizeof text, "%.*e", (int)(state % 20), value);
        CompareText(text);
    }
    long long afterBits = g_values;
    for (int i = 1; i < argc; i++) {
        if (strncmp(argv[i], "--bits=", 7) == 0)
            continue;
        FILE *f = fopen(argv[i], "rb");
        if (!f)
            continue;
        std::string bytes;
        char chunk[4096];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.append(chunk, got);
        fclose(f);
        CompareInput((const uint8_t *)bytes.data(), bytes.size());
        files++;
    }
    printf("numdiff: %lld values (random %lld, ties %lld, bits %lld, %lld corpus files %lld), %lld differences\n",
           g_values, afterRandom, afterTies - afterRandom, afterBits - afterTies, files,
           g_values - afterBits, g_differences);
    return g_differences ? 1 : 0;
}
