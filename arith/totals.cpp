/* Evaluation of the time fields and the pair, entry and grand totals, read
   from and written to the main window's controls. No total is kept anywhere
   but on the screen: each is worked out again from the times. */

#include "totals.h"
#include "app.h"
#include "pay.h"
#include "paysummary.h"
#include "resource.h"
#include "settings.h"
#include "timecalc.h"

#include <commctrl.h>
#include <string.h>

static const int PAIR_TOTAL_IDS[4] = {IDC_PAIRTOTAL1, IDC_PAIRTOTAL2, IDC_PAIRTOTAL3, IDC_PAIRTOTAL4};

double RoundToStep(double x)
{
    return RoundToStepValue(x, AppSettings.RoundAmountValue, AppSettings.RoundType);
}

/* Sets a control's text; a control that already shows it is left alone, so
   that showing the same row again repaints nothing. */
static void ShowText(int id, const char *text)
{
    HWND control = GetDlgItem(hMainWnd, id);
    char current[NUMBER_TEXT_SIZE];
    if (GetWindowTextLengthA(control) < (int)sizeof current) {
        memset(current, 0, sizeof current);
        GetWindowTextA(control, current, sizeof current);
        if (strcmp(current, text) == 0)
            return;
    }
    SetWindowTextA(control, text);
}

TimeRules CurrentTimeRules(void)
{
    TimeRules rules;
    rules.starMode = AppSettings.Operator1;
    rules.minusMode = AppSettings.Operator2;
    rules.plusMode = AppSettings.Operator3;
    rules.step = AppSettings.RoundAmountValue;
    rules.roundType = AppSettings.RoundType;
    return rules;
}

static void SetNumberText(int id, double value, int width)
{
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, value, width, 2);
    ShowText(id, text);
}

void EvaluateTimeField(int field, int partner, int result)
{
    char text[FIELD_READ_SIZE];
    memset(text, 0, sizeof text);
    GetDlgItemTextA(hMainWnd, field, text, sizeof text);

    TimeRules rules = CurrentTimeRules();
    double value = EvaluateTimeText(text, &rules);

    char partnerText[FIELD_READ_SIZE];
    memset(partnerText, 0, sizeof partnerText);
    GetDlgItemTextA(hMainWnd, partner, partnerText, sizeof partnerText);
    double difference = PairDifference(value, ReadNumber(partnerText));

    SetNumberText(field, value, 5);
    if (difference != 0)
        SetNumberText(result, difference, 5);
}

void UpdateEntryTotal(void)
{
    double sum = 0.0;
    for (int k = 0; k < 4; k++) {
        char text[NUMBER_TEXT_SIZE]; /* the whole text of the static */
        memset(text, 0, sizeof text);
        GetDlgItemTextA(hMainWnd, PAIR_TOTAL_IDS[k], text, sizeof text);
        sum += RoundToDecimals(ReadNumber(text), 2);
    }
    EntryTotal = RoundToDecimals(sum, 2);
    SetNumberText(IDC_ENTRYTOTAL, EntryTotal, 9);
}

void ReadCellText(HWND list, int row, int column, char *text, int capacity)
{
    memset(text, 0, (size_t)capacity);
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = capacity;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    text[capacity - 1] = 0;
}

static void ReadCell(HWND list, int row, int column, char *text)
{
    ReadCellText(list, row, column, text, CELL_TEXT_SIZE);
}

void ReadEntryTimes(HWND list, int row, double times[8])
{
    char text[CELL_TEXT_SIZE];
    for (int k = 1; k <= 8; k++) {
        ReadCell(list, row, k, text);
        times[k - 1] = RoundToDecimals(ReadNumber(text), 2);
    }
}

double EntryHours(HWND list, int row)
{
    double times[8];
    ReadEntryTimes(list, row, times);
    return RowHours(times);
}

void ShowSelectedEntry(void)
{
    EntryTotal = 0.0;
    int count = (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
    if (count <= 0) {
        EntryCounter = 0;
        return;
    }
    int row = SelectedEntryIndex(); /* the first row when none is selected */

    double times[8];
    char shown[NUMBER_TEXT_SIZE]; /* the field shows the whole cell, never a cut number */
    for (int k = 1; k <= 8; k++) {
        ReadCellText(hEntryList, row, k, shown, (int)sizeof shown);
        ShowText(IDC_TIMEIN1 + k - 1, shown);
        /* the hours come from the cell's first 10 characters, as for the totals */
        char text[CELL_TEXT_SIZE];
        memcpy(text, shown, CELL_TEXT_SIZE - 1);
        text[CELL_TEXT_SIZE - 1] = 0;
        times[k - 1] = RoundToDecimals(ReadNumber(text), 2);
    }
    EntryTotal = RowHours(times);
    for (int j = 0; j < 4; j++)
        SetNumberText(PAIR_TOTAL_IDS[j], PairHours(times[2 * j], times[2 * j + 1]), 9);
    SetNumberText(IDC_ENTRYTOTAL, EntryTotal, 9);
}

void UpdateGrandTotal(void)
{
    GrandTotal = 0.0;
    PayWeek week; /* the pay summary, from the same reads of the rows */
    BeginPayWeek(&week, &CurrentPayRules);
    int count = (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; row++) {
        double hours = EntryHours(hEntryList, row);
        GrandTotal += hours;
        AddPayDay(&week, HoursInHundredths(hours));
    }
    SetNumberText(IDC_GRANDTOTAL, GrandTotal, 8);
    PaySummary summary;
    EndPayWeek(&week, &summary);
    ShowPaySummary(&summary);
}
