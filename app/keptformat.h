/* The file that keeps the list of entries between runs, as functions of
   values: the lines the program writes, and a reader that takes back only
   whole rows as the list shows them. No windows.h here.

   The file is text: a first line that names the format, its version and the
   number the next Add gives, then one line a row, the row's nine texts
   separated by tabs. Every line ends with CR LF.

   What an editor may do to the file and loses no row is read in silence: a
   byte-order mark before the first line, empty lines at its end, LF alone
   for a line end, and a file of no line at all (an empty list). */
#ifndef HOURWISE_KEPTFORMAT_H
#define HOURWISE_KEPTFORMAT_H

#include <stddef.h>

#define KEPT_FORMAT_NAME "Hourwise entries\tversion 1\tnext entry "
/* The longest text of a cell that a row of the list holds: the number, or
   a time such as "-99999999.00". Longer cells are no row of ours. */
#define KEPT_CELL_CHARS 15
/* Room for the longest line the reader takes, its line end and a NUL. */
#define KEPT_LINE_SIZE (9 * (KEPT_CELL_CHARS + 1) + 3)
/* The largest entry number read (the next number may be one more): far
   beyond any list, and far enough below the largest int that the entry
   counter never overflows. */
#define KEPT_NUMBER_MAX 999999999

/* Whether count more entries can be numbered on from the entry counter, so
   that every number the program gives is one its file reads back. */
int EntryNumbersLeft(long long counter, long long count);

/* The first line, with its CR LF, for the next entry number (which is the
   entry counter plus one); gives its length. line has KEPT_LINE_SIZE bytes. */
size_t FormatKeptHeader(char *line, long long nextNumber);

/* Whether the line (length bytes, without its line end) is a row as the list
   shows it: an entry number from 1 to KEPT_NUMBER_MAX written as "%d", then eight
   times each written as "%8.2f" writes the hours it reads back as, each of
   which the totals read back whole, all separated by single tabs. Gives the
   entry number, or 0 when it is no such row. */
int ReadKeptRow(const char *line, size_t length);

/* The whole rows of a kept file, fed in pieces of any size. */
typedef void (*KeptRowFound)(void *context, const char *line, size_t length, int number);
struct KeptReader {
    char      line[KEPT_LINE_SIZE + 3]; /* a row, or the first line with a byte-order mark */
    size_t    length;        /* bytes of the line held so far */
    int       overlong;      /* the line has more bytes than a row can have */
    int       started;       /* a line has ended: a byte-order mark is no more */
    int       firstLine;     /* the next line that is not empty is the first */
    long long emptyLines;    /* empty lines since the last one that was not */
    long long nextNumber;    /* from the first line; 0 when it was not the format's,
                                1 for a file of empty lines alone */
    long long rows;          /* whole rows found */
    long long leftOut;       /* lines that are not read */
    int       largestNumber; /* the largest entry number among the rows */
    KeptRowFound found;
    void     *context;
};
void StartKeptReader(KeptReader *reader, KeptRowFound found, void *context);
void FeedKeptReader(KeptReader *reader, const char *bytes, size_t count);
/* The end of the file: a last line without its line end is torn, and not
   read; empty lines at the end do not count; a file without its first line
   counts that line as left out, unless it holds no line at all. */
void EndKeptReader(KeptReader *reader);

/* The entry counter after a read: the next number less one, never less than
   the largest entry number or the count of rows read, so that Add numbers on
   above every row and appends at the end; at most KEPT_NUMBER_MAX. */
int KeptEntryCounter(const KeptReader *reader);

#endif
