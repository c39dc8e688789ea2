// The settings key as the tests see it: values with their stored type and
// bytes, and expectations on them.
#ifndef HOURWISE_SETTINGS_VALUES_H
#define HOURWISE_SETTINGS_VALUES_H

#include <windows.h>
#include <string>
#include <vector>

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<unsigned char> bytes;   // texts in ANSI, as RegQueryValueExA gives them
};

StoredValue ReadRaw(const char *name);
bool SettingsKeyExists();

// GoogleTest expectations: a REG_DWORD of 4 bytes holding expected; a REG_SZ
// holding the text and its terminating NUL and nothing more.
void ExpectDword(const char *name, DWORD expected);
void ExpectText(const char *name, const std::string &expected);

// The six values as a user who changed every one of them left them:
// Operator1 2, Operator2 6, Operator3 9, CustName "Acme Tools", RoundType 3,
// RoundAmount ".25".
void WriteNonDefaults();
// The six defaults as the first start writes them.
void WriteDefaults();

#endif
