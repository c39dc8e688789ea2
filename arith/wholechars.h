/* Characters of the program's code page as functions of values: where a text
   can be cut without splitting a character. No windows.h here. */
#ifndef HOURWISE_WHOLECHARS_H
#define HOURWISE_WHOLECHARS_H

#include <stddef.h>

/* Room for a text of that many characters and its NUL in any code page the
   program runs with: UTF-8 takes up to 4 bytes a character. */
#define TEXT_SIZE_FOR(chars) ((chars) * 4 + 1)

/* How the bytes of a text make characters: UTF-8, or a code page whose
   double-byte characters begin with a byte of the lead ranges (none for a
   single-byte code page). */
struct TextEncoding {
    int utf8;
    unsigned char leadRanges[12];   /* first and last byte of each range; a 0, 0 pair ends them */
};

/* The length in bytes of the longest beginning of text (length bytes) that
   holds whole characters only: at most maxChars of them in at most maxBytes
   bytes. A byte that begins no whole character counts as one of its own. */
size_t WholeCharsLength(const char *text, size_t length, size_t maxBytes, size_t maxChars,
                        const TextEncoding *encoding);

#endif
