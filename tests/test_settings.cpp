// The preference store against the real registry of the test's Wine prefix:
// loading with defaults and their write-back, values stored in odd shapes from
// outside, the bounded copy of texts, and the failure messages.
#include <gtest/gtest.h>

#include "harness.h"
#include "payrules.h"
#include "registry.h"
#include "settings.h"

#include <math.h>
#include <string.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Start-up as the main window runs it, from a record that holds rubbish, so
// that every field the load leaves alone would show.
void Load()
{
    memset(&AppSettings, 0x5A, sizeof AppSettings);
    LoadAppSettings(NULL);
}

bool AllZero(const char *bytes, size_t size)
{
    for (size_t i = 0; i < size; i++)
        if (bytes[i] != 0)
            return false;
    return true;
}

// A field with a guard behind it: a copy past the capacity shows in the guard.
struct GuardedText {
    char field[CUSTNAME_SIZE];
    char guard[300];
};

// Reads the stored text into a guarded field of the given capacity first, so
// that a read which ignored the capacity fails here instead of overwriting
// whatever lies behind the real record at the load.
void CheckReadStaysInField(const char *name, size_t capacity)
{
    GuardedText text;
    memset(&text, '#', sizeof text);
    GetAppRegValue(name, REG_SZ, text.field, capacity, NULL, 0);
    for (size_t i = capacity; i < sizeof text.field; i++)
        ASSERT_EQ(text.field[i], '#') << name << ": byte " << i << " past the capacity was written";
    for (size_t i = 0; i < sizeof text.guard; i++)
        ASSERT_EQ(text.guard[i], '#') << name << ": guard byte " << i << " was written";
}

class SettingsStore : public RegistryTest {};

// ---------------------------------------------------------------- start-up

TEST_F(SettingsStore, FirstStartWritesTheSixDefaults)
{
    ASSERT_FALSE(SettingsKeyExists());
    Load();

    ExpectStoredSettings(DEFAULT_SETTINGS);
    SettingsValues firstRun = DEFAULT_SETTINGS;
    firstRun.custName = "";
    ExpectLoadedSettings(firstRun, 0.0);
    EXPECT_TRUE(AllZero(AppSettings.CustName, sizeof AppSettings.CustName))
        << "the company name written back is empty for this run";
    EXPECT_EQ(AppSettings.RoundAmount[3], 0);
}

TEST_F(SettingsStore, SecondStartReadsTheStoredDefaults)
{
    Load();
    Load();
    ExpectLoadedSettings(DEFAULT_SETTINGS, 0.0);
    // Nothing was rewritten: the stored texts are as the first start left them.
    ExpectStored("CustName", Text("Customer Name"));
    ExpectStored("RoundAmount", Text(".00"));
}

TEST_F(SettingsStore, StoredValuesAreLoaded)
{
    WriteSettings(CHANGED_SETTINGS);
    Load();
    ExpectLoadedSettings(CHANGED_SETTINGS, 0.25);
}

// One value missing: it alone is written back with its default; the others
// are read as they are and not rewritten.
struct MissingValueCase {
    const char *name;
    bool isText;
    DWORD defaultNumber;
    const char *defaultText;
};

void PrintTo(const MissingValueCase &c, std::ostream *os) { *os << c.name; }

class MissingValue : public SettingsStore,
                     public ::testing::WithParamInterface<MissingValueCase> {};

TEST_P(MissingValue, IsRewrittenAndTheOthersAreReadUnchanged)
{
    const MissingValueCase &c = GetParam();
    WriteSettings(CHANGED_SETTINGS);
    DeleteValue(c.name);
    Load();

    ExpectStored(c.name, c.isText ? Text(c.defaultText) : Dword(c.defaultNumber));
    ExpectStoredSettings(CHANGED_SETTINGS, c.name);

    // In memory the missing one has its fallback (an empty company name).
    SettingsValues loaded = CHANGED_SETTINGS;
    const char *name = c.name;
    if (!strcmp(name, "Operator1")) loaded.operator1 = 1;
    if (!strcmp(name, "Operator2")) loaded.operator2 = 5;
    if (!strcmp(name, "Operator3")) loaded.operator3 = 8;
    if (!strcmp(name, "CustName")) loaded.custName = "";
    if (!strcmp(name, "RoundType")) loaded.roundType = 1;
    if (!strcmp(name, "RoundAmount")) loaded.roundAmount = ".00";
    ExpectLoadedSettings(loaded, strcmp(name, "RoundAmount") ? 0.25 : 0.0);
    if (!strcmp(name, "CustName")) {
        EXPECT_TRUE(AllZero(AppSettings.CustName, sizeof AppSettings.CustName));
    }
}

INSTANTIATE_TEST_SUITE_P(EachValue, MissingValue,
                         ::testing::Values(MissingValueCase{"Operator1", false, 1, NULL},
                                           MissingValueCase{"Operator2", false, 5, NULL},
                                           MissingValueCase{"Operator3", false, 8, NULL},
                                           MissingValueCase{"CustName", true, 0, "Customer Name"},
                                           MissingValueCase{"RoundType", false, 1, NULL},
                                           MissingValueCase{"RoundAmount", true, 0, ".00"}),
                         [](const ::testing::TestParamInfo<MissingValueCase> &info) {
                             return std::string(info.param.name);
                         });

// ------------------------------------------------ numbers stored from outside

struct StoredNumberCase {
    const char *label;
    DWORD type;
    std::vector<unsigned char> bytes;
    bool readable;   // false: the read fails and the default 1 is written back
    int loaded;      // Operator1 after the load
};

void PrintTo(const StoredNumberCase &c, std::ostream *os) { *os << c.label; }

class StoredNumber : public SettingsStore,
                     public ::testing::WithParamInterface<StoredNumberCase> {};

TEST_P(StoredNumber, LoadsAsOperator1)
{
    const StoredNumberCase &c = GetParam();
    WriteSettings(CHANGED_SETTINGS);
    StoredValue stored = Raw(c.type, std::string(c.bytes.begin(), c.bytes.end()));
    WriteValue("Operator1", stored);
    Load();
    EXPECT_EQ(AppSettings.Operator1, c.loaded);
    // A value that could be read is left as it is stored.
    ExpectStored("Operator1", c.readable ? stored : Dword(1));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StoredNumber,
    ::testing::Values(
        // A mode no button stands for is used as it is.
        StoredNumberCase{"Dword7", REG_DWORD, {7, 0, 0, 0}, true, 7},
        StoredNumberCase{"DwordMinus1", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, true, -1},
        // The text "5" is the two bytes '5' and NUL, extended with zeros: 53.
        StoredNumberCase{"Text5", REG_SZ, {'5', 0}, true, 53},
        StoredNumberCase{"Text12", REG_SZ, {'1', '2', 0}, true, 0x3231},
        StoredNumberCase{"Binary3Bytes", REG_BINARY, {1, 2, 3}, true, 0x030201},
        StoredNumberCase{"Empty", REG_BINARY, {}, true, 0},
        // More than 4 bytes cannot be read into the number: replaced.
        StoredNumberCase{"Qword", REG_QWORD, {7, 0, 0, 0, 0, 0, 0, 0}, false, 1},
        StoredNumberCase{"Binary8Bytes", REG_BINARY, {2, 0, 0, 0, 0, 0, 0, 0}, false, 1},
        StoredNumberCase{"Text1234", REG_SZ, {'1', '2', '3', '4', 0}, false, 1}),
    [](const ::testing::TestParamInfo<StoredNumberCase> &info) {
        return std::string(info.param.label);
    });

// ------------------------------------------------- texts stored from outside

struct StoredRoundAmountCase {
    const char *label;
    std::string stored;
    const char *loaded;   // RoundAmount in memory
    double value;         // RoundAmountValue
};

void PrintTo(const StoredRoundAmountCase &c, std::ostream *os) { *os << c.label; }

class StoredRoundAmount : public SettingsStore,
                          public ::testing::WithParamInterface<StoredRoundAmountCase> {};

TEST_P(StoredRoundAmount, GivesTheStep)
{
    const StoredRoundAmountCase &c = GetParam();
    WriteSettings(CHANGED_SETTINGS);
    WriteValue("RoundAmount", Text(c.stored.c_str()));
    ASSERT_NO_FATAL_FAILURE(CheckReadStaysInField("RoundAmount", sizeof AppSettings.RoundAmount));
    Load();
    EXPECT_EQ(std::string(AppSettings.RoundAmount), c.loaded);
    EXPECT_EQ(AppSettings.RoundAmountValue, c.value);
    ExpectStored("RoundAmount", Text(c.stored));   // read, so not rewritten
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredRoundAmount,
    ::testing::Values(StoredRoundAmountCase{"Quarter", ".25", ".25", 0.25},
                      StoredRoundAmountCase{"Half", ".5", ".5", 0.5},
                      StoredRoundAmountCase{"NoNumber", "abc", "abc", 0.0},
                      StoredRoundAmountCase{"Empty", "", "", 0.0},
                      StoredRoundAmountCase{"Zero", "0", "0", 0.0},
                      // A negative step is kept as text but switches rounding off.
                      StoredRoundAmountCase{"Negative", "-.5", "-.5", 0.0},
                      StoredRoundAmountCase{"Infinite", "inf", "inf", 0.0},
                      StoredRoundAmountCase{"NotANumber", "nan", "nan", 0.0},
                      // Longer than the field: cut to its three characters.
                      StoredRoundAmountCase{"CutToField", ".255", ".25", 0.25},
                      StoredRoundAmountCase{"CutNegative", "-1.5", "-1.", 0.0}),
    [](const ::testing::TestParamInfo<StoredRoundAmountCase> &info) {
        return std::string(info.param.label);
    });

TEST_F(SettingsStore, CompanyNameLongerThanTheFieldIsCut)
{
    std::string name;
    for (int i = 0; i < 200; i++)
        name += (char)('A' + i % 26);
    WriteSettings(CHANGED_SETTINGS);
    WriteValue("CustName", Text(name.c_str()));
    ASSERT_NO_FATAL_FAILURE(CheckReadStaysInField("CustName", sizeof AppSettings.CustName));
    Load();
    EXPECT_EQ(std::string(AppSettings.CustName), name.substr(0, 50));
    EXPECT_EQ(AppSettings.CustName[50], 0);
    // The fields after the name hold their own loaded values.
    EXPECT_EQ(AppSettings.RoundType, 3);
    EXPECT_EQ(std::string(AppSettings.RoundAmount), ".25");
    ExpectStored("CustName", Text(name));   // read, so not rewritten
}

TEST_F(SettingsStore, ANameSavedByAnEarlierVersionReadsBackAsTyped)
{
    // An earlier version saved from code page 1252; the registry keeps UTF-16.
    WriteSettings(CHANGED_SETTINGS);
    const wchar_t before[] = L"Caf\u00e9 N\u00f8rd";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quillfeather Systems Inc\\Hourwise", L"CustName",
                    REG_SZ, before, sizeof before);
    Load();
    EXPECT_STREQ(AppSettings.CustName, "Caf\xC3\xA9 N\xC3\xB8rd");
}

// Texts of 256 bytes or more with their NUL do not fit the read buffer.
struct LongTextCase {
    const char *label;
    const char *name;
    size_t length;   // characters stored
    bool readable;
};

void PrintTo(const LongTextCase &c, std::ostream *os) { *os << c.label; }

class LongText : public SettingsStore, public ::testing::WithParamInterface<LongTextCase> {};

TEST_P(LongText, ReadOrReplaced)
{
    const LongTextCase &c = GetParam();
    bool isName = strcmp(c.name, "CustName") == 0;
    size_t capacity = isName ? sizeof AppSettings.CustName : sizeof AppSettings.RoundAmount;
    std::string stored = ".";   // as a round amount ".34..." reads as .34
    while (stored.size() < c.length)
        stored += (char)('2' + stored.size() % 4);
    WriteSettings(CHANGED_SETTINGS);
    WriteValue(c.name, Text(stored.c_str()));
    ASSERT_NO_FATAL_FAILURE(CheckReadStaysInField(c.name, capacity));
    Load();
    const char *field = isName ? AppSettings.CustName : AppSettings.RoundAmount;
    if (c.readable) {
        EXPECT_EQ(std::string(field), stored.substr(0, isName ? CUSTNAME_CHARS : ROUNDAMOUNT_CHARS));
        ExpectStored(c.name, Text(stored));
    } else {
        EXPECT_EQ(std::string(field), isName ? "" : ".00");
        ExpectStored(c.name, Text(isName ? "Customer Name" : ".00"));
    }
    if (!isName) {
        EXPECT_EQ(AppSettings.RoundAmountValue, c.readable ? 0.34 : 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongText,
                         ::testing::Values(LongTextCase{"Name254", "CustName", 254, true},
                                           LongTextCase{"Name255", "CustName", 255, false},
                                           LongTextCase{"Name1000", "CustName", 1000, false},
                                           LongTextCase{"Amount254", "RoundAmount", 254, true},
                                           LongTextCase{"Amount255", "RoundAmount", 255, false}),
                         [](const ::testing::TestParamInfo<LongTextCase> &info) {
                             return std::string(info.param.label);
                         });

TEST_F(SettingsStore, TextWithoutTerminatorLosesItsLastByte)
{
    // Stored from outside without the NUL: the last byte is taken for it.
    WriteSettings(CHANGED_SETTINGS);
    // The byte after the count is not a NUL, so the text is stored as it is.
    WriteValue("CustName", Raw(REG_SZ, "Acme"));
    Load();
    EXPECT_EQ(std::string(AppSettings.CustName), "Acm");
}

// ------------------------------------------ the registry operations directly

struct CapacityCase {
    size_t capacity;
    size_t storedLength;
    size_t expectedLength;
};

void PrintTo(const CapacityCase &c, std::ostream *os) { *os << "capacity " << c.capacity << ", stored " << c.storedLength; }

class ReadCapacity : public SettingsStore, public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(ReadCapacity, NeverWritesPastTheField)
{
    const CapacityCase &c = GetParam();
    std::string stored(c.storedLength, 'n');
    WriteValue("CustName", Text(stored.c_str()));
    GuardedText text;
    memset(&text, '#', sizeof text);
    ASSERT_EQ(GetAppRegValue("CustName", REG_SZ, text.field, c.capacity, NULL, 0), 1);
    EXPECT_EQ(std::string(text.field), std::string(c.expectedLength, 'n'));
    for (size_t i = c.capacity; i < sizeof text.field; i++)
        ASSERT_EQ(text.field[i], '#') << "byte " << i << " past the capacity was written";
    for (size_t i = 0; i < sizeof text.guard; i++)
        ASSERT_EQ(text.guard[i], '#') << "guard byte " << i << " was written";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadCapacity,
                         ::testing::Values(CapacityCase{51, 200, 50}, CapacityCase{51, 254, 50},
                                           CapacityCase{51, 50, 50}, CapacityCase{51, 13, 13},
                                           CapacityCase{51, 0, 0}, CapacityCase{4, 200, 3},
                                           CapacityCase{4, 3, 3}, CapacityCase{1, 200, 0}),
                         [](const ::testing::TestParamInfo<CapacityCase> &info) {
                             return "Capacity" + std::to_string(info.param.capacity) + "Stored" +
                                    std::to_string(info.param.storedLength);
                         });

TEST_F(SettingsStore, FailedReadsLeaveTheOutputsUntouched)
{
    char text[CUSTNAME_SIZE] = "keep";
    DWORD number = 77;
    // No key.
    EXPECT_EQ(GetAppRegValue("CustName", REG_SZ, text, sizeof text, NULL, 0), 0);
    EXPECT_EQ(GetAppRegValue("Operator1", REG_DWORD, NULL, 0, &number, 0), 0);
    // No value.
    WriteValue("Operator2", Dword(5));
    EXPECT_EQ(GetAppRegValue("CustName", REG_SZ, text, sizeof text, NULL, 0), 0);
    EXPECT_EQ(GetAppRegValue("Operator1", REG_DWORD, NULL, 0, &number, 0), 0);
    // Too large.
    WriteValue("CustName", Text(std::string(300, 'x').c_str()));
    unsigned char eight[8] = {9, 0, 0, 0, 0, 0, 0, 0};
    WriteValue("Operator1", Raw(REG_QWORD, std::string((const char *)eight, sizeof eight)));
    EXPECT_EQ(GetAppRegValue("CustName", REG_SZ, text, sizeof text, NULL, 0), 0);
    EXPECT_EQ(GetAppRegValue("Operator1", REG_DWORD, NULL, 0, &number, 0), 0);

    EXPECT_EQ(std::string(text), "keep");
    EXPECT_EQ(number, 77u);
}

TEST_F(SettingsStore, SetWritesTextsWithTheirTerminatorAndNumbersAsFourBytes)
{
    WriteValue("RoundType", Dword(1));   // the key exists
    EXPECT_EQ(SetAppRegValue("CustName", REG_SZ, "Acme", 0, 0), 1);
    EXPECT_EQ(SetAppRegValue("RoundAmount", REG_SZ, "", 0, 0), 1);
    EXPECT_EQ(SetAppRegValue("Operator3", REG_DWORD, NULL, 9, 0), 1);
    EXPECT_EQ(SetAppRegValue("RoundType", REG_DWORD, NULL, (DWORD)-4, 0), 1);
    ExpectStored("CustName", Text("Acme"));
    ExpectStored("RoundAmount", Text(""));
    ExpectStored("Operator3", Dword(9));
    ExpectStored("RoundType", Dword((DWORD)-4));
}

TEST_F(SettingsStore, SetDoesNotCreateTheKey)
{
    EXPECT_EQ(SetAppRegValue("Operator1", REG_DWORD, NULL, 3, 0), 0);
    EXPECT_EQ(SetAppRegValue("CustName", REG_SZ, "Acme", 0, 0), 0);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsStore, CreateMakesTheKeyAndConvertsNumbersWithAtolRules)
{
    struct {
        const char *text;
        DWORD stored;
    } cases[] = {{"1", 1}, {"  42abc", 42}, {"-3", (DWORD)-3}, {"+8", 8}, {"abc", 0}, {"", 0}};
    for (const auto &c : cases) {
        DeleteSettingsKey();
        ASSERT_EQ(CreateRegEntry(REG_DWORD, "Operator1", c.text), 1) << c.text;
        ExpectStored("Operator1", Dword(c.stored));
    }
    ASSERT_EQ(CreateRegEntry(REG_SZ, "CustName", "Customer Name"), 1);
    ExpectStored("CustName", Text("Customer Name"));
}

// ------------------------------------------------------------ pay rules

const char *const RULE_NAMES[6] = {"OvertimeWeekly", "OvertimeDaily",    "DoubleTimeDaily",
                                   "OvertimeFactor", "DoubleTimeFactor", "HourlyRate"};

// Daily double time stored at or under the daily overtime goes back to none
// and is written back so; the other rules are read, or replaced where they are
// none (an "x" factor, a rate too large, a seventh day of 2).
TEST_F(SettingsStore, PayRulesDoubleTimeNotPastOvertimeIsReplacedAsAValueThatIsNoRule)
{
    struct { std::vector<const char *> stored; DWORD seventhDay; PayRules loaded; std::vector<const char *> after; } cases[] = {
        {{"", "10", "8", "1.5", "2", "0"}, 1, {0, 1000, 0, 1, 150, 200, 1, 0}, {"", "10", "", "1.5", "2", "0"}},
        {{"40", "8", "8", "x", "2.5", "9999.991"}, 2, {4000, 800, 0, 0, 150, 250, 0, 0}, {"40", "8", "", "1.5", "2.5", ""}},
    };
    for (const auto &c : cases) {
        for (size_t i = 0; i < 6; i++)
            WriteValue(RULE_NAMES[i], Text(c.stored[i]));
        WriteValue("SeventhDay", Dword(c.seventhDay));
        Load();
        EXPECT_EQ(0, memcmp(&c.loaded, &CurrentPayRules, sizeof c.loaded));
        for (int i = 0; i < 6; i++)
            ExpectStored(RULE_NAMES[i], Text(c.after[i]));
        ExpectStored("SeventhDay", Dword(c.loaded.SeventhDay));
    }
}

TEST(RuleText, ReadsDigitsWithOnePointInWholeUnitsWithinItsKindsRangeAndIsShownShortest)
{
    struct { const char *text; int kind, verdict; long long value; } cases[] = {
        {" 17.36\t", RULE_RATE, RULE_NUMBER, 173600}, {"9999.9901", RULE_RATE, RULE_OUT_OF_RANGE, -1},
        {"25.123400", RULE_RATE, RULE_NUMBER, 251234}, {"25.12345", RULE_RATE, RULE_TOO_PRECISE, -1},
        {"", RULE_RATE, RULE_NONE, 0}, {" ", RULE_LIMIT, RULE_NONE, 0}, {"", RULE_FACTOR, RULE_MISSING, -1},
        {"1,275", RULE_RATE, RULE_NOT_NUMBER, -1}, {"-5", RULE_LIMIT, RULE_NOT_NUMBER, -1},
        {".", RULE_LIMIT, RULE_NOT_NUMBER, -1}, {"8.", RULE_LIMIT, RULE_NUMBER, 800},
        {"0", RULE_LIMIT, RULE_OUT_OF_RANGE, -1}, {"99999999999999999999999", RULE_LIMIT, RULE_OUT_OF_RANGE, -1},
        {"0.99", RULE_FACTOR, RULE_OUT_OF_RANGE, -1}, {"9.99", RULE_FACTOR, RULE_NUMBER, 999},
    };
    for (const auto &c : cases) {
        long long value = -1;
        EXPECT_EQ(c.verdict, ReadRuleText(c.text, c.kind, &value)) << '"' << c.text << '"';
        EXPECT_EQ(c.value, value) << '"' << c.text << '"';
    }
    char text[RULE_TEXT_SIZE];
    FormatRuleText(text, sizeof text, RULE_RATE, 251234);
    EXPECT_STREQ("25.1234", text);
    FormatRuleText(text, sizeof text, RULE_LIMIT, 850);
    EXPECT_STREQ("8.5", text);
}

// ------------------------------------------------------------ messages

std::string Path(const char *separator, const char *name)
{
    return std::string("Software\\Quillfeather Systems Inc\\Hourwise\\") + separator + name;
}

TEST_F(SettingsStore, MessagesOfAMissingKey)
{
    char text[CUSTNAME_SIZE];
    DWORD number;
    RegistryMessage[0] = 0;
    EXPECT_EQ(GetAppRegValue("Operator1", REG_DWORD, NULL, 0, &number, 0), 0);
    EXPECT_EQ(std::string(RegistryMessage),
              "Error Retrieving Registry Key Entry:\n"
              "Key/Path=Software\\Quillfeather Systems Inc\\Hourwise\\Operator1\n"
              "DLL Returned=2");
    EXPECT_EQ(GetAppRegValue("CustName", REG_SZ, text, sizeof text, NULL, 0), 0);
    EXPECT_EQ(std::string(RegistryMessage),
              "Error Retrieving Registry Key Entry:\nKey/Path=" + Path("", "CustName") +
                  "\nDLL Returned=2");
    EXPECT_EQ(SetAppRegValue("RoundType", REG_DWORD, NULL, 1, 0), 0);
    EXPECT_EQ(std::string(RegistryMessage),
              "Error Setting Registry Key Entry:\nKey/Path=" + Path("", "RoundType") +
                  "\nDLL Returned=2");
}

TEST_F(SettingsStore, MessagesOfAValueThatCannotBeRead)
{
    WriteValue("RoundType", Dword(1));
    DWORD number;
    char text[ROUNDAMOUNT_SIZE];
    RegistryMessage[0] = 0;
    EXPECT_EQ(GetAppRegValue("Operator1", REG_DWORD, NULL, 0, &number, 0), 0);
    EXPECT_EQ(std::string(RegistryMessage),
              "Error Getting Registry Key Entry Value:\n"
              "Key/Path=Software\\Quillfeather Systems Inc\\Hourwise\\\\Operator1\n"
              "DLL Returned=2");
    // Too large for the read buffer: ERROR_MORE_DATA.
    WriteValue("RoundAmount", Text(std::string(255, '1').c_str()));
    EXPECT_EQ(GetAppRegValue("RoundAmount", REG_SZ, text, sizeof text, NULL, 0), 0);
    EXPECT_EQ(std::string(RegistryMessage),
              "Error Getting Registry Key Entry Value:\nKey/Path=" + Path("\\", "RoundAmount") +
                  "\nDLL Returned=234");
}

TEST_F(SettingsStore, MessageOfAValueThatCannotBeWritten)
{
    // A value name beyond the registry's limit makes the write itself fail;
    // the message stays within its buffer.
    WriteValue("RoundType", Dword(1));
    std::string name(20000, 'v');
    RegistryMessage[0] = 0;
    EXPECT_EQ(SetAppRegValue(name.c_str(), REG_DWORD, NULL, 1, 0), 0);
    std::string message = RegistryMessage;
    std::string start = "Error Setting Registry Key Entry Value:\nKey/Path=" + Path("\\", "vvv");
    EXPECT_EQ(message.substr(0, start.size()), start);
    EXPECT_EQ(message.size(), (size_t)REGISTRY_MESSAGE_SIZE - 1);

    // With a short name the same form is produced in full.
    std::string shortForm = "Error Setting Registry Key Entry Value:\nKey/Path=" + Path("\\", "x");
    EXPECT_EQ(shortForm, "Error Setting Registry Key Entry Value:\n"
                         "Key/Path=Software\\Quillfeather Systems Inc\\Hourwise\\\\x");
}

// CreateRegEntry always shows its failure, in a box without owner.
std::string BoxCaption;
std::vector<std::string> BoxTexts;

void ReadBoxAndClose(HWND box)
{
    BoxCaption = WindowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        BoxTexts.push_back(WindowText(child));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SettingsStore, CreateShowsItsFailureWithItsCaption)
{
    WriteValue("RoundType", Dword(1));
    std::string name(20000, 'w');
    BoxCaption.clear();
    BoxTexts.clear();
    int created = -1;
    ASSERT_TRUE(DriveDialogs([&] { created = CreateRegEntry(REG_DWORD, name.c_str(), "1"); },
                             {{"CreateRegEntry failure", NULL, -1, ReadBoxAndClose}}));
    EXPECT_EQ(created, 0);
    EXPECT_EQ(BoxCaption, "Hourwise CreateRegEntry");
    std::string start = "Error Setting Registry Key Entry Value:\nKey/Path=" + Path("\\", "www");
    EXPECT_EQ(std::string(RegistryMessage).substr(0, start.size()), start);
    bool shown = false;
    for (const std::string &text : BoxTexts)
        shown = shown || text == RegistryMessage;
    EXPECT_TRUE(shown) << "the box does not show the message";
}

// ------------------------------------------------------------ pure helpers

struct CopyCase {
    const char *label;
    const char *source;
    unsigned long count;
    size_t capacity;
    const char *expected;
};

void PrintTo(const CopyCase &c, std::ostream *os) { *os << c.label; }

class CopyText : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyText, CopiesWithinTheCapacity)
{
    const CopyCase &c = GetParam();
    char buffer[16];
    memset(buffer, '#', sizeof buffer);
    CopyRegistryText(buffer, c.capacity, c.source, c.count);
    size_t length = strlen(c.expected);
    EXPECT_EQ(std::string(buffer, length), c.expected);
    EXPECT_EQ(buffer[length], 0);
    for (size_t i = c.capacity; i < sizeof buffer; i++)
        EXPECT_EQ(buffer[i], '#') << "byte " << i << " past the capacity";
}

INSTANTIATE_TEST_SUITE_P(
    Table, CopyText,
    ::testing::Values(CopyCase{"CountZero", "abc", 0, 10, ""},
                      CopyCase{"CountOne", "abc", 1, 10, ""},
                      CopyCase{"Whole", "abc", 4, 10, "abc"},
                      CopyCase{"LastByteIsTheTerminator", "abc", 3, 10, "ab"},
                      CopyCase{"NulInside", "ab\0cd", 6, 10, "ab"},
                      CopyCase{"CapacityOne", "abc", 4, 1, ""},
                      CopyCase{"ExactFit", "abc", 4, 4, "abc"},
                      CopyCase{"CutToCapacity", "abcdef", 7, 4, "abc"},
                      CopyCase{"NoSource", NULL, 4, 10, ""}),
    [](const ::testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.label); });

TEST(CopyRegistryTextEdge, CapacityZeroWritesNothing)
{
    char buffer[4] = {'#', '#', '#', '#'};
    CopyRegistryText(buffer, 0, "abc", 4);
    EXPECT_EQ(std::string(buffer, 4), "####");
}

TEST(WholeChars, CutsOnlyBetweenCharacters)
{
    // Z, L with stroke (2 bytes), e with circumflex and dot below (3), a smiling face (4)
    const char *z234 = "Z\xC5\x81\xE1\xBB\x85\xF0\x9F\x98\x80", *broken = "\xE1\xBB" "a\x81\xC5";
    const TextEncoding utf8 = {1, {0}}, cp932 = {0, {0x81, 0x9F, 0xE0, 0xFC}}, cp1252 = {0, {0}};
    struct { const char *text; size_t maxBytes, maxChars; const TextEncoding *in; size_t length; } cases[] = {
        {"abcdef", 4, 40, &utf8, 4}, {z234, 2, 40, &utf8, 1}, {z234, 5, 40, &utf8, 3},
        {z234, 9, 40, &utf8, 6}, {z234, 10, 40, &utf8, 10}, {z234, 40, 3, &utf8, 6},
        {broken, 40, 4, &utf8, 4},   // a byte of no whole character is one of its own
        {"a\x82\xA0" "b", 2, 40, &cp932, 1}, {"a\x82\xA0" "b", 40, 2, &cp932, 3},
        {"\xC5\x81", 1, 40, &cp1252, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(WholeCharsLength(c.text, strlen(c.text), c.maxBytes, c.maxChars, c.in), c.length)
            << "case " << &c - cases;
    EXPECT_EQ(2u, WholeCharsLength("a\xC5\x81", 2, 40, 40, &utf8)) << "a character the end cuts";
}

struct StepCase {
    const char *text;
    double step;
};

void PrintTo(const StepCase &c, std::ostream *os) { *os << '"' << c.text << '"'; }

class Step : public ::testing::TestWithParam<StepCase> {};

TEST_P(Step, FromRoundAmount)
{
    const StepCase &c = GetParam();
    double step = StepFromRoundAmount(c.text);
    EXPECT_EQ(step, c.step) << '"' << c.text << '"';
    EXPECT_FALSE(signbit(step)) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Table, Step,
                         ::testing::Values(StepCase{".25", 0.25}, StepCase{".00", 0.0},
                                           StepCase{"1", 1.0}, StepCase{" .5", 0.5},
                                           StepCase{".5x", 0.5}, StepCase{"1e2", 100.0},
                                           StepCase{"abc", 0.0}, StepCase{"", 0.0},
                                           StepCase{"-.5", 0.0}, StepCase{"-0", 0.0},
                                           StepCase{"-1e", 0.0}, StepCase{"inf", 0.0},
                                           StepCase{"nan", 0.0}, StepCase{"1e999", 0.0}));

TEST(StepEdge, NullTextIsNoStep)
{
    EXPECT_EQ(StepFromRoundAmount(NULL), 0.0);
}

}  // namespace
