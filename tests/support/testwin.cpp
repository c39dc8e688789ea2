#include "testwin.h"

#include "app.h"
#include "registry.h"
#include "resource.h"

#include <commctrl.h>
#include <vector>

void Pump()
{
    MSG msg;
    for (int round = 0; round < 3; round++) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void StartMainWindow()
{
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (!registered) {
        LoadStringA(instance, IDS_APP_TITLE, AppTitle, TITLE_SIZE);
        LoadStringA(instance, IDS_WINDOW_CLASS, WindowClassName, TITLE_SIZE);
        RegisterMainWindowClass(instance);
        registered = true;
    }
    CreateMainWindow(instance, SW_SHOW);
    SetForegroundWindow(hMainWnd);
    Pump();
}

void CloseMainWindow()
{
    if (hMainWnd && IsWindow(hMainWnd))
        DestroyWindow(hMainWnd);
    Pump();
    hMainWnd = NULL;
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::vector<char> text(length + 2, 0);
    GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data());
}

std::string ControlText(int id, HWND parent)
{
    return WindowText(GetDlgItem(parent ? parent : hMainWnd, id));
}

void SetControlText(int id, const char *text)
{
    SetDlgItemTextA(hMainWnd, id, text);
}

void PressKey(UINT virtualKey, bool shift, bool control)
{
    HWND target = GetFocus();
    if (!target)
        target = hMainWnd;
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE oldShift = keys[VK_SHIFT];
    BYTE oldControl = keys[VK_CONTROL];
    if (shift || control) {
        if (shift)
            keys[VK_SHIFT] = 0x80;
        if (control)
            keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
    }
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM down = 1 | (scan << 16);
    LPARAM up = down | (1u << 30) | (1u << 31);
    SendMessageA(target, WM_KEYDOWN, virtualKey, down);
    int ch = 0;
    if (virtualKey == VK_TAB) ch = '\t';
    else if (virtualKey == VK_RETURN) ch = '\r';
    else if (virtualKey == VK_ESCAPE) ch = 27;
    else if (virtualKey == VK_SPACE) ch = ' ';
    else if (control && virtualKey >= 'A' && virtualKey <= 'Z') ch = (int)(virtualKey - 'A' + 1);
    HWND now = GetFocus();
    if (ch && now == target)
        SendMessageA(target, WM_CHAR, ch, down);
    if (GetFocus() == target)
        SendMessageA(target, WM_KEYUP, virtualKey, up);
    if (shift || control) {
        keys[VK_SHIFT] = oldShift;
        keys[VK_CONTROL] = oldControl;
        SetKeyboardState(keys);
    }
    Pump();
}

void TypeText(const char *text)
{
    HWND target = GetFocus();
    for (const char *c = text; *c; c++)
        SendMessageA(target, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
    Pump();
}

void TypeIntoField(int index, const char *text)
{
    SetFocus(hTimeFields[index]);
    SendMessageA(hTimeFields[index], EM_SETSEL, 0, -1);
    TypeText(text);
    PressKey(VK_TAB);
}

void Click(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
    Pump();
}

void DeleteSettingsKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH);
}

static HKEY OpenKey()
{
    HKEY key = NULL;
    RegCreateKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                    NULL);
    return key;
}

void WriteBinary(const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY key = OpenKey();
    RegSetValueExA(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

void WriteDword(const char *name, DWORD value)
{
    WriteBinary(name, REG_DWORD, &value, sizeof value);
}

void WriteString(const char *name, const char *text)
{
    WriteBinary(name, REG_SZ, text, (DWORD)strlen(text) + 1);
}

bool ReadDword(const char *name, DWORD *value)
{
    DWORD size = sizeof *value, type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG status = RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD;
}

bool ReadString(const char *name, std::string *text)
{
    char buffer[1024] = {0};
    DWORD size = sizeof buffer - 1, type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG status = RegQueryValueExA(key, name, NULL, &type, (BYTE *)buffer, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return false;
    *text = buffer;
    return true;
}

void DeleteValue(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, REGISTRY_KEY_PATH, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

struct FindData {
    HWND owner;
    HWND found;
};

static BOOL CALLBACK FindDialogProc(HWND window, LPARAM data)
{
    FindData *find = (FindData *)data;
    char className[32] = {0};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && GetWindow(window, GW_OWNER) == find->owner &&
        IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwnedDialog(HWND owner)
{
    FindData find = {owner, NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindDialogProc, (LPARAM)&find);
    return find.found;
}

static HWND answerOwner;
static DialogAction answerAction;
static DWORD answerDeadline;
static UINT_PTR answerTimer;
static int answerCount;

static void CALLBACK AnswerTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindOwnedDialog(answerOwner);
    if (!dialog && GetTickCount() < answerDeadline)
        return;
    KillTimer(NULL, id);
    answerTimer = 0;
    DialogAction action = answerAction;
    answerAction = NULL;
    if (action) {
        answerCount++;
        action(dialog);
    }
}

void AnswerNextDialog(HWND owner, DialogAction action, int timeoutMs)
{
    if (answerTimer)
        KillTimer(NULL, answerTimer);
    answerOwner = owner;
    answerAction = action;
    answerCount = 0;
    answerDeadline = GetTickCount() + (DWORD)timeoutMs;
    answerTimer = SetTimer(NULL, 0, 50, AnswerTimerProc);
}

int AnsweredDialogs()
{
    return answerCount;
}

int RowCount()
{
    return (int)SendMessageA(hEntryList, LVM_GETITEMCOUNT, 0, 0);
}

std::string CellText(int row, int column)
{
    char text[400] = {0};
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(hEntryList, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    return text;
}

int SelectedRow()
{
    return (int)SendMessageA(hEntryList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}
