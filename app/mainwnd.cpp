/* The main window: its controls, the workflow of one entry (New, Add, Clear,
   Delete, Clear All), the dialogs it opens and the About box. */

#include "accessible.h"
#include "app.h"
#include "paysummary.h"
#include "print.h"
#include "registry.h"
#include "resource.h"
#include "timecalc.h"
#include "totals.h"

#include <commctrl.h>
#include <string.h>

HINSTANCE hInst;
HWND hMainWnd;
HWND hEntryList;
HWND hClearAllButton, hPreferencesButton, hPrintButton;
HWND hNewButton, hAddButton, hClearButton, hDeleteButton;
HWND hTimeFields[8];

WNDPROC OrigListProc, OrigButtonProc, OrigEditProc;

int EntryCounter;
double EntryTotal;
double GrandTotal;

static const int FIELD_X[2] = {275, 350};
static const int ROW_Y[4] = {175, 200, 225, 250};

static HWND MakeControl(const char *className, const char *text, DWORD style, int x, int y,
                        int width, int height, int id)
{
    return CreateWindowExA(0, className, text, style, x, y, width, height, hMainWnd,
                           (HMENU)(INT_PTR)id, hInst, NULL);
}

/* Replaces the control's procedure; returns the one it had. */
static WNDPROC Subclass(HWND control, WNDPROC procedure)
{
    return (WNDPROC)SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)procedure);
}

static HWND MakeButton(const char *text, DWORD extraStyle, int x, int y, int width, int height,
                       int id)
{
    HWND button = MakeControl("BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle, x, y,
                              width, height, id);
    WNDPROC previous = Subclass(button, ButtonSubclassProc);
    if (!OrigButtonProc)
        OrigButtonProc = previous;
    return button;
}

static const char *const COLUMN_HEADS[9] = {"Entry",      "Time In 1", "Time Out 1",
                                            "Time In 2",  "Time Out 2", "Time In 3",
                                            "Time Out 3", "Time In 4", "Time Out 4"};

static void InsertColumns(void)
{
    for (int i = 0; i < 9; i++) {
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof column);
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = i == 0 ? 50 : 65;
        column.pszText = (LPSTR)COLUMN_HEADS[i];
        SendMessageA(hEntryList, LVM_INSERTCOLUMNA, (WPARAM)i, (LPARAM)&column);
    }
}

/* What a screen reader calls the controls that have no label of their own:
   the list, and each time field the heading of its column. The totals keep
   their number as their name and tell whose hours they are. */
static void AnnotateMainControls(void)
{
    const AccessibleText texts[] = {
        {IDC_ENTRYLIST, ACCESSIBLE_NAME, "Entries"},
        {IDC_TIMEIN1, ACCESSIBLE_NAME, COLUMN_HEADS[1]},
        {IDC_TIMEOUT1, ACCESSIBLE_NAME, COLUMN_HEADS[2]},
        {IDC_TIMEIN2, ACCESSIBLE_NAME, COLUMN_HEADS[3]},
        {IDC_TIMEOUT2, ACCESSIBLE_NAME, COLUMN_HEADS[4]},
        {IDC_TIMEIN3, ACCESSIBLE_NAME, COLUMN_HEADS[5]},
        {IDC_TIMEOUT3, ACCESSIBLE_NAME, COLUMN_HEADS[6]},
        {IDC_TIMEIN4, ACCESSIBLE_NAME, COLUMN_HEADS[7]},
        {IDC_TIMEOUT4, ACCESSIBLE_NAME, COLUMN_HEADS[8]},
        {IDC_PAIRTOTAL1, ACCESSIBLE_DESCRIPTION, "Hours of pair 1"},
        {IDC_PAIRTOTAL2, ACCESSIBLE_DESCRIPTION, "Hours of pair 2"},
        {IDC_PAIRTOTAL3, ACCESSIBLE_DESCRIPTION, "Hours of pair 3"},
        {IDC_PAIRTOTAL4, ACCESSIBLE_DESCRIPTION, "Hours of pair 4"},
        {IDC_ENTRYTOTAL, ACCESSIBLE_DESCRIPTION, "Hours of this entry"},
        {IDC_GRANDTOTAL, ACCESSIBLE_DESCRIPTION, "Hours of all entries"},
    };
    AnnotateControls(hMainWnd, texts, (int)(sizeof texts / sizeof texts[0]));
}

int CreateMainWindow(HINSTANCE instance, int showCommand)
{
    hInst = instance;

    INITCOMMONCONTROLSEX common;
    common.dwSize = sizeof common;
    common.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&common);

    HWND window = CreateWindowExA(0, WindowClassName, AppTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  0, 640, 400, NULL, NULL, hInst, NULL);
    if (!window)
        return 0;
    hMainWnd = window;
    OrigListProc = OrigButtonProc = OrigEditProc = NULL;

    hEntryList = MakeControl("SysListView32", "",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                 LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOLABELWRAP |
                                 LVS_ALIGNLEFT | LVS_NOSORTHEADER,
                             15, 10, 600, 125, IDC_ENTRYLIST);
    OrigListProc = Subclass(hEntryList, ListSubclassProc);

    hClearAllButton = MakeButton("Clear All", BS_DEFPUSHBUTTON, 15, 150, 87, 35, IDC_CLEARALL);
    hPreferencesButton = MakeButton("Preferences", BS_PUSHBUTTON, 15, 200, 87, 35, IDC_PREFERENCES);
    hPrintButton = MakeButton("Print", BS_PUSHBUTTON, 15, 250, 87, 35, IDC_PRINT);
    hNewButton = MakeButton("New", BS_PUSHBUTTON, 200, 175, 50, 25, IDC_NEW);
    hAddButton = MakeButton("Add", BS_PUSHBUTTON | WS_DISABLED, 200, 215, 50, 25, IDC_ADD);
    hClearButton = MakeButton("Clear", BS_PUSHBUTTON | WS_DISABLED, 200, 250, 50, 25, IDC_CLEAR);
    hDeleteButton = MakeButton("Delete", BS_PUSHBUTTON | WS_DISABLED, 200, 285, 50, 25, IDC_DELETE);

    /* The sunken frame of the editor lies under the fields and totals made
       after it: it clips them out of its own painting, and goes to the bottom
       of the sibling order below. */
    const DWORD totalStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_SUNKEN | SS_RIGHT;
    HWND frame = MakeControl("STATIC", "", totalStyle | WS_CLIPSIBLINGS, 265, 165, 235, 150, -1);

    for (int i = 0; i < 8; i++) {
        hTimeFields[i] = MakeControl("EDIT", "0.00",
                                     WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_BORDER | WS_TABSTOP |
                                         ES_AUTOHSCROLL,
                                     FIELD_X[i % 2], ROW_Y[i / 2], 60, 20, IDC_TIMEIN1 + i);
        WNDPROC previous = Subclass(hTimeFields[i], EditSubclassProc);
        if (i == 0)
            OrigEditProc = previous;
    }
    for (int k = 0; k < 4; k++)
        MakeControl("STATIC", "0.00", totalStyle, 425, ROW_Y[k], 60, 20, IDC_PAIRTOTAL1 + k);
    MakeControl("STATIC", "Total Hours", WS_CHILD | WS_VISIBLE | SS_RIGHT, 345, 289, 75, 20, -1);
    MakeControl("STATIC", "0.00", totalStyle, 425, 287, 60, 20, IDC_ENTRYTOTAL);
    MakeControl("STATIC", "Total Hours", WS_CHILD | WS_VISIBLE | SS_RIGHT, 470, 143, 75, 20, -1);
    MakeControl("STATIC", "0.00", totalStyle, 550, 140, 60, 20, IDC_GRANDTOTAL);
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AnnotateMainControls();

    SetFocus(hNewButton);
    LoadAppSettings(hMainWnd);
    MakePaySummary(); /* after the settings, whose pay rules it shows */
    for (int id = IDC_TIMEIN1; id <= IDC_TIMEOUT4; id++)
        SendDlgItemMessageA(hMainWnd, id, EM_LIMITTEXT, FIELD_TEXT_CHARS, 0);

    GrandTotal = 0.0;
    EntryCounter = 0;
    EntryTotal = 0.0;

    InsertColumns();
    LRESULT extended = SendMessageA(hEntryList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(hEntryList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_FULLROWSELECT);

    ShowWindow(hMainWnd, showCommand);
    UpdateWindow(hMainWnd);
    OpenKeptList();
    return 1;
}

int SelectedEntryIndex(void)
{
    int row = SelectedRowOrNone();
    return row < 0 ? 0 : row;
}

static void EnableTimeFields(BOOL enable)
{
    for (int i = 0; i < 8; i++)
        EnableWindow(hTimeFields[i], enable);
}

/* Entry mode off: fields disabled, New on, Add and Clear off. */
static void LeaveEntryMode(void)
{
    EnableTimeFields(FALSE);
    EnableWindow(hNewButton, TRUE);
    EnableWindow(hAddButton, FALSE);
    EnableWindow(hClearButton, FALSE);
}

static void SetTexts(int firstId, int lastId, const char *text)
{
    for (int id = firstId; id <= lastId; id++)
        SetDlgItemTextA(hMainWnd, id, text);
}

static void NewEntry(void)
{
    EnableTimeFields(TRUE);
    EnableWindow(hNewButton, FALSE);
    EnableWindow(hAddButton, TRUE);
    EnableWindow(hClearButton, TRUE);
    EnableWindow(hDeleteButton, FALSE);
    EntryTotal = 0.0;
    SetFocus(hTimeFields[0]);
    SendDlgItemMessageA(hMainWnd, IDC_TIMEIN1, EM_SETSEL, 0, -1);
}

static void AddEntry(void)
{
    if (!MayNumberEntries(1, 0))
        return; /* numbers have run out: the entry stays in the editor */
    /* The fields are read before the list is touched: every selection change
       rewrites them from the selected row. */
    double values[8];
    for (int i = 0; i < 8; i++) {
        char text[FIELD_READ_SIZE];
        memset(text, 0, sizeof text);
        GetDlgItemTextA(hMainWnd, IDC_TIMEIN1 + i, text, sizeof text);
        values[i] = AddedFieldValue(text);
    }

    BeginListChange();
    /* the row lands at the end, since the counter is never less than the rows;
       the editor does not follow the selection meanwhile, as it shows the new
       row right after */
    ListChangesQuiet = 1;
    int row = InsertEntryTimes(EntryCounter + 1, EntryCounter + 1, values, LVIS_SELECTED | LVIS_FOCUSED);
    ListChangesQuiet = 0;
    if (row < 0) { /* no memory: the entry stays in the editor, to be added later */
        GiveUpListHistory();
        return;
    }
    EntryCounter++;
    NoteInsertedRows(row, 1);
    EndListChange();

    LeaveEntryMode();
    ShowListAfterChange(hNewButton);
}

void EmptyEditor(void)
{
    SetTexts(IDC_TIMEIN1, IDC_TIMEOUT4, "");
    SetTexts(IDC_PAIRTOTAL1, IDC_ENTRYTOTAL, "");
}

static void ClearEntry(void)
{
    EmptyEditor();
    LeaveEntryMode();
    if (EntryRowCount() >= 1)
        EnableWindow(hDeleteButton, TRUE);
    SetFocus(hNewButton);
}

void DeleteEntry(HWND focusAfter)
{
    int index = SelectedEntryIndex(), count = EntryRowCount();
    BeginListChange();
    if (index < count)
        NoteRemovedRows(index, 1);
    /* the row after it (the one before, at the end) takes the selection and
       the caret first, so that the row goes without them; the editor shows
       the selected row once, when the change ends */
    int next = index + 1 < count ? index + 1 : index - 1;
    ListChangesQuiet = 1;
    if (next >= 0)
        SetRowState(next, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(hEntryList, LVM_DELETEITEM, (WPARAM)index, 0);
    ListChangesQuiet = 0;
    if (count <= 1)
        EntryCounter = 0;
    EndListChange();
    ShowListAfterChange(focusAfter, EMPTY_KEEPS_EDITOR);
}

static void ClearAllEntries(void)
{
    LeaveEntryMode();
    BeginListChange();
    NoteRemovedRows(0, EntryRowCount());
    SendMessageA(hEntryList, LVM_DELETEALLITEMS, 0, 0);
    EntryCounter = 0;
    EndListChange();
    ShowListAfterChange(hNewButton);
}

/* The partner field and the pair total of a time field. */
static void FieldLeft(int field, int notification)
{
    if (notification != EN_KILLFOCUS || !IsWindowVisible(GetDlgItem(hMainWnd, field)))
        return;
    int index = field - IDC_TIMEIN1;
    int partner = (index % 2 == 0) ? field + 1 : field - 1;
    EvaluateTimeField(field, partner, IDC_PAIRTOTAL1 + index / 2);
    UpdateEntryTotal();
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        switch (id) {
        case IDM_ABOUT:
            DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), window, AboutDlgProc, 0);
            return 0;
        case IDM_EXIT:
            if (MayCloseKeptList())
                DestroyWindow(window);
            return 0;
        case IDM_PRINTTIMESHEET:
        case IDC_PRINT:
            DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_PRINTTIMESHEET), window,
                            PrintTimesheetDlgProc, 0);
            return 0;
        case IDM_PREFERENCES:
        case IDC_PREFERENCES:
            DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_PREFERENCES), window, PreferencesDlgProc, 0);
            return 0;
        case IDM_UNDO: case IDM_REDO: case IDM_COPY: case IDM_PASTE: case IDM_DELETE:
        case IDM_PAYRULES:
            RunEditCommand(window, (UINT)id);
            return 0;
        case IDC_NEW:
            NewEntry();
            return 0;
        case IDC_ADD:
            AddEntry();
            return 0;
        case IDC_CLEAR:
            ClearEntry();
            return 0;
        case IDC_DELETE:
            DeleteEntry(hNewButton);
            return 0;
        case IDC_CLEARALL:
            ClearAllEntries();
            return 0;
        }
        if (id >= IDC_TIMEIN1 && id <= IDC_TIMEOUT4) {
            FieldLeft(id, HIWORD(wParam));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        /* rows emptied all at once need no notice of each row that goes */
        if (wParam == IDC_ENTRYLIST && header && header->code == LVN_DELETEALLITEMS)
            return TRUE;
        /* a selection change shows its row; the notices of each row that
           goes or comes are answered without a question more */
        if (wParam == IDC_ENTRYLIST && header && header->code == LVN_ITEMCHANGED &&
            !ListChangesQuiet && IsWindowVisible(hEntryList))
            ShowSelectedEntry();
        return 0;
    }
    case WM_INITMENUPOPUP:
        OfferEditCommands(window, (HMENU)wParam);
        return 0;
    case UM_TABKEY:
    case UM_ENTERKEY:
        AdvanceFocus(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ACTIVATE:
        /* the default handling that follows gives the focus to the window
           itself when it is activated again; Tab or Enter then lead back */
        if (LOWORD(wParam) == WA_INACTIVE)
            RememberFocus(window);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        /* keys reach the window only while it holds the focus itself */
        if (message == WM_KEYDOWN && (wParam == VK_TAB || wParam == VK_RETURN)) {
            AdvanceFocus(window);
            return 0;
        }
        HandleHistoryKey(message, wParam);
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (HandleHistoryKey(message, wParam))
            return 0;
        break;
    case WM_CLOSE:
        if (MayCloseKeptList())
            DestroyWindow(window);
        return 0;
    case WM_ENDSESSION: /* the process may end without WM_DESTROY */
        if (wParam)
            SaveKeptListInSilence();
        return 0;
    case WM_DESTROY:
        CloseKeptList();
        ForgetListHistory();
        ForgetRememberedFocus();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
