/* The Print Timesheet dialog and the printer set-up through the Page Setup
   dialog. */

#include "print.h"

#include "accessible.h"
#include "resource.h"

#include <commdlg.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

TimesheetInfoRecord TimesheetInfo;

/* The one structure of the Page Setup dialog; cleared at every set-up. */
static PAGESETUPDLGA PageSetup;

/* What a screen reader calls the three edits; each label stands after its
   edit, where a reader does not look for it. */
static const AccessibleText ACCESSIBLE_TEXTS[] = {
    {IDC_EMPLOYEEID, ACCESSIBLE_NAME, "Employee Id"},
    {IDC_PERIODENDDATE, ACCESSIBLE_NAME, "Period Ending Date"},
    {IDC_EMPLOYEENAME, ACCESSIBLE_NAME, "Employee Name"},
};

INT_PTR CALLBACK PrintTimesheetDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_EMPLOYEEID, EM_LIMITTEXT, EMPLOYEEID_CHARS, 0);
        SendDlgItemMessageA(dialog, IDC_EMPLOYEENAME, EM_LIMITTEXT, EMPLOYEENAME_CHARS, 0);
        SendDlgItemMessageA(dialog, IDC_PERIODENDDATE, EM_LIMITTEXT, PERIODENDDATE_CHARS, 0);
        SendDlgItemMessageA(dialog, IDC_EMPLOYEEID, WM_SETTEXT, 0,
                            (LPARAM)TimesheetInfo.EmployeeId);
        SendDlgItemMessageA(dialog, IDC_EMPLOYEENAME, WM_SETTEXT, 0,
                            (LPARAM)TimesheetInfo.EmployeeName);
        SendDlgItemMessageA(dialog, IDC_PERIODENDDATE, WM_SETTEXT, 0,
                            (LPARAM)TimesheetInfo.PeriodEndDate);
        AnnotateControls(dialog, ACCESSIBLE_TEXTS,
                         (int)(sizeof ACCESSIBLE_TEXTS / sizeof ACCESSIBLE_TEXTS[0]));
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            GetDlgItemTextA(dialog, IDC_EMPLOYEEID, TimesheetInfo.EmployeeId, EMPLOYEEID_SIZE);
            GetDlgItemTextA(dialog, IDC_PERIODENDDATE, TimesheetInfo.PeriodEndDate,
                            PERIODENDDATE_SIZE);
            GetDlgItemTextA(dialog, IDC_EMPLOYEENAME, TimesheetInfo.EmployeeName,
                            EMPLOYEENAME_SIZE);
            PrintTimesheet(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

/* The device name in a locked DEVNAMES block of the given size, or NULL when
   its offset or its terminating NUL lies outside the block. */
static const char *DeviceNameOf(const DEVNAMES *names, SIZE_T size)
{
    SIZE_T offset = names->wDeviceOffset;
    if (offset >= size)
        return NULL;
    const char *name = (const char *)names + offset;
    if (!memchr(name, 0, size - offset))
        return NULL;
    return name;
}

/* Whether a locked DEVMODE block reaches as far as its orientation. */
static int HasOrientation(const DEVMODEA *mode, SIZE_T size)
{
    SIZE_T end = offsetof(DEVMODEA, dmOrientation) + sizeof mode->dmOrientation;
    return size >= end && mode->dmSize >= end;
}

/* The device context for the printer of the dialog's blocks, always upright. */
HDC CreatePrinterDC(HGLOBAL namesBlock, HGLOBAL modeBlock)
{
    DEVNAMES *names = (DEVNAMES *)GlobalLock(namesBlock);
    if (!names)
        return NULL;
    const char *device = DeviceNameOf(names, GlobalSize(namesBlock));
    DEVMODEA *mode = NULL;
    int modeUsable = 1;
    if (modeBlock) {
        mode = (DEVMODEA *)GlobalLock(modeBlock);
        modeUsable = mode && HasOrientation(mode, GlobalSize(modeBlock));
    }
    HDC dc = NULL;
    if (device && modeUsable) {
        if (mode) {
            mode->dmOrientation = DMORIENT_PORTRAIT;
            mode->dmFields |= DM_ORIENTATION;
        }
        dc = CreateDCA(NULL, device, NULL, mode);
    }
    if (mode)
        GlobalUnlock(modeBlock);
    GlobalUnlock(namesBlock);
    return dc;
}

void ShowPrintDlgError(HWND owner, unsigned long code)
{
    char text[PRINTDLG_TEXT_SIZE];
    memset(text, 0, sizeof text);
    snprintf(text, sizeof text, "%s", PrintDlgErrorText(code));
    MessageBoxA(owner, text, "PrintDlg Error", MB_ICONERROR);
}

static void FreeSetupBlocks(void)
{
    if (PageSetup.hDevNames)
        GlobalFree(PageSetup.hDevNames);
    if (PageSetup.hDevMode)
        GlobalFree(PageSetup.hDevMode);
    PageSetup.hDevNames = NULL;
    PageSetup.hDevMode = NULL;
}

HDC SetUpPrinter(HWND owner)
{
    memset(&PageSetup, 0, sizeof PageSetup);
    PageSetup.lStructSize = sizeof PageSetup;
    PageSetup.hwndOwner = owner;
    PageSetup.hDevMode = NULL;
    PageSetup.hDevNames = NULL;
    PageSetup.Flags = PSD_DISABLEORIENTATION;

    if (PageSetupDlgA(&PageSetup)) {
        HDC dc = NULL;
        if (PageSetup.hDevNames)
            dc = CreatePrinterDC(PageSetup.hDevNames, PageSetup.hDevMode);
        FreeSetupBlocks();
        return dc;
    }

    DWORD code = CommDlgExtendedError();
    FreeSetupBlocks();
    if (code != 0)
        ShowPrintDlgError(owner, code);
    return NULL;
}
