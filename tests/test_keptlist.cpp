// The kept list: what a start shows of a kept file, whole, edited, damaged,
// in the way, held elsewhere or failing to read; a save failing at (or
// killed in) any of its file operations; failures said again, and closing;
// the last entry number; a second copy; and the real program killed.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"

#include <shlobj.h>
#include <functional>
#include <map>
#include <random>
#include <string>

namespace {

class KeptList : public WindowTest {};

const char GOOD[] = "Hourwise entries\tversion 1\tnext entry 8\r\n"
                    "2\t    8.00\t   17.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\r\n"
                    "7\t   22.25\t   30.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\r\n";

const std::string TORN(GOOD, sizeof GOOD - 30);

void PutFile(const std::string &bytes) { WriteFileBytes(KeptPath(), bytes); }
HANDLE Held = INVALID_HANDLE_VALUE;

int FailingOperation, Operations;
std::vector<std::string> Snapshots; // the kept file at each file operation

DWORD FailCounted()
{
    Snapshots.push_back(FileBytes(KeptPath()));
    return ++Operations == FailingOperation ? ERROR_DISK_FULL : 0;
}

void HoldOpen()
{
    Held = CreateFileW(KeptPath().c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
}

// A damaged file set aside at a start; files under the names a file set
// aside in the next seconds would take; then another damaged file.
void SetAsideBefore()
{
    PutFile(TORN);
    DriveDialogs([] { CloseMainWindow(); StartMainWindow(); }, {{"set aside", NULL, MAIN_WINDOW_THEN, PressOk}});
    SYSTEMTIME now;
    ULARGE_INTEGER time;
    GetLocalTime(&now);
    SystemTimeToFileTime(&now, (FILETIME *)&time);
    for (int second = 0; second < 3; second++, time.QuadPart += 10000000) { // a second on
        wchar_t name[64];
        FileTimeToSystemTime((FILETIME *)&time, &now);
        swprintf(name, 64, L"\\Entries.txt.unreadable-%04d%02d%02d-%02d%02d%02d", now.wYear, now.wMonth,
                 now.wDay, now.wHour, now.wMinute, now.wSecond);
        CloseHandle(CreateFileW((KeptFolder() + name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
    }
    PutFile("Hourwise entries\tversion 1\tnext entry 8\r\nno row\r\n");
}
struct StartCase {
    const char *name;
    std::function<void()> before;   // done before the start
    const char *shown;              // entry numbers shown, then after an Add
    const char *startMessage;       // a piece of the one message at the start
    const char *title;
    const char *addMessage;         // a piece of the one message of the first Add
};

const StartCase START_CASES[] = {
    {"Whole", [] { PutFile(GOOD); }, "2,7 2,7,8", "", "Hourwise", ""},
    {"TornLine", [] { PutFile(TORN); }, "2 2,8", "1 line was left out", "Hourwise", ""},
    {"NulInACell", [] { PutFile(std::string(GOOD).insert(51, 1, '\0')); }, "7 7,8",
     "1 line was left out", "Hourwise", ""},
    {"ByteOrderMarkAndEmptyLastLines", [] { PutFile("\xEF\xBB\xBF" + std::string(GOOD) + "\r\n\n"); },
     "2,7 2,7,8", "", "Hourwise", ""},
    {"NoByteAtAll", [] { PutFile(""); }, " 1", "", "Hourwise", ""},
    {"BesideFilesSetAsideBefore", SetAsideBefore, " 8", "1 line was left out", "Hourwise", ""},
    {"ReadFails", [] { PutFile(GOOD); Operations = 0; FailingOperation = 1; KeptFileFault = FailCounted; },
     " 1", "could not be read whole\n\n", "Hourwise", ""},
    {"DamagedAndHeldOpen", [] { PutFile(TORN); HoldOpen(); }, "2 2,8", "could not be kept aside",
     "Hourwise (list not kept)", ""},
    {"RandomBytes", [] { std::string noise; std::mt19937 random(7);
                         for (int i = 0; i < 3000; i++) noise += (char)(random() % 256);
                         PutFile(noise); }, " 1", "lines were left out", "Hourwise", ""},
    {"FolderInItsPlace", [] { SHCreateDirectoryExW(NULL, KeptPath().c_str(), NULL); }, " 1",
     "cannot be opened", "Hourwise (list not kept)", ""},
    // (the copy that runs holds its folder, and is closed first)
    {"FileWhereTheFolderShouldBe", [] { CloseMainWindow(); DeleteKeptList(); WriteFileBytes(KeptFolder(), GOOD); },
     " 1", "", "Hourwise", "cannot keep the list"},
    {"HeldOpenByAnotherProgram", [] { PutFile(GOOD); HoldOpen(); },
     "2,7 2,7,8", "", "Hourwise", "cannot keep the list"},
};

class KeptStart : public KeptList, public ::testing::WithParamInterface<StartCase> {};

// The rows that read whole, the focus on New and nothing to undo; the file
// as it was, or kept aside byte for byte beside the files kept aside before;
// then two Adds, of which the first may say that the list cannot be kept and
// the second says nothing; once the file is free again, a change keeps the
// list in silence, or leaves the only copy of a file not set aside alone.
TEST_P(KeptStart, ShowsTheWholeRowsSaysSoOnceAndLosesNothing)
{
    const StartCase &c = GetParam();
    c.before();
    std::map<std::wstring, std::string> earlier; // files set aside before
    for (const std::wstring &name : KeptFolderFiles())
        earlier[name] = FileBytes(KeptFolder() + L"\\" + name);
    earlier.erase(L"Entries.txt");
    std::string bytes = FileBytes(KeptPath()), box;
    auto answer = [&](HWND dialog) { box = BoxText(dialog); PressOk(dialog); };
    if (*c.startMessage)
        DriveDialogs([&] { Restart(); }, {{c.startMessage, NULL, MAIN_WINDOW_THEN, answer}});
    else
        Restart();
    KeptFileFault = NULL;
    EXPECT_NE(std::string::npos, box.find(c.startMessage)) << box;
    std::string shown = c.shown;
    EXPECT_EQ(shown.substr(0, shown.find(' ')), EntryNumbers());
    EXPECT_EQ(std::string(c.title) + " New 0", WindowText(hMainWnd) + " " + FocusName() + " " +
                                                   std::to_string(CanUndoListChange()));
    if (strstr(c.startMessage, "left out") || strstr(c.startMessage, "read whole")) { // the file aside
        std::vector<std::wstring> files = KeptFolderFiles();
        ASSERT_EQ(2u + earlier.size(), files.size());
        std::wstring aside;
        for (const std::wstring &name : files) {
            if (earlier.count(name))
                EXPECT_EQ(earlier[name], FileBytes(KeptFolder() + L"\\" + name));
            else if (name != L"Entries.txt")
                aside = name;
        }
        EXPECT_EQ(0u, aside.find(L"Entries.txt.unreadable-"));
        EXPECT_EQ(bytes, FileBytes(KeptFolder() + L"\\" + aside));
        EXPECT_EQ(ListRows(), KeptRows());
    } else {
        EXPECT_EQ(bytes, FileBytes(KeptPath()));
    }
    box.clear();
    if (*c.addMessage)
        DriveDialogs([] { EnterRow({"1", "2"}); }, {{c.addMessage, hMainWnd, -1, answer}});
    else
        EnterRow({"1", "2"});
    EXPECT_NE(std::string::npos, box.find(c.addMessage)) << box;
    EXPECT_EQ(shown.substr(shown.find(' ') + 1), EntryNumbers());
    EnterRow({"3", "4"});
    if (Held != INVALID_HANDLE_VALUE) {
        EXPECT_EQ(bytes, FileBytes(KeptPath()));
        CloseHandle(Held);
        Held = INVALID_HANDLE_VALUE;
        EnterRow({"5", "6"});
        if (strstr(c.title, "not kept"))
            EXPECT_EQ(bytes, FileBytes(KeptPath()));
        else
            EXPECT_EQ(ListRows(), KeptRows());
    }
}

INSTANTIATE_TEST_SUITE_P(Files, KeptStart, ::testing::ValuesIn(START_CASES),
                         [](const ::testing::TestParamInfo<StartCase> &info) { return info.param.name; });

// For every n, the n-th file operation of a save fails: the kept file stays
// as it was, nothing is left beside it, the list holds the new row, and only
// the first failure says so; the first save that goes through keeps it all.
// A kill at any file operation, the move's too, leaves the kept file as it
// was before the save or as it is after it.
TEST_F(KeptList, ASaveFailingAtAnyOperationLeavesTheKeptFileAsItWas)
{
    EnterRow({"8", "17"});
    KeptFileFault = FailCounted;
    for (FailingOperation = 1;; FailingOperation++) {
        std::string before = FileBytes(KeptPath()), box;
        Operations = 0;
        Snapshots.clear();
        auto add = [] { EnterRow({"9", "10"}); };
        if (FailingOperation > 1)
            add();
        else
            DriveDialogs(add, {{"cannot keep", hMainWnd, -1, [&](HWND dialog) {
                                    box = BoxText(dialog);
                                    PressOk(dialog);
                                }}});
        EXPECT_EQ(FailingOperation + 1, RowCount());
        for (const std::string &left : Snapshots)
            EXPECT_TRUE(left == before || left == FileBytes(KeptPath())) << "killed in a save: " << left;
        if (Operations < FailingOperation)
            break; // every operation went through
        EXPECT_EQ(before, FileBytes(KeptPath())) << "operation " << FailingOperation;
        EXPECT_EQ(1u, KeptFolderFiles().size()) << "operation " << FailingOperation;
        if (FailingOperation == 1) { // with the system's reason, as Wine words it
            EXPECT_NE(std::string::npos, box.find("isk full")) << box;
        }
    }
    KeptFileFault = NULL;
    EXPECT_GT(FailingOperation, 5);
    EXPECT_EQ(ListRows(), KeptRows());
}

DWORD DiskFull() { return ERROR_DISK_FULL; }

// The first line of the message box that open shows, after those before.
void Answer(const char *name, const std::function<void()> &open, std::string *box, int button = IDOK)
{
    DriveDialogs(open, {{name, hMainWnd, -1, [=](HWND dialog) {
                             *box += BoxText(dialog).substr(0, BoxText(dialog).find('\n')) + "|";
                             PushButton(dialog, button);
                         }}});
}

// Each run of failed saves is said once; closing on a list the disk does not
// hold asks first, and No goes on with it; Windows ending the session asks
// nothing and saves once more; Yes closes and loses the rows not kept.
TEST_F(KeptList, EachRunOfFailuresIsSaidAndClosingOnAListNotKeptAsks)
{
    std::string box;
    EnterRow({"1"});
    KeptFileFault = DiskFull;
    Answer("first failure", [] { EnterRow({"2"}); }, &box);
    KeptFileFault = NULL;
    EnterRow({"3"});
    KeptFileFault = DiskFull;
    Answer("failure after a save", [] { EnterRow({"4"}); }, &box);
    EnterRow({"5"});
    Answer("close question", [] { SendMessageA(hMainWnd, WM_CLOSE, 0, 0); }, &box, IDNO);
    EXPECT_EQ("Hourwise cannot keep the list of entries in|Hourwise cannot keep the list of entries in|"
              "Hourwise could not keep your list on disk in|1,2,3,4,5 New",
              box + EntryNumbers() + " " + FocusName());
    KeptFileFault = NULL;
    EnterRow({"6"});
    EXPECT_EQ(ListRows(), KeptRows());
    KeptFileFault = DiskFull;
    Answer("failure", [] { EnterRow({"7"}); }, &box);
    EXPECT_TRUE(SendMessageA(hMainWnd, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(hMainWnd, WM_ENDSESSION, TRUE, 0); // fails, in silence
    KeptFileFault = NULL;
    SendMessageA(hMainWnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ListRows(), KeptRows());
    KeptFileFault = DiskFull;
    Answer("failure", [] { EnterRow({"8"}); }, &box);
    Answer("close question", [] { SendMessageA(hMainWnd, WM_COMMAND, IDM_EXIT, 0); }, &box, IDYES);
    KeptFileFault = NULL;
    StartMainWindow();
    EXPECT_EQ("1,2,3,4,5,6,7", EntryNumbers());
}

// At the last entry number a paste and an Add are refused, the entry left in
// the editor, and the list reads back whole.
TEST_F(KeptList, NoEntryIsNumberedPastWhatTheFileReadsBack)
{
    PutFile("Hourwise entries\tversion 1\tnext entry 1000000000" + std::string(GOOD).substr(39));
    Restart();
    std::string box, rows = ListRows();
    PutOnClipboard("8\t17\n");
    SetFocus(hEntryList);
    Answer("paste refused", [] { PressKey('V', false, true); }, &box);
    Answer("Add refused", [] { EnterRow({"8"}); }, &box);
    EXPECT_EQ("The entry on the clipboard would be numbered past 999,999,999, where entry numbers end. "
              "Nothing was pasted.|This entry would be number 1,000,000,000, and entry numbers end at "
              "999,999,999. It was not added, and stays in the editor.|" + rows + EntryStates() + " 8.00",
              box + ListRows() + EnabledStates() + " " + Trimmed(ControlText(IDC_TIMEIN1)));
    Restart();
    EXPECT_EQ(rows + rows, ListRows() + KeptRows());
}

// ---- the real program: a second copy, and kills at random moments ------------------

struct Program {
    PROCESS_INFORMATION process;
    HWND window;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM data)
{
    Program *program = (Program *)data;
    DWORD id = 0;
    char name[16] = {0};
    GetWindowThreadProcessId(window, &id);
    GetClassNameA(window, name, sizeof name);
    if (id == program->process.dwProcessId && IsWindowVisible(window) && !strcmp(name, "HOURWISE"))
        program->window = window;
    return !program->window;
}

// Hourwise.exe of this build, started, with its main window shown.
Program Start()
{
    Program program = {};
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring exe = path;
    exe = exe.substr(0, exe.rfind(L'\\', exe.rfind(L'\\') - 1)) + L"\\Hourwise.exe";
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    EXPECT_TRUE(CreateProcessW(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                               &program.process));
    for (int waited = 0; !program.window && waited < 20000; waited += 2) {
        Sleep(2);
        EnumWindows(FindWindowOf, (LPARAM)&program);
    }
    return program;
}

void Kill(Program &program)
{
    TerminateProcess(program.process.hProcess, 1);
    WaitForSingleObject(program.process.hProcess, 10000);
    CloseHandle(program.process.hProcess);
    CloseHandle(program.process.hThread);
}

// A command posted to the program: 'A' Add of the time (New and the times
// sent first), 'D' Delete, 'C' Clear All, or the list menu's Undo 'u', Redo
// 'r', Paste 'p' (of the text) and Copy 'c'.
void Post(const Program &program, char command, const std::string &text = "")
{
    HWND list = GetDlgItem(program.window, IDC_ENTRYLIST);
    if (command == 'p')
        PutOnClipboard(text);
    if (command == 'A') {
        SendMessageA(program.window, WM_COMMAND, IDC_NEW, 0);
        SendMessageA(GetDlgItem(program.window, IDC_TIMEIN1), WM_SETTEXT, 0, (LPARAM)text.c_str());
        SendMessageA(GetDlgItem(program.window, IDC_TIMEOUT1), WM_SETTEXT, 0, (LPARAM)"30");
    }
    if (command == 'A' || command == 'D' || command == 'C') {
        int id = command == 'A' ? IDC_ADD : command == 'D' ? IDC_DELETE : IDC_CLEARALL;
        PostMessageA(program.window, WM_COMMAND, (WPARAM)id, 0);
        return;
    }
    PostMessageA(list, WM_CONTEXTMENU, (WPARAM)list, MAKELPARAM(-1, -1));
    PostMessageA(list, WM_CHAR, (WPARAM)command, 1); // for the menu's own loop
}

// The table the program copies, once the commands posted before are done.
std::string Copied(const Program &program)
{
    DWORD before = GetClipboardSequenceNumber();
    Post(program, 'c');
    for (int waited = 0; waited < 10000 && GetClipboardSequenceNumber() == before; waited++)
        Sleep(1);
    return ClipboardText();
}

TEST(KeptCopies, ASecondCopyNeitherReadsNorWritesAndTheFirstKeepsItsList)
{
    DeleteKeptList();
    WriteFileBytes(KeptPath(), GOOD);
    Program first = Start();
    Copied(first); // once it runs, it has taken the list
    StartMainWindow();
    EXPECT_EQ("Hourwise (list not kept) 0", WindowText(hMainWnd) + " " + std::to_string(RowCount()));
    EnterRow({"1", "2"});
    CloseMainWindow();
    EXPECT_EQ(GOOD, FileBytes(KeptPath()));
    Post(first, 'A', "9");
    Copied(first);
    Kill(first);
    StartMainWindow();
    EXPECT_EQ("Hourwise 2,7,8", WindowText(hMainWnd) + " " + EntryNumbers());
    CloseMainWindow();
    DeleteKeptList();
    DeleteSettingsKey();
}

// The names, sizes and times of the files in the kept folder.
std::wstring FolderState()
{
    std::wstring state;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((KeptFolder() + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        state += found.cFileName + std::to_wstring(found.nFileSizeLow) +
                 std::to_wstring(found.ftLastWriteTime.dwLowDateTime);
    FindClose(search);
    return state;
}

// A random while after a change was posted: up to 8 ms, or (odd kills)
// until the first file of its save shows, and then up to 2 ms more.
void WaitAWhile(std::mt19937 &random, int kill, const std::wstring &files)
{
    if (kill % 2 == 0) {
        Sleep(random() % 8);
        return;
    }
    for (DWORD start = GetTickCount(); FolderState() == files && GetTickCount() - start < 300;) {
    }
    LARGE_INTEGER now, end, second;
    QueryPerformanceFrequency(&second);
    QueryPerformanceCounter(&end);
    end.QuadPart += second.QuadPart * (random() % 2000) / 1000000;
    do
        QueryPerformanceCounter(&now);
    while (now.QuadPart < end.QuadPart);
}

// A random session of the real program, killed 50 times in a change: started
// again, it shows the list after the last change done or after the one it
// was killed in. That second list is first made by doing the change and
// taking it back, which leaves the program as it was. After Clear All, the
// next start numbers from 1 again.
TEST(KeptCrash, KilledAtAnyMomentComesBackBeforeOrAfterTheChange)
{
    unsigned seed = GetTickCount();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    DeleteKeptList();
    Program program = Start();
    std::string now = Copied(program);
    const char COMMANDS[] = "AAAAADDCppuur";
    for (int kill = 0; kill < 50 && !HasFailure(); kill++) {
        char command = 0;
        std::string text, before;
        for (int done = -1 - (int)(random() % 3); done < 0; done++) {
            command = COMMANDS[random() % (sizeof COMMANDS - 1)];
            text = std::to_string(random() % 24) + "." + std::to_string(random() % 100);
            for (int rows = command == 'p' ? (int)(random() % 200) : 0; rows > 0; rows--)
                text += "\n" + std::to_string(random() % 12) + "\t" + std::to_string(13 + random() % 11);
            before = now;
            Post(program, command, text);
            now = Copied(program);
        }
        std::string after = now;
        if (after != before) {
            Post(program, command == 'u' ? 'r' : 'u');
            ASSERT_EQ(before, Copied(program)) << command << " taken back";
        }
        std::wstring files = FolderState();
        Post(program, command, text);
        WaitAWhile(random, kill, files);
        Kill(program);
        program = Start();
        now = Copied(program);
        EXPECT_TRUE(now == before || now == after) << "killed in " << command << " at kill " << kill;
    }
    Post(program, 'C');
    Copied(program);
    Kill(program);
    program = Start();
    Post(program, 'A', "1");
    std::string table = Copied(program);
    EXPECT_EQ("\r\n1\t", table.substr(table.find("Hours") + 5, 4)) << table;
    EXPECT_EQ(1u, KeptFolderFiles().size()) << "a leftover file beside the kept one";
    Kill(program);
    DeleteKeptList();
    DeleteSettingsKey();
}

} // namespace
