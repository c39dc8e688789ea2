// The one way the tests drive modal dialogs: a thread timer that runs inside
// every modal loop, finds dialogs by class "#32770" and owner, answers the
// awaited ones in order, and closes every other one (and, past the deadline,
// all of them) so that no test can wait on a dialog nobody answers.
#include "harness.h"

#include "app.h"

#include <string.h>

namespace {

struct DriveState {
    bool guard = false;         // WindowTest's: no dialog is expected
    bool script = false;        // inside DriveDialogs
    std::vector<AwaitedDialog> steps;
    std::vector<HWND> answered; // a window for each step answered
    std::vector<HWND> handled;  // dialogs answered or closed already
    DWORD deadline = 0;
    int deadlineMs = 0;
    bool late = false;
    bool unexpected = false;
    UINT_PTR timer = 0;
    UINT interval = 0;
};

DriveState Drive;

std::string ClassOf(HWND window)
{
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct Collect {
    std::vector<HWND> dialogs;
    bool modalOnly;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data)
{
    Collect *collect = (Collect *)data;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || ClassOf(window) != "#32770")
        return TRUE;
    // a modal dialog has its owner disabled, or no owner at all
    HWND owner = GetWindow(window, GW_OWNER);
    if (!collect->modalOnly || !owner || !IsWindowEnabled(owner))
        collect->dialogs.push_back(window);
    return TRUE;
}

std::vector<HWND> Dialogs(bool modalOnly)
{
    Collect collect;
    collect.modalOnly = modalOnly;
    EnumWindows(CollectDialog, (LPARAM)&collect);
    return collect.dialogs;
}

void Close(HWND dialog)
{
    if (GetWindowThreadProcessId(dialog, NULL) == GetCurrentThreadId())
        EndDialog(dialog, IDCANCEL);
    else
        PostMessageA(dialog, WM_CLOSE, 0, 0);
}

bool Handled(HWND dialog)
{
    for (HWND done : Drive.handled)
        if (done == dialog)
            return true;
    return false;
}

HWND OwnerOf(const AwaitedDialog &step)
{
    if (step.ownedByStep >= 0 && step.ownedByStep < (int)Drive.answered.size())
        return Drive.answered[step.ownedByStep];
    if (step.ownedByStep == MAIN_WINDOW_THEN)
        return hMainWnd;
    return step.ownedByStep >= 0 ? (HWND)-1 : step.owner;
}

std::string Describe(HWND dialog)
{
    return "\"" + WindowText(dialog) + "\" " + BoxText(dialog);
}

std::string Awaited()
{
    if (!Drive.script)
        return "";
    // the last answered dialog still open, else the next to come
    for (size_t i = Drive.answered.size(); i-- > 0;)
        if (IsWindow(Drive.answered[i]) && IsWindowVisible(Drive.answered[i]))
            return std::string(" while the ") + Drive.steps[i].name + " dialog had not closed";
    if (Drive.answered.size() < Drive.steps.size())
        return std::string(" while awaiting the ") + Drive.steps[Drive.answered.size()].name +
               " dialog";
    return " after every awaited dialog";
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    std::vector<HWND> dialogs = Dialogs(true);
    if (Drive.script && !Drive.late && (LONG)(GetTickCount() - Drive.deadline) >= 0) {
        Drive.late = true;
        ADD_FAILURE() << "deadline of " << Drive.deadlineMs << " ms passed" << Awaited()
                      << "; every modal dialog is closed";
    }
    for (HWND dialog : dialogs) {
        if (Drive.late) {
            Close(dialog);
            continue;
        }
        if (Handled(dialog) || !IsWindow(dialog))
            continue;
        Drive.handled.push_back(dialog);
        size_t next = Drive.answered.size();
        HWND owner = GetWindow(dialog, GW_OWNER);
        if (Drive.script && next < Drive.steps.size() && owner == OwnerOf(Drive.steps[next])) {
            Drive.answered.push_back(dialog);
            Drive.steps[next].answer(dialog);
        } else if (Drive.script || Drive.guard) {
            Drive.unexpected = true;
            ADD_FAILURE() << "unexpected dialog " << Describe(dialog) << Awaited() << "; closed";
            Close(dialog);
        }
    }
}

// The timer ticks often while DriveDialogs awaits dialogs, so that each is
// answered soon after it shows, and seldom while it only guards.
void Arm()
{
    UINT interval = Drive.script ? 10 : 50;
    if (Drive.timer && Drive.interval == interval)
        return;
    if (Drive.timer)
        KillTimer(NULL, Drive.timer);
    Drive.timer = SetTimer(NULL, 0, interval, Tick);
    Drive.interval = interval;
}

// After DriveDialogs, or the guard turned off: the slow tick while guarding,
// none otherwise.
void Rearm()
{
    if (Drive.guard || Drive.script)
        Arm();
    else if (Drive.timer) {
        KillTimer(NULL, Drive.timer);
        Drive.timer = 0;
    }
}

} // namespace

void GuardDialogs(bool on)
{
    Drive.guard = on;
    Drive.handled.clear();
    if (on)
        Arm();
    else
        Rearm();
}

bool DriveDialogs(const std::function<void()> &open, const std::vector<AwaitedDialog> &steps,
                  int deadlineMs)
{
    Drive.script = true;
    Drive.steps = steps;
    Drive.answered.clear();
    Drive.handled.clear();
    Drive.deadlineMs = deadlineMs;
    Drive.deadline = GetTickCount() + (DWORD)deadlineMs;
    Drive.late = false;
    Drive.unexpected = false;
    Arm();
    open();
    Pump();   // a dialog opened by a posted message
    bool ok = !Drive.late && !Drive.unexpected;
    if (Drive.answered.size() < steps.size()) {
        ADD_FAILURE() << "the " << steps[Drive.answered.size()].name << " dialog did not appear";
        ok = false;
    }
    for (HWND dialog : Dialogs(true)) {
        ADD_FAILURE() << "dialog " << Describe(dialog) << " still open" << Awaited() << "; closed";
        Close(dialog);
        ok = false;
    }
    Drive.script = false;
    Pump();
    Rearm();
    return ok;
}

std::string OpenDialog()
{
    std::vector<HWND> dialogs = Dialogs(false);
    return dialogs.empty() ? "" : "\"" + WindowText(dialogs[0]) + "\"";
}

std::string BoxText(HWND box)
{
    return WindowText(GetDlgItem(box, 0xFFFF));
}

// Posted, so that what the button starts runs in the dialog's own loop.
static void Post(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

void PressOk(HWND dialog)
{
    Post(dialog, IDOK);
}

void PressCancel(HWND dialog)
{
    Post(dialog, IDCANCEL);
}
