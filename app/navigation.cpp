/* Keyboard navigation between the main window's controls. The main window is
   no dialog, so Tab and Enter in the buttons, the time fields and the list
   become private messages, and the focus moves forward along a fixed ring that
   skips disabled controls. Enter never presses a button. When the window
   itself holds the focus (as after a dialog), Tab and Enter lead back to the
   control that held it before. */

#include "app.h"
#include "resource.h"

/* Tab and Enter become navigation; their key-up and character are dropped.
   Returns 1 when the key was consumed. */
static int HandleNavigationKey(UINT message, WPARAM key, int swallowEscape)
{
    if (message == WM_KEYDOWN && key == VK_TAB) {
        SendMessageA(hMainWnd, UM_TABKEY, 0, 0);
        return 1;
    }
    if (message == WM_KEYDOWN && key == VK_RETURN) {
        SendMessageA(hMainWnd, UM_ENTERKEY, 0, 0);
        return 1;
    }
    if (message == WM_KEYUP || message == WM_CHAR) {
        if (key == VK_TAB || key == VK_RETURN)
            return 1;
        if (key == VK_ESCAPE && swallowEscape)
            return 1;
    }
    return 0;
}

#define CTRL_Y_CHAR 0x19
#define CTRL_Z_CHAR 0x1A
#define CTRL_V_CHAR 0x16

int HeldModifiers(void)
{
    return (GetKeyState(VK_CONTROL) < 0 ? MOD_CONTROL : 0) |
           (GetKeyState(VK_SHIFT) < 0 ? MOD_SHIFT : 0) | (GetKeyState(VK_MENU) < 0 ? MOD_ALT : 0);
}

/* Ctrl+Z or Alt+Backspace */
static int IsUndoKey(WPARAM key)
{
    return (key == 'Z' && HeldModifiers() == MOD_CONTROL) ||
           (key == VK_BACK && HeldModifiers() == MOD_ALT);
}

/* Ctrl+Y or Ctrl+Shift+Z */
static int IsRedoKey(WPARAM key)
{
    return (key == 'Y' && HeldModifiers() == MOD_CONTROL) ||
           (key == 'Z' && HeldModifiers() == (MOD_CONTROL | MOD_SHIFT));
}

/* Ctrl+C or Ctrl+Insert */
static int IsCopyKey(WPARAM key)
{
    return (key == 'C' || key == VK_INSERT) && HeldModifiers() == MOD_CONTROL;
}

/* Ctrl+V or Shift+Insert */
static int IsPasteKey(WPARAM key)
{
    return (key == 'V' && HeldModifiers() == MOD_CONTROL) ||
           (key == VK_INSERT && HeldModifiers() == MOD_SHIFT);
}

int HandleHistoryKey(UINT message, WPARAM key)
{
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        if (IsUndoKey(key))
            UndoListChange();
        else if (IsRedoKey(key))
            RedoListChange();
        return 0;
    }
    /* Alt+Backspace's system character would beep for a missing menu key */
    return (message == WM_CHAR && (key == CTRL_Z_CHAR || key == CTRL_Y_CHAR)) ||
           (message == WM_SYSCHAR && key == VK_BACK);
}

LRESULT CALLBACK ButtonSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HandleNavigationKey(message, wParam, 1))
        return 0;
    if (HandleHistoryKey(message, wParam))
        return 0;
    return CallWindowProcA(OrigButtonProc, window, message, wParam, lParam);
}

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HandleNavigationKey(message, wParam, 0))
        return 0;
    return CallWindowProcA(OrigEditProc, window, message, wParam, lParam);
}

LRESULT CALLBACK ListSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HandleNavigationKey(message, wParam, 0))
        return 0;
    if (HandleListMenuKey(window, message, wParam, lParam))
        return 0;
    if (HandleHistoryKey(message, wParam))
        return 0;
    /* Copying and pasting act on the key-down, which then goes on as any
       other key; the character of Ctrl+V is dropped with it. */
    if (message == WM_KEYDOWN && IsCopyKey(wParam))
        CopyEntryList(window);
    if (message == WM_KEYDOWN && IsPasteKey(wParam))
        PasteEntries();
    if (message == WM_CHAR && wParam == CTRL_V_CHAR)
        return 0;
    return CallWindowProcA(OrigListProc, window, message, wParam, lParam);
}

static int IsEnabled(HWND control)
{
    return IsWindowEnabled(control) == TRUE;
}

/* The control that follows in the ring when it is enabled; NULL for a
   control outside the ring. New and Delete have rules of their own. */
static HWND Follower(HWND control)
{
    if (control == hEntryList) return hClearAllButton;
    if (control == hClearAllButton) return hPreferencesButton;
    if (control == hPreferencesButton) return hPrintButton;
    if (control == hPrintButton) return hNewButton;
    if (control == hAddButton) return hClearButton;
    if (control == hClearButton) return hDeleteButton;
    for (int i = 0; i < 8; i++)
        if (control == hTimeFields[i])
            return i < 7 ? hTimeFields[i + 1] : hAddButton;
    return NULL;
}

/* The next enabled control of the ring after from; NULL for a control
   outside the ring. */
static HWND NextInRing(HWND from)
{
    /* Each step moves along the ring; New and Delete end the walk in the list
       at the latest, so it stops within one round. */
    for (int steps = 0; steps < 20 && from; steps++) {
        if (from == hNewButton)
            return IsEnabled(hAddButton) ? hAddButton
                 : IsEnabled(hDeleteButton) ? hDeleteButton : hEntryList;
        if (from == hDeleteButton)
            return IsEnabled(hTimeFields[0]) ? hTimeFields[0] : hEntryList;
        HWND candidate = Follower(from);
        if (!candidate || IsEnabled(candidate))
            return candidate;
        from = candidate;
    }
    return NULL;
}

/* The control that held the focus when the main window was last deactivated
   (a dialog opened, another program was chosen); NULL for none. As in a
   dialog box, a deactivation while the window itself holds the focus keeps
   the control remembered before, so a second dialog does not lose it. */
static HWND FocusBeforeDeactivation;

void RememberFocus(HWND mainWindow)
{
    HWND focus = GetFocus();
    if (focus && IsChild(mainWindow, focus))
        FocusBeforeDeactivation = focus;
}

void ForgetRememberedFocus(void)
{
    FocusBeforeDeactivation = NULL;
}

/* Where Tab or Enter leads from the main window itself: back to the control
   that held the focus before, while it is enabled, else on along the ring
   from it; New (or on from New) when that was no control of the ring. */
static HWND ResumedFocus(HWND mainWindow)
{
    HWND control = FocusBeforeDeactivation;
    if (!control || !IsChild(mainWindow, control) ||
        (control != hNewButton && control != hDeleteButton && !Follower(control)))
        control = hNewButton;
    return IsEnabled(control) ? control : NextInRing(control);
}

void AdvanceFocus(HWND mainWindow)
{
    HWND from = GetFocus();
    HWND next = from == mainWindow ? ResumedFocus(mainWindow) : NextInRing(from);
    if (!next)
        return; /* the focus is on none of the ring's controls: stay */
    SetFocus(next);
    for (int i = 0; i < 8; i++)
        if (next == hTimeFields[i] && IsEnabled(next))
            SendDlgItemMessageA(mainWindow, IDC_TIMEIN1 + i, EM_SETSEL, 0, -1);
}
