/* Rows of the list of entries and the editor around them, as the commands,
   Undo, Redo and Paste change them. */

#include "app.h"
#include "paysummary.h"
#include "resource.h"
#include "totals.h"

#include <commctrl.h>
#include <stdio.h>

int ListChangesQuiet;

int InEntryMode(void)
{
    return !IsWindowEnabled(hNewButton);
}

int InsertEntryRow(int index, const char *const cells[9], UINT state)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = (LPSTR)cells[0];
    int row = (int)SendMessageA(hEntryList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0)
        return -1; /* the list refused the row: out of memory */
    for (int column = 1; column <= 8; column++) {
        LVITEMA cell;
        ZeroMemory(&cell, sizeof cell);
        cell.iSubItem = column;
        cell.pszText = (LPSTR)cells[column];
        if (!SendMessageA(hEntryList, LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&cell)) {
            /* a row is whole or not there: one with an empty cell would read as 0.00 */
            SendMessageA(hEntryList, LVM_DELETEITEM, (WPARAM)row, 0);
            return -1;
        }
    }
    if (state) /* only a whole row takes the selection */
        SetRowState(row, state, state);
    return row;
}

int InsertEntryTimes(int index, int number, const double times[8], UINT state)
{
    char texts[9][NUMBER_TEXT_SIZE]; /* room for any number a cell is given */
    const char *cells[9];
    snprintf(texts[0], sizeof texts[0], "%d", number);
    for (int k = 0; k < 8; k++)
        FormatFixed(texts[k + 1], sizeof texts[k + 1], times[k], 8, 2);
    for (int column = 0; column <= 8; column++)
        cells[column] = texts[column];
    return InsertEntryRow(index, cells, state);
}

int EntryRowCount(void)
{
    return (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
}

int SelectedRowOrNone(void)
{
    /* The list holds one selected row at most, and the caret is on it after
       every change, a click or an arrow key: found there at once. Looking for
       a selected row walks the list from the top, row by row. */
    int caret = (int)SendMessageA(hEntryList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (caret >= 0 && SendMessageA(hEntryList, LVM_GETITEMSTATE, (WPARAM)caret, LVIS_SELECTED))
        return caret;
    if (SendMessageA(hEntryList, LVM_GETSELECTEDCOUNT, 0, 0) <= 0)
        return -1;
    return (int)SendMessageA(hEntryList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

void SetRowState(int row, UINT mask, UINT state)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = mask;
    item.state = state;
    SendMessageA(hEntryList, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

void SelectOnlyRow(int row)
{
    /* the list holds one selected row at most, and selecting a row clears
       the one before: only when none is to be selected is it cleared here */
    int selected = row >= 0 ? -1 : SelectedRowOrNone();
    if (row >= 0)
        SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    else if (selected >= 0)
        SetRowState(selected, LVIS_SELECTED, 0);
}

/* The list's caret (its focused item, where Up and Down start and what a
   screen reader reads) on the selected row, scrolled into view; on no row
   when none is selected. Only a caret that moves is set, on its own row
   rather than on every row. The list reports each row whose caret came or
   went; the editor does not follow those reports, as the caller shows the
   selected row in it right after. */
static void PutCaretOnSelectedRow(void)
{
    int row = SelectedRowOrNone();
    int caret = (int)SendMessageA(hEntryList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (caret != row) {
        int quiet = ListChangesQuiet;
        ListChangesQuiet = 1;
        SetRowState(row >= 0 ? row : caret, LVIS_FOCUSED, row >= 0 ? LVIS_FOCUSED : 0);
        ListChangesQuiet = quiet;
    }
    if (row >= 0)
        SendMessageA(hEntryList, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void BeginQuietListChange(void)
{
    ListChangesQuiet = 1;
    SendMessageA(hEntryList, WM_SETREDRAW, FALSE, 0);
}

void EndQuietListChange(void)
{
    SendMessageA(hEntryList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hEntryList, NULL, TRUE);
    ListChangesQuiet = 0;
}

void ShowListAfterChange(HWND focus, int whenEmpty)
{
    int rows = EntryRowCount();
    EnableWindow(hDeleteButton, rows > 0);
    if (rows > 0 || whenEmpty == EMPTY_KEEPS_EDITOR) {
        UpdateGrandTotal();
    } else { /* nothing left to show, and no total: as Clear All leaves it */
        EmptyEditor();
        SetDlgItemTextA(hMainWnd, IDC_GRANDTOTAL, "");
        EmptyPaySummary();
        GrandTotal = 0.0;
    }
    PutCaretOnSelectedRow();
    if (rows > 0)
        ShowSelectedEntry();
    /* a Delete just disabled cannot keep the focus */
    if (focus == hDeleteButton && !rows)
        focus = hNewButton;
    if (focus && GetFocus() != focus)
        SetFocus(focus);
    SaveKeptList();
}
