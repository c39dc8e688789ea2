/* Fuzz target for the pay rules as texts.

   A text of up to 40 bytes, mostly digits, points and blanks, is read as a
   rule of each kind and compared with a reference written here from the
   rules alone, on the text as strings: blanks trimmed, then digits with at
   most one point; the decimals past the kind's must be zeros; the value
   compared with the range digit by digit, never in an integer that could
   overflow. Every value read as a number is formatted back: the text must
   read as the same value, be no longer than the dialog's field takes, and
   hold no trailing zero after a point. */

#include "fuzz_common.h"
#include "payrules.h"

#include <string>

struct Kind {
    int kind;
    size_t decimals;
    std::string least, most;   /* in the kind's units, as digits */
    bool emptyIsNone;
};

static const Kind KINDS[3] = {
    {RULE_RATE, 4, "0", "99999900", true},
    {RULE_LIMIT, 2, "1", "16800", true},
    {RULE_FACTOR, 2, "100", "999", false},
};

/* a <= b for numbers written as digits without leading zeros */
static bool NotAbove(const std::string &a, const std::string &b)
{
    return a.size() != b.size() ? a.size() < b.size() : a <= b;
}

static int Reference(const std::string &raw, const Kind &k, std::string *units)
{
    size_t begin = raw.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return k.emptyIsNone ? RULE_NONE : RULE_MISSING;
    std::string text = raw.substr(begin, raw.find_last_not_of(" \t") + 1 - begin);
    if (text.find_first_not_of("0123456789.") != std::string::npos ||
        text.find('.') != text.rfind('.') || text.find_first_of("0123456789") == std::string::npos)
        return RULE_NOT_NUMBER;
    size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string part = point == std::string::npos ? "" : text.substr(point + 1);
    if (part.size() > k.decimals) {
        if (part.find_first_not_of('0', k.decimals) != std::string::npos)
            return RULE_TOO_PRECISE;
        part.resize(k.decimals);
    }
    part.append(k.decimals - part.size(), '0');
    std::string digits = whole + part;
    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.empty())
        digits = "0";
    if (!NotAbove(k.least, digits) || !NotAbove(digits, k.most))
        return RULE_OUT_OF_RANGE;
    *units = digits;
    return RULE_NUMBER;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    /* Bytes mostly mapped onto the characters of a number; the others raw. */
    static const char common[] = "0123456789.. \t0";
    char text[41];
    size_t length = TakeByte(&in) % sizeof text;
    for (size_t i = 0; i < length; i++) {
        uint8_t b = TakeByte(&in);
        text[i] = b < 224 ? common[b % (sizeof common - 1)] : (char)(b - 224 + 32 * (b & 1));
    }
    text[length] = 0;
    std::string raw(text);

    for (const Kind &k : KINDS) {
        std::string units;
        int expected = Reference(raw, k, &units);
        long long value = -7;
        int verdict = ReadRuleText(text, k.kind, &value);
        FUZZ_CHECK(verdict == expected, "\"%s\" kind %d: verdict %d, expected %d", text, k.kind,
                   verdict, expected);
        if (verdict == RULE_NONE)
            FUZZ_CHECK(value == 0, "\"%s\" kind %d: none gave %lld", text, k.kind, value);
        if (verdict != RULE_NUMBER) {
            if (verdict != RULE_NONE)
                FUZZ_CHECK(value == -7, "\"%s\" kind %d: refused, value set", text, k.kind);
            continue;
        }
        FUZZ_CHECK(std::to_string(value) == units, "\"%s\" kind %d: %lld, expected %s", text,
                   k.kind, value, units.c_str());

        char shown[RULE_TEXT_SIZE];
        memset(shown, 0x5A, sizeof shown);
        FormatRuleText(shown, sizeof shown, k.kind, value);
        size_t shownLength = strnlen(shown, sizeof shown);
        FUZZ_CHECK(shownLength < sizeof shown && shownLength <= (size_t)RuleTextChars(k.kind),
                   "%lld kind %d: text \"%.*s\" too long", value, k.kind, (int)sizeof shown, shown);
        FUZZ_CHECK(!strchr(shown, '.') || shown[shownLength - 1] != '0',
                   "%lld kind %d: \"%s\" ends in a zero", value, k.kind, shown);
        long long back = -7;
        FUZZ_CHECK(ReadRuleText(shown, k.kind, &back) == RULE_NUMBER && back == value,
                   "%lld kind %d: \"%s\" reads back as %lld", value, k.kind, shown, back);
    }

    /* Any value at all, of any kind, into any room: terminated inside it. */
    long long any = (long long)TakeBits(&in);
    int kind = KINDS[TakeByte(&in) % 3].kind;
    size_t room = TakeByte(&in) % (RULE_TEXT_SIZE + 1);
    char field[RULE_TEXT_SIZE + 1];
    memset(field, 0x5A, sizeof field);
    FormatRuleText(room ? field : NULL, room, kind, any);
    for (size_t i = room; i < sizeof field; i++)
        FUZZ_CHECK(field[i] == 0x5A, "%lld into %zu bytes: byte %zu written", any, room, i);
    if (room)
        FUZZ_CHECK(strnlen(field, room) < room, "%lld into %zu bytes: not terminated", any, room);
    return 0;
}
