/* The code page the program runs with, and texts cut between its characters. */
#ifndef HOURWISE_CODEPAGE_H
#define HOURWISE_CODEPAGE_H

#include "wholechars.h"

/* The encoding of the code page the program runs with. */
TextEncoding ProgramTextEncoding(void);

/* WholeCharsLength in the program's code page: the bytes of the longest
   beginning of text that holds at most maxChars whole characters in at most
   maxBytes bytes. */
size_t ProgramWholeCharsLength(const char *text, size_t length, size_t maxBytes, size_t maxChars);

#endif
