/* The kept list: the list of entries outlives the program in one file,
   %LOCALAPPDATA%\Quillfeather Systems Inc\Hourwise\Entries.txt, written after
   every change and read back at the next start.

   A save writes the whole list to a file beside it, flushes it to the disk
   and moves it over the kept file, so that a crash at any moment leaves the
   list before the change or the list after it, never a mix. The rows are
   kept here as the file's lines, changed as the list changes, so that a save
   costs a write and not a read of every cell.

   Only the first copy of the program keeps the list: a lock file in the
   kept folder, which the system lets go when the process ends however it
   ends, tells a second copy of the same user, in any session, which runs
   with a list of its own that is not kept. */

#include "app.h"
#include "keptformat.h"
#include "keptlist.h"
#include "totals.h"

#include <commctrl.h>
#include <shlobj.h>
#include <string.h>
#include <wchar.h>

#define READ_CHUNK 65536

static const WCHAR KEPT_FOLDERS[2][32] = {L"\\Quillfeather Systems Inc", L"\\Hourwise"};
static const WCHAR KEPT_NAME[] = L"\\Entries.txt";
static const WCHAR SAVE_SUFFIX[] = L".saving";
static const WCHAR LOCK_SUFFIX[] = L".lock";

static HANDLE KeptLock = INVALID_HANDLE_VALUE;
static WCHAR KeptFolder[KEPT_PATH_CHARS];   /* ...\Quillfeather Systems Inc\Hourwise */
static WCHAR KeptPath[KEPT_PATH_CHARS];     /* the folder and \Entries.txt */
static WCHAR SavePath[KEPT_PATH_CHARS];     /* the same and .saving: the next list */
static WCHAR LockPath[KEPT_PATH_CHARS];     /* the same and .lock */
static int WriteFailureTold; /* since the last save that went through */
static int SavedCounter; /* the entry counter the file holds */

/* ---- where the list is kept ------------------------------------------------- */

static int Append(WCHAR *path, const WCHAR *more)
{
    size_t have = wcslen(path), add = wcslen(more);
    if (have + add >= KEPT_PATH_CHARS)
        return 0;
    memcpy(path + have, more, (add + 1) * sizeof(WCHAR));
    return 1;
}

static int FindKeptPath(void)
{
    PWSTR local = NULL;
    int found = SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, NULL, &local));
    KeptFolder[0] = 0;
    found = found && Append(KeptFolder, local) && Append(KeptFolder, KEPT_FOLDERS[0]) &&
            Append(KeptFolder, KEPT_FOLDERS[1]);
    CoTaskMemFree(local);
    wcscpy(KeptPath, KeptFolder);
    found = found && Append(KeptPath, KEPT_NAME);
    wcscpy(SavePath, KeptPath);
    wcscpy(LockPath, KeptPath);
    return found && Append(SavePath, SAVE_SUFFIX) && Append(LockPath, LOCK_SUFFIX);
}

const WCHAR *KeptFilePath(void)
{
    return KeptPath;
}

static void NotKept(void)
{
    ListIsKept = 0;
    SetWindowTextA(hMainWnd, "Hourwise (list not kept)");
}

/* ---- writing ----------------------------------------------------------------- */

DWORD (*KeptFileFault)(void);

/* Each file operation of a save, and each read of the list at start, asks
   first whether a test has it fail. */
static int Faulted(DWORD *error)
{
    *error = KeptFileFault ? KeptFileFault() : 0;
    if (*error)
        SetLastError(*error);
    return *error != 0;
}

static int MakeFolder(const WCHAR *folder, DWORD *error)
{
    if (Faulted(error))
        return 0;
    if (CreateDirectoryW(folder, NULL) || GetLastError() == ERROR_ALREADY_EXISTS)
        return 1;
    *error = GetLastError();
    return 0;
}

/* The kept file's folder and the one above it. */
static int MakeFolders(DWORD *error)
{
    WCHAR parent[KEPT_PATH_CHARS];
    wcscpy(parent, KeptFolder);
    WCHAR *last = wcsrchr(parent, L'\\');
    if (last)
        *last = 0;
    return MakeFolder(parent, error) && MakeFolder(KeptFolder, error);
}

/* The lock: a file beside the kept one, opened without sharing for as long
   as this copy runs and deleted as it is closed, which the system does
   however the process ends. Another copy of the same user, in this session or
   any other, cannot open it: ERROR_SHARING_VIOLATION. Gives 0 when held. */
static DWORD TakeKeptLock(void)
{
    DWORD error = 0;
    for (int attempt = 0; KeptLock == INVALID_HANDLE_VALUE && attempt < 2; attempt++) {
        KeptLock = CreateFileW(LockPath, GENERIC_READ, 0, NULL, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, NULL);
        if (KeptLock != INVALID_HANDLE_VALUE)
            return 0;
        error = GetLastError();
        if (error != ERROR_PATH_NOT_FOUND || !MakeFolders(&error))
            break; /* the folders are made at the first start */
    }
    return KeptLock == INVALID_HANDLE_VALUE ? error : 0;
}

/* The file beside the kept one, made anew. */
static HANDLE MakeSaveFile(DWORD *error)
{
    if (Faulted(error))
        return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(SavePath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        *error = GetLastError();
    return file;
}

static int WriteBytes(HANDLE file, const char *bytes, size_t length, DWORD *error)
{
    while (length > 0) {
        DWORD piece = length > 0x100000 ? 0x100000 : (DWORD)length, written = 0;
        if (Faulted(error))
            return 0;
        if (!WriteFile(file, bytes, piece, &written, NULL) || written != piece) {
            *error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
            return 0;
        }
        bytes += piece;
        length -= piece;
    }
    return 1;
}

/* The list into the file beside the kept one, flushed, then moved over it.
   Gives 0 or the error that stopped it; the kept file is then untouched. */
static DWORD WriteKeptFile(void)
{
    DWORD error = 0;
    HANDLE file = MakeSaveFile(&error);
    if (error == ERROR_PATH_NOT_FOUND && MakeFolders(&error)) /* the first save, or they were removed */
        file = MakeSaveFile(&error);
    if (file == INVALID_HANDLE_VALUE)
        return error;
    char header[KEPT_LINE_SIZE];
    size_t headerLength = FormatKeptHeader(header, (long long)EntryCounter + 1);
    int written = WriteBytes(file, header, headerLength, &error) &&
                  WriteBytes(file, KeptLines, KeptLinesLength, &error) && !Faulted(&error);
    if (written && !FlushFileBuffers(file)) {
        error = GetLastError();
        written = 0;
    }
    CloseHandle(file);
    if (written && !Faulted(&error) &&
        !MoveFileExW(SavePath, KeptPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error)
        DeleteFileW(SavePath);
    return error;
}

/* Writes the list when the disk does not hold it yet; gives 0 when it does
   now, or the error that stopped the save. A copy that could not take the
   lock at start takes it first: it never writes without it. */
static DWORD Save(void)
{
    if (!ListIsKept || (!KeptListUnsaved && SavedCounter == EntryCounter))
        return 0;
    if (KeptLinesBroken || KeptLineCount != EntryRowCount())
        KeptLinesBroken = !ReadKeptLinesFromList();
    DWORD error = KeptLinesBroken ? ERROR_NOT_ENOUGH_MEMORY : TakeKeptLock();
    if (!error)
        error = WriteKeptFile();
    KeptListUnsaved = error != 0;
    if (!error) {
        SavedCounter = EntryCounter;
        WriteFailureTold = 0; /* the next failure is said again */
    }
    return error;
}

void SaveKeptList(void)
{
    DWORD error = Save();
    if (!error || WriteFailureTold)
        return; /* said once until a save goes through; each change tries again */
    WriteFailureTold = 1;
    TellAboutFile(L"Hourwise cannot keep the list of entries in\n", error,
                  L"The list stays as it is while Hourwise runs, and each change tries again to "
                  L"keep it. Print or copy it before you close Hourwise if this goes on.");
}

int MayCloseKeptList(void)
{
    DWORD error = Save(); /* one more try, in silence */
    return !error || AskToCloseUnkept(error);
}

void SaveKeptListInSilence(void)
{
    Save();
}

/* ---- reading back at start ----------------------------------------------------- */

struct Loading {
    int     shown;        /* rows put in the list */
    int     refused;      /* the list took no more rows (no memory) */
    long long notShown;   /* whole rows the list did not take */
};

/* A whole row of the file into the list, at its end, and into the lines. */
static void ShowKeptRow(void *context, const char *line, size_t length, int number)
{
    (void)number;
    Loading *loading = (Loading *)context;
    char texts[KEPT_LINE_SIZE]; /* the nine texts, each with its NUL */
    const char *cells[9];
    memcpy(texts, line, length);
    texts[length] = 0;
    cells[0] = texts;
    for (size_t i = 0, column = 1; i < length; i++)
        if (texts[i] == '\t') {
            texts[i] = 0;
            cells[column++] = texts + i + 1;
        }
    if (!loading->refused && InsertEntryRow(loading->shown, cells, 0) < 0)
        loading->refused = 1;
    if (loading->refused) {
        loading->notShown++;
        return;
    }
    KeepInsertedRows(loading->shown++, 1, texts);
}

/* Reads the kept file into the list; gives 0 with the error when it could not
   be read to its end. */
static int ReadKeptFile(HANDLE file, KeptReader *reader, Loading *loading, DWORD *error)
{
    StartKeptReader(reader, ShowKeptRow, loading);
    char *chunk = (char *)HeapAlloc(GetProcessHeap(), 0, READ_CHUNK);
    *error = chunk ? 0 : ERROR_NOT_ENOUGH_MEMORY;
    while (chunk) {
        DWORD got = 0;
        if (Faulted(error) || !ReadFile(file, chunk, READ_CHUNK, &got, NULL)) {
            *error = GetLastError();
            break;
        }
        if (got == 0)
            break;
        FeedKeptReader(reader, chunk, got);
    }
    if (chunk)
        HeapFree(GetProcessHeap(), 0, chunk);
    EndKeptReader(reader);
    return *error == 0;
}

/* A file that did not read whole is renamed beside itself, never changed:
   Entries.txt.unreadable-<date>-<time>, with -2, -3 ... should that exist. */
static DWORD SetAside(WCHAR *aside)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int parts[6] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    WCHAR stamp[20];
    int n = 0;
    for (int i = 0; i < 6; i++) {
        if (i == 3)
            stamp[n++] = L'-';
        for (int divisor = i == 0 ? 1000 : 10; divisor > 0; divisor /= 10)
            stamp[n++] = (WCHAR)(L'0' + parts[i] / divisor % 10);
    }
    stamp[n] = 0;
    DWORD error = ERROR_ALREADY_EXISTS;
    for (int attempt = 1; attempt <= 100 && error == ERROR_ALREADY_EXISTS; attempt++) {
        wcscpy(aside, KeptPath);
        if (!Append(aside, L".unreadable-") || !Append(aside, stamp))
            return ERROR_FILENAME_EXCED_RANGE;
        if (attempt > 1) {
            WCHAR suffix[24] = L"-";
            AppendNumber(suffix, 24, attempt);
            if (!Append(aside, suffix))
                return ERROR_FILENAME_EXCED_RANGE;
        }
        error = MoveFileExW(KeptPath, aside, MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
        if (error == ERROR_FILE_EXISTS)
            error = ERROR_ALREADY_EXISTS;
    }
    return error;
}

void OpenKeptList(void)
{
    ForgetKeptLines();
    KeptLinesBroken = KeptListUnsaved = WriteFailureTold = 0;
    SavedCounter = EntryCounter;
    ListIsKept = 0;
    /* without the lock for another reason than a copy that holds it (its
       folder cannot be made), the list is kept, and each save tries again */
    if (!FindKeptPath() || TakeKeptLock() == ERROR_SHARING_VIOLATION) {
        NotKept();
        return;
    }
    ListIsKept = 1;
    /* Windows opens the program again after it restarts for an update */
    RegisterApplicationRestart(L"", RESTART_NO_CRASH | RESTART_NO_HANG);

    HANDLE file = CreateFileW(KeptPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return; /* the first start */
        NotKept();
        TellAboutFile(L"The list kept from the last run cannot be opened:\n", error,
                      L"Hourwise starts with an empty list and leaves the file as it is. The list "
                      L"of this run is not kept.");
        return;
    }
    KeptReader reader;
    Loading loading = {0, 0, 0};
    DWORD readError;
    BeginQuietListChange();
    int readToEnd = ReadKeptFile(file, &reader, &loading, &readError);
    EndQuietListChange();
    CloseHandle(file);
    KeptListUnsaved = 0; /* the file holds these rows */

    EntryCounter = KeptEntryCounter(&reader);
    SavedCounter = EntryCounter;
    int rows = EntryRowCount();
    EnableWindow(hDeleteButton, rows > 0);
    if (rows > 0) {
        UpdateGrandTotal();
        SendMessageA(hEntryList, LVM_ENSUREVISIBLE, (WPARAM)(rows - 1), FALSE);
    }
    if (readToEnd && reader.nextNumber > 0 && reader.leftOut == 0 && !loading.refused)
        return;
    WCHAR aside[KEPT_PATH_CHARS];
    DWORD asideError = SetAside(aside);
    if (asideError) {
        NotKept();
    } else {
        KeptListUnsaved = 1; /* the whole rows are kept at once */
        SaveKeptList();
    }
    TellNotReadWhole(reader.leftOut + loading.notShown, readToEnd ? 0 : readError, aside, asideError);
}

void CloseKeptList(void)
{
    Save(); /* a last try as the window goes, in silence */
    ForgetKeptLines();
    if (KeptLock != INVALID_HANDLE_VALUE)
        CloseHandle(KeptLock);
    KeptLock = INVALID_HANDLE_VALUE;
    ListIsKept = 0;
}
