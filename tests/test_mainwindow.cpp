// The main window as it comes up: its controls, list columns, resources,
// initial state, and the end of the program.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"
#include "version.h"

#include <commctrl.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

class MainWindow : public WindowTest {};

std::string ClassOf(HWND window)
{
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT ClientRectOf(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, hMainWnd, (POINT *)&r, 2);
    return r;
}

struct ExpectedControl {
    const char *className;
    const char *text;
    DWORD style;
    int x, y, width, height, id;
};

const DWORD BUTTON = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
const DWORD TOTAL = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_SUNKEN | SS_RIGHT;
const DWORD FIELD = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const DWORD LIST = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                   LVS_SHOWSELALWAYS | LVS_NOLABELWRAP | LVS_ALIGNLEFT | LVS_NOSORTHEADER;

const ExpectedControl CONTROLS[25] = {
    {"SysListView32", "", LIST, 15, 10, 600, 125, IDC_ENTRYLIST},
    {"Button", "Clear All", BUTTON | BS_DEFPUSHBUTTON, 15, 150, 87, 35, IDC_CLEARALL},
    {"Button", "Preferences", BUTTON | BS_PUSHBUTTON, 15, 200, 87, 35, IDC_PREFERENCES},
    {"Button", "Print", BUTTON | BS_PUSHBUTTON, 15, 250, 87, 35, IDC_PRINT},
    {"Button", "New", BUTTON | BS_PUSHBUTTON, 200, 175, 50, 25, IDC_NEW},
    {"Button", "Add", BUTTON | BS_PUSHBUTTON | WS_DISABLED, 200, 215, 50, 25, IDC_ADD},
    {"Button", "Clear", BUTTON | BS_PUSHBUTTON | WS_DISABLED, 200, 250, 50, 25, IDC_CLEAR},
    {"Button", "Delete", BUTTON | BS_PUSHBUTTON | WS_DISABLED, 200, 285, 50, 25, IDC_DELETE},
    {"Static", "", TOTAL | WS_CLIPSIBLINGS, 265, 165, 235, 150, -1},
    {"Edit", "0.00", FIELD, 275, 175, 60, 20, IDC_TIMEIN1},
    {"Edit", "0.00", FIELD, 350, 175, 60, 20, IDC_TIMEOUT1},
    {"Edit", "0.00", FIELD, 275, 200, 60, 20, IDC_TIMEIN2},
    {"Edit", "0.00", FIELD, 350, 200, 60, 20, IDC_TIMEOUT2},
    {"Edit", "0.00", FIELD, 275, 225, 60, 20, IDC_TIMEIN3},
    {"Edit", "0.00", FIELD, 350, 225, 60, 20, IDC_TIMEOUT3},
    {"Edit", "0.00", FIELD, 275, 250, 60, 20, IDC_TIMEIN4},
    {"Edit", "0.00", FIELD, 350, 250, 60, 20, IDC_TIMEOUT4},
    {"Static", "0.00", TOTAL, 425, 175, 60, 20, IDC_PAIRTOTAL1},
    {"Static", "0.00", TOTAL, 425, 200, 60, 20, IDC_PAIRTOTAL2},
    {"Static", "0.00", TOTAL, 425, 225, 60, 20, IDC_PAIRTOTAL3},
    {"Static", "0.00", TOTAL, 425, 250, 60, 20, IDC_PAIRTOTAL4},
    {"Static", "Total Hours", WS_CHILD | WS_VISIBLE | SS_RIGHT, 345, 289, 75, 20, -1},
    {"Static", "0.00", TOTAL, 425, 287, 60, 20, IDC_ENTRYTOTAL},
    {"Static", "Total Hours", WS_CHILD | WS_VISIBLE | SS_RIGHT, 470, 143, 75, 20, -1},
    {"Static", "0.00", TOTAL, 550, 140, 60, 20, IDC_GRANDTOTAL},
};

TEST_F(MainWindow, HasItsTwentyFiveControlsAsLaidOut)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(hMainWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), 25u + 9u); // and the pay summary's statics, below

    for (const ExpectedControl &c : CONTROLS) {
        HWND found = NULL;
        for (HWND child : children) {
            RECT r = ClientRectOf(child);
            if ((int)(short)GetDlgCtrlID(child) == c.id && r.left == c.x && r.top == c.y)
                found = child;
        }
        ASSERT_TRUE(found != NULL) << c.text << " at " << c.x << "," << c.y;
        RECT r = ClientRectOf(found);
        EXPECT_EQ(r.right - r.left, c.width) << c.text;
        EXPECT_EQ(r.bottom - r.top, c.height) << c.text;
        EXPECT_STRCASEEQ(ClassOf(found).c_str(), c.className);
        EXPECT_EQ(WindowText(found), c.text);
        DWORD style = (DWORD)GetWindowLongA(found, GWL_STYLE);
        DWORD wanted = c.style;
        if (strcmp(c.className, "Edit") == 0)
            wanted &= ~WS_BORDER; // an edit control draws the border itself and drops the bit
        EXPECT_EQ(style & wanted, wanted) << c.text << " style " << std::hex << style;
        EXPECT_EQ(IsWindowEnabled(found) != 0, (c.style & WS_DISABLED) == 0) << c.text;
    }
    // The frame lies under the fields and totals it frames.
    EXPECT_EQ(ClassOf(children.back()), "Static");
    EXPECT_EQ(ClientRectOf(children.back()).left, 265);

    // The pay summary's statics and labels: in the client area of Windows 10
    // at 100 % (342 high), clear of every control above, out of the Tab order.
    for (size_t i = 0; i < 9; i++) { // made last, above the others
        HWND child = children[i];
        RECT r = ClientRectOf(child), overlap;
        EXPECT_STRCASEEQ("Static", ClassOf(child).c_str());
        EXPECT_EQ(0, GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) << WindowText(child);
        EXPECT_TRUE(r.bottom <= 342 && r.right <= 624) << WindowText(child);
        for (const ExpectedControl &c : CONTROLS) {
            RECT taken = {c.x, c.y, c.x + c.width, c.y + c.height};
            EXPECT_FALSE(IntersectRect(&overlap, &r, &taken)) << WindowText(child) << " on " << c.text;
        }
    }
}

TEST_F(MainWindow, TheFieldsOnTheFrameAreOnTop)
{
    POINT inField = {300, 185};
    ClientToScreen(hMainWnd, &inField);
    Click(hNewButton);
    EXPECT_EQ(WindowFromPoint(inField), hTimeFields[0]);
    POINT inTotal = {450, 185};
    EXPECT_EQ(ChildWindowFromPointEx(hMainWnd, inTotal, CWP_SKIPINVISIBLE),
              GetDlgItem(hMainWnd, IDC_PAIRTOTAL1));
}

TEST_F(MainWindow, IsTheProgramsOverlappedWindowWithItsMenu)
{
    EXPECT_EQ(WindowText(hMainWnd), "Hourwise");
    EXPECT_EQ(ClassOf(hMainWnd), "HOURWISE");
    DWORD style = (DWORD)GetWindowLongA(hMainWnd, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, (DWORD)WS_OVERLAPPEDWINDOW);
    RECT r;
    GetWindowRect(hMainWnd, &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 400);

    HMENU menu = GetMenu(hMainWnd);
    ASSERT_TRUE(menu != NULL);
    char text[64];
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&File");
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Edit");
    GetMenuStringA(menu, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Help");
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(file), 5);
    const UINT ids[5] = {IDM_PREFERENCES, 0, IDM_PRINTTIMESHEET, 0, IDM_EXIT};
    const char *texts[5] = {"Preferences", "", "Print Timesheet", "", "E&xit"};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(GetMenuItemID(file, i), ids[i]) << i;
        if (ids[i]) {
            GetMenuStringA(file, i, text, sizeof text, MF_BYPOSITION);
            EXPECT_STREQ(text, texts[i]);
        }
    }
    // Edit: the list's commands, labelled with their keys, then Pay Rules.
    HMENU edit = GetSubMenu(menu, 1);
    std::string items;
    for (int i = 0; i < GetMenuItemCount(edit); i++) {
        int length = GetMenuStringA(edit, i, text, sizeof text, MF_BYPOSITION);   // 0: a separator
        items += std::to_string(GetMenuItemID(edit, i)) + " " + std::string(text, length) + "|";
    }
    EXPECT_EQ("141 &Undo\tCtrl+Z|142 Re&do\tCtrl+Y|0 |143 &Copy\tCtrl+C|144 &Paste\tCtrl+V|"
              "145 De&lete\tDel|0 |146 Pay &Rules...|", items);
    HMENU help = GetSubMenu(menu, 2);
    ASSERT_EQ(GetMenuItemCount(help), 1);
    EXPECT_EQ(GetMenuItemID(help, 0), (UINT)IDM_ABOUT);
    GetMenuStringA(help, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About ...");
}

TEST_F(MainWindow, ListHasNineColumnsAndFullRowSelect)
{
    const char *heads[9] = {"Entry",      "Time In 1", "Time Out 1", "Time In 2", "Time Out 2",
                            "Time In 3", "Time Out 3", "Time In 4", "Time Out 4"};
    for (int i = 0; i < 9; i++) {
        char text[32] = {0};
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof column);
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(hEntryList, LVM_GETCOLUMNA, i, (LPARAM)&column)) << i;
        EXPECT_STREQ(text, heads[i]);
        EXPECT_EQ(column.cx, i == 0 ? 50 : 65);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    LVCOLUMNA extra;
    ZeroMemory(&extra, sizeof extra);
    extra.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(hEntryList, LVM_GETCOLUMNA, 9, (LPARAM)&extra));
    LRESULT extended = SendMessageA(hEntryList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(MainWindow, StartsIdleWithTheFocusOnNew)
{
    EXPECT_EQ(GetFocus(), hNewButton);
    for (int i = 0; i < 8; i++) {
        EXPECT_FALSE(IsWindowEnabled(hTimeFields[i]));
        EXPECT_EQ(WindowText(hTimeFields[i]), "0.00");
        EXPECT_EQ(SendMessageA(hTimeFields[i], EM_GETLIMITTEXT, 0, 0), 7);
    }
    for (int id = IDC_GRANDTOTAL; id <= IDC_ENTRYTOTAL; id++)
        EXPECT_EQ(ControlText(id), "0.00");
    EXPECT_EQ(EntryCounter, 0);
    EXPECT_EQ(EntryTotal, 0.0);
    EXPECT_EQ(GrandTotal, 0.0);
}

TEST_F(MainWindow, ATimeFieldRefusesAnEighthCharacter)
{
    Click(hNewButton);
    SendMessageA(hTimeFields[0], EM_SETSEL, 0, -1);
    TypeText("12345678");
    EXPECT_EQ(WindowText(hTimeFields[0]), "1234567");
}

// File Exit and closing the window end the program's message loop with exit
// code 0, with a row in the list. A loop that does not end is left to ctest's
// timeout.
struct EndCase {
    const char *name;
    UINT message;
    WPARAM wParam;
};

void PrintTo(const EndCase &c, std::ostream *os) { *os << c.name; }

class Ending : public MainWindow, public ::testing::WithParamInterface<EndCase> {};

TEST_P(Ending, EndsTheMessageLoopWithExitCodeZero)
{
    EnterRow({"8", "17"});
    HMENU file = GetSubMenu(GetMenu(hMainWnd), 0);
    char text[32] = {0};
    GetMenuStringA(file, IDM_EXIT, text, sizeof text, MF_BYCOMMAND);
    ASSERT_STREQ("E&xit", text);

    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME));
    PostMessageA(hMainWnd, GetParam().message, GetParam().wParam, 0);
    EXPECT_EQ(0, RunMessageLoop(accelerators));
    EXPECT_FALSE(IsWindow(hMainWnd));
}

INSTANTIATE_TEST_SUITE_P(Closing, Ending,
                         ::testing::Values(EndCase{"FileExit", WM_COMMAND, IDM_EXIT},
                                           EndCase{"CloseWindow", WM_CLOSE, 0}),
                         [](const ::testing::TestParamInfo<EndCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(StartUp, AMainWindowThatCannotBeMadeEndsWithZeroAndNoWindow)
{
    char saved[TITLE_SIZE];
    memcpy(saved, WindowClassName, sizeof saved);
    strcpy(WindowClassName, "NoSuchHourwiseClass");
    HWND before = hMainWnd;
    EXPECT_EQ(CreateMainWindow(GetModuleHandleA(NULL), SW_SHOW), 0);
    EXPECT_EQ(hMainWnd, before);
    memcpy(WindowClassName, saved, sizeof saved);
}

TEST(Resources, StringsIconsAndAccelerators)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    char text[100];
    ASSERT_GT(LoadStringA(instance, IDS_APP_TITLE, text, sizeof text), 0);
    EXPECT_STREQ(text, "Hourwise");
    ASSERT_GT(LoadStringA(instance, IDS_WINDOW_CLASS, text, sizeof text), 0);
    EXPECT_STREQ(text, "HOURWISE");

    const struct {
        int id, size;
    } icons[2] = {{IDI_MAIN, 32}, {IDI_SMALL, 16}};
    for (const auto &icon : icons) {
        HICON handle = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(icon.id), IMAGE_ICON, 0, 0, 0);
        ASSERT_TRUE(handle != NULL) << icon.id;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(handle, &info));
        BITMAP bitmap;
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, icon.size) << icon.id;
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(handle);
    }

    HACCEL table = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_TRUE(table != NULL);
    ACCEL entries[4];
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 2);
    const WORD keys[2] = {63, 47};
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(entries[i].fVirt & ~0x80, FALT) << i; // Alt alone, a character key
        EXPECT_EQ(entries[i].key, keys[i]);
        EXPECT_EQ(entries[i].cmd, IDM_ABOUT);
    }
}

// The resources of a module (this test program or Hourwise.exe loaded as data).
std::string ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(module, name, type);
    if (!found)
        return std::string();
    HGLOBAL data = LoadResource(module, found);
    const char *bytes = data ? (const char *)LockResource(data) : NULL;
    return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
}

// Hourwise.exe is built beside the folder of the test programs.
HMODULE LoadHourwiseExeAsData()
{
    char path[MAX_PATH + 20];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return NULL;
    for (int up = 0; up < 2; up++) {
        char *slash = strrchr(path, '\\');
        if (!slash)
            return NULL;
        *slash = 0;
    }
    strcat(path, "\\Hourwise.exe");
    return LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

TEST(Resources, ManifestAndVersionInTheTestProgramAndInHourwiseExe)
{
    const char *manifestParts[] = {
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
        ">false</dpiAware>",
        ">true</gdiScaling>",
        ">UTF-8</activeCodePage>",
        "version=\"" HOURWISE_VERSION_FOUR "\"",
    };
    HMODULE exe = LoadHourwiseExeAsData();
    ASSERT_TRUE(exe != NULL) << "Hourwise.exe beside the tests folder";
    const struct {
        const char *name;
        HMODULE module;
    } modules[2] = {{"test program", GetModuleHandleA(NULL)}, {"Hourwise.exe", exe}};
    for (const auto &m : modules) {
        std::string manifest = ResourceBytes(m.module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_FALSE(manifest.empty()) << m.name << ": RT_MANIFEST 1";
        for (const char *part : manifestParts)
            EXPECT_NE(manifest.find(part), std::string::npos) << m.name << ": " << part;

        std::string version = ResourceBytes(m.module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
        const DWORD signature = 0xFEEF04BD;
        size_t at = version.find(std::string((const char *)&signature, 4));
        ASSERT_NE(at, std::string::npos) << m.name;
        ASSERT_LE(at + sizeof(VS_FIXEDFILEINFO), version.size());
        VS_FIXEDFILEINFO info;
        memcpy(&info, version.data() + at, sizeof info);
        EXPECT_EQ(info.dwFileVersionMS, (DWORD)MAKELONG(HOURWISE_VERSION_MINOR, HOURWISE_VERSION_MAJOR));
        EXPECT_EQ(info.dwFileVersionLS, (DWORD)MAKELONG(0, HOURWISE_VERSION_PATCH));
        EXPECT_EQ(info.dwProductVersionMS, info.dwFileVersionMS);
        EXPECT_EQ(info.dwProductVersionLS, info.dwFileVersionLS);
    }
    FreeLibrary(exe);

    // The manifest is in effect: this process speaks UTF-8 and runs the common
    // controls of the version 6 assembly (whose DllGetVersion says 5.81 under Wine).
    EXPECT_EQ(GetACP(), (UINT)CP_UTF8);
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_TRUE(comctl != NULL);
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(comctl, path, MAX_PATH - 1);
    CharLowerA(path);
    EXPECT_TRUE(strstr(path, "\\microsoft.windows.common-controls_6595b64144ccf1df_6.") ||
                strstr(path, "_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << path;
}

// Reads a string or ordinal of a dialog template; returns the next position.
const WORD *SkipNameOrOrdinal(const WORD *at, std::wstring *text, int *ordinal)
{
    *ordinal = -1;
    text->clear();
    if (*at == 0xFFFF) {
        *ordinal = at[1];
        return at + 2;
    }
    while (*at)
        text->push_back((wchar_t)*at++);
    return at + 1;
}

TEST(Resources, TheAboutBoxTemplateKeepsItsControlsAsLaidOut)
{
    std::string bytes = ResourceBytes(NULL, MAKEINTRESOURCEA(IDD_ABOUTBOX), MAKEINTRESOURCEA(5));
    ASSERT_GE(bytes.size(), sizeof(DLGTEMPLATE));
    const BYTE *base = (const BYTE *)bytes.data();
    DLGTEMPLATE dialog;
    memcpy(&dialog, base, sizeof dialog);
    ASSERT_NE(HIWORD(dialog.style), 0xFFFF) << "a DIALOG template, not DIALOGEX";
    EXPECT_EQ(dialog.cdit, 5);
    EXPECT_EQ(dialog.cx, 230);
    EXPECT_EQ(dialog.cy, 75);

    const WORD *at = (const WORD *)(base + 18);
    std::wstring text;
    int ordinal;
    at = SkipNameOrOrdinal(at, &text, &ordinal); // menu
    at = SkipNameOrOrdinal(at, &text, &ordinal); // class
    at = SkipNameOrOrdinal(at, &text, &ordinal); // caption
    EXPECT_TRUE(text == L"About");
    if (dialog.style & DS_SETFONT)
        at = SkipNameOrOrdinal(at + 1, &text, &ordinal);

    const struct {
        int id, x, y, cx, cy, textOrdinal;
    } controls[5] = {
        {IDC_ABOUTICON, 14, 9, 20, 20, IDI_MAIN}, {-1, 49, 10, 119, 8, -1},
        {-1, 15, 34, 208, 11, -1},                {IDOK, 195, 6, 30, 11, -1},
        {-1, 109, 48, 105, 11, -1},
    };
    for (int i = 0; i < dialog.cdit && i < 5; i++) {
        const BYTE *item = (const BYTE *)(((ULONG_PTR)at - (ULONG_PTR)base + 3) / 4 * 4 + base);
        ASSERT_LE((size_t)(item - base) + 18, bytes.size());
        DLGITEMTEMPLATE control;
        memcpy(&control, item, 18);
        EXPECT_EQ((short)control.id, controls[i].id) << i;
        EXPECT_EQ(control.x, controls[i].x) << i;
        EXPECT_EQ(control.y, controls[i].y) << i;
        EXPECT_EQ(control.cx, controls[i].cx) << i;
        EXPECT_EQ(control.cy, controls[i].cy) << i;
        at = SkipNameOrOrdinal((const WORD *)(item + 18), &text, &ordinal); // class
        at = SkipNameOrOrdinal(at, &text, &ordinal);                        // text
        if (i == 0) {
            EXPECT_EQ(control.style & SS_TYPEMASK, (DWORD)SS_ICON);
            EXPECT_EQ(ordinal, IDI_MAIN);
        }
        if (i == 1) {
            EXPECT_TRUE(text == L"Hourwise Version 2.2.1");
        }
        // creation data: none, or as many bytes as its first word says, that word included
        at = *at == 0 ? at + 1 : (const WORD *)((const BYTE *)at + *at);
    }
}

} // namespace
