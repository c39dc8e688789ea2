// What screen readers are told about the controls: the test process puts its
// own recording annotation service in place of the system's and reads what
// the main window and its two dialogs ask of it.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "resource.h"

#include <initguid.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

enum ServiceMode { SERVICE_ACCEPTS, SERVICE_REFUSES, SERVICE_MISSING };

struct Call {
    std::string method;
    HWND window;
    DWORD object, child;
    GUID property;
    std::string text;
};

struct {
    ServiceMode mode;
    std::vector<Call> calls;
    int alive;   // service objects not released yet
} Service;

std::string Narrow(LPCWSTR text)
{
    char narrow[256] = {0};
    if (text)
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, NULL, NULL);
    return narrow;
}

class RecordingServices : public IAccPropServices {
public:
    RecordingServices() { Service.alive++; }
    HRESULT WINAPI QueryInterface(REFIID iid, void **out) override
    {
        *out = NULL;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IAccPropServices))
            return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override
    {
        ULONG left = --references;
        if (left == 0) {
            Service.alive--;
            delete this;
        }
        return left;
    }
    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD idObject, DWORD idChild, MSAAPROPID idProp,
                                  LPCWSTR str) override
    {
        Service.calls.push_back({"SetHwndPropStr", hwnd, idObject, idChild, idProp, Narrow(str)});
        return Answer();
    }
    // Every other method is only recorded by its name.
    HRESULT WINAPI SetPropValue(const BYTE *, DWORD, MSAAPROPID, VARIANT) override
    { return Other("SetPropValue"); }
    HRESULT WINAPI SetPropServer(const BYTE *, DWORD, const MSAAPROPID *, int, IAccPropServer *,
                                 AnnoScope) override
    { return Other("SetPropServer"); }
    HRESULT WINAPI ClearProps(const BYTE *, DWORD, const MSAAPROPID *, int) override
    { return Other("ClearProps"); }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override
    { return Other("SetHwndProp"); }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID *, int, IAccPropServer *,
                                     AnnoScope) override
    { return Other("SetHwndPropServer"); }
    HRESULT WINAPI ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID *, int) override
    { return Other("ClearHwndProps"); }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE **, DWORD *) override
    { return Other("ComposeHwndIdentityString"); }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE *, DWORD, HWND *, DWORD *,
                                               DWORD *) override
    { return Other("DecomposeHwndIdentityString"); }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override
    { return Other("SetHmenuProp"); }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override
    { return Other("SetHmenuPropStr"); }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID *, int, IAccPropServer *,
                                      AnnoScope) override
    { return Other("SetHmenuPropServer"); }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID *, int) override
    { return Other("ClearHmenuProps"); }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE **, DWORD *) override
    { return Other("ComposeHmenuIdentityString"); }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE *, DWORD, HMENU *, DWORD *) override
    { return Other("DecomposeHmenuIdentityString"); }

private:
    virtual ~RecordingServices() {}
    // Wine's own service answers E_NOTIMPL to every call.
    static HRESULT Answer() { return Service.mode == SERVICE_ACCEPTS ? S_OK : E_NOTIMPL; }
    static HRESULT Other(const char *method)
    {
        Service.calls.push_back({method, NULL, 0, 0, GUID_NULL, ""});
        return Answer();
    }
    ULONG references = 1;
};

class RecordingFactory : public IClassFactory {
public:
    HRESULT WINAPI QueryInterface(REFIID iid, void **out) override
    {
        *out = NULL;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return 2; }   // a static object
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown *outer, REFIID iid, void **out) override
    {
        *out = NULL;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (Service.mode == SERVICE_MISSING)
            return E_OUTOFMEMORY;
        RecordingServices *services = new RecordingServices;
        HRESULT result = services->QueryInterface(iid, out);
        services->Release();
        return result;
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
};

RecordingFactory Factory;

// The recorded calls, each as "<control ID> <name|description> <text>" when it
// names a child of parent in its client area, sorted.
std::vector<std::string> Recorded(HWND parent)
{
    std::vector<std::string> lines;
    for (const Call &call : Service.calls) {
        std::string line = call.method;
        if (call.method == "SetHwndPropStr") {
            line = GetParent(call.window) == parent ? std::to_string(GetDlgCtrlID(call.window))
                                                    : "a window of another parent";
            if (call.object != (DWORD)OBJID_CLIENT || call.child != (DWORD)CHILDID_SELF)
                line += " outside its client area";
            line += IsEqualGUID(call.property, PROPID_ACC_NAME)          ? " name "
                    : IsEqualGUID(call.property, PROPID_ACC_DESCRIPTION) ? " description "
                                                                         : " another property ";
            line += call.text;
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string Line(int id, const char *property, const char *text)
{
    return std::to_string(id) + " " + property + " " + text;
}

const std::vector<std::string> MAIN_WINDOW_TEXTS = Sorted({
    Line(IDC_ENTRYLIST, "name", "Entries"),
    Line(IDC_TIMEIN1, "name", "Time In 1"),
    Line(IDC_TIMEOUT1, "name", "Time Out 1"),
    Line(IDC_TIMEIN2, "name", "Time In 2"),
    Line(IDC_TIMEOUT2, "name", "Time Out 2"),
    Line(IDC_TIMEIN3, "name", "Time In 3"),
    Line(IDC_TIMEOUT3, "name", "Time Out 3"),
    Line(IDC_TIMEIN4, "name", "Time In 4"),
    Line(IDC_TIMEOUT4, "name", "Time Out 4"),
    Line(IDC_PAIRTOTAL1, "description", "Hours of pair 1"),
    Line(IDC_PAIRTOTAL2, "description", "Hours of pair 2"),
    Line(IDC_PAIRTOTAL3, "description", "Hours of pair 3"),
    Line(IDC_PAIRTOTAL4, "description", "Hours of pair 4"),
    Line(IDC_ENTRYTOTAL, "description", "Hours of this entry"),
    Line(IDC_GRANDTOTAL, "description", "Hours of all entries"),
    Line(IDC_REGULARHOURS, "description", "Regular hours of the week"),
    Line(IDC_OVERTIMEHOURS, "description", "Overtime hours of the week"),
    Line(IDC_DOUBLETIMEHOURS, "description", "Double-time hours of the week"),
    Line(IDC_GROSSPAY, "description", "Gross pay of the week"),
});
const std::vector<std::string> PREFERENCES_TEXTS = Sorted({
    Line(IDC_COMPANYNAME, "name", "Company Name"),
    Line(IDC_ROUNDAMOUNT, "name", "Round Amount"),
});
const std::vector<std::string> PRINT_TEXTS = Sorted({
    Line(IDC_EMPLOYEEID, "name", "Employee Id"),
    Line(IDC_PERIODENDDATE, "name", "Period Ending Date"),
    Line(IDC_EMPLOYEENAME, "name", "Employee Name"),
});

int ChildCount()
{
    int count = 0;
    for (HWND child = GetWindow(hMainWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        count++;
    return count;
}

// What the dialog that button opens has asked of the service once it is shown.
std::vector<std::string> RecordedByDialog(const char *name, HWND button)
{
    std::vector<std::string> seen = {"the dialog did not open"};
    Service.calls.clear();
    EXPECT_TRUE(DriveDialogs([button] { Click(button); },
                             {{name, hMainWnd, -1, [&seen](HWND dialog) {
                                   seen = Recorded(dialog);
                                   PressCancel(dialog);
                               }}}));
    return seen;
}

// The window is made with the recording service in place of the system's.
class Accessibility : public WindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED)));
        ASSERT_EQ(S_OK, CoRegisterClassObject(CLSID_AccPropServices, &Factory, CLSCTX_INPROC_SERVER,
                                              REGCLS_MULTIPLEUSE, &cookie));
        WindowTest::SetUp();
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        CoRevokeClassObject(cookie);
        CoUninitialize();
    }
    DWORD cookie = 0;
};

struct ServiceCase {
    const char *name;
    ServiceMode mode;
    bool asked;   // whether the texts reach the service at all
};

const ServiceCase SERVICE_CASES[] = {
    {"the service takes every text", SERVICE_ACCEPTS, true},
    {"the service refuses every call", SERVICE_REFUSES, true},
    {"the service cannot be created", SERVICE_MISSING, false},
};

const std::vector<std::string> NOTHING;

TEST_F(Accessibility, EveryUnlabelledControlIsNamedAndNothingElseChanges)
{
    for (const ServiceCase &c : SERVICE_CASES) {
        SCOPED_TRACE(c.name);
        Service.mode = c.mode;
        Service.calls.clear();
        Restart();
        EXPECT_EQ(c.asked ? MAIN_WINDOW_TEXTS : NOTHING, Recorded(hMainWnd));
        EXPECT_EQ(0, Service.alive) << "the service was not released";

        EXPECT_EQ(25 + 9, ChildCount()); // and the pay summary's statics
        EXPECT_EQ(IdleStates(false), EnabledStates());
        EXPECT_EQ("New", FocusName());
        EXPECT_EQ("0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00", FieldTexts());
        EXPECT_EQ("0.00|0.00|0.00|0.00|0.00", TotalTexts());
        EXPECT_EQ("0.00", ControlText(IDC_GRANDTOTAL));

        EXPECT_EQ(c.asked ? PREFERENCES_TEXTS : NOTHING,
                  RecordedByDialog("Preferences", hPreferencesButton));
        EXPECT_EQ(c.asked ? PRINT_TEXTS : NOTHING,
                  RecordedByDialog("Print Timesheet", hPrintButton));
        EXPECT_EQ(0, Service.alive) << "the service was not released";
    }
}

} // namespace
