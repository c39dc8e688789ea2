/* Ctrl+V or Shift+Insert in the list of entries appends the entries of the
   clipboard's text, each as if its times had been typed and added: the table
   that Ctrl+C copies comes back, and so does a block of times from a
   spreadsheet. Lines that are no entry are left out whole and counted. */

#include "app.h"
#include "codepage.h"
#include "pastetext.h"
#include "totals.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#define QUOTE_CHARS 40

/* The clipboard's text in the program's code page, copied into a block of
   the process heap, so that the clipboard is not held while the entries are
   added; NULL when there is none or no memory. The Unicode text is taken:
   Windows makes the CF_TEXT it offers in the code page of the keyboard that
   copied, not in ours. The copy ends at the text's first NUL or at the end
   of the clipboard's block, whichever comes first. */
static char *TakeClipboardText(size_t *length, int *busy)
{
    *length = 0;
    *busy = 0;
    if (!OpenClipboardPatiently(hMainWnd)) {
        *busy = 1;
        return NULL;
    }
    char *copy = NULL;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const WCHAR *text = data ? (const WCHAR *)GlobalLock(data) : NULL;
    if (text) {
        size_t units = GlobalSize(data) / sizeof(WCHAR), n = 0;
        while (n < units && text[n] != 0)
            n++;
        /* a UTF-16 unit takes at most 3 bytes, so the byte count fits an int */
        int bytes = n > 0 && n <= INT_MAX / 3
                        ? WideCharToMultiByte(CP_ACP, 0, text, (int)n, NULL, 0, NULL, NULL)
                        : 0;
        if (n == 0 || bytes > 0)
            copy = (char *)HeapAlloc(GetProcessHeap(), 0, (size_t)bytes + 1);
        if (copy) {
            int written = bytes > 0 ? WideCharToMultiByte(CP_ACP, 0, text, (int)n, copy, bytes,
                                                          NULL, NULL)
                                    : 0;
            copy[written] = 0;
            *length = (size_t)written;
        }
        GlobalUnlock(data);
    }
    CloseClipboard();
    return copy;
}

struct PasteCount {
    int    entries;            /* counted, or with append put into the list */
    int    refused;            /* the list refused an entry: the rest were not added */
    int    leftOut;
    size_t firstLeftOut;       /* where the first line left out starts */
    size_t firstLeftOutLength;
};

/* Reads the lines of the text and counts the entries and the lines left out;
   the count stops after one entry more than a paste takes. With append, it
   instead appends each entry at the end of the list as Add makes its row,
   numbered on from EntryCounter, and stops should the list refuse one. */
static PasteCount ReadPastedLines(const char *text, size_t length, const TimeRules *rules,
                                  int append)
{
    PasteCount count = {0, 0, 0, 0, 0};
    int first = EntryRowCount();
    for (size_t start = 0, next; start < length; start = next) {
        size_t line = PasteLineLength(text, length, start, &next);
        double times[8];
        switch (ReadPasteLine(text + start, line, rules, times)) {
        case PASTE_ENTRY:
            if (append) {
                if (InsertEntryTimes(first + count.entries, EntryCounter + 1, times, 0) < 0) {
                    count.refused = 1;
                    return count;
                }
                EntryCounter++;
            }
            if (++count.entries > PASTE_MAX_ROWS)
                return count; /* one too many: nothing is pasted */
            break;
        case PASTE_LEFT_OUT:
            if (count.leftOut == 0) {
                count.firstLeftOut = start;
                count.firstLeftOutLength = line;
            }
            if (count.leftOut < INT_MAX)
                count.leftOut++;
            break;
        case PASTE_SKIPPED:
            break;
        }
    }
    return count;
}

/* A warning owned by the main window; the focus comes back to the list
   afterwards, where it was before the message box took it. */
static void Tell(const char *message)
{
    MessageBoxA(hMainWnd, message, "Hourwise", MB_OK | MB_ICONWARNING);
    SetFocus(hEntryList);
}

static void SayLinesLeftOut(const PasteCount *count, const char *text)
{
    /* the first 40 characters, never part of one; a tab or another control
       character shows as a space */
    char quote[TEXT_SIZE_FOR(QUOTE_CHARS)];
    const char *line = text + count->firstLeftOut;
    size_t n = ProgramWholeCharsLength(line, count->firstLeftOutLength, sizeof quote - 1,
                                       QUOTE_CHARS);
    for (size_t i = 0; i < n; i++)
        quote[i] = (unsigned char)line[i] < 0x20 ? ' ' : line[i];
    quote[n] = 0;
    char message[100 + sizeof quote];
    snprintf(message, sizeof message, "%d %s. The first of them:\n\n\"%s\"", count->leftOut,
             count->leftOut == 1 ? "line was left out because it holds no entry"
                                 : "lines were left out because they hold no entry",
             quote);
    Tell(message);
}

int PasteEntries(void)
{
    if (InEntryMode()) {
        MessageBeep(MB_OK);
        return 0;
    }
    size_t length;
    int busy;
    char *text = TakeClipboardText(&length, &busy);
    if (!text) {
        MessageBeep(busy ? MB_ICONWARNING : MB_OK);
        return 0;
    }
    TimeRules rules = CurrentTimeRules();
    /* counted first, so that nothing is added from a clipboard of too many */
    PasteCount count = ReadPastedLines(text, length, &rules, 0);
    if (count.entries > PASTE_MAX_ROWS) {
        HeapFree(GetProcessHeap(), 0, text);
        Tell("The clipboard holds more than 10,000 entries. Nothing was pasted: paste at "
             "most 10,000 at a time.");
        return 0;
    }
    if (!MayNumberEntries(count.entries, 1)) { /* says so; nothing is pasted */
        HeapFree(GetProcessHeap(), 0, text);
        return 0;
    }
    int refused = 0, added = 0;
    if (count.entries > 0) {
        HWND focus = GetFocus();
        int first = EntryRowCount();
        BeginListChange();
        BeginQuietListChange();
        PasteCount put = ReadPastedLines(text, length, &rules, 1);
        added = put.entries;
        if (added > 0)
            SelectOnlyRow(first + added - 1);
        EndQuietListChange();
        NoteInsertedRows(first, added);
        EndListChange();
        ShowListAfterChange(focus);
        refused = put.refused;
    }
    if (refused)
        GiveUpListHistory();
    else if (count.leftOut > 0)
        SayLinesLeftOut(&count, text);
    else if (count.entries == 0)
        MessageBeep(MB_OK);
    HeapFree(GetProcessHeap(), 0, text);
    return added;
}

int CanPasteEntries(void)
{
    if (InEntryMode() || !IsClipboardFormatAvailable(CF_UNICODETEXT))
        return 0;
    if (!OpenClipboardPatiently(hMainWnd))
        return 1; /* held elsewhere for now: Paste tries again, and beeps */
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const WCHAR *text = data ? (const WCHAR *)GlobalLock(data) : NULL;
    int some = text && GlobalSize(data) >= sizeof(WCHAR) && text[0] != 0;
    if (text)
        GlobalUnlock(data);
    CloseClipboard();
    return some;
}
