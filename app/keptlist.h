/* Inside the kept list: the rows as the kept file's lines, shared by the
   file's reading and writing (keptlist.cpp) and the changes of the list
   (keptrows.cpp). The commands use the routines declared in app.h. */
#ifndef HOURWISE_KEPTLIST_H
#define HOURWISE_KEPTLIST_H

#include <windows.h>
#include <stddef.h>

/* Whether this run keeps the list (the first copy, with a file it may use). */
extern int ListIsKept;

/* The row lines one after the other, each with its CR LF, in one block of the
   process heap: exactly the kept file's bytes after its first line. */
extern char *KeptLines;
extern size_t KeptLinesLength;
extern int KeptLineCount;
/* Memory ran out while they were changed: they are read again from the list. */
extern int KeptLinesBroken;
/* The list has changed since it was last written. */
extern int KeptListUnsaved;

/* The kept file's path, once OpenKeptList has found it ("" before). */
const WCHAR *KeptFilePath(void);

void ForgetKeptLines(void);
/* Puts a line (with its CR LF) in as row position; 0 when there is no memory. */
int InsertKeptLine(int position, const char *line, size_t length);
/* The lines read again from the whole list; 0 when there is no memory. */
int ReadKeptLinesFromList(void);

#endif
