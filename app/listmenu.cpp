/* The context menu of the list of entries and its Del key: Undo, Redo, Copy,
   Paste and Delete where a Windows user looks for them, each run through the
   routine of its key or button. The menu opens on a right click (the list
   selects the clicked row first), on Shift+F10 and on the Menu key; an item
   that would only beep or do nothing is greyed. The Edit menu of the menu
   bar offers and runs the same commands through the same two routines. */

#include "app.h"
#include "resource.h"

#include <commctrl.h>
#include <windowsx.h>

/* Delete from the list: only while the Delete button is enabled and a row is
   selected, as one step of the history; the focus stays in the list. */
static int CanDeleteSelectedEntry(void)
{
    return IsWindowEnabled(hDeleteButton) && SelectedRowOrNone() >= 0;
}

static void DeleteSelectedEntry(void)
{
    if (CanDeleteSelectedEntry())
        DeleteEntry(hEntryList);
}

static void OfferItem(HMENU menu, UINT command, int available)
{
    EnableMenuItem(menu, command, MF_BYCOMMAND | (available ? MF_ENABLED : MF_GRAYED));
}

void OfferListCommands(HMENU menu)
{
    OfferItem(menu, IDM_UNDO, CanUndoListChange());
    OfferItem(menu, IDM_REDO, CanRedoListChange());
    OfferItem(menu, IDM_PASTE, CanPasteEntries());
    OfferItem(menu, IDM_DELETE, CanDeleteSelectedEntry());
}

void RunListCommand(UINT command)
{
    switch (command) {
    case IDM_UNDO:
        UndoListChange();
        break;
    case IDM_REDO:
        RedoListChange();
        break;
    case IDM_COPY:
        CopyEntryList(hEntryList);
        break;
    case IDM_PASTE:
        PasteEntries();
        break;
    case IDM_DELETE:
        DeleteSelectedEntry();
        break;
    }
}

/* Where the keyboard opens the menu, on the screen: at the selected row while
   it is in view, otherwise at the list's top left corner. */
static POINT KeyboardMenuPoint(HWND list)
{
    POINT at = {0, 0};
    int row = SelectedRowOrNone();
    RECT client, bounds;
    GetClientRect(list, &client);
    bounds.left = LVIR_BOUNDS;
    if (row >= 0 && SendMessageA(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&bounds)) {
        POINT middle = {bounds.left > 0 ? bounds.left : 0, (bounds.top + bounds.bottom) / 2};
        if (PtInRect(&client, middle))
            at = middle;
    }
    ClientToScreen(list, &at);
    return at;
}

static void OpenListMenu(POINT at)
{
    HMENU resource = LoadMenuA(hInst, MAKEINTRESOURCEA(IDR_LISTMENU));
    HMENU menu = resource ? GetSubMenu(resource, 0) : NULL;
    if (!menu) {
        if (resource)
            DestroyMenu(resource);
        return;
    }
    OfferListCommands(menu);
    UINT command = (UINT)TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN |
                                                  TPM_TOPALIGN,
                                        at.x, at.y, 0, hMainWnd, NULL);
    DestroyMenu(resource);
    RunListCommand(command);
}

int HandleListMenuKey(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU) {
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (at.x == -1 && at.y == -1) /* asked for from the keyboard */
            at = KeyboardMenuPoint(list);
        OpenListMenu(at);
        return 1;
    }
    /* The keys act on their key-down; the Menu key's key-up is dropped, so
       that no default handling opens the menu a second time. */
    if (message == WM_KEYUP && wParam == VK_APPS)
        return 1;
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
        return 0;
    int held = HeldModifiers();
    if ((wParam == VK_APPS && held == 0) || (wParam == VK_F10 && held == MOD_SHIFT)) {
        OpenListMenu(KeyboardMenuPoint(list));
        return 1;
    }
    if (message == WM_KEYDOWN && wParam == VK_DELETE && held == 0) {
        DeleteSelectedEntry();
        return 1;
    }
    return 0;
}
