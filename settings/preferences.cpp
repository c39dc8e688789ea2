/* The Preferences dialog: operator modes, company name, rounding. */

#include "accessible.h"
#include "registry.h"
#include "resource.h"

/* Each radio button stands for one value of one preference. */
struct RadioChoice {
    int id;
    int *field;
    int value;
};

static const RadioChoice *RadioChoices(void)
{
    static const RadioChoice choices[12] = {
        {IDC_STARMINUTES, &AppSettings.Operator1, 1},
        {IDC_STARHOURSMINUTES, &AppSettings.Operator1, 2},
        {IDC_STARHOURS, &AppSettings.Operator1, 3},
        {IDC_MINUSMINUTES, &AppSettings.Operator2, 4},
        {IDC_MINUSHOURSMINUTES, &AppSettings.Operator2, 5},
        {IDC_MINUSHOURS, &AppSettings.Operator2, 6},
        {IDC_PLUSMINUTES, &AppSettings.Operator3, 7},
        {IDC_PLUSHOURSMINUTES, &AppSettings.Operator3, 8},
        {IDC_PLUSHOURS, &AppSettings.Operator3, 9},
        {IDC_ROUNDBOTH, &AppSettings.RoundType, 1},
        {IDC_ROUNDDOWN, &AppSettings.RoundType, 2},
        {IDC_ROUNDUP, &AppSettings.RoundType, 3},
    };
    return choices;
}

static void ShowSettings(HWND dialog)
{
    const RadioChoice *choices = RadioChoices();
    for (int i = 0; i < 12; i++)
        SendDlgItemMessageA(dialog, choices[i].id, BM_SETCHECK,
                            *choices[i].field == choices[i].value ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_COMPANYNAME, EM_LIMITTEXT, CUSTNAME_CHARS, 0);
    SendDlgItemMessageA(dialog, IDC_COMPANYNAME, WM_SETTEXT, 0, (LPARAM)AppSettings.CustName);
    SendDlgItemMessageA(dialog, IDC_ROUNDAMOUNT, EM_LIMITTEXT, ROUNDAMOUNT_CHARS, 0);
    SendDlgItemMessageA(dialog, IDC_ROUNDAMOUNT, WM_SETTEXT, 0, (LPARAM)AppSettings.RoundAmount);
}

static void SaveSettings(HWND dialog)
{
    const RadioChoice *choices = RadioChoices();
    LRESULT checked[12];
    for (int i = 0; i < 12; i++)
        checked[i] = SendDlgItemMessageA(dialog, choices[i].id, BM_GETCHECK, 0, 0);
    GetDlgItemTextA(dialog, IDC_COMPANYNAME, AppSettings.CustName, CUSTNAME_SIZE);
    GetDlgItemTextA(dialog, IDC_ROUNDAMOUNT, AppSettings.RoundAmount, ROUNDAMOUNT_SIZE);
    for (int i = 0; i < 12; i++)
        if (checked[i] == BST_CHECKED)
            *choices[i].field = choices[i].value;
    AppSettings.RoundAmountValue = StepFromRoundAmount(AppSettings.RoundAmount);

    SetAppRegValue("Operator1", REG_DWORD, NULL, (DWORD)AppSettings.Operator1, 0);
    SetAppRegValue("Operator2", REG_DWORD, NULL, (DWORD)AppSettings.Operator2, 0);
    SetAppRegValue("Operator3", REG_DWORD, NULL, (DWORD)AppSettings.Operator3, 0);
    SetAppRegValue("CustName", REG_SZ, AppSettings.CustName, 0, 0);
    SetAppRegValue("RoundType", REG_DWORD, NULL, (DWORD)AppSettings.RoundType, 0);
    SetAppRegValue("RoundAmount", REG_SZ, AppSettings.RoundAmount, 0, 0);
}

/* What a screen reader calls the two edits; the label of the company name
   stands after its edit, where a reader does not look for it. */
static const AccessibleText ACCESSIBLE_TEXTS[] = {
    {IDC_COMPANYNAME, ACCESSIBLE_NAME, "Company Name"},
    {IDC_ROUNDAMOUNT, ACCESSIBLE_NAME, "Round Amount"},
};

INT_PTR CALLBACK PreferencesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        ShowSettings(dialog);
        AnnotateControls(dialog, ACCESSIBLE_TEXTS,
                         (int)(sizeof ACCESSIBLE_TEXTS / sizeof ACCESSIBLE_TEXTS[0]));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            SaveSettings(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
