#include "workflow_keys.h"

#include "app.h"
#include "resource.h"
#include "testwin.h"

#include <commctrl.h>
#include <stdio.h>

static void SendKey(UINT virtualKey, int character)
{
    HWND target = GetFocus();
    if (!target)
        return;
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM down = 1 | ((LPARAM)scan << 16);
    LPARAM up = down | (1u << 30) | (1u << 31);
    SendMessageA(target, WM_KEYDOWN, virtualKey, down);
    if (character && GetFocus() == target)
        SendMessageA(target, WM_CHAR, (WPARAM)character, down);
    if (GetFocus() == target)
        SendMessageA(target, WM_KEYUP, virtualKey, up);
    Pump();
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
        case '\b': SendKey(VK_BACK, '\b'); break;
        default: {
            SHORT scan = VkKeyScanA((CHAR)c);
            UINT vk = scan == -1 ? 0 : (UINT)(scan & 0xFF);
            SendKey(vk, c);
            break;
        }
        }
    }
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

void EnterRow(const std::vector<const char *> &texts)
{
    Click(hNewButton);
    for (size_t i = 0; i < texts.size() && i < 8; i++)
        if (texts[i])
            TypeIntoField((int)i, texts[i]);
    SetFocus(hAddButton);
    Click(hAddButton);
}

std::string RowTexts(int row)
{
    std::string all;
    for (int column = 0; column <= 8; column++) {
        if (column)
            all += "|";
        all += CellText(row, column);
    }
    return all;
}

std::string EntryNumbers()
{
    std::string all;
    for (int row = 0; row < RowCount(); row++) {
        if (row)
            all += ",";
        all += CellText(row, 0);
    }
    return all;
}

std::string FieldTexts()
{
    std::string all;
    for (int i = 0; i < 8; i++) {
        if (i)
            all += "|";
        all += ControlText(IDC_TIMEIN1 + i);
    }
    return all;
}

std::string TotalTexts()
{
    std::string all;
    for (int id = IDC_PAIRTOTAL1; id <= IDC_ENTRYTOTAL; id++) {
        if (id != IDC_PAIRTOTAL1)
            all += "|";
        all += ControlText(id);
    }
    return all;
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

std::string EditSelection(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    char text[32];
    snprintf(text, sizeof text, "%lu,%lu", (unsigned long)start, (unsigned long)end);
    return text;
}

void SelectRowByState(int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = LVIS_SELECTED;
    item.state = row >= 0 ? LVIS_SELECTED : 0;
    SendMessageA(hEntryList, LVM_SETITEMSTATE, (WPARAM)(row >= 0 ? row : -1), (LPARAM)&item);
    Pump();
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
