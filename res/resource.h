/* Identifiers shared by the resource script and the code. */
#ifndef HOURWISE_RESOURCE_H
#define HOURWISE_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Strings */
#define IDS_APP_TITLE           103
#define IDS_WINDOW_CLASS        109

/* Icons, menu and accelerators */
#define IDI_MAIN                107
#define IDI_SMALL               108
#define IDR_MAINFRAME           109

/* Dialogs */
#define IDD_ABOUTBOX            103
#define IDD_PREFERENCES         135
#define IDD_PRINTTIMESHEET      137
#define IDD_PAYRULES            139

/* Menu commands */
#define IDM_ABOUT               104
#define IDM_EXIT                105
#define IDM_PRINTTIMESHEET      130
#define IDM_PREFERENCES         132

/* The context menu of the list of entries and its commands */
#define IDR_LISTMENU            140
#define IDM_UNDO                141
#define IDM_REDO                142
#define IDM_COPY                143
#define IDM_PASTE               144
#define IDM_DELETE              145

/* The Edit menu: the list's commands above, then the pay rules */
#define IDM_PAYRULES            146

/* Controls of the main window */
#define IDC_ENTRYLIST           1000
#define IDC_NEW                 1001
#define IDC_ADD                 1002
#define IDC_CLEAR               1003
#define IDC_TIMEIN1             1004
#define IDC_TIMEOUT1            1005
#define IDC_TIMEIN2             1006
#define IDC_TIMEOUT2            1007
#define IDC_TIMEIN3             1008
#define IDC_TIMEOUT3            1009
#define IDC_TIMEIN4             1010
#define IDC_TIMEOUT4            1011
#define IDC_DELETE              1012
#define IDC_GRANDTOTAL          1013
#define IDC_PAIRTOTAL1          1014
#define IDC_PAIRTOTAL2          1015
#define IDC_PAIRTOTAL3          1016
#define IDC_PAIRTOTAL4          1017
#define IDC_ENTRYTOTAL          1018
#define IDC_CLEARALL            1019
#define IDC_PREFERENCES         1020
#define IDC_PRINT               1021
/* the pay summary of the week under the entry editor */
#define IDC_REGULARHOURS        1022
#define IDC_OVERTIMEHOURS       1023
#define IDC_DOUBLETIMEHOURS     1024
#define IDC_GROSSPAY            1025

/* About box */
#define IDC_ABOUTICON           2

/* Preferences dialog */
#define IDC_COMPANYNAME         1004
#define IDC_ROUNDAMOUNT         1005
#define IDC_STARMINUTES         1021
#define IDC_STARHOURSMINUTES    1022
#define IDC_STARHOURS           1023
#define IDC_MINUSMINUTES        1024
#define IDC_MINUSHOURSMINUTES   1025
#define IDC_MINUSHOURS          1026
#define IDC_PLUSMINUTES         1027
#define IDC_PLUSHOURSMINUTES    1028
#define IDC_PLUSHOURS           1029
#define IDC_ROUNDBOTH           1030
#define IDC_ROUNDDOWN           1031
#define IDC_ROUNDUP             1032

/* Pay Rules dialog */
#define IDC_HOURLYRATE          1041
#define IDC_OVERTIMEWEEKLY      1042
#define IDC_OVERTIMEDAILY       1043
#define IDC_DOUBLETIMEDAILY     1044
#define IDC_SEVENTHDAY          1045
#define IDC_OVERTIMEFACTOR      1046
#define IDC_DOUBLETIMEFACTOR    1047

/* Print Timesheet dialog */
#define IDC_EMPLOYEEID          1004
#define IDC_EMPLOYEENAME        1005
#define IDC_PERIODENDDATE       1006

#endif
