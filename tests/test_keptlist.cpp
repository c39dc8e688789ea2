// The kept list: the list comes back as it was left; a save that fails at
// any of its file operations leaves the kept file as it was; a kept file
// that cannot be read, or cannot be written, or a second copy; and the real
// program killed at random moments of a random session.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"

#include <shlobj.h>
#include <algorithm>
#include <commctrl.h>
#include <functional>
#include <random>
#include <string>

namespace {

class KeptList : public WindowTest {};

TEST_F(KeptList, ComesBackAsItWasLeftAndClearAllMakesTheNextStartAFirstOne)
{
    EnterRow({"8", "17"});
    EnterRow({"9", "12.5"});
    EnterRow({"7.25", "16", "16.5", "18"});
    ClickRow(1);
    Click(hDeleteButton);
    CopyEntryList(hEntryList);
    std::string table = ClipboardText(), rows = ListRows();
    Restart();
    EXPECT_EQ(rows, ListRows());
    EXPECT_EQ("1,3", EntryNumbers());
    EXPECT_EQ("   19.25", ControlText(IDC_GRANDTOTAL));
    EXPECT_EQ(IdleStates(true) + " New", EnabledStates() + " " + FocusName());
    EXPECT_FALSE(CanUndoListChange());
    CopyEntryList(hEntryList);
    EXPECT_EQ(table, ClipboardText());
    EnterRow({"1", "2"});
    EXPECT_EQ("1,3,4", EntryNumbers());

    Click(hClearAllButton);
    Restart();
    EXPECT_EQ(0, RowCount());
    EnterRow({"1", "2"});
    EXPECT_EQ("1", EntryNumbers());
}

// ---- a save that fails ---------------------------------------------------------

int FailingOperation, Operations;

DWORD FailCounted()
{
    return ++Operations == FailingOperation ? ERROR_DISK_FULL : 0;
}

// For every n, the n-th file operation of a save fails: the kept file stays
// as it was and nothing is left beside it, the list holds the new row, the
// first failure says so and later ones do not; the first save that goes
// through keeps the whole list.
TEST_F(KeptList, ASaveFailingAtAnyOperationLeavesTheKeptFileAsItWas)
{
    EnterRow({"8", "17"});
    KeptFileFault = FailCounted;
    for (FailingOperation = 1;; FailingOperation++) {
        std::string before = FileBytes(KeptPath()), box;
        Operations = 0;
        auto add = [] { EnterRow({"9", "10"}); };
        if (FailingOperation > 1)
            add();
        else
            DriveDialogs(add, {{"cannot keep", hMainWnd, -1, [&](HWND dialog) {
                                    box = BoxText(dialog);
                                    PressOk(dialog);
                                }}});
        EXPECT_EQ(FailingOperation + 1, RowCount());
        if (Operations < FailingOperation)
            break; // every operation went through
        EXPECT_EQ(before, FileBytes(KeptPath())) << "operation " << FailingOperation;
        EXPECT_EQ(1u, KeptFolderFiles().size()) << "operation " << FailingOperation;
        if (FailingOperation == 1) {
            EXPECT_NE(std::string::npos, box.find("cannot keep the list")) << box;
            EXPECT_NE(std::string::npos, box.find("isk full")) << box; // the reason, as Wine says it
        }
    }
    KeptFileFault = NULL;
    EXPECT_GT(FailingOperation, 5);
    EXPECT_EQ(ListRows(), KeptRows());
}

// ---- files that cannot be read or written, and a second copy ------------------------

const char GOOD[] = "Hourwise entries\tversion 1\tnext entry 8\r\n"
                    "2\t    8.00\t   17.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\r\n"
                    "7\t   22.25\t   30.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\t    0.00\r\n";

struct StartCase {
    const char *name;
    std::function<void()> before;   // done before the start
    const char *numbers;            // the rows shown
    const char *startMessage;       // a piece of the one message at the start
    const char *title;
    const char *afterAdd;           // a piece of the one message of the first Add
};

void PutFile(const std::string &bytes) { WriteFileBytes(KeptPath(), bytes); }

HANDLE Held = INVALID_HANDLE_VALUE;

const StartCase START_CASES[] = {
    {"TornLine", [] { PutFile(std::string(GOOD, sizeof GOOD - 30)); }, "2",
     "1 line was left out", "Hourwise", ""},
    {"RandomBytes", [] { std::string noise; std::mt19937 random(7);
                         for (int i = 0; i < 3000; i++) noise += (char)(random() % 256);
                         PutFile(noise); }, "", "lines were left out", "Hourwise", ""},
    {"FolderInItsPlace", [] { SHCreateDirectoryExW(NULL, KeptPath().c_str(), NULL); }, "",
     "cannot be opened", "Hourwise (list not kept)", ""},
    {"FileWhereTheFolderShouldBe", [] { WriteFileBytes(KeptFolder(), GOOD); },
     "", "", "Hourwise", "cannot keep the list"},
    {"HeldOpenByAnotherProgram", [] { PutFile(GOOD); Held = CreateFileW(KeptPath().c_str(), GENERIC_READ,
                                       FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL); },
     "2,7", "", "Hourwise", "cannot keep the list"},
};

class KeptStart : public KeptList, public ::testing::WithParamInterface<StartCase> {};

// What the start shows and says; the file as it was, or kept aside byte for
// byte; then two Adds: the first may say the list cannot be kept, the second
// says nothing, and once the file is free again a change keeps it silently.
TEST_P(KeptStart, ShowsTheWholeRowsSaysSoOnceAndLosesNothing)
{
    const StartCase &c = GetParam();
    c.before();
    std::string bytes = FileBytes(KeptPath()), box;
    auto answer = [&](HWND dialog) { box = BoxText(dialog); PressOk(dialog); };
    if (*c.startMessage)
        DriveDialogs([&] { Restart(); }, {{c.startMessage, NULL, MAIN_WINDOW_THEN, answer}});
    else
        Restart();
    EXPECT_NE(std::string::npos, box.find(c.startMessage)) << box;
    EXPECT_EQ(c.numbers, EntryNumbers());
    EXPECT_EQ(c.title, WindowText(hMainWnd));
    if (strstr(c.startMessage, "left out")) { // the whole rows kept, the file aside
        std::vector<std::wstring> files = KeptFolderFiles();
        ASSERT_EQ(2u, files.size());
        std::wstring aside = files[files[0] == L"Entries.txt" ? 1 : 0];
        EXPECT_EQ(0u, aside.find(L"Entries.txt.unreadable-"));
        EXPECT_EQ(bytes, FileBytes(KeptFolder() + L"\\" + aside));
        EXPECT_EQ(ListRows(), KeptRows());
    } else {
        EXPECT_EQ(bytes, FileBytes(KeptPath()));
    }
    box.clear();
    if (*c.afterAdd)
        DriveDialogs([] { EnterRow({"1", "2"}); }, {{c.afterAdd, hMainWnd, -1, answer}});
    else
        EnterRow({"1", "2"});
    EXPECT_NE(std::string::npos, box.find(c.afterAdd)) << box;
    EnterRow({"3", "4"});
    if (Held != INVALID_HANDLE_VALUE) {
        EXPECT_EQ(bytes, FileBytes(KeptPath()));
        CloseHandle(Held);
        Held = INVALID_HANDLE_VALUE;
        EnterRow({"5", "6"});
        EXPECT_EQ(ListRows(), KeptRows());
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, KeptStart, ::testing::ValuesIn(START_CASES),
                         [](const ::testing::TestParamInfo<StartCase> &info) { return info.param.name; });

// ---- the real program, a second copy, and kills at random moments --------------------

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

// Hourwise.exe of this build, started; its main window once shown.
Program Start()
{
    Program program = {};
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring exe = path;
    exe = exe.substr(0, exe.rfind(L'\\'));
    exe = exe.substr(0, exe.rfind(L'\\')) + L"\\Hourwise.exe";
    STARTUPINFOW startup = {sizeof startup};
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

// A command posted to the program: 'A' Add (New and the times sent first),
// 'D' Delete, 'C' Clear All, or the list menu's Undo 'u', Redo 'r', Paste 'p'
// (of the text given) and Copy 'c'.
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

// The names, sizes and times of the files in the kept folder.
std::wstring FolderState()
{
    std::wstring state;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((KeptFolder() + L"\\*").c_str(), &found);
    while (search != INVALID_HANDLE_VALUE) {
        state += found.cFileName + std::to_wstring(found.nFileSizeLow) +
                 std::to_wstring(found.ftLastWriteTime.dwLowDateTime);
        if (!FindNextFileW(search, &found))
            break;
    }
    FindClose(search);
    return state;
}

// Waits a random while after a change was posted: up to 8 ms, or (odd) until
// the first file of the save shows and then up to 2 ms more.
void WaitAWhile(std::mt19937 &random, int kill, const std::wstring &before)
{
    if (kill % 2 == 0) {
        Sleep(random() % 8);
        return;
    }
    for (DWORD start = GetTickCount(); FolderState() == before && GetTickCount() - start < 300;) {
    }
    LARGE_INTEGER now, end, second;
    QueryPerformanceFrequency(&second);
    QueryPerformanceCounter(&end);
    end.QuadPart += second.QuadPart * (random() % 2000) / 1000000;
    do
        QueryPerformanceCounter(&now);
    while (now.QuadPart < end.QuadPart);
}

TEST(KeptCopies, ASecondCopyNeitherReadsNorWritesAndTheFirstKeepsItsList)
{
    DeleteKeptList();
    WriteFileBytes(KeptPath(), GOOD);
    Program first = Start();
    StartMainWindow();
    EXPECT_EQ("Hourwise (list not kept)", WindowText(hMainWnd));
    EXPECT_EQ(0, RowCount());
    EnterRow({"1", "2"});
    CloseMainWindow();
    EXPECT_EQ(GOOD, FileBytes(KeptPath()));
    Post(first, 'A', "9");
    std::string table = Copied(first);
    EXPECT_EQ(3u, std::count(table.begin(), table.end(), '\n') - 2u) << table;
    Kill(first);
    StartMainWindow();
    EXPECT_EQ("Hourwise", WindowText(hMainWnd));
    EXPECT_EQ("2,7,8", EntryNumbers());
    CloseMainWindow();
    DeleteKeptList();
    DeleteSettingsKey();
}

// A random session of the real program, killed 50 times at a random moment
// of a change: started again, it shows the list after the last change done
// or after the change it was killed in. That second list is first made by
// doing the change and taking it back, which leaves the program as it was.
TEST(KeptCrash, KilledAtAnyMomentComesBackBeforeOrAfterTheChange)
{
    unsigned seed = GetTickCount();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    DeleteKeptList();
    Program program = Start();
    Post(program, 'A', "8.5");
    std::string now = Copied(program);
    Kill(program);
    program = Start();
    EXPECT_EQ(now, Copied(program)) << "the row added before the kill";
    const char COMMANDS[] = "AAAAADDCppuur";
    for (int kill = 0; kill < 50 && !HasFailure(); kill++) {
        char command = 0;
        std::string text, before;
        for (int done = -1 - (int)(random() % 3); done < 0; done++) {
            command = COMMANDS[random() % (sizeof COMMANDS - 1)];
            text = std::to_string(random() % 24) + "." + std::to_string(random() % 100);
            if (command == 'p')
                for (int rows = (int)(random() % 500); rows > 0; rows--)
                    text += "\n" + std::to_string(random() % 12) + "\t" + std::to_string(13 + random() % 11);
            before = now;
            Post(program, command, text);
            now = Copied(program);
        }
        std::string after = now; // the last command is done again, killed this time
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
    Post(program, 'A', "1");
    Copied(program);
    EXPECT_EQ(1u, KeptFolderFiles().size()) << "a leftover file beside the kept one";
    Kill(program);
    DeleteKeptList();
    DeleteSettingsKey();
}

} // namespace
