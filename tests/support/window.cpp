// The main window of the harness: the fixtures that make and destroy it, the
// one key sender, and compact views of what the window shows.
#include "harness.h"

#include "app.h"
#include "resource.h"

#include <commctrl.h>
#include <ctype.h>
#include <stdio.h>
#include <string.h>

// ---- fixtures ------------------------------------------------------------------

void RegistryTest::SetUp()
{
    DeleteSettingsKey();
}

void RegistryTest::TearDown()
{
    DeleteSettingsKey();
}

void WindowTest::SetUp()
{
    DeleteSettingsKey();
    DeleteKeptList();
    StartMainWindow();
    GuardDialogs(true);
}

void WindowTest::TearDown()
{
    CloseMainWindow();
    GuardDialogs(false);
    DeleteSettingsKey();
    DeleteKeptList();
}

void WindowTest::Restart()
{
    CloseMainWindow();
    StartMainWindow();
}

void WindowTest::RestartWith(const SettingsValues &values)
{
    CloseMainWindow();
    DeleteSettingsKey();
    WriteSettings(values);
    StartMainWindow();
}

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
    ASSERT_TRUE(hMainWnd != NULL && IsWindow(hMainWnd)) << "no main window";
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

// ---- keys ----------------------------------------------------------------------

static int CharacterOf(UINT virtualKey, int modifiers)
{
    if ((modifiers & WITH_CONTROL) && virtualKey >= 'A' && virtualKey <= 'Z')
        return (int)(virtualKey - 'A' + 1);
    if ((modifiers & WITH_ALT) && virtualKey >= 'A' && virtualKey <= 'Z')   // a menu's mnemonic
        return (int)((modifiers & WITH_SHIFT) ? virtualKey : virtualKey - 'A' + 'a');
    switch (virtualKey) {
    case VK_TAB: return '\t';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 27;
    case VK_SPACE: return ' ';
    case VK_BACK: return '\b';
    default: return 0;
    }
}

static void Stroke(HWND target, UINT virtualKey, int character, int modifiers, KeyWay way)
{
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM down = 1 | ((LPARAM)scan << 16);
    LPARAM up = down | (1u << 30) | (1u << 31);
    if (way == KEY_POSTED) {
        PostMessageA(target, WM_KEYDOWN, virtualKey, down);
        PostMessageA(target, WM_KEYUP, virtualKey, up);
        return;
    }
    bool toEveryStep = way == KEY_TO_TARGET;
    // With Alt the key is a system key, as the message loop delivers it.
    bool alt = (modifiers & WITH_ALT) != 0;
    if (alt) {
        down |= 1 << 29;
        up |= 1 << 29;
    }
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE oldShift = keys[VK_SHIFT], oldControl = keys[VK_CONTROL], oldAlt = keys[VK_MENU];
    keys[VK_SHIFT] = (modifiers & WITH_SHIFT) ? 0x80 : 0;
    keys[VK_CONTROL] = (modifiers & WITH_CONTROL) ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, down);
    if (character && (toEveryStep || GetFocus() == target))
        SendMessageA(target, alt ? WM_SYSCHAR : WM_CHAR, (WPARAM)character, down);
    if (toEveryStep || GetFocus() == target)
        SendMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, up);
    keys[VK_SHIFT] = oldShift;
    keys[VK_CONTROL] = oldControl;
    keys[VK_MENU] = oldAlt;
    SetKeyboardState(keys);
    if (!toEveryStep)
        Pump();
}

void KeyStroke(HWND target, UINT virtualKey, int modifiers, KeyWay way)
{
    Stroke(target, virtualKey, CharacterOf(virtualKey, modifiers), modifiers, way);
}

void PressKey(UINT virtualKey, bool shift, bool control)
{
    HWND target = GetFocus();
    KeyStroke(target ? target : hMainWnd, virtualKey,
              (shift ? WITH_SHIFT : 0) | (control ? WITH_CONTROL : 0));
}

void Keys(const char *keys)
{
    for (const char *k = keys; *k; k++) {
        unsigned char c = (unsigned char)*k;
        switch (c) {
        case '\t': PressKey(VK_TAB); break;
        case '\r': PressKey(VK_RETURN); break;
        case ' ': PressKey(VK_SPACE); break;
        case 0x1b: PressKey(VK_ESCAPE); break;
        case '\b': PressKey(VK_BACK); break;
        default: {
            HWND target = GetFocus();
            SHORT scan = VkKeyScanA((CHAR)c);
            if (target)
                Stroke(target, scan == -1 ? 0 : (UINT)(scan & 0xFF), c, 0, KEY_FOLLOWS_FOCUS);
            break;
        }
        }
    }
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

void TypeInto(HWND dialog, int id, const char *text)
{
    HWND edit = GetDlgItem(dialog, id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    // the characters of the UTF-8 text, as a keyboard of any language gives them
    std::vector<wchar_t> wide(strlen(text) + 1);
    int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), (int)wide.size());
    for (int i = 0; i + 1 < units; i++)
        SendMessageW(edit, WM_CHAR, wide[i], 1);
}

void Click(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
    Pump();
}

void PushButton(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ClickRow(int row)
{
    RECT rect;
    ZeroMemory(&rect, sizeof rect);
    rect.left = LVIR_BOUNDS;
    SendMessageA(hEntryList, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&rect);
    LPARAM at = MAKELPARAM(rect.left + 20, (rect.top + rect.bottom) / 2);
    // The list follows the mouse after the press until the button goes up;
    // the release is queued first so that it finds it.
    PostMessageA(hEntryList, WM_LBUTTONUP, 0, at);
    SendMessageA(hEntryList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    Pump();
}

void SelectRowByState(int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED; // none: the caret stays
    item.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageA(hEntryList, LVM_SETITEMSTATE, (WPARAM)(row >= 0 ? row : -1), (LPARAM)&item);
    Pump();
}

void EnterRow(const std::vector<const char *> &texts)
{
    Click(hNewButton);
    for (size_t i = 0; i < texts.size() && i < 8; i++)
        if (texts[i])
            TypeIntoField((int)i, texts[i]);
    SetFocus(hAddButton);
    Click(hAddButton);
}

// ---- what the window shows ---------------------------------------------------------

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

std::string ControlName(HWND control)
{
    if (!control)
        return "none";
    if (control == hMainWnd) return "main window";
    if (control == hNewButton) return "New";
    if (control == hAddButton) return "Add";
    if (control == hClearButton) return "Clear";
    if (control == hDeleteButton) return "Delete";
    if (control == hClearAllButton) return "Clear All";
    if (control == hPreferencesButton) return "Preferences";
    if (control == hPrintButton) return "Print";
    if (control == hEntryList) return "list";
    for (int i = 0; i < 8; i++)
        if (control == hTimeFields[i]) {
            char name[16];
            snprintf(name, sizeof name, "%s %d", i % 2 ? "Out" : "In", i / 2 + 1);
            return name;
        }
    return "other";
}

std::string FocusName()
{
    return ControlName(GetFocus());
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

static std::string Joined(int count, const char *separator, const std::function<std::string(int)> &part)
{
    std::string all;
    for (int i = 0; i < count; i++)
        all += (i ? separator : "") + part(i);
    return all;
}

std::string RowTexts(int row)
{
    return Joined(9, "|", [row](int column) { return CellText(row, column); });
}

std::string EntryNumbers()
{
    return Joined(RowCount(), ",", [](int row) { return CellText(row, 0); });
}

std::string FieldTexts()
{
    return Joined(8, "|", [](int i) { return ControlText(IDC_TIMEIN1 + i); });
}

std::string TotalTexts()
{
    return Joined(IDC_ENTRYTOTAL - IDC_PAIRTOTAL1 + 1, "|",
                  [](int i) { return ControlText(IDC_PAIRTOTAL1 + i); });
}

static const char *OnOff(HWND control)
{
    return IsWindowEnabled(control) ? "1" : "0";
}

std::string EnabledStates()
{
    int enabled = 0;
    for (int i = 0; i < 8; i++)
        if (IsWindowEnabled(hTimeFields[i]))
            enabled++;
    std::string fields = enabled == 8 ? "1" : enabled == 0 ? "0" : "?";
    return "fields " + fields + " New " + OnOff(hNewButton) + " Add " + OnOff(hAddButton) +
           " Clear " + OnOff(hClearButton) + " Delete " + OnOff(hDeleteButton) + " Clear All " +
           OnOff(hClearAllButton) + " Preferences " + OnOff(hPreferencesButton) + " Print " +
           OnOff(hPrintButton) + " list " + OnOff(hEntryList);
}

std::string IdleStates(bool deleteEnabled)
{
    return std::string("fields 0 New 1 Add 0 Clear 0 Delete ") + (deleteEnabled ? "1" : "0") +
           " Clear All 1 Preferences 1 Print 1 list 1";
}

std::string EntryStates()
{
    return "fields 1 New 0 Add 1 Clear 1 Delete 0 Clear All 1 Preferences 1 Print 1 list 1";
}

std::string Trimmed(const std::string &text)
{
    size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

std::string EditSelection(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    char text[32];
    snprintf(text, sizeof text, "%lu,%lu", (unsigned long)start, (unsigned long)end);
    return text;
}

// ---- beeps and the clipboard -------------------------------------------------------

static LONG BeepsHeard;
static LONG MenuKeysHeard;

static BOOL WINAPI CountedBeep(UINT type)
{
    (void)type;
    InterlockedIncrement(&BeepsHeard);
    return TRUE;
}

// The program's calls of MessageBeep go through this process's import table:
// its entry is pointed at the counter.
static void CountBeeps()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    HMODULE module = GetModuleHandleA(NULL);
    FARPROC real = GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBeep");
    BYTE *base = (BYTE *)module;
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports.VirtualAddress);
         d->Name; d++) {
        for (IMAGE_THUNK_DATA *t = (IMAGE_THUNK_DATA *)(base + d->FirstThunk); t->u1.Function; t++) {
            if ((FARPROC)t->u1.Function != real)
                continue;
            DWORD old;
            VirtualProtect(&t->u1.Function, sizeof t->u1.Function, PAGE_READWRITE, &old);
            t->u1.Function = (ULONG_PTR)CountedBeep;
            VirtualProtect(&t->u1.Function, sizeof t->u1.Function, old, &old);
        }
    }
}

// Whether a menu of the menu bar the window is in has the character as its mnemonic.
static bool OpensAMenu(HWND window, LPARAM character)
{
    HMENU bar = GetMenu(GetAncestor(window, GA_ROOT));
    char text[64];
    for (int i = 0; bar && character && i < GetMenuItemCount(bar); i++)
        if (GetMenuStringA(bar, (UINT)i, text, sizeof text, MF_BYPOSITION) > 1 && strchr(text, '&') &&
            tolower((unsigned char)strchr(text, '&')[1]) == tolower((int)character))
            return true;
    return false;
}

// A system character that no menu takes makes the default handling look for
// a menu key, and beep: its menu command is counted as a beep too.
static LRESULT CALLBACK WatchMenuKeys(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && sent->message == WM_SYSCOMMAND && (sent->wParam & 0xFFF0) == SC_KEYMENU &&
        !OpensAMenu(sent->hwnd, sent->lParam))
        InterlockedIncrement(&MenuKeysHeard);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

int Beeps()
{
    static HHOOK hook = NULL;
    CountBeeps();
    if (!hook)
        hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchMenuKeys, NULL, GetCurrentThreadId());
    return (int)(BeepsHeard + MenuKeysHeard);
}

std::string ClipboardText()
{
    std::string text;
    for (int attempt = 0; attempt < 100 && !OpenClipboard(NULL); attempt++)
        Sleep(10);
    HANDLE data = GetClipboardData(CF_TEXT);
    const char *locked = data ? (const char *)GlobalLock(data) : NULL;
    if (locked) {
        text = locked;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::string &text, bool asText)
{
    // the UTF-8 text in UTF-16, as programs copy text; the system makes CF_TEXT of it
    std::vector<wchar_t> wide(text.size() + 1);
    int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size() + 1, wide.data(),
                                    (int)wide.size());
    size_t size = asText ? units * sizeof(wchar_t) : text.size() + 1;
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), asText ? (const void *)wide.data() : text.c_str(), size);
    GlobalUnlock(block);
    SetClipboardData(asText ? CF_UNICODETEXT : RegisterClipboardFormatA("Hourwise test data"), block);
    CloseClipboard();
}

static HANDLE HolderEvents[2];
static HANDLE Holder;

static DWORD WINAPI HoldClipboard(LPVOID)
{
    OpenClipboard(NULL);
    SetEvent(HolderEvents[0]);
    WaitForSingleObject(HolderEvents[1], 10000);
    CloseClipboard();
    return 0;
}

void HoldClipboardElsewhere()
{
    HolderEvents[0] = CreateEventA(NULL, TRUE, FALSE, NULL);
    HolderEvents[1] = CreateEventA(NULL, TRUE, FALSE, NULL);
    Holder = CreateThread(NULL, 0, HoldClipboard, NULL, 0, NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(HolderEvents[0], 10000)) << "clipboard not held";
}

void ReleaseHeldClipboard()
{
    SetEvent(HolderEvents[1]);
    WaitForSingleObject(Holder, 10000);
    CloseHandle(Holder);
    CloseHandle(HolderEvents[0]);
    CloseHandle(HolderEvents[1]);
}
