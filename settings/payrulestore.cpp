/* The pay rules in the registry, beside the preferences: six texts such as
   "40" and "1.5" and the seventh-day rule as a number, 0 or 1. At start a
   value that cannot be read, or does not read as a valid rule, is taken as
   its default and written back, as the preferences' values are. */

#include "payrules.h"
#include "registry.h"

#define SEVENTH_DAY_NAME "SeventhDay"

/* Room for any text the registry read gives (255 bytes with the NUL). */
#define STORED_RULE_SIZE 256

/* Whether the value is stored with that type (and, for a number, its four
   bytes): a number where a rule's text belongs reads as no text at all, and
   a text where the seventh-day rule belongs as the number of its bytes. */
static int StoredAs(const char *valueName, DWORD type)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD storedType = 0, size = 0;
    LONG status = RegQueryValueExA(key, valueName, NULL, &storedType, NULL, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && storedType == type && (type != REG_DWORD || size == sizeof(DWORD));
}

/* A rule taken as its default, which is written back. */
static void TakeDefault(HWND mainWindow, int rule, PayRules *rules)
{
    const PayRuleTextInfo *info = &PAY_RULE_TEXT_INFO[rule];
    long long value = 0;
    RestoreDefault(mainWindow, REG_SZ, info->name, info->defaultText);
    int verdict = ReadRuleText(info->defaultText, info->kind, &value);
    SetPayRule(rules, rule, verdict, value);
}

/* One text rule: read and checked, or its default taken. */
static void LoadRuleText(HWND mainWindow, int rule, PayRules *rules)
{
    const PayRuleTextInfo *info = &PAY_RULE_TEXT_INFO[rule];
    char text[STORED_RULE_SIZE] = {0};
    long long value = 0;
    int verdict = RULE_NOT_NUMBER;
    if (StoredAs(info->name, REG_SZ) &&
        GetAppRegValue(info->name, REG_SZ, text, sizeof text, NULL, 0) == 1)
        verdict = ReadRuleText(text, info->kind, &value);
    if (RuleIsValid(verdict))
        SetPayRule(rules, rule, verdict, value);
    else
        TakeDefault(mainWindow, rule, rules);
}

void LoadPayRules(HWND mainWindow)
{
    PayRules rules = DEFAULT_PAY_RULES;
    for (int rule = 0; rule < PAY_RULE_TEXTS; rule++)
        LoadRuleText(mainWindow, rule, &rules);

    /* Daily double time at or under the daily overtime is no rule the dialog
       takes: the double-time limit is the one that goes, back to its default
       (none), and the overtime limit stays. */
    if (!DoubleTimeIsPastOvertime(&rules))
        TakeDefault(mainWindow, RULE_DOUBLETIMEDAILY, &rules);

    DWORD seventhDay = 0;
    if (!StoredAs(SEVENTH_DAY_NAME, REG_DWORD) ||
        GetAppRegValue(SEVENTH_DAY_NAME, REG_DWORD, NULL, 0, &seventhDay, 0) != 1 || seventhDay > 1) {
        RestoreDefault(mainWindow, REG_DWORD, SEVENTH_DAY_NAME, "0");
        seventhDay = 0;
    }
    rules.SeventhDay = (int)seventhDay;
    CurrentPayRules = rules;
}

void SavePayRules(const PayRules *rules)
{
    for (int rule = 0; rule < PAY_RULE_TEXTS; rule++) {
        char text[RULE_TEXT_SIZE];
        PayRuleText(rules, rule, text, sizeof text);
        SetAppRegValue(PAY_RULE_TEXT_INFO[rule].name, REG_SZ, text, 0, 0);
    }
    SetAppRegValue(SEVENTH_DAY_NAME, REG_DWORD, NULL, rules->SeventhDay ? 1 : 0, 0);
}
