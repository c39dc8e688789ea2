#include "settings_values.h"

#include "registry.h"
#include "testwin.h"

#include <gtest/gtest.h>
#include <string.h>

StoredValue ReadRaw(const char *name)
{
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    std::vector<unsigned char> buffer(4096, 0);
    DWORD size = (DWORD)buffer.size();
    if (RegQueryValueExA(key, name, NULL, &value.type, buffer.data(), &size) == ERROR_SUCCESS) {
        value.present = true;
        value.bytes.assign(buffer.begin(), buffer.begin() + size);
    }
    RegCloseKey(key);
    return value;
}

bool SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void ExpectDword(const char *name, DWORD expected)
{
    StoredValue value = ReadRaw(name);
    ASSERT_TRUE(value.present) << name;
    EXPECT_EQ(value.type, (DWORD)REG_DWORD) << name;
    ASSERT_EQ(value.bytes.size(), 4u) << name;
    DWORD number;
    memcpy(&number, value.bytes.data(), 4);
    EXPECT_EQ(number, expected) << name;
}

void ExpectText(const char *name, const std::string &expected)
{
    StoredValue value = ReadRaw(name);
    ASSERT_TRUE(value.present) << name;
    EXPECT_EQ(value.type, (DWORD)REG_SZ) << name;
    ASSERT_EQ(value.bytes.size(), expected.size() + 1) << name;
    EXPECT_EQ(std::string((const char *)value.bytes.data()), expected) << name;
    EXPECT_EQ(value.bytes.back(), 0) << name;
}

void WriteNonDefaults()
{
    WriteDword("Operator1", 2);
    WriteDword("Operator2", 6);
    WriteDword("Operator3", 9);
    WriteString("CustName", "Acme Tools");
    WriteDword("RoundType", 3);
    WriteString("RoundAmount", ".25");
}

void WriteDefaults()
{
    WriteDword("Operator1", 1);
    WriteDword("Operator2", 5);
    WriteDword("Operator3", 8);
    WriteString("CustName", "Customer Name");
    WriteDword("RoundType", 1);
    WriteString("RoundAmount", ".00");
}
