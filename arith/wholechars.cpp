/* Where a text can be cut without splitting a character. */

#include "wholechars.h"

static int IsLeadByte(const TextEncoding *encoding, unsigned char byte)
{
    const unsigned char *ranges = encoding->leadRanges;
    int count = (int)sizeof encoding->leadRanges;
    for (int i = 0; i + 1 < count && (ranges[i] || ranges[i + 1]); i += 2)
        if (byte >= ranges[i] && byte <= ranges[i + 1])
            return 1;
    return 0;
}

/* The bytes of the character that begins at s, with left bytes to go. */
static size_t CharLength(const unsigned char *s, size_t left, const TextEncoding *encoding)
{
    if (!encoding->utf8)
        return left >= 2 && s[1] != 0 && IsLeadByte(encoding, s[0]) ? 2 : 1;
    size_t need = 1;
    if (s[0] >= 0xC2 && s[0] <= 0xDF)
        need = 2;
    else if (s[0] >= 0xE0 && s[0] <= 0xEF)
        need = 3;
    else if (s[0] >= 0xF0 && s[0] <= 0xF4)
        need = 4;
    if (need > left)
        return 1;
    for (size_t i = 1; i < need; i++)
        if ((s[i] & 0xC0) != 0x80)
            return 1;
    return need;
}

size_t WholeCharsLength(const char *text, size_t length, size_t maxBytes, size_t maxChars,
                        const TextEncoding *encoding)
{
    const unsigned char *s = (const unsigned char *)text;
    size_t at = 0;
    for (size_t chars = 0; at < length && chars < maxChars; chars++) {
        size_t n = CharLength(s + at, length - at, encoding);
        if (n > maxBytes - at)
            break;
        at += n;
    }
    return at;
}
