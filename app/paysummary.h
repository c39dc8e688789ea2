/* The pay summary of the week in the main window, and money in the user's
   currency format. The figures come from arith/pay.h. */
#ifndef HOURWISE_PAYSUMMARY_H
#define HOURWISE_PAYSUMMARY_H

#include <windows.h>

#include "pay.h"

/* The labels of the summary's lines, as the window and the copy show them. */
extern const char *const PAY_LINE_LABELS[4];   /* Regular, Overtime, Double time, Gross pay */

/* Room for any amount in any currency format, with its NUL. */
#define MONEY_TEXT_UNITS 96

/* Money in the user's currency format ("$1,275.00" in the United States):
   cents, or a rate in ten-thousandths with as many decimals as it has (2 to
   4); PAY_TOO_LARGE_TEXT for PAY_TOO_LARGE. Never fewer decimals than the
   amount has, whatever the locale's own. Returns the length. */
int FormatPayMoney(WCHAR *text, int units, long long cents);
int FormatRateMoney(WCHAR *text, int units, long long rate);

/* The "8 days: counted as one week" of more entries than a week has days;
   "" for a week. */
#define PAY_NOTE_SIZE 64
void FormatPayNote(char *text, size_t size, long days);

/* The statics of the summary, their labels and the note, made once under the
   entry editor as the main window is built; none takes the focus. */
void MakePaySummary(void);
/* Shows a summary; EmptyPaySummary empties it, as Clear All empties the
   grand total. */
void ShowPaySummary(const PaySummary *summary);
void EmptyPaySummary(void);
/* The summary of a list with no row, by the rules now in force. */
void ShowPaySummaryOfNoDays(void);

#endif
