// The Preferences dialog as the user meets it: opened from the real main
// window, answered from a timer inside its modal loop, with the settings key
// of the test's Wine prefix behind it.
#include <gtest/gtest.h>

#include "app.h"
#include "harness.h"
#include "registry.h"
#include "resource.h"
#include "settings.h"

#include <string.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

const int RadioIds[12] = {IDC_STARMINUTES,  IDC_STARHOURSMINUTES,  IDC_STARHOURS,
                          IDC_MINUSMINUTES, IDC_MINUSHOURSMINUTES, IDC_MINUSHOURS,
                          IDC_PLUSMINUTES,  IDC_PLUSHOURSMINUTES,  IDC_PLUSHOURS,
                          IDC_ROUNDBOTH,    IDC_ROUNDDOWN,         IDC_ROUNDUP};

// What the dialog showed when the action looked at it.
struct DialogState {
    bool seen = false;
    std::vector<int> checked;   // BM_GETCHECK of the twelve buttons, 1021 to 1032
    std::string company;
    std::string amount;
};

DialogState ReadState(HWND dialog)
{
    DialogState state;
    state.seen = true;
    for (int id : RadioIds)
        state.checked.push_back((int)SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
    state.company = ControlText(IDC_COMPANYNAME, dialog);
    state.amount = ControlText(IDC_ROUNDAMOUNT, dialog);
    return state;
}

// The checks the dialog should show for the given field values.
std::vector<int> ChecksFor(int op1, int op2, int op3, int roundType)
{
    std::vector<int> checks;
    for (int value = 1; value <= 3; value++) checks.push_back(op1 == value);
    for (int value = 4; value <= 6; value++) checks.push_back(op2 == value);
    for (int value = 7; value <= 9; value++) checks.push_back(op3 == value);
    for (int value = 1; value <= 3; value++) checks.push_back(roundType == value);
    return checks;
}

// The state of the last opening, and what an action is told to do.
DialogState Seen;
int ChooseButton;                // a radio button to push before OK, or 0
const char *TypeCompany;         // texts to type before OK, or NULL
const char *TypeAmount;

// The dialog showed the values: the checked buttons, the company name and the
// round amount.
void ExpectShown(const SettingsValues &v)
{
    EXPECT_EQ(Seen.checked, ChecksFor(v.operator1, v.operator2, v.operator3, v.roundType));
    EXPECT_EQ(Seen.company, v.custName);
    EXPECT_EQ(Seen.amount, v.roundAmount);
}

void LookAndCancel(HWND dialog)
{
    Seen = ReadState(dialog);
    PushButton(dialog, IDCANCEL);
}

void LookAndOk(HWND dialog)
{
    Seen = ReadState(dialog);
    PushButton(dialog, IDOK);
}

void ChangeAndOk(HWND dialog)
{
    Seen = ReadState(dialog);
    if (ChooseButton)
        PushButton(dialog, ChooseButton);
    if (TypeCompany)
        TypeInto(dialog, IDC_COMPANYNAME, TypeCompany);
    if (TypeAmount)
        TypeInto(dialog, IDC_ROUNDAMOUNT, TypeAmount);
    PushButton(dialog, IDOK);
}

enum Route { ByButton, ByMenu };

// Opens the dialog from the main window and lets the action answer it; the
// dialog has closed when this returns.
void OpenPreferences(void (*action)(HWND), Route route = ByButton)
{
    Seen = DialogState();
    ASSERT_TRUE(DriveDialogs(
        [route] {
            if (route == ByButton)
                Click(hPreferencesButton);
            else
                SendMessageA(hMainWnd, WM_COMMAND, IDM_PREFERENCES, 0);
        },
        {{"Preferences", hMainWnd, -1, action}}));
    ASSERT_TRUE(Seen.seen) << "the Preferences dialog was not read";
    EXPECT_EQ("", OpenDialog()) << "the dialog is still open";
}

// The window starts from no key (the first start); tests that need stored
// values start it again.
class Preferences : public WindowTest {};

// ------------------------------------------------------- initial states

TEST_F(Preferences, FirstStartShowsTheDefaultsWithAnEmptyCompanyName)
{
    OpenPreferences(LookAndCancel);
    ExpectShown({1, 5, 8, "", 1, ".00"});
}

TEST_F(Preferences, SecondStartShowsTheStoredCompanyName)
{
    Restart();
    OpenPreferences(LookAndCancel, ByMenu);
    ExpectShown(DEFAULT_SETTINGS);
}

TEST_F(Preferences, ShowsTheStoredValues)
{
    RestartWith(CHANGED_SETTINGS);
    OpenPreferences(LookAndCancel);
    ExpectShown(CHANGED_SETTINGS);
}

TEST_F(Preferences, OkAfterTheFirstStartSavesTheEmptyCompanyName)
{
    OpenPreferences(LookAndOk);
    EXPECT_EQ(std::string(AppSettings.CustName), "");
    ExpectStored("CustName", Text(""));
    Restart();
    EXPECT_EQ(std::string(AppSettings.CustName), "");
    ExpectStored("CustName", Text(""));   // read, so not replaced by the default
    OpenPreferences(LookAndCancel);
    EXPECT_EQ(Seen.company, "");
}

// A field holding a number that no button of its group stands for.
struct ForeignCase {
    const char *name;
    DWORD stored;
    int group;        // 0 to 3: the "*", "-", "+" and rounding groups
    int choose;       // button pushed at the second opening
    int chosenValue;
};

void PrintTo(const ForeignCase &c, std::ostream *os) { *os << c.name; }

class ForeignValue : public Preferences, public ::testing::WithParamInterface<ForeignCase> {};

int FieldOf(int group)
{
    switch (group) {
    case 0: return AppSettings.Operator1;
    case 1: return AppSettings.Operator2;
    case 2: return AppSettings.Operator3;
    default: return AppSettings.RoundType;
    }
}

TEST_P(ForeignValue, NoButtonIsCheckedAndOkKeepsIt)
{
    const ForeignCase &c = GetParam();
    WriteSettings(DEFAULT_SETTINGS);
    WriteValue(c.name, Dword(c.stored));
    Restart();
    ASSERT_EQ(FieldOf(c.group), (int)c.stored);

    OpenPreferences(LookAndOk);
    std::vector<int> expected = ChecksFor(1, 5, 8, 1);
    for (int i = 0; i < 3; i++)
        expected[c.group * 3 + i] = 0;
    EXPECT_EQ(Seen.checked, expected);
    EXPECT_EQ(FieldOf(c.group), (int)c.stored);
    ExpectStored(c.name, Dword(c.stored));

    ChooseButton = c.choose;
    TypeCompany = TypeAmount = NULL;
    OpenPreferences(ChangeAndOk);
    ChooseButton = 0;
    EXPECT_EQ(FieldOf(c.group), c.chosenValue);
    ExpectStored(c.name, Dword((DWORD)c.chosenValue));
}

INSTANTIATE_TEST_SUITE_P(Groups, ForeignValue,
                         ::testing::Values(ForeignCase{"Operator1", 7, 0, IDC_STARHOURS, 3},
                                           ForeignCase{"Operator2", 1, 1, IDC_MINUSMINUTES, 4},
                                           ForeignCase{"Operator3", 0, 2, IDC_PLUSHOURS, 9},
                                           ForeignCase{"RoundType", 9, 3, IDC_ROUNDDOWN, 2}),
                         [](const ::testing::TestParamInfo<ForeignCase> &info) {
                             return std::string(info.param.name);
                         });

// ------------------------------------------------------------ OK and Cancel

TEST_F(Preferences, OkWithoutAChangeRewritesAllSixValues)
{
    RestartWith(CHANGED_SETTINGS);
    // Behind the program's back: other numbers, a wrong type, a missing value.
    WriteValue("Operator1", Dword(3));
    WriteValue("Operator2", Text("x"));
    DeleteValue("Operator3");
    WriteValue("CustName", Text("Other Name"));
    WriteValue("RoundType", Raw(REG_BINARY, std::string("\1\0\0\0", 4)));
    WriteValue("RoundAmount", Text(".5"));

    OpenPreferences(LookAndOk);
    ExpectStoredSettings(CHANGED_SETTINGS);
    ExpectLoadedSettings(CHANGED_SETTINGS, 0.25);
}

TEST_F(Preferences, OkSavesEveryChange)
{
    RestartWith(DEFAULT_SETTINGS);
    static const int pushes[] = {IDC_STARHOURS, IDC_MINUSMINUTES, IDC_PLUSHOURS, IDC_ROUNDUP};
    struct Local {
        static void Action(HWND dialog)
        {
            for (int id : pushes)
                PushButton(dialog, id);
            TypeInto(dialog, IDC_COMPANYNAME, MIXED_SCRIPT_NAME " & Sons");
            TypeInto(dialog, IDC_ROUNDAMOUNT, ".1");
            LookAndOk(dialog);
        }
    };
    OpenPreferences(Local::Action);
    EXPECT_EQ(Seen.checked, ChecksFor(3, 4, 9, 3));
    const SettingsValues saved = {3, 4, 9, MIXED_SCRIPT_NAME " & Sons", 3, ".1"};
    ExpectLoadedSettings(saved, 0.1);
    ExpectStoredSettings(saved);

    // The next start loads them.
    Restart();
    OpenPreferences(LookAndCancel);
    ExpectShown({3, 4, 9, MIXED_SCRIPT_NAME " & Sons", 3, ".1"});
}

TEST_F(Preferences, EnterKeyIsOk)
{
    RestartWith(DEFAULT_SETTINGS);
    struct Local {
        static void Action(HWND dialog)
        {
            TypeInto(dialog, IDC_COMPANYNAME, "Typed Name");
            Seen = ReadState(dialog);
            KeyStroke(GetFocus(), VK_RETURN, 0, KEY_POSTED);
        }
    };
    OpenPreferences(Local::Action);
    EXPECT_EQ(std::string(AppSettings.CustName), "Typed Name");
    ExpectStored("CustName", Text("Typed Name"));
}

// Every control changed, then the dialog left without OK.
enum CancelWay { CancelButton, EscapeKey, CloseBox };

class CancelChangesNothing : public Preferences, public ::testing::WithParamInterface<CancelWay> {};

CancelWay Way;

void ChangeEverythingAndLeave(HWND dialog)
{
    PushButton(dialog, IDC_STARMINUTES);
    PushButton(dialog, IDC_MINUSMINUTES);
    PushButton(dialog, IDC_PLUSMINUTES);
    PushButton(dialog, IDC_ROUNDBOTH);
    TypeInto(dialog, IDC_COMPANYNAME, "Changed");
    TypeInto(dialog, IDC_ROUNDAMOUNT, ".5");
    Seen = ReadState(dialog);
    switch (Way) {
    case CancelButton: PushButton(dialog, IDCANCEL); break;
    case EscapeKey: KeyStroke(GetFocus(), VK_ESCAPE, 0, KEY_POSTED); break;
    case CloseBox: SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
}

std::string CancelWayName(const ::testing::TestParamInfo<CancelWay> &info)
{
    static const char *const names[] = {"CancelButton", "EscapeKey", "CloseBox"};
    return names[info.param];
}

TEST_P(CancelChangesNothing, InMemoryAndInTheRegistry)
{
    Way = GetParam();
    RestartWith(CHANGED_SETTINGS);
    AppSettingsRecord before = AppSettings;

    OpenPreferences(ChangeEverythingAndLeave);
    ASSERT_EQ(Seen.checked, ChecksFor(1, 4, 7, 1)) << "the changes did not reach the dialog";
    ASSERT_EQ(Seen.company, "Changed");
    EXPECT_EQ(memcmp(&before, &AppSettings, sizeof before), 0);
    ExpectStoredSettings(CHANGED_SETTINGS);

    OpenPreferences(LookAndCancel);
    ExpectShown(CHANGED_SETTINGS);
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelChangesNothing,
                         ::testing::Values(CancelButton, EscapeKey, CloseBox),
                         CancelWayName);

TEST_F(Preferences, OkWithTheKeyRemovedKeepsTheValuesInMemoryOnly)
{
    RestartWith(DEFAULT_SETTINGS);
    DeleteSettingsKey();
    ChooseButton = IDC_STARHOURS;
    TypeCompany = "Gone Ltd";
    TypeAmount = ".25";
    RegistryMessage[0] = 0;
    OpenPreferences(ChangeAndOk);
    ChooseButton = 0;
    TypeCompany = TypeAmount = NULL;
    EXPECT_EQ(AppSettings.Operator1, 3);
    EXPECT_EQ(std::string(AppSettings.CustName), "Gone Ltd");
    EXPECT_EQ(AppSettings.RoundAmountValue, 0.25);
    EXPECT_FALSE(SettingsKeyExists()) << "the key is made again only at the next start";
    // The failures went by without a box; the last one is the last write.
    EXPECT_EQ(std::string(RegistryMessage),
              "Error Setting Registry Key Entry:\n"
              "Key/Path=Software\\Quillfeather Systems Inc\\Hourwise\\RoundAmount\n"
              "DLL Returned=2");
}

// ------------------------------------------------------------- the edits

TEST_F(Preferences, TextLimitsOfTheEdits)
{
    RestartWith(DEFAULT_SETTINGS);
    static std::string typedName;
    struct Local {
        static void Action(HWND dialog)
        {
            typedName.clear();
            for (int i = 0; i < 51; i++)
                typedName += (char)('a' + i % 26);
            TypeInto(dialog, IDC_COMPANYNAME, typedName.c_str());
            TypeInto(dialog, IDC_ROUNDAMOUNT, "\xC2\xBD\xC2\xBD" "34");   // two-byte halves
            LookAndOk(dialog);
        }
    };
    OpenPreferences(Local::Action);
    EXPECT_EQ(Seen.company, typedName.substr(0, 50)) << "the 51st character was taken";
    const char *amount = "\xC2\xBD\xC2\xBD" "3";
    EXPECT_EQ(Seen.amount, amount) << "the 4th character was taken";
    EXPECT_EQ(std::string(AppSettings.CustName), typedName.substr(0, 50));
    EXPECT_EQ(std::string(AppSettings.RoundAmount), amount);
    ExpectStored("CustName", Text(typedName.substr(0, 50)));
    ExpectStored("RoundAmount", Text(amount));
}

// A round amount typed in the dialog over the one stored at start, and the
// evaluations before and after.
struct RoundingCase {
    const char *label;
    const char *stored;
    const char *before807, *before808;   // 8*07 and 8*08 evaluated before
    const char *typed;
    int button;                          // pushed before OK, or 0
    Route route;
    double step;
    const char *at807, *at808;           // evaluated after OK
};

void PrintTo(const RoundingCase &c, std::ostream *os) { *os << c.label; }

class RoundingAfterOk : public Preferences, public ::testing::WithParamInterface<RoundingCase> {};

TEST_P(RoundingAfterOk, AppliesFromTheNextEvaluation)
{
    const RoundingCase &c = GetParam();
    SettingsValues stored = DEFAULT_SETTINGS;
    stored.roundAmount = c.stored;
    RestartWith(stored);
    Click(hNewButton);
    TypeIntoField(0, "8*07");
    TypeIntoField(1, "8*08");
    ASSERT_EQ(ControlText(IDC_TIMEIN1), c.before807);
    ASSERT_EQ(ControlText(IDC_TIMEOUT1), c.before808);
    std::string pairTotal = ControlText(IDC_PAIRTOTAL1);

    ChooseButton = c.button;
    TypeCompany = NULL;
    TypeAmount = c.typed;
    OpenPreferences(ChangeAndOk, c.route);
    ChooseButton = 0;
    TypeAmount = NULL;
    EXPECT_EQ(std::string(AppSettings.RoundAmount), c.typed);
    EXPECT_EQ(AppSettings.RoundAmountValue, c.step);
    ExpectStored("RoundAmount", Text(c.typed));

    // What is on screen stays as it was computed.
    EXPECT_EQ(ControlText(IDC_TIMEIN1), c.before807);
    EXPECT_EQ(ControlText(IDC_TIMEOUT1), c.before808);
    EXPECT_EQ(ControlText(IDC_PAIRTOTAL1), pairTotal);

    TypeIntoField(2, "8*07");
    TypeIntoField(3, "8*08");
    EXPECT_EQ(ControlText(IDC_TIMEIN2), c.at807);
    EXPECT_EQ(ControlText(IDC_TIMEOUT2), c.at808);

    // The next entry too.
    Click(hClearButton);
    Click(hNewButton);
    TypeIntoField(0, "8*07");
    EXPECT_EQ(ControlText(IDC_TIMEIN1), c.at807);
}

const RoundingCase ROUNDING_CASES[] = {
    {"QuarterBoth", ".00", " 8.12", " 8.13", ".25", IDC_ROUNDBOTH, ByMenu, 0.25, " 8.00", " 8.25"},
    {"QuarterDown", ".00", " 8.12", " 8.13", ".25", IDC_ROUNDDOWN, ByMenu, 0.25, " 8.00", " 8.00"},
    {"QuarterUp", ".00", " 8.12", " 8.13", ".25", IDC_ROUNDUP, ByMenu, 0.25, " 8.25", " 8.25"},
    {"NoNumber", ".00", " 8.12", " 8.13", "abc", IDC_ROUNDBOTH, ByMenu, 0.0, " 8.12", " 8.13"},
    {"Empty", ".00", " 8.12", " 8.13", "", IDC_ROUNDBOTH, ByMenu, 0.0, " 8.12", " 8.13"},
    {"Negative", ".00", " 8.12", " 8.13", "-.5", IDC_ROUNDBOTH, ByMenu, 0.0, " 8.12", " 8.13"},
    {"SwitchedOffAgain", ".25", " 8.00", " 8.25", "abc", 0, ByButton, 0.0, " 8.12", " 8.13"},
};

INSTANTIATE_TEST_SUITE_P(Amounts, RoundingAfterOk, ::testing::ValuesIn(ROUNDING_CASES),
                         [](const ::testing::TestParamInfo<RoundingCase> &info) {
                             return std::string(info.param.label);
                         });

// ---------------------------------------------------------- the template

struct TemplateControl {
    int id;
    const char *className;
    const char *text;
    short x, y, w, h;
    DWORD styles;   // besides WS_CHILD and WS_VISIBLE
};

const TemplateControl Controls[22] = {
    {1021, "button", "Minutes Only", 31, 15, 59, 12, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
    {1022, "button", "Hours and Minutes", 98, 14, 82, 14, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1023, "button", "Hours Only", 188, 15, 55, 12, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1024, "button", "Minutes Only", 31, 44, 59, 14, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
    {1025, "button", "Hours and Minutes", 98, 45, 76, 12, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1026, "button", "Hours Only", 188, 44, 52, 14, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1027, "button", "Minutes Only", 29, 75, 59, 14, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
    {1028, "button", "Hours and Minutes", 96, 76, 76, 12, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1029, "button", "Hours Only", 186, 75, 52, 14, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1004, "edit", "", 23, 108, 228, 15, ES_AUTOHSCROLL | WS_BORDER | WS_GROUP | WS_TABSTOP},
    {IDOK, "button", "OK", 79, 182, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, "button", "Cancel", 139, 182, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {-1, "button", "* Operator", 19, 5, 233, 26, BS_GROUPBOX | WS_GROUP},
    {-1, "button", "- Operator", 19, 35, 233, 26, BS_GROUPBOX | WS_GROUP},
    {-1, "button", "+ Operator", 19, 66, 233, 26, BS_GROUPBOX | WS_GROUP},
    {-1, "static", "Company Name", 19, 96, 231, 8, SS_CENTER | WS_GROUP},
    {1030, "button", "Both ", 30, 132, 52, 12, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
    {1031, "button", "Down Only", 108, 132, 52, 12, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {1032, "button", "Up Only", 186, 132, 52, 12, BS_AUTORADIOBUTTON | WS_TABSTOP},
    {-1, "button", "Round Time", 20, 125, 233, 24, BS_GROUPBOX | WS_GROUP},
    {-1, "static", "Round Amount", 53, 156, 50, 10, SS_LEFT | WS_GROUP},
    {1005, "edit", "", 108, 154, 53, 15, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
};

// Reads the extended dialog template as the resource compiler laid it out.
class TemplateReader {
public:
    explicit TemplateReader(const unsigned char *data) : p(data), base(data) {}
    WORD Word() { WORD v; memcpy(&v, p, 2); p += 2; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, p, 4); p += 4; return v; }
    short Short() { return (short)Word(); }
    BYTE Byte() { return *p++; }
    std::string String()
    {
        std::string s;
        for (WORD c = Word(); c; c = Word())
            s += (char)c;
        return s;
    }
    // A string or an ordinal (0xFFFF and a number); ordinals come back as "#n".
    std::string StringOrOrdinal()
    {
        WORD first;
        memcpy(&first, p, 2);
        if (first == 0xFFFF) {
            p += 2;
            return "#" + std::to_string(Word());
        }
        return String();
    }
    void AlignDword() { while ((p - base) % 4) p++; }
    void Skip(size_t n) { p += n; }

private:
    const unsigned char *p;
    const unsigned char *base;
};

std::string Lower(std::string s)
{
    for (char &c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

std::string ClassFromOrdinal(const std::string &name)
{
    if (name == "#128") return "button";
    if (name == "#129") return "edit";
    if (name == "#130") return "static";
    return Lower(name);
}

TEST(PreferencesTemplate, ResourceAsDefined)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_PREFERENCES), (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, (HRSRC)NULL);
    const unsigned char *data = (const unsigned char *)LockResource(LoadResource(module, found));
    ASSERT_NE(data, nullptr);
    TemplateReader r(data);
    ASSERT_EQ(r.Word(), 1);        // dlgVer
    ASSERT_EQ(r.Word(), 0xFFFF);   // an extended template
    r.Dword();                     // help id
    EXPECT_EQ(r.Dword(), 0u) << "extended style";
    EXPECT_EQ(r.Dword(), (DWORD)(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                                 DS_FIXEDSYS));
    ASSERT_EQ(r.Word(), 22) << "controls";
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 272);
    EXPECT_EQ(r.Short(), 206);
    EXPECT_EQ(r.StringOrOrdinal(), "") << "menu";
    EXPECT_EQ(r.StringOrOrdinal(), "") << "class";
    EXPECT_EQ(r.String(), "Hourwise Preferences");
    EXPECT_EQ(r.Word(), 8) << "points";
    EXPECT_EQ(r.Word(), 400) << "weight";
    EXPECT_EQ(r.Byte(), 0) << "italic";
    EXPECT_EQ(r.Byte(), 1) << "character set";
    EXPECT_EQ(r.String(), "MS Shell Dlg");
    for (int i = 0; i < 22; i++) {
        const TemplateControl &c = Controls[i];
        r.AlignDword();
        r.Dword();   // help id
        EXPECT_EQ(r.Dword(), 0u) << "control " << i + 1;
        EXPECT_EQ(r.Dword(), (DWORD)(WS_CHILD | WS_VISIBLE) | c.styles) << "control " << i + 1;
        short x = r.Short(), y = r.Short(), w = r.Short(), h = r.Short();
        EXPECT_EQ(x, c.x) << "control " << i + 1;
        EXPECT_EQ(y, c.y) << "control " << i + 1;
        EXPECT_EQ(w, c.w) << "control " << i + 1;
        EXPECT_EQ(h, c.h) << "control " << i + 1;
        EXPECT_EQ((int)r.Dword(), c.id) << "control " << i + 1;
        EXPECT_EQ(ClassFromOrdinal(r.StringOrOrdinal()), c.className) << "control " << i + 1;
        EXPECT_EQ(r.StringOrOrdinal(), c.text) << "control " << i + 1;
        r.Skip(r.Word());   // creation data
    }
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// What the open dialog consists of, looked at from inside its loop.
struct LiveDialog {
    std::string caption;
    POINT clientOrigin;
    POINT ownerClientOrigin;
    std::vector<int> ids;
    std::vector<std::string> classes, texts;
    std::vector<DWORD> styles;
    std::vector<RECT> placed, expectedPlace;
    std::vector<int> tabOrder;
} Live;

void InspectAndCancel(HWND dialog)
{
    Live = LiveDialog();
    Live.caption = WindowText(dialog);
    Live.clientOrigin = POINT{0, 0};
    ClientToScreen(dialog, &Live.clientOrigin);
    Live.ownerClientOrigin = POINT{0, 0};
    ClientToScreen(GetWindow(dialog, GW_OWNER), &Live.ownerClientOrigin);
    for (HWND child : Children(dialog)) {
        Live.ids.push_back((int)(short)GetDlgCtrlID(child));
        char name[64] = {0};
        GetClassNameA(child, name, sizeof name);
        Live.classes.push_back(Lower(name));
        Live.texts.push_back(WindowText(child));
        Live.styles.push_back((DWORD)GetWindowLongA(child, GWL_STYLE));
        RECT placed;
        GetWindowRect(child, &placed);
        MapWindowPoints(NULL, dialog, (POINT *)&placed, 2);
        Live.placed.push_back(placed);
    }
    for (const TemplateControl &c : Controls) {
        // Origin and size are converted each on its own, as the dialog
        // manager does when it creates the control.
        RECT units = {c.x, c.y, c.w, c.h};
        MapDialogRect(dialog, &units);
        RECT expected = {units.left, units.top, units.left + units.right, units.top + units.bottom};
        Live.expectedPlace.push_back(expected);
    }
    HWND first = GetDlgItem(dialog, IDC_STARMINUTES);
    HWND at = first;
    for (int i = 0; i < 16 && at; i++) {
        Live.tabOrder.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first)
            break;
    }
    Seen = ReadState(dialog);
    PushButton(dialog, IDCANCEL);
}

TEST_F(Preferences, OpenDialogHasTheTemplatesControlsInOrder)
{
    RestartWith(DEFAULT_SETTINGS);
    OpenPreferences(InspectAndCancel);
    EXPECT_EQ(Live.caption, "Hourwise Preferences");
    // Placed at the origin of the owner's client area.
    EXPECT_EQ(Live.clientOrigin.x, Live.ownerClientOrigin.x);
    EXPECT_EQ(Live.clientOrigin.y, Live.ownerClientOrigin.y);
    ASSERT_EQ(Live.ids.size(), 22u);
    for (int i = 0; i < 22; i++) {
        const TemplateControl &c = Controls[i];
        EXPECT_EQ(Live.ids[i], c.id) << "control " << i + 1;
        EXPECT_EQ(Live.classes[i], c.className) << "control " << i + 1;
        if (c.id != IDC_COMPANYNAME && c.id != IDC_ROUNDAMOUNT) {
            EXPECT_EQ(Live.texts[i], c.text) << "control " << i + 1;
        }
        EXPECT_EQ(Live.styles[i] & (WS_CHILD | WS_VISIBLE), (DWORD)(WS_CHILD | WS_VISIBLE))
            << "control " << i + 1;
        EXPECT_EQ(Live.styles[i] & WS_GROUP, c.styles & WS_GROUP) << "control " << i + 1;
        EXPECT_EQ(Live.placed[i].left, Live.expectedPlace[i].left) << "control " << i + 1;
        EXPECT_EQ(Live.placed[i].top, Live.expectedPlace[i].top) << "control " << i + 1;
        EXPECT_EQ(Live.placed[i].right, Live.expectedPlace[i].right) << "control " << i + 1;
        EXPECT_EQ(Live.placed[i].bottom, Live.expectedPlace[i].bottom) << "control " << i + 1;
    }
    EXPECT_EQ(Live.texts[16], "Both ") << "the label keeps its trailing blank";
    // The operator groups, the company name, OK, Cancel, the rounding group,
    // the round amount; a radio group is a tab stop at its checked button.
    std::vector<int> tabs = {1021, 1025, 1028, 1004, IDOK, IDCANCEL, 1030, 1005};
    EXPECT_EQ(Live.tabOrder, tabs);
}

// Pushing each button in turn: it alone of its group is checked, and the
// other groups keep what they had.
std::vector<std::vector<int>> AfterPush;

void PushEveryButton(HWND dialog)
{
    AfterPush.clear();
    for (int id : RadioIds) {
        PushButton(dialog, id);
        AfterPush.push_back(ReadState(dialog).checked);
    }
    Seen = ReadState(dialog);
    PushButton(dialog, IDCANCEL);
}

TEST_F(Preferences, EachRadioGroupClearsOnlyItsOwnButtons)
{
    RestartWith(DEFAULT_SETTINGS);
    OpenPreferences(PushEveryButton);
    ASSERT_EQ(AfterPush.size(), 12u);
    std::vector<int> state = ChecksFor(1, 5, 8, 1);
    for (int pushed = 0; pushed < 12; pushed++) {
        int group = pushed / 3;
        for (int i = 0; i < 3; i++)
            state[group * 3 + i] = (group * 3 + i == pushed);
        EXPECT_EQ(AfterPush[pushed], state) << "after pushing " << RadioIds[pushed];
    }
}

// ---------------------------------------------------------- the Pay Rules

const int RULE_FIELDS[6] = {IDC_HOURLYRATE,      IDC_OVERTIMEWEEKLY, IDC_OVERTIMEDAILY,
                            IDC_DOUBLETIMEDAILY, IDC_OVERTIMEFACTOR, IDC_DOUBLETIMEFACTOR};
const char *const DEFAULT_RULES = "|40|||1.5|2|0";   // the federal rules, no rate

// Texts typed into the fields in order (NULL leaves one), the check box pushed
// or not, then OK or Cancel; the field a refusal names and focuses; the
// six fields and the check box as the next start shows them.
enum RulesWay { RULES_OK, RULES_CANCEL };
struct RulesCase { const char *name; std::vector<const char *> typed; bool seventhDay; RulesWay way;
                   const char *refused; int focus; const char *kept; };

void PrintTo(const RulesCase &c, std::ostream *os) { *os << c.name; }

RulesCase Rules;
struct { std::string shown, focusAtStart, box, focusAfter; } RulesSeen;

std::string FocusAndSelection()   // the focused field, and whether all its text is selected
{
    HWND focus = GetFocus();
    bool whole = EditSelection(focus) == "0," + std::to_string(WindowText(focus).size());
    return std::to_string(GetDlgCtrlID(focus)) + (whole ? " selected" : " " + EditSelection(focus));
}

void AnswerRules(HWND dialog)
{
    for (int id : RULE_FIELDS)
        RulesSeen.shown += ControlText(id, dialog) + "|";
    RulesSeen.shown += std::to_string(IsDlgButtonChecked(dialog, IDC_SEVENTHDAY));
    RulesSeen.focusAtStart = FocusAndSelection();
    for (size_t i = 0; i < Rules.typed.size(); i++)
        if (Rules.typed[i])
            TypeInto(dialog, RULE_FIELDS[i], Rules.typed[i]);
    if (Rules.seventhDay)
        PushButton(dialog, IDC_SEVENTHDAY);
    PushButton(dialog, Rules.way == RULES_OK ? IDOK : IDCANCEL);
    if (Rules.refused) {   // the message was answered meanwhile
        RulesSeen.focusAfter = FocusAndSelection();
        PushButton(dialog, IDCANCEL);
    }
}

void OpenRules()
{
    RulesSeen = {};
    std::vector<AwaitedDialog> steps = {{"Pay Rules", hMainWnd, -1, AnswerRules}};
    if (Rules.refused)
        steps.push_back({"refusal", NULL, 0, [](HWND box) { RulesSeen.box = BoxText(box), PressOk(box); }});
    EXPECT_TRUE(DriveDialogs([] { SendMessageA(hMainWnd, WM_COMMAND, IDM_PAYRULES, 0); }, steps));
}

class PayRulesDialog : public Preferences, public ::testing::WithParamInterface<RulesCase> {};

TEST_P(PayRulesDialog, OkSavesAllSevenOrRefusesAFieldAndSavesNothing)
{
    Rules = GetParam();
    EnterRow({"8", "21"});
    SetControlText(IDC_GRANDTOTAL, "stale");   // the totals follow the rules saved, only them
    OpenRules();
    EXPECT_EQ(DEFAULT_RULES, RulesSeen.shown);
    EXPECT_EQ(std::to_string(IDC_HOURLYRATE) + " selected", RulesSeen.focusAtStart);
    EXPECT_EQ(Rules.way == RULES_OK && !Rules.refused ? "13.00" : "stale",
              Trimmed(ControlText(IDC_GRANDTOTAL)));
    if (Rules.refused) {
        EXPECT_EQ(0u, RulesSeen.box.find(std::string(Rules.refused) + ": it ")) << RulesSeen.box;
        EXPECT_EQ(std::to_string(Rules.focus) + " selected", RulesSeen.focusAfter);
    }
    // Ctrl+Z takes back the row, not the rules; the next start reads the rules
    // in force as the registry keeps them, and the dialog shows them.
    SetFocus(hEntryList);
    KeyStroke(hEntryList, 'Z', WITH_CONTROL);
    EXPECT_EQ(0, RowCount());
    const ::PayRules inForce = CurrentPayRules;
    Restart();
    EXPECT_EQ(0, memcmp(&inForce, &CurrentPayRules, sizeof inForce));
    Rules = RulesCase{"look", {}, false, RULES_CANCEL, NULL, 0, ""};
    OpenRules();
    EXPECT_EQ(GetParam().kept, RulesSeen.shown);
}

const RulesCase RULES_CASES[] = {
    {"OkSavesAllSeven", {"25", "40", "8", "12", "1.5", "2"}, true, RULES_OK, NULL, 0, "25|40|8|12|1.5|2|1"},
    // a rate cut to its 9 characters; texts saved as they read
    {"OkSavesTheShortestTexts", {"1234.567891", "37.50", " ", "", "1.50", "3."}, false, RULES_OK, NULL, 0,
     "1234.5678|37.5|||1.5|3|0"},
    {"ARateOfAbc", {"abc"}, false, RULES_OK, "Hourly rate", IDC_HOURLYRATE, DEFAULT_RULES},
    {"NoHoursAWeek", {"25", "0"}, true, RULES_OK, "Weekly overtime", IDC_OVERTIMEWEEKLY, DEFAULT_RULES},
    {"TooManyDecimals", {0, 0, "7.125"}, false, RULES_OK, "Daily overtime", IDC_OVERTIMEDAILY, DEFAULT_RULES},
    {"DoubleTimeNotPastOvertime", {0, 0, "8", "8"}, false, RULES_OK, "Daily double time", IDC_DOUBLETIMEDAILY,
     DEFAULT_RULES},
    {"AnEmptyFactor", {0, 0, 0, 0, 0, ""}, false, RULES_OK, "Double-time pay", IDC_DOUBLETIMEFACTOR, DEFAULT_RULES},
    {"CancelSavesNothing", {"25", "50", "8", "12", "2", "3"}, true, RULES_CANCEL, NULL, 0, DEFAULT_RULES},
};

INSTANTIATE_TEST_SUITE_P(Cases, PayRulesDialog, ::testing::ValuesIn(RULES_CASES),
                         [](const ::testing::TestParamInfo<RulesCase> &info) { return std::string(info.param.name); });

}  // namespace
