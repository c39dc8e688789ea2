/* The Pay Rules dialog: the hourly rate, the weekly and daily overtime, the
   daily double time, the seventh-day rule and the two pay factors. OK reads
   every field; a field that holds no valid rule is named in a message with
   the reason, gets the focus back with its text selected, and nothing is
   saved. Otherwise the seven values are saved and become CurrentPayRules. */

#include "payrules.h"
#include "registry.h"
#include "resource.h"

#include <stdio.h>

/* The fields of the six texts, in the order of PayRuleField, and their names
   in a message. */
static const int FIELD_IDS[PAY_RULE_TEXTS] = {
    IDC_HOURLYRATE,     IDC_OVERTIMEWEEKLY, IDC_OVERTIMEDAILY,
    IDC_DOUBLETIMEDAILY, IDC_OVERTIMEFACTOR, IDC_DOUBLETIMEFACTOR,
};

static const char *const FIELD_NAMES[PAY_RULE_TEXTS] = {
    "Hourly rate",       "Weekly overtime", "Daily overtime",
    "Daily double time", "Overtime pay",    "Double-time pay",
};

#define FIELD_TEXT_SIZE TEXT_SIZE_FOR(RULE_TEXT_SIZE)   /* in any code page */

static void ShowRules(HWND dialog)
{
    for (int rule = 0; rule < PAY_RULE_TEXTS; rule++) {
        char text[RULE_TEXT_SIZE];
        PayRuleText(&CurrentPayRules, rule, text, sizeof text);
        SendDlgItemMessageA(dialog, FIELD_IDS[rule], EM_LIMITTEXT,
                            (WPARAM)RuleTextChars(PAY_RULE_TEXT_INFO[rule].kind), 0);
        SetDlgItemTextA(dialog, FIELD_IDS[rule], text);
    }
    CheckDlgButton(dialog, IDC_SEVENTHDAY, CurrentPayRules.SeventhDay ? BST_CHECKED : BST_UNCHECKED);
}

/* What the field's kind takes, after the reason it was refused. */
static const char *KindRule(int kind)
{
    switch (kind) {
    case RULE_RATE:
        return "Type an amount from 0 to 9,999.99 with up to 4 decimals, such as 25.50, or "
               "leave it empty to show no pay.";
    case RULE_LIMIT:
        return "Type hours from 0.01 to 168 with up to 2 decimals, such as 40 or 7.5, or "
               "leave it empty for no limit.";
    default:
        return "Type a multiple of the rate from 1 to 9.99 with up to 2 decimals, such as 1.5.";
    }
}

static const char *Reason(int verdict)
{
    switch (verdict) {
    case RULE_MISSING: return "it is empty.";
    case RULE_NOT_NUMBER: return "it is not a number (digits with at most one decimal point).";
    case RULE_TOO_PRECISE: return "it has too many decimals.";
    default: return "it is out of range.";
    }
}

/* The message naming the field, then the focus back in it, its text selected. */
static void Refuse(HWND dialog, int rule, const char *reason, const char *what)
{
    char message[400];
    snprintf(message, sizeof message, "%s: %s\n\n%s", FIELD_NAMES[rule], reason, what);
    MessageBoxA(dialog, message, "Pay Rules", MB_OK | MB_ICONWARNING);
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, FIELD_IDS[rule]), TRUE);
}

/* The rules the dialog holds; 0 after refusing the first field that holds
   none, in the fields' order. */
static int ReadRules(HWND dialog, PayRules *rules)
{
    *rules = CurrentPayRules;
    for (int rule = 0; rule < PAY_RULE_TEXTS; rule++) {
        char text[FIELD_TEXT_SIZE] = {0};
        GetDlgItemTextA(dialog, FIELD_IDS[rule], text, sizeof text);
        long long value = 0;
        int kind = PAY_RULE_TEXT_INFO[rule].kind;
        int verdict = ReadRuleText(text, kind, &value);
        if (!RuleIsValid(verdict)) {
            Refuse(dialog, rule, Reason(verdict), KindRule(kind));
            return 0;
        }
        SetPayRule(rules, rule, verdict, value);
    }
    if (!DoubleTimeIsPastOvertime(rules)) {
        Refuse(dialog, RULE_DOUBLETIMEDAILY, "it is not past the daily overtime.",
               "Double time starts after more hours a day than overtime does; or leave one of "
               "the two empty.");
        return 0;
    }
    rules->SeventhDay = IsDlgButtonChecked(dialog, IDC_SEVENTHDAY) == BST_CHECKED;
    return 1;
}

INT_PTR CALLBACK PayRulesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        ShowRules(dialog);
        /* the hourly rate first, its text selected */
        SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDC_HOURLYRATE), TRUE);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            PayRules rules;
            if (ReadRules(dialog, &rules)) {
                SavePayRules(&rules);
                CurrentPayRules = rules;
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
