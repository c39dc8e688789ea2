/* What the kept list tells the user: a file that cannot be written or read
   whole, the question before the window closes on a list the disk does not
   hold, and entry numbers that have run out. Each message is owned by the
   main window, and the focus comes back where it was. */

#include "app.h"
#include "keptformat.h"
#include "keptlist.h"

#include <charconv>
#include <string.h>
#include <wchar.h>

#define MESSAGE_CHARS (4 * KEPT_PATH_CHARS)

void AppendText(WCHAR *text, size_t size, const WCHAR *more)
{
    size_t have = wcslen(text);
    while (*more && have + 1 < size)
        text[have++] = *more++;
    text[have] = 0;
}

/* The number in digits, with a comma between groups of three when grouped. */
static void AppendDigits(WCHAR *text, size_t size, long long number, int grouped)
{
    char digits[24];
    char *end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    WCHAR shown[32];
    int n = 0;
    for (const char *c = digits; c < end; c++) {
        shown[n++] = (WCHAR)*c;
        long long after = end - c - 1;
        if (grouped && after > 0 && after % 3 == 0 && *c != '-')
            shown[n++] = L',';
    }
    shown[n] = 0;
    AppendText(text, size, shown);
}

void AppendNumber(WCHAR *text, size_t size, long long number)
{
    AppendDigits(text, size, number, 0);
}

/* The system's words for an error, on a line of their own. */
static void AppendReason(WCHAR *text, size_t size, DWORD error)
{
    WCHAR reason[512] = {0};
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error,
                             0, reason, 512, NULL);
    while (n > 0 && (reason[n - 1] == L'\r' || reason[n - 1] == L'\n' || reason[n - 1] == L' '))
        reason[--n] = 0;
    if (n == 0) {
        wcscpy(reason, L"Error ");
        AppendNumber(reason, 512, (long long)error);
        AppendText(reason, 512, L".");
    }
    AppendText(text, size, L"\n\n");
    AppendText(text, size, reason);
}

/* A message box of the main window; gives the button pressed. */
static int Ask(const WCHAR *message, UINT buttons)
{
    HWND focus = GetFocus();
    int answer = MessageBoxW(hMainWnd, message, L"Hourwise", buttons | MB_ICONWARNING);
    if (focus && IsWindow(focus))
        SetFocus(focus);
    return answer;
}

void TellAboutFile(const WCHAR *what, DWORD error, const WCHAR *then)
{
    WCHAR message[MESSAGE_CHARS] = L"";
    AppendText(message, MESSAGE_CHARS, what);
    AppendText(message, MESSAGE_CHARS, KeptFilePath());
    AppendReason(message, MESSAGE_CHARS, error);
    AppendText(message, MESSAGE_CHARS, L"\n\n");
    AppendText(message, MESSAGE_CHARS, then);
    Ask(message, MB_OK);
}

void TellNotReadWhole(long long leftOut, DWORD readError, const WCHAR *aside, DWORD asideError)
{
    WCHAR message[MESSAGE_CHARS] = L"The list kept from the last run could not be read whole";
    if (readError) { /* what the rest of the file holds is not known */
        AppendReason(message, MESSAGE_CHARS, readError);
        AppendText(message, MESSAGE_CHARS, L"\n\n");
    } else {
        AppendText(message, MESSAGE_CHARS, L": ");
        AppendNumber(message, MESSAGE_CHARS, leftOut);
        AppendText(message, MESSAGE_CHARS,
                   leftOut == 1 ? L" line was left out. " : L" lines were left out. ");
    }
    AppendText(message, MESSAGE_CHARS, L"The entries that were read whole are shown.\n\n");
    if (asideError == 0) {
        AppendText(message, MESSAGE_CHARS, L"The file is kept aside, as it was, as\n");
        AppendText(message, MESSAGE_CHARS, aside);
    } else {
        AppendText(message, MESSAGE_CHARS, L"The file could not be kept aside, so it is left as it is in\n");
        AppendText(message, MESSAGE_CHARS, KeptFilePath());
        AppendReason(message, MESSAGE_CHARS, asideError);
        AppendText(message, MESSAGE_CHARS, L"\n\nThe list of this run is not kept.");
    }
    Ask(message, MB_OK);
}

int AskToCloseUnkept(DWORD error)
{
    WCHAR message[MESSAGE_CHARS] = L"Hourwise could not keep your list on disk in\n";
    AppendText(message, MESSAGE_CHARS, KeptFilePath());
    AppendReason(message, MESSAGE_CHARS, error);
    AppendText(message, MESSAGE_CHARS,
               L"\n\nClose anyway and lose the changes since the list was last kept?\n\n"
               L"Choose No to go on with the list as it is: print or copy it, or make a "
               L"change once the disk is free again, which keeps the whole list.");
    return Ask(message, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

int MayNumberEntries(int count, int pasted)
{
    if (EntryNumbersLeft(EntryCounter, count))
        return 1;
    WCHAR message[MESSAGE_CHARS] = L"";
    if (!pasted) {
        AppendText(message, MESSAGE_CHARS, L"This entry would be number ");
        AppendDigits(message, MESSAGE_CHARS, EntryCounter + 1LL, 1);
        AppendText(message, MESSAGE_CHARS, L", and entry numbers end at ");
        AppendDigits(message, MESSAGE_CHARS, KEPT_NUMBER_MAX, 1);
        AppendText(message, MESSAGE_CHARS, L". It was not added, and stays in the editor.");
    } else {
        AppendText(message, MESSAGE_CHARS, L"The ");
        if (count > 1) {
            AppendDigits(message, MESSAGE_CHARS, count, 1);
            AppendText(message, MESSAGE_CHARS, L" entries on the clipboard would be numbered past ");
        } else {
            AppendText(message, MESSAGE_CHARS, L"entry on the clipboard would be numbered past ");
        }
        AppendDigits(message, MESSAGE_CHARS, KEPT_NUMBER_MAX, 1);
        AppendText(message, MESSAGE_CHARS, L", where entry numbers end. Nothing was pasted.");
    }
    AppendText(message, MESSAGE_CHARS,
               L"\n\nOnce every entry is deleted, or after Clear All, entries are numbered from 1 "
               L"again.");
    Ask(message, MB_OK);
    return 0;
}
