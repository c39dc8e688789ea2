// The Print Timesheet dialog and the printer set-up, through real dialogs
// driven by the harness.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "print.h"
#include "print_support.h"
#include "resource.h"

#include <commdlg.h>
#include <string.h>

#include <string>

class PrintDialog : public PrintTest {};

static PrintScript Script(const char *id, const char *name, const char *date, int printAnswer,
                          int pageSetupAnswer)
{
    PrintScript script = {id, name, date, printAnswer, pageSetupAnswer};
    return script;
}

TEST_F(PrintDialog, OkKeepsTheTextsAndCancelDropsWhatWasTyped)
{
    PrintRunResult first = RunPrintDialog(Script("E-1001", MIXED_SCRIPT_NAME, "03/07/2009",
                                                 IDOK, IDCANCEL));
    ASSERT_TRUE(first.completed);
    EXPECT_EQ("", first.shownId);
    EXPECT_EQ("", first.shownName);
    EXPECT_EQ("", first.shownDate);
    EXPECT_EQ(1, first.dialogResult);   // whatever the job's result
    EXPECT_STREQ("E-1001", TimesheetInfo.EmployeeId);
    EXPECT_STREQ(MIXED_SCRIPT_NAME, TimesheetInfo.EmployeeName);
    EXPECT_STREQ("03/07/2009", TimesheetInfo.PeriodEndDate);

    PrintRunResult second = RunPrintDialog(Script("X", "Somebody Else", "", IDCANCEL, IDCANCEL));
    ASSERT_TRUE(second.completed);
    EXPECT_EQ("E-1001", second.shownId);
    EXPECT_EQ(MIXED_SCRIPT_NAME, second.shownName);
    EXPECT_EQ("03/07/2009", second.shownDate);
    EXPECT_EQ(IDCANCEL, second.dialogResult);
    EXPECT_FALSE(second.sawPageSetup);
    EXPECT_STREQ("E-1001", TimesheetInfo.EmployeeId);

    PrintRunResult third = RunPrintDialog(Script(NULL, NULL, NULL, IDCANCEL, IDCANCEL));
    EXPECT_EQ("E-1001", third.shownId);
    EXPECT_EQ(MIXED_SCRIPT_NAME, third.shownName);
    EXPECT_EQ("03/07/2009", third.shownDate);
}

TEST_F(PrintDialog, TypedTextsStopAtTheirLimits)
{
    std::string name50;   // fifty letters of three bytes each
    for (int i = 0; i < 50; i++)
        name50 += "\xE1\xBB\x85";
    PrintRunResult run = RunPrintDialog(Script("ABCDEFGHIJKL", (name50 + "xyz").c_str(),
                                               "2009-03-07Z", IDOK, IDCANCEL));
    ASSERT_TRUE(run.completed);
    EXPECT_STREQ("ABCDEFGHIJK", TimesheetInfo.EmployeeId);
    EXPECT_EQ(name50, TimesheetInfo.EmployeeName);
    EXPECT_STREQ("2009-03-07", TimesheetInfo.PeriodEndDate);
}

TEST_F(PrintDialog, CancelledPageSetupEndsWithThePrinterErrorBoxAndNoDocument)
{
    int lastJob = LastPdfJob();
    std::string cancelled = UniqueMarker("Cancelled");
    PrintRunResult run = RunPrintDialog(Script("1", cancelled.c_str(), "B", IDOK, IDCANCEL));
    ASSERT_TRUE(run.completed);
    EXPECT_TRUE(run.sawPageSetup);
    EXPECT_EQ(run.printDialog, run.pageSetupOwner);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(run.printDialog, run.boxes[0].owner);
    EXPECT_EQ("Printer Error!", run.boxes[0].caption);
    EXPECT_EQ("Error Printing Hourwise - TimeSheet", run.boxes[0].text);
    EXPECT_EQ(1, run.dialogResult);

    // No document: a later print does arrive, and the queue, which prints in
    // order, printed nothing of the cancelled one before it.
    std::string later = UniqueMarker("Later");
    ASSERT_TRUE(RunPrintDialog(Script("2", later.c_str(), "C", IDOK, IDOK)).completed);
    PrintedPdf arrived = FindPrintedPdf(lastJob, "Employee Name: " + later);
    ASSERT_NE(0, arrived.job);
    EXPECT_FALSE(PrintedBetween(lastJob, arrived.job, cancelled));
}

TEST_F(PrintDialog, PageSetupAnsweredWithOkGivesAPortraitPrinter)
{
    // SetUpPrinter owned by the main window here, answered with OK
    HDC dc = NULL;
    EXPECT_TRUE(DriveDialogs([&] { dc = SetUpPrinter(hMainWnd); },
                             {{"Page Setup", hMainWnd, -1, PressOk}}));
    ASSERT_TRUE(dc != NULL);
    EXPECT_LT(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
    DeleteDC(dc);
}

TEST(PrinterSetup, TheDeviceContextIsPortraitWhateverTheDevModeSays)
{
    PRINTDLGA defaults;
    ZeroMemory(&defaults, sizeof defaults);
    defaults.lStructSize = sizeof defaults;
    defaults.Flags = PD_RETURNDEFAULT;
    ASSERT_TRUE(PrintDlgA(&defaults));
    ASSERT_TRUE(defaults.hDevNames != NULL);
    ASSERT_TRUE(defaults.hDevMode != NULL);

    DEVMODEA *mode = (DEVMODEA *)GlobalLock(defaults.hDevMode);
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmFields |= DM_ORIENTATION;
    DEVNAMES *names = (DEVNAMES *)GlobalLock(defaults.hDevNames);
    const char *device = (const char *)names + names->wDeviceOffset;
    HDC landscape = CreateDCA(NULL, device, NULL, mode);
    GlobalUnlock(defaults.hDevNames);
    GlobalUnlock(defaults.hDevMode);
    ASSERT_TRUE(landscape != NULL);
    // the device does follow the DEVMODE's orientation
    EXPECT_GT(GetDeviceCaps(landscape, HORZRES), GetDeviceCaps(landscape, VERTRES));
    DeleteDC(landscape);

    HDC dc = CreatePrinterDC(defaults.hDevNames, defaults.hDevMode);
    ASSERT_TRUE(dc != NULL);
    EXPECT_LT(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
    DeleteDC(dc);
    mode = (DEVMODEA *)GlobalLock(defaults.hDevMode);
    EXPECT_EQ(DMORIENT_PORTRAIT, mode->dmOrientation);
    GlobalUnlock(defaults.hDevMode);

    // without a DEVMODE the printer's own settings are used
    dc = CreatePrinterDC(defaults.hDevNames, NULL);
    EXPECT_TRUE(dc != NULL);
    if (dc)
        DeleteDC(dc);
    EXPECT_TRUE(CreatePrinterDC(NULL, defaults.hDevMode) == NULL);

    // a device name whose offset lies outside its block makes no printer
    names = (DEVNAMES *)GlobalLock(defaults.hDevNames);
    WORD offset = names->wDeviceOffset;
    names->wDeviceOffset = 0xFFF0;
    GlobalUnlock(defaults.hDevNames);
    EXPECT_TRUE(CreatePrinterDC(defaults.hDevNames, defaults.hDevMode) == NULL);
    names = (DEVNAMES *)GlobalLock(defaults.hDevNames);
    names->wDeviceOffset = offset;
    GlobalUnlock(defaults.hDevNames);

    GlobalFree(defaults.hDevNames);
    GlobalFree(defaults.hDevMode);
}

TEST_F(PrintDialog, PrintDlgErrorBoxShowsTheTableTextOrNothing)
{
    struct { unsigned long code; const char *text; } cases[] = {
        {0x1008, "No Default Printer Defined"}, {0x4242, ""},
    };
    for (auto &c : cases) {
        SeenBoxes.clear();
        EXPECT_TRUE(DriveDialogs([&] { ShowPrintDlgError(hMainWnd, c.code); },
                                 {{"PrintDlg Error", hMainWnd, -1, ReadBoxAndOk}}));
        ASSERT_EQ(1u, SeenBoxes.size());
        EXPECT_EQ("PrintDlg Error", SeenBoxes[0].caption);
        EXPECT_EQ(c.text, SeenBoxes[0].text);
    }
}

// The template as the dialog is built from it: caption, frame, and each
// control in tab order with its class, text, style and place.
TEST_F(PrintDialog, TheDialogIsBuiltFromItsTemplate)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PRINTTIMESHEET),
                                     hMainWnd, PrintTimesheetDlgProc, 0);
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ("Print Timesheet", WindowText(dialog));
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(frame, style & frame);
    RECT client = {0, 0, 283, 155};
    MapDialogRect(dialog, &client);
    RECT actual;
    GetClientRect(dialog, &actual);
    EXPECT_NEAR(client.right, actual.right, 2);
    EXPECT_NEAR(client.bottom, actual.bottom, 2);

    struct Control {
        int id;
        const char *className;
        const char *text;
        LONG style;
        RECT units;   // x, y, width, height
    } controls[] = {
        {IDC_EMPLOYEEID, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {45, 31, 70, 13}},
        {IDC_PERIODENDDATE, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {152, 32, 65, 13}},
        {IDC_EMPLOYEENAME, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {22, 78, 241, 13}},
        {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {87, 116, 50, 14}},
        {IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, {145, 116, 50, 14}},
        {0xFFFF, "Static", "Employee Id", SS_CENTER | WS_GROUP, {47, 20, 63, 9}},
        {0xFFFF, "Static", "Period Ending Date", SS_LEFT | WS_GROUP, {154, 20, 63, 9}},
        {0xFFFF, "Static", "Employee Name", SS_CENTER | WS_GROUP, {23, 67, 240, 9}},
    };
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Control &want : controls) {
        ASSERT_TRUE(child != NULL) << want.text;
        char className[32] = {0};
        GetClassNameA(child, className, sizeof className);
        EXPECT_EQ(want.id, GetDlgCtrlID(child) & 0xFFFF) << want.text;
        EXPECT_STRCASEEQ(want.className, className) << want.text;
        EXPECT_EQ(want.text, WindowText(child));
        LONG childStyle = GetWindowLongA(child, GWL_STYLE);
        LONG expected = want.style | WS_CHILD | WS_VISIBLE;
        if (!strcmp(want.className, "Edit")) {
            // an edit's border becomes its sunken client edge
            if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
                expected &= ~WS_BORDER;
        }
        EXPECT_EQ(expected, childStyle & expected) << want.text;
        if (!strcmp(want.className, "Static")) {
            EXPECT_EQ(want.style & SS_TYPEMASK, childStyle & SS_TYPEMASK) << want.text;
        }
        // the dialog manager maps the position and the size each on its own
        RECT origin = {want.units.left, want.units.top, want.units.left, want.units.top};
        RECT size = {0, 0, want.units.right, want.units.bottom};
        MapDialogRect(dialog, &origin);
        MapDialogRect(dialog, &size);
        RECT at;
        GetWindowRect(child, &at);
        MapWindowPoints(NULL, dialog, (POINT *)&at, 2);
        EXPECT_EQ(origin.left, at.left) << want.text;
        EXPECT_EQ(origin.top, at.top) << want.text;
        EXPECT_EQ(size.right, at.right - at.left) << want.text;
        EXPECT_EQ(size.bottom, at.bottom - at.top) << want.text;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_TRUE(child == NULL);
    EXPECT_EQ(11, (int)SendDlgItemMessageA(dialog, IDC_EMPLOYEEID, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(50, (int)SendDlgItemMessageA(dialog, IDC_EMPLOYEENAME, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(10, (int)SendDlgItemMessageA(dialog, IDC_PERIODENDDATE, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(GetDlgItem(dialog, IDC_EMPLOYEEID), GetFocus());
    DestroyWindow(dialog);
}
