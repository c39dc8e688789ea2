/* The Edit menu of the menu bar: Undo, Redo, Copy, Paste and Delete of the
   list, offered and run as the list's context menu offers and runs them, and
   the Pay Rules dialog. */

#include "app.h"
#include "paysummary.h"
#include "registry.h"
#include "resource.h"
#include "totals.h"

#define EDIT_MENU_POSITION 1   /* File, Edit, Help */

void OfferEditCommands(HWND window, HMENU popup)
{
    HMENU bar = GetMenu(window);
    if (bar && popup == GetSubMenu(bar, EDIT_MENU_POSITION))
        OfferListCommands(popup);
}

/* The rules are preferences, not a change of the list: no step of the
   history, nothing kept on disk; the totals are recomputed with them. An
   empty list keeps its grand total as shown (0.00 at start, nothing after
   Clear All), and its summary with it. */
static void OpenPayRules(HWND window)
{
    if (DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_PAYRULES), window, PayRulesDlgProc, 0) != IDOK)
        return;
    if (EntryRowCount() > 0)
        UpdateGrandTotal();
    else if (GetWindowTextLengthA(GetDlgItem(window, IDC_GRANDTOTAL)) > 0)
        ShowPaySummaryOfNoDays();
}

void RunEditCommand(HWND window, UINT command)
{
    if (command == IDM_PAYRULES)
        OpenPayRules(window);
    else
        RunListCommand(command);
}
