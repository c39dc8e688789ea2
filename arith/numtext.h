/* Numbers as text: reading with the classic atof grammar, formatting with a
   fixed number of decimals, and rounding to decimals by what the text shows.
   The same on every C runtime. No windows.h here. */
#ifndef HOURWISE_NUMTEXT_H
#define HOURWISE_NUMTEXT_H

#include <stddef.h>

/* Room for any double formatted with two decimals and a width of up to 9:
   309 integer digits, sign, point, two decimals and the NUL. */
#define NUMBER_TEXT_SIZE 330

/* Reads a number with the classic atof grammar: leading white space, an
   optional sign, digits with an optional point, an optional exponent; stops at
   the first character that does not fit; no number gives 0. A number too
   large gives infinity, one too small the nearest subnormal or zero. */
double ReadNumber(const char *text);

/* Reads an integer with the classic atol grammar (blanks, sign, digits). */
long ReadLong(const char *text);

/* Formats value as printf's "%<width>.<decimals>f" would, with one rule of our
   own for every runtime: the value's decimal expansion to 17 significant
   digits is rounded to the decimals, an exact half away from zero.
   Non-finite values give "inf", "-inf" or "nan". The text is always
   terminated and never longer than capacity - 1; returns its length. */
int FormatFixed(char *buffer, size_t capacity, double value, int width, int decimals);

/* Rounds to the given decimals: nearest, an exact half (on the 17-digit
   expansion) away from zero; the value the formatted text reads back as.
   Zero comes back as +0, and so does every non-finite value, whose text
   ("inf", "-inf", "nan") holds no number. */
double RoundToDecimals(double value, int decimals);

/* One of the digits 0 to 9, in any code page. */
static inline int IsDigit(char c) { return c >= '0' && c <= '9'; }

#endif
