/* Fuzz target for the pay rules as texts: a text of up to 40 bytes, mostly
   digits, points and blanks, read as a rule of each kind against a reference
   worked on the text as strings, the range compared digit by digit; a value
   read is formatted back into a text that fits the dialog's field, ends in no
   zero after a point and reads as the same value; any value formatted into
   any room stays inside it. */

#include "fuzz_common.h"
#include "payrules.h"

#include <string>

/* A kind: its decimals, least and most value in its units, empty as none. */
struct Kind { int kind; size_t decimals; std::string least, most; bool emptyIsNone; };

static const Kind KINDS[3] = {{RULE_RATE, 4, "0", "99999900", true},
                              {RULE_LIMIT, 2, "1", "16800", true},
                              {RULE_FACTOR, 2, "100", "999", false}};

static bool NotAbove(const std::string &a, const std::string &b)   /* digits without leading zeros */
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
    std::string part = point == std::string::npos ? "" : text.substr(point + 1);
    if (part.size() > k.decimals && part.find_first_not_of('0', k.decimals) != std::string::npos)
        return RULE_TOO_PRECISE;
    part.resize(k.decimals, '0');
    std::string digits = text.substr(0, point) + part;
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
    static const char common[] = "0123456789.. \t0";
    char text[41];
    size_t length = TakeByte(&in) % sizeof text;
    for (size_t i = 0; i < length; i++) {   /* mostly the characters of a number, else any byte */
        uint8_t b = TakeByte(&in);
        text[i] = b < 224 ? common[b % (sizeof common - 1)] : (char)(b - 224 + 32 * (b & 1));
    }
    text[length] = 0;

    for (const Kind &k : KINDS) {
        std::string units;
        int expected = Reference(text, k, &units);
        long long value = -7;
        int verdict = ReadRuleText(text, k.kind, &value);
        FUZZ_CHECK(verdict == expected, "\"%s\" kind %d: verdict %d, expected %d", text, k.kind, verdict,
                   expected);
        FUZZ_CHECK(verdict == RULE_NUMBER ? std::to_string(value) == units
                                          : value == (verdict == RULE_NONE ? 0 : -7),
                   "\"%s\" kind %d: value %lld, expected %s", text, k.kind, value, units.c_str());
        if (verdict != RULE_NUMBER)
            continue;
        char shown[RULE_TEXT_SIZE];
        FormatRuleText(shown, sizeof shown, k.kind, value);
        size_t shownLength = strlen(shown);
        long long back = -7;
        FUZZ_CHECK(shownLength <= (size_t)RuleTextChars(k.kind) &&
                       (!strchr(shown, '.') || shown[shownLength - 1] != '0') &&
                       ReadRuleText(shown, k.kind, &back) == RULE_NUMBER && back == value,
                   "%lld kind %d: shown as \"%s\", reads back as %lld", value, k.kind, shown, back);
    }

    long long any = (long long)TakeBits(&in);
    size_t room = TakeByte(&in) % RULE_TEXT_SIZE + 1;
    char field[RULE_TEXT_SIZE + 2] = {0};   /* the room, then 'Z's to the last byte, a NUL */
    memset(field, 'Z', sizeof field - 1);
    FormatRuleText(field, room, KINDS[any & 1].kind, any);
    FUZZ_CHECK(strnlen(field, room) < room && strspn(field + room, "Z") == sizeof field - 1 - room,
               "%lld into %zu bytes: \"%.*s\"", any, room, (int)sizeof field, field);
    return 0;
}
