// Drives an installed or built Hourwise.exe from outside, under Wine, for the
// installer test and for the pictures of the user guide:
//   hourwise_driver run <file.lnk|Hourwise.exe>  starts the program (a
//       shortcut's target), waits for its visible main window, closes it with
//       WM_CLOSE; exits with 0 when all that happened and the program ended with 0;
//   hourwise_driver target <file.lnk>  prints the shortcut's target;
//   hourwise_driver version <file.exe>  prints the fixed file version (a.b.c.d);
//   hourwise_driver guide <Hourwise.exe> <folder>  fills in the preferences,
//       two entries and a third one being typed, and prints a timesheet; at each
//       picture it prints "SHOT <name> <window title>" and waits until
//       <folder>\<name>.done exists.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include "resource.h"

static bool ShortcutTarget(const wchar_t *link, wchar_t *target, int capacity)
{
    bool found = false;
    IShellLinkW *shell = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                (void **)&shell)))
        return false;
    IPersistFile *file = NULL;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, (void **)&file))) {
        if (SUCCEEDED(file->Load(link, STGM_READ)) &&
            shell->GetPath(target, capacity, NULL, SLGP_RAWPATH) == S_OK)
            found = true;
        file->Release();
    }
    shell->Release();
    return found;
}

struct Search {
    DWORD process;
    HWND window;
};

static BOOL CALLBACK FindMainWindow(HWND window, LPARAM data)
{
    Search *search = (Search *)data;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[32] = {0}, title[32] = {0};
    GetClassNameW(window, name, 31);
    GetWindowTextW(window, title, 31);
    if (process == search->process && IsWindowVisible(window) && wcscmp(name, L"HOURWISE") == 0 &&
        wcscmp(title, L"Hourwise") == 0) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

// Starts the program and waits up to a minute for its visible main window.
static HWND Start(const wchar_t *target, PROCESS_INFORMATION *process)
{
    wchar_t command[MAX_PATH + 3];
    _snwprintf(command, MAX_PATH + 3, L"\"%ls\"", target);
    command[MAX_PATH + 2] = 0;
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessW(target, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, process)) {
        fprintf(stderr, "could not start %ls (error %lu)\n", target, GetLastError());
        process->hProcess = NULL;
        return NULL;
    }
    Search search = {process->dwProcessId, NULL};
    for (int waited = 0; !search.window && waited < 60000; waited += 100) {
        if (WaitForSingleObject(process->hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(FindMainWindow, (LPARAM)&search);
    }
    if (!search.window)
        fprintf(stderr, "no visible main window \"Hourwise\" appeared\n");
    return search.window;
}

// Closes the main window (when there is one) and returns the program's exit
// code, or -1 when it did not end.
static long Finish(PROCESS_INFORMATION *process, HWND window)
{
    if (!process->hProcess)
        return -1;
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    long result = -1;
    DWORD code = 0;
    if (window && WaitForSingleObject(process->hProcess, 30000) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process->hProcess, &code))
        result = (long)code;
    else
        TerminateProcess(process->hProcess, 99);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    return result;
}

static int Run(const wchar_t *path)
{
    wchar_t target[MAX_PATH] = {0};
    size_t length = wcslen(path);
    if (length > 4 && _wcsicmp(path + length - 4, L".lnk") == 0) {
        if (!ShortcutTarget(path, target, MAX_PATH)) {
            fprintf(stderr, "no target in the shortcut\n");
            return 2;
        }
    } else if (length < MAX_PATH) {
        wcscpy(target, path);
    }
    printf("starting %ls\n", target);
    PROCESS_INFORMATION process;
    HWND window = Start(target, &process);
    if (window)
        printf("main window shown; closing it\n");
    long code = Finish(&process, window);
    printf("exit code %ld\n", code);
    return window && code == 0 ? 0 : 3;
}

// ---- the pictures of the user guide ----------------------------------------------------

static HWND FocusOf(HWND window)
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
    return info.hwndFocus;
}

static bool WaitFor(bool (*done)(HWND, int), HWND window, int id)
{
    for (int waited = 0; waited < 20000; waited += 50) {
        if (done(window, id))
            return true;
        Sleep(50);
    }
    return false;
}

static bool FocusIs(HWND window, int id) { return FocusOf(window) == GetDlgItem(window, id); }
static bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != 0; }

// The visible dialog that the window owns, found by its class as the tests do.
static HWND FindDialog(HWND owner)
{
    for (int waited = 0; waited < 20000; waited += 50) {
        HWND found = NULL;
        while ((found = FindWindowExW(NULL, found, L"#32770", NULL)) != NULL)
            if (IsWindowVisible(found) && GetWindow(found, GW_OWNER) == owner)
                return found;
        Sleep(50);
    }
    fprintf(stderr, "no dialog owned by the window appeared\n");
    return NULL;
}

static void Command(HWND window, int id)
{
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
}

static const wchar_t *SyncFolder;

// Lets the script take the picture of a window and waits until it has.
static bool Shot(const char *name, const char *title)
{
    Sleep(700); // painting done
    printf("SHOT %s %s\n", name, title);
    wchar_t done[MAX_PATH];
    _snwprintf(done, MAX_PATH, L"%ls\\%hs.done", SyncFolder, name);
    done[MAX_PATH - 1] = 0;
    for (int waited = 0; waited < 60000; waited += 100) {
        if (GetFileAttributesW(done) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(100);
    }
    fprintf(stderr, "no picture of %s was taken\n", name);
    return false;
}

// Types one entry the way a user does: New, then each time and Tab.
static bool TypeEntry(HWND main, const wchar_t *const times[8], int count, bool add)
{
    Command(main, IDC_NEW);
    if (!WaitFor(FocusIs, main, IDC_TIMEIN1))
        return false;
    if (count < 8) { // an entry typed from empty fields: Clear, then New again
        Command(main, IDC_CLEAR);
        if (!WaitFor(Enabled, main, IDC_NEW))
            return false;
        Command(main, IDC_NEW);
        if (!WaitFor(FocusIs, main, IDC_TIMEIN1))
            return false;
    }
    for (int i = 0; i < count; i++) {
        HWND field = GetDlgItem(main, IDC_TIMEIN1 + i);
        SendMessageW(field, WM_SETTEXT, 0, (LPARAM)times[i]);
        PostMessageW(field, WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostMessageW(field, WM_KEYUP, VK_TAB, 0xC00F0001);
        if (i < 7 && !WaitFor(FocusIs, main, IDC_TIMEIN1 + 1 + i))
            return false;
    }
    Sleep(200);
    if (add) {
        if (!WaitFor(Enabled, main, IDC_ADD))
            return false;
        Command(main, IDC_ADD);
        Sleep(300);
    }
    return true;
}

static int Guide(const wchar_t *exe)
{
    PROCESS_INFORMATION process;
    HWND main = Start(exe, &process);
    bool ok = main != NULL;

    if (ok) { // Preferences: the company name for the timesheet's header
        Command(main, IDC_PREFERENCES);
        HWND dialog = FindDialog(main);
        ok = dialog != NULL;
        if (ok) {
            SendMessageW(GetDlgItem(dialog, IDC_COMPANYNAME), WM_SETTEXT, 0, (LPARAM)L"Example Company Ltd");
            ok = Shot("preferences", "Hourwise Preferences");
            Command(dialog, IDOK);
        }
    }
    const wchar_t *const monday[8] = {L"8", L"12*15", L"12*45", L"5-15", L"", L"", L"", L""};
    const wchar_t *const tuesday[8] = {L"7*50", L"11*30", L"12-00", L"4-40", L"5-30", L"7-00", L"", L""};
    const wchar_t *const wednesday[8] = {L"8*05", L"12*00", L"12*30", L"4-30", L"", L"", L"", L""};
    ok = ok && TypeEntry(main, monday, 8, true) && TypeEntry(main, tuesday, 8, true) &&
         TypeEntry(main, wednesday, 4, false);
    ok = ok && Shot("main-window", "Hourwise");
    if (ok) { // Clear the unfinished entry, then print the two entries
        Command(main, IDC_CLEAR);
        Command(main, IDC_PRINT);
        HWND dialog = FindDialog(main);
        ok = dialog != NULL;
        if (ok) {
            SendMessageW(GetDlgItem(dialog, IDC_EMPLOYEEID), WM_SETTEXT, 0, (LPARAM)L"E-1047");
            SendMessageW(GetDlgItem(dialog, IDC_EMPLOYEENAME), WM_SETTEXT, 0, (LPARAM)L"Alex Example");
            SendMessageW(GetDlgItem(dialog, IDC_PERIODENDDATE), WM_SETTEXT, 0, (LPARAM)L"03/15/2026");
            ok = Shot("print-dialog", "Print Timesheet");
            Command(dialog, IDOK);
            HWND setup = ok ? FindDialog(dialog) : NULL;
            ok = setup != NULL;
            if (ok)
                Command(setup, IDOK);
            for (int waited = 0; ok && IsWindow(dialog) && waited < 60000; waited += 100)
                Sleep(100);
            ok = ok && !IsWindow(dialog);
            if (ok)
                printf("PRINTED\n");
        }
    }
    long code = Finish(&process, main);
    return ok && code == 0 ? 0 : 4;
}

static int PrintVersion(const wchar_t *path)
{
    HMODULE module = LoadLibraryExW(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)) : NULL;
    HGLOBAL data = found ? LoadResource(module, found) : NULL;
    const BYTE *bytes = data ? (const BYTE *)LockResource(data) : NULL;
    DWORD size = found ? SizeofResource(module, found) : 0;
    for (DWORD at = 0; bytes && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO info;
        memcpy(&info, bytes + at, sizeof info);
        if (info.dwSignature == 0xFEEF04BD) {
            printf("%u.%u.%u.%u\n", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
                   HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
            return 0;
        }
    }
    fprintf(stderr, "no version resource\n");
    return 2;
}

int main()
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3 || (wcscmp(argv[1], L"guide") == 0 && argc != 4)) {
        fprintf(stderr, "usage: hourwise_driver run|target|version <file> | guide <exe> <folder>\n");
        return 1;
    }
    CoInitialize(NULL);
    int result = 1;
    if (wcscmp(argv[1], L"run") == 0) {
        result = Run(argv[2]);
    } else if (wcscmp(argv[1], L"target") == 0) {
        wchar_t target[MAX_PATH] = {0};
        result = ShortcutTarget(argv[2], target, MAX_PATH) ? 0 : 2;
        if (result == 0)
            printf("%ls\n", target);
    } else if (wcscmp(argv[1], L"version") == 0) {
        result = PrintVersion(argv[2]);
    } else if (wcscmp(argv[1], L"guide") == 0) {
        SyncFolder = argv[3];
        result = Guide(argv[2]);
    }
    CoUninitialize();
    LocalFree(argv);
    return result;
}
