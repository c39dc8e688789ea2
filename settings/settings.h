/* The preference record and the pure helpers around it (no windows.h, so the
   arithmetic that reads it also builds natively). */
#ifndef HOURWISE_SETTINGS_H
#define HOURWISE_SETTINGS_H

#include "pay.h"
#include "wholechars.h"

#include <stddef.h>

/* The texts are limited in characters; their fields hold that many in any
   code page (up to 4 bytes each in UTF-8) and the terminating NUL. */
#define CUSTNAME_CHARS    50
#define ROUNDAMOUNT_CHARS 3
#define CUSTNAME_SIZE    TEXT_SIZE_FOR(CUSTNAME_CHARS)
#define ROUNDAMOUNT_SIZE TEXT_SIZE_FOR(ROUNDAMOUNT_CHARS)

struct AppSettingsRecord {
    int    Operator1;          /* mode of '*': 1 minutes, 2 hours and minutes, 3 hours */
    int    Operator2;          /* mode of '-': 4, 5, 6 */
    int    Operator3;          /* mode of '+': 7, 8, 9 */
    char   CustName[CUSTNAME_SIZE];
    int    RoundType;          /* 1 both ways, 2 down only, 3 up only */
    char   RoundAmount[ROUNDAMOUNT_SIZE];
    double RoundAmountValue;   /* the step in hours read from RoundAmount */
};

extern AppSettingsRecord AppSettings;

/* The rules of the pay summary, as the registry holds them (the defaults
   until they are read). */
extern PayRules CurrentPayRules;

/* The step that a typed round amount stands for: the number the text reads
   as, or 0 (no step rounding) when that number is negative or not finite. */
double StepFromRoundAmount(const char *text);

/* Copies a text read from the registry into a field of the given capacity.
   count is the byte count the query returned, its terminating NUL included;
   the copy stops at a NUL, never writes past capacity - 1 characters and
   always terminates the field. A longer text is cut to the field. */
void CopyRegistryText(char *dest, size_t capacity, const char *src, unsigned long count);

#endif
