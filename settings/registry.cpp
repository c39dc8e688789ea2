/* The preference store: six values under the program's key in the per-user
   registry, each operation opening and closing the key itself; the pay rules
   beside them are read at the end of the start-up's load. */

#include "codepage.h"
#include "registry.h"
#include "timecalc.h"

#include <stdio.h>
#include <string.h>

/* The text of the last failure, kept so that it can be read without a box. */
char RegistryMessage[REGISTRY_MESSAGE_SIZE];

static void ReportFailure(const char *format, const char *valueName, LONG status,
                          const char *caption, int show)
{
    snprintf(RegistryMessage, sizeof RegistryMessage, format, REGISTRY_KEY_PATH, valueName,
             (long)status);
    if (show)
        MessageBoxA(NULL, RegistryMessage, caption, MB_ICONWARNING);
}

static LONG WriteValue(HKEY key, const char *valueName, DWORD type, const char *text, DWORD number)
{
    if (type == REG_SZ) {
        const char *value = text ? text : "";
        return RegSetValueExA(key, valueName, 0, REG_SZ, (const BYTE *)value,
                              (DWORD)strlen(value) + 1);
    }
    return RegSetValueExA(key, valueName, 0, REG_DWORD, (const BYTE *)&number, sizeof number);
}

int CreateRegEntry(DWORD type, const char *valueName, const char *valueText)
{
    HKEY key;
    DWORD disposition;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, NULL,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key,
                                  &disposition);
    if (status != ERROR_SUCCESS) {
        ReportFailure("Error Creating Registry Key Entry:\nKey/Path=%s%s\nDLL Returned=%ld",
                      valueName, status, "Hourwise CreateRegEntry", 1);
        return 0;
    }
    status = WriteValue(key, valueName, type, valueText, (DWORD)ReadLong(valueText));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        ReportFailure("Error Setting Registry Key Entry Value:\nKey/Path=%s\\%s\nDLL Returned=%ld",
                      valueName, status, "Hourwise CreateRegEntry", 1);
        return 0;
    }
    return 1;
}

int GetAppRegValue(const char *valueName, DWORD type, char *textOut, size_t textCapacity,
                   DWORD *numberOut, int showErrors)
{
    HKEY key;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) {
        ReportFailure("Error Retrieving Registry Key Entry:\nKey/Path=%s%s\nDLL Returned=%ld",
                      valueName, status, "Hourwise GetAppRegValue", showErrors);
        return 0;
    }
    DWORD storedType = 0;
    if (type == REG_SZ) {
        char buffer[255];
        memset(buffer, 0, sizeof buffer);
        DWORD count = sizeof buffer;
        status = RegQueryValueExA(key, valueName, NULL, &storedType, (BYTE *)buffer, &count);
        if (status == ERROR_SUCCESS) {
            if (count > sizeof buffer)
                count = sizeof buffer;
            CopyRegistryText(textOut, textCapacity, buffer, count);
        }
    } else {
        DWORD number = 0;
        DWORD count = sizeof number;
        status = RegQueryValueExA(key, valueName, NULL, &storedType, (BYTE *)&number, &count);
        if (status == ERROR_SUCCESS && numberOut)
            *numberOut = number;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        ReportFailure("Error Getting Registry Key Entry Value:\nKey/Path=%s\\%s\nDLL Returned=%ld",
                      valueName, status, "Hourwise GetAppRegValue", showErrors);
        return 0;
    }
    return 1;
}

int SetAppRegValue(const char *valueName, DWORD type, const char *text, DWORD number,
                   int showErrors)
{
    HKEY key;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) {
        ReportFailure("Error Setting Registry Key Entry:\nKey/Path=%s%s\nDLL Returned=%ld",
                      valueName, status, "Hourwise SetAppRegValue", showErrors);
        return 0;
    }
    status = WriteValue(key, valueName, type, text, number);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        ReportFailure("Error Setting Registry Key Entry Value:\nKey/Path=%s\\%s\nDLL Returned=%ld",
                      valueName, status, "Hourwise SetAppRegValue", showErrors);
        return 0;
    }
    return 1;
}

void RestoreDefault(HWND mainWindow, DWORD type, const char *valueName, const char *defaultText)
{
    if (CreateRegEntry(type, valueName, defaultText) != 1)
        MessageBoxA(mainWindow, "There was an error in the Hourwise application with the Registry.",
                    "Hourwise", MB_ICONWARNING);
}

/* Reads one number; on failure writes the default back and uses it. */
static void LoadNumber(HWND mainWindow, const char *valueName, int *field, const char *defaultText)
{
    DWORD number = 0;
    if (GetAppRegValue(valueName, REG_DWORD, NULL, 0, &number, 0) == 1) {
        *field = (int)number;
        return;
    }
    RestoreDefault(mainWindow, REG_DWORD, valueName, defaultText);
    *field = (int)ReadLong(defaultText);
}

/* Reads one text, cut to the field's characters if it was stored longer from
   outside; on failure writes the default back and leaves the field as the
   caller's fallback sets it. */
static int LoadText(HWND mainWindow, const char *valueName, char *field, size_t capacity,
                    size_t chars, const char *defaultText)
{
    memset(field, 0, capacity);
    if (GetAppRegValue(valueName, REG_SZ, field, capacity, NULL, 0) == 1) {
        size_t length = ProgramWholeCharsLength(field, strlen(field), capacity - 1, chars);
        memset(field + length, 0, capacity - length);
        return 1;
    }
    RestoreDefault(mainWindow, REG_SZ, valueName, defaultText);
    memset(field, 0, capacity);
    return 0;
}

void LoadAppSettings(HWND mainWindow)
{
    LoadNumber(mainWindow, "Operator1", &AppSettings.Operator1, "1");
    LoadNumber(mainWindow, "Operator2", &AppSettings.Operator2, "5");
    LoadNumber(mainWindow, "Operator3", &AppSettings.Operator3, "8");
    /* A company name written back as the default is empty until the next start. */
    LoadText(mainWindow, "CustName", AppSettings.CustName, sizeof AppSettings.CustName,
             CUSTNAME_CHARS, "Customer Name");
    LoadNumber(mainWindow, "RoundType", &AppSettings.RoundType, "1");
    if (!LoadText(mainWindow, "RoundAmount", AppSettings.RoundAmount,
                  sizeof AppSettings.RoundAmount, ROUNDAMOUNT_CHARS, ".00"))
        snprintf(AppSettings.RoundAmount, sizeof AppSettings.RoundAmount, "%s", ".00");
    AppSettings.RoundAmountValue = StepFromRoundAmount(AppSettings.RoundAmount);
    LoadPayRules(mainWindow);
}
