/* Printing the timesheet: the dialog, the printer set-up, the page layout and
   the print job. */
#ifndef HOURWISE_PRINT_H
#define HOURWISE_PRINT_H

#include <windows.h>

#define EMPLOYEEID_SIZE    12   /* 11 characters and NUL */
#define EMPLOYEENAME_SIZE  51   /* 50 characters and NUL */
#define PERIODENDDATE_SIZE 11   /* 10 characters and NUL */

struct TimesheetInfoRecord {
    char EmployeeId[EMPLOYEEID_SIZE];
    char EmployeeName[EMPLOYEENAME_SIZE];
    char PeriodEndDate[PERIODENDDATE_SIZE];
};

extern TimesheetInfoRecord TimesheetInfo;

INT_PTR CALLBACK PrintTimesheetDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
HDC SetUpPrinter(HWND owner);
int PrintTimesheet(HWND owner);

#endif
