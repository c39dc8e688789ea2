// The settings key of the harness: one stored-value type, read and written
// raw, and the six preferences as one row.
#include "harness.h"

#include "registry.h"
#include "settings.h"

#include <string.h>

bool operator==(const StoredValue &a, const StoredValue &b)
{
    return a.present == b.present && (!a.present || (a.type == b.type && a.bytes == b.bytes));
}

void PrintTo(const StoredValue &value, std::ostream *os)
{
    if (!value.present) {
        *os << "(missing)";
        return;
    }
    *os << "type " << value.type << ", " << value.bytes.size() << " bytes:";
    for (unsigned char c : value.bytes)
        *os << ' ' << (int)c;
}

StoredValue Raw(DWORD type, const std::string &bytes)
{
    StoredValue value = {true, type, bytes};
    return value;
}

StoredValue Dword(DWORD number)
{
    return Raw(REG_DWORD, std::string((const char *)&number, sizeof number));
}

StoredValue Text(const std::string &text)
{
    return Raw(REG_SZ, std::string(text.c_str(), text.size() + 1));
}

StoredValue ReadValue(const char *name)
{
    StoredValue value = {false, 0, ""};
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    std::vector<char> buffer(4096, 0);
    DWORD size = (DWORD)buffer.size();
    if (RegQueryValueExA(key, name, NULL, &value.type, (BYTE *)buffer.data(), &size) ==
        ERROR_SUCCESS) {
        value.present = true;
        value.bytes.assign(buffer.data(), size);
    }
    RegCloseKey(key);
    return value;
}

void WriteValue(const char *name, const StoredValue &value)
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                        &key, NULL) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot make the settings key";
        return;
    }
    // A text whose count leaves out its NUL gets one added when a NUL follows
    // in memory: a byte that is no NUL follows, so the bytes are stored as given.
    std::string data = value.bytes + 'x';
    RegSetValueExA(key, name, 0, value.type, (const BYTE *)data.data(), (DWORD)value.bytes.size());
    RegCloseKey(key);
}

void DeleteValue(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

void DeleteSettingsKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH);
}

bool SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void ExpectStored(const char *name, const StoredValue &expected)
{
    EXPECT_EQ(expected, ReadValue(name)) << name;
}

const SettingsValues DEFAULT_SETTINGS = {1, 5, 8, "Customer Name", 1, ".00"};
const SettingsValues CHANGED_SETTINGS = {2, 6, 9, "Acme Tools", 3, ".25"};

struct NamedValue {
    const char *name;
    StoredValue value;
};

static std::vector<NamedValue> Six(const SettingsValues &v)
{
    return {{"Operator1", Dword(v.operator1)}, {"Operator2", Dword(v.operator2)},
            {"Operator3", Dword(v.operator3)}, {"CustName", Text(v.custName)},
            {"RoundType", Dword(v.roundType)}, {"RoundAmount", Text(v.roundAmount)}};
}

void WriteSettings(const SettingsValues &values)
{
    for (const NamedValue &named : Six(values))
        WriteValue(named.name, named.value);
}

void ExpectStoredSettings(const SettingsValues &values, const char *except)
{
    for (const NamedValue &named : Six(values))
        if (!except || strcmp(except, named.name) != 0)
            ExpectStored(named.name, named.value);
}

void ExpectLoadedSettings(const SettingsValues &values, double step)
{
    EXPECT_EQ((int)values.operator1, AppSettings.Operator1);
    EXPECT_EQ((int)values.operator2, AppSettings.Operator2);
    EXPECT_EQ((int)values.operator3, AppSettings.Operator3);
    EXPECT_EQ(std::string(values.custName), AppSettings.CustName);
    EXPECT_EQ((int)values.roundType, AppSettings.RoundType);
    EXPECT_EQ(std::string(values.roundAmount), AppSettings.RoundAmount);
    EXPECT_EQ(step, AppSettings.RoundAmountValue);
}
