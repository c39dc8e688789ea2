/* Inside the kept list: the rows as the kept file's lines, shared by the
   file's reading and writing (keptlist.cpp), the changes of the list
   (keptrows.cpp) and the messages (keptnotice.cpp). The commands use the
   routines declared in app.h. */
#ifndef HOURWISE_KEPTLIST_H
#define HOURWISE_KEPTLIST_H

#include <windows.h>
#include <stddef.h>

#define KEPT_PATH_CHARS 1024

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

/* ---- what the user is told ---------------------------------------------------- */
void AppendText(WCHAR *text, size_t size, const WCHAR *more);
void AppendNumber(WCHAR *text, size_t size, long long number);
/* What happened to the kept file: what, its path, the system's reason for
   the error and what follows, in one message. */
void TellAboutFile(const WCHAR *what, DWORD error, const WCHAR *then);
/* The file read at start did not read whole: how many lines were left out,
   the reason should reading have failed (or 0), and where it was set aside
   (or the error that kept it from being set aside). */
void TellNotReadWhole(long long leftOut, DWORD readError, const WCHAR *aside, DWORD asideError);
/* The last save failed with error: whether to close all the same (Yes). */
int AskToCloseUnkept(DWORD error);

#endif
