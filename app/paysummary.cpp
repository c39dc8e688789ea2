/* The pay summary of the week: one row of statics under the entry editor,
   each figure with its label, and a note beside them when the list holds more
   entries than a week has days. A figure wider than its static shows
   PAY_TOO_LARGE_TEXT, never a number cut short. */

#include "paysummary.h"

#include "accessible.h"
#include "app.h"
#include "resource.h"
#include "settings.h"

#include <stdio.h>
#include <string.h>

const char *const PAY_LINE_LABELS[4] = {"Regular", "Overtime", "Double time", "Gross pay"};

static const int VALUE_IDS[4] = {IDC_REGULARHOURS, IDC_OVERTIMEHOURS, IDC_DOUBLETIMEHOURS,
                                 IDC_GROSSPAY};

/* The row under the editor's frame (which ends at y 315): label and value of
   each line side by side; the note in two lines on the free space right of
   the editor, above the gross pay. */
#define SUMMARY_Y      318
#define SUMMARY_HEIGHT 20
static const int LABEL_X[4] = {15, 153, 296, 458};
static const int LABEL_WIDTH[4] = {62, 70, 85, 75};
static const int VALUE_WIDTH[4] = {70, 70, 75, 80};
#define NOTE_X      508
#define NOTE_Y      278
#define NOTE_WIDTH  107
#define NOTE_HEIGHT 36
#define ID_NOTE     IDC_STATIC

static HWND hPayNote;

/* ---- money -------------------------------------------------------------- */

static DWORD LocaleNumber(LCTYPE type, DWORD fallback)
{
    DWORD value = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, (LPWSTR)&value,
                        sizeof value / sizeof(WCHAR)) > 0)
        return value;
    return fallback;
}

static void LocaleText(LCTYPE type, WCHAR *text, int units, const WCHAR *fallback)
{
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, units) <= 0)
        lstrcpynW(text, fallback, units);
}

/* "3;0" is 3, "3" is 30 and "3;2;0" is 32, as CURRENCYFMT counts groups. */
static UINT GroupingOf(const WCHAR *text)
{
    UINT grouping = 0;
    int length = lstrlenW(text);
    for (int i = 0; i < length; i++)
        if (text[i] >= L'0' && text[i] <= L'9')
            grouping = grouping * 10 + (UINT)(text[i] - L'0');
    if (length >= 2 && text[length - 2] == L';' && text[length - 1] == L'0')
        grouping /= 10;
    else
        grouping *= 10;
    return grouping;
}

/* The amount given as a plain number with its decimals, in the user's
   currency format with at least those decimals. */
static int FormatMoneyNumber(WCHAR *text, int units, const char *number, int decimals)
{
    WCHAR plain[PAY_TEXT_SIZE];
    int length = 0;
    while (number[length] && length < PAY_TEXT_SIZE - 1) {
        plain[length] = (WCHAR)number[length];
        length++;
    }
    plain[length] = 0;

    int written = 0;
    if ((int)LocaleNumber(LOCALE_ICURRDIGITS, 2) >= decimals) {
        written = GetCurrencyFormatEx(LOCALE_NAME_USER_DEFAULT, 0, plain, NULL, text, units);
    } else { /* the locale's format, with the amount's decimals */
        WCHAR grouping[16], point[8], separator[8], symbol[16];
        LocaleText(LOCALE_SMONGROUPING, grouping, 16, L"3;0");
        LocaleText(LOCALE_SMONDECIMALSEP, point, 8, L".");
        LocaleText(LOCALE_SMONTHOUSANDSEP, separator, 8, L",");
        LocaleText(LOCALE_SCURRENCY, symbol, 16, L"$");
        CURRENCYFMTW format;
        format.NumDigits = (UINT)decimals;
        format.LeadingZero = LocaleNumber(LOCALE_ILZERO, 1);
        format.Grouping = GroupingOf(grouping);
        format.lpDecimalSep = point;
        format.lpThousandSep = separator;
        format.NegativeOrder = LocaleNumber(LOCALE_INEGCURR, 0);
        format.PositiveOrder = LocaleNumber(LOCALE_ICURRENCY, 0);
        format.lpCurrencySymbol = symbol;
        written = GetCurrencyFormatEx(LOCALE_NAME_USER_DEFAULT, 0, plain, &format, text, units);
    }
    if (written <= 0) /* no format for it: the plain number */
        lstrcpynW(text, plain, units);
    return lstrlenW(text);
}

int FormatPayMoney(WCHAR *text, int units, long long cents)
{
    char number[PAY_TEXT_SIZE];
    FormatHundredths(number, sizeof number, cents, 0);
    if (cents >= PAY_TOO_LARGE) {
        MultiByteToWideChar(CP_ACP, 0, number, -1, text, units);
        return lstrlenW(text);
    }
    return FormatMoneyNumber(text, units, number, 2);
}

int FormatRateMoney(WCHAR *text, int units, long long rate)
{
    char number[PAY_TEXT_SIZE];
    int decimals = FormatRateNumber(number, sizeof number, rate);
    if (decimals < 0) {
        MultiByteToWideChar(CP_ACP, 0, PAY_TOO_LARGE_TEXT, -1, text, units);
        return lstrlenW(text);
    }
    return FormatMoneyNumber(text, units, number, decimals);
}

void FormatPayNote(char *text, size_t size, long days)
{
    if (days > DAYS_OF_A_WEEK)
        snprintf(text, size, "%ld days: counted as one week", days);
    else if (size > 0)
        text[0] = 0;
}

/* ---- the statics ---------------------------------------------------------- */

/* A static of the summary, above the others in the sibling order, so that
   the editor's frame stays the lowest. */
static HWND MakeStatic(const char *text, DWORD style, int x, int y, int width, int height, int id)
{
    HWND control = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style,
                                   x, y, width, height, hMainWnd, (HMENU)(INT_PTR)id, hInst, NULL);
    SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

void MakePaySummary(void)
{
    for (int i = 0; i < 4; i++) {
        int x = LABEL_X[i];
        MakeStatic(PAY_LINE_LABELS[i], SS_RIGHT, x, SUMMARY_Y + 2, LABEL_WIDTH[i], SUMMARY_HEIGHT,
                   IDC_STATIC);
        MakeStatic("", WS_BORDER | SS_SUNKEN | SS_RIGHT, x + LABEL_WIDTH[i] + 3, SUMMARY_Y,
                   VALUE_WIDTH[i], SUMMARY_HEIGHT, VALUE_IDS[i]);
    }
    hPayNote = MakeStatic("", SS_LEFT, NOTE_X, NOTE_Y, NOTE_WIDTH, NOTE_HEIGHT, ID_NOTE);
    const AccessibleText texts[] = {
        {IDC_REGULARHOURS, ACCESSIBLE_DESCRIPTION, "Regular hours of the week"},
        {IDC_OVERTIMEHOURS, ACCESSIBLE_DESCRIPTION, "Overtime hours of the week"},
        {IDC_DOUBLETIMEHOURS, ACCESSIBLE_DESCRIPTION, "Double-time hours of the week"},
        {IDC_GROSSPAY, ACCESSIBLE_DESCRIPTION, "Gross pay of the week"},
    };
    AnnotateControls(hMainWnd, texts, (int)(sizeof texts / sizeof texts[0]));
    ShowPaySummaryOfNoDays();
}

void ShowPaySummaryOfNoDays(void)
{
    PaySummary none;
    SummarizePayWeek(NULL, 0, &CurrentPayRules, &none);
    ShowPaySummary(&none);
}

/* Whether the text fits the static's width in its font. */
static int FitsControl(HWND control, const WCHAR *text, int length)
{
    RECT client;
    HDC dc = GetDC(control);
    if (!dc || !GetClientRect(control, &client)) {
        if (dc)
            ReleaseDC(control, dc);
        return 1;
    }
    HFONT font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    SIZE size;
    int fits = !GetTextExtentPoint32W(dc, text, length, &size) ||
               size.cx <= client.right - client.left - 2;
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return fits;
}

static int ShowsText(HWND control, const WCHAR *text)
{
    WCHAR current[MONEY_TEXT_UNITS];
    if (GetWindowTextLengthW(control) >= MONEY_TEXT_UNITS)
        return 0;
    current[0] = 0;
    GetWindowTextW(control, current, MONEY_TEXT_UNITS);
    return lstrcmpW(current, text) == 0;
}

/* Sets a static's text when it changed; a figure wider than the static shows
   PAY_TOO_LARGE_TEXT. */
static void ShowWideText(HWND control, const WCHAR *text, int figure)
{
    if (ShowsText(control, text))
        return;
    WCHAR tooLarge[MONEY_TEXT_UNITS];
    int length = lstrlenW(text);
    if (figure && length > 0 && !FitsControl(control, text, length)) {
        MultiByteToWideChar(CP_ACP, 0, PAY_TOO_LARGE_TEXT, -1, tooLarge, MONEY_TEXT_UNITS);
        text = tooLarge;
        if (ShowsText(control, text))
            return;
    }
    SetWindowTextW(control, text);
}

static void ShowNarrowText(HWND control, const char *text, int figure)
{
    WCHAR wide[MONEY_TEXT_UNITS];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MONEY_TEXT_UNITS))
        wide[0] = 0;
    ShowWideText(control, wide, figure);
}

void ShowPaySummary(const PaySummary *summary)
{
    const long long hours[3] = {summary->Regular, summary->Overtime, summary->DoubleTime};
    char text[PAY_TEXT_SIZE];
    for (int i = 0; i < 3; i++) {
        FormatHundredths(text, sizeof text, hours[i], 8);
        ShowNarrowText(GetDlgItem(hMainWnd, VALUE_IDS[i]), text, 1);
    }
    WCHAR money[MONEY_TEXT_UNITS] = L"";
    if (summary->HasPay)
        FormatPayMoney(money, MONEY_TEXT_UNITS, summary->GrossPay);
    ShowWideText(GetDlgItem(hMainWnd, IDC_GROSSPAY), money, 1);
    char note[PAY_NOTE_SIZE];
    FormatPayNote(note, sizeof note, summary->Days);
    ShowNarrowText(hPayNote, note, 0);
}

void EmptyPaySummary(void)
{
    for (int i = 0; i < 4; i++)
        ShowNarrowText(GetDlgItem(hMainWnd, VALUE_IDS[i]), "", 0);
    ShowNarrowText(hPayNote, "", 0);
}
