/* Ctrl+C or Ctrl+Insert in the list of entries puts the whole list on the
   clipboard as text for a spreadsheet or a payroll system: a line of column
   heads, one line a row with the row's hours, a Total line and the lines of
   the pay summary; cells are separated by a tab and lines end with CR LF.
   The list is only read. */

#include "app.h"
#include "paysummary.h"
#include "settings.h"
#include "timecalc.h"
#include "totals.h"

#include <commctrl.h>

static const char *const COPY_HEADS[10] = {"Entry",     "Time In 1",  "Time Out 1", "Time In 2",
                                           "Time Out 2", "Time In 3", "Time Out 3", "Time In 4",
                                           "Time Out 4", "Hours"};

/* The copied text. With no buffer it only counts, so that a first pass can
   measure the block a second pass fills; a write never passes capacity. */
struct TableText {
    char  *buffer;
    size_t capacity;
    size_t length;
};

static void PutChar(TableText *table, char c)
{
    if (table->buffer && table->length < table->capacity)
        table->buffer[table->length] = c;
    table->length++;
}

static void PutText(TableText *table, const char *text)
{
    while (*text)
        PutChar(table, *text++);
}

/* A cell without its leading blanks; a control character in it (a foreign
   cell) becomes a space, so that it cannot split a cell or a line. */
static void PutCell(TableText *table, const char *text)
{
    while (*text == ' ')
        text++;
    for (; *text; text++)
        PutChar(table, (unsigned char)*text < 0x20 ? ' ' : *text);
}

static void PutHours(TableText *table, double hours)
{
    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, hours, 0, 2);
    PutText(table, text);
}

static void PutLineEnd(TableText *table)
{
    PutText(table, "\r\n");
}

/* A line of the label and a value in the Hours column, such as the Total
   line; the pay summary's values are plain numbers (1275.00) too. */
static void PutSummaryLine(TableText *table, const char *label, const char *value)
{
    PutText(table, label);
    for (int column = 1; column <= 9; column++)
        PutChar(table, '\t');
    PutText(table, value);
    PutLineEnd(table);
}

static void PutPaySummary(TableText *table, const PaySummary *summary)
{
    const long long values[4] = {summary->Regular, summary->Overtime, summary->DoubleTime,
                                 summary->GrossPay};
    for (int line = 0; line < (summary->HasPay ? 4 : 3); line++) {
        char text[PAY_TEXT_SIZE];
        FormatHundredths(text, sizeof text, values[line], 0);
        PutSummaryLine(table, PAY_LINE_LABELS[line], text);
    }
}

/* Writes (or measures) the whole table: the cells as the list shows them, the
   hours of each row and the total by the same reads and rule as the grand
   total. */
static void WriteEntryTable(HWND list, TableText *table)
{
    for (int column = 0; column < 10; column++) {
        if (column > 0)
            PutChar(table, '\t');
        PutText(table, COPY_HEADS[column]);
    }
    PutLineEnd(table);

    double total = 0.0;
    PayWeek week;
    BeginPayWeek(&week, &CurrentPayRules);
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; row++) {
        for (int column = 0; column <= 8; column++) {
            char cell[NUMBER_TEXT_SIZE]; /* room for any number a cell is given */
            ReadCellText(list, row, column, cell, (int)sizeof cell);
            PutCell(table, cell);
            PutChar(table, '\t');
        }
        double hours = EntryHours(list, row);
        total += hours;
        AddPayDay(&week, HoursInHundredths(hours));
        PutHours(table, hours);
        PutLineEnd(table);
    }

    char text[NUMBER_TEXT_SIZE];
    FormatFixed(text, sizeof text, total, 0, 2);
    PutSummaryLine(table, "Total", text);
    PaySummary summary;
    EndPayWeek(&week, &summary);
    PutPaySummary(table, &summary);
}

/* The clipboard may be held by another program for a moment. */
int OpenClipboardPatiently(HWND owner)
{
    for (int attempt = 0; attempt < 25; attempt++) {
        if (OpenClipboard(owner))
            return 1;
        Sleep(10);
    }
    return 0;
}

int CopyEntryList(HWND list)
{
    TableText table = {NULL, 0, 0};
    WriteEntryTable(list, &table);
    size_t size = table.length + 1;

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    char *text = block ? (char *)GlobalLock(block) : NULL;
    if (!text) {
        if (block)
            GlobalFree(block);
        MessageBeep(MB_ICONWARNING);
        return 0;
    }
    /* The second pass is bounded by the first one's measure, should the list
       have changed in between. */
    table.buffer = text;
    table.capacity = size - 1;
    table.length = 0;
    WriteEntryTable(list, &table);
    text[table.length < size - 1 ? table.length : size - 1] = 0;
    GlobalUnlock(block);

    if (!OpenClipboardPatiently(hMainWnd)) {
        GlobalFree(block);
        MessageBeep(MB_ICONWARNING);
        return 0;
    }
    /* Emptying the clipboard makes this window its owner, which setting the
       text needs: should that then fail, the earlier content is gone. */
    int copied = EmptyClipboard() && SetClipboardData(CF_TEXT, block) != NULL;
    CloseClipboard();
    if (!copied) {
        GlobalFree(block);
        MessageBeep(MB_ICONWARNING);
        return 0;
    }
    return 1; /* the clipboard owns the block now */
}
