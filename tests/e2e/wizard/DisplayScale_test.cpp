// Every page and dialog of the wizard at 96, 120, 144 and 192 DPI in each of
// the four languages, as Windows shows them at that display scale (the DPI
// set in the test's own prefix): the layout check runs inside the launcher
// (tests/support/LayoutCheck.cpp) on each page and dialog as a user reaches
// it, and finds no text cut off, no control outside its parent and no two
// controls covering each other. Wine cannot move a window to a monitor of
// another DPI; the same layout is checked after WM_DPICHANGED as Windows
// sends it then, against a launcher started at that DPI.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <msi.h>

#include <map>

#include "framework/SystemApi.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/support/RemoteControls.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2, kBack = 1000;
constexpr int kFirstSubPackage = 1007, kBackupSkip = 1155, kProgress = 1005, kServiceTabs = 1411, kChange = 1418;
constexpr int kClusterMaster = 1402, kClusterWorker = 1403, kPasswordEdit = 1322;
const wchar_t* const kLanguages[] = {L"English", L"German", L"Spanish", L"French"};
// The settings backup page's status once it has measured, per language.
const std::map<std::wstring, std::wstring> kMeasured = {{L"English", L"Calculation finished"},
                                                        {L"German", L"Berechnung abgeschlossen"},
                                                        {L"Spanish", L"C\u00e1lculo finalizado"},
                                                        {L"French", L"Calcul termin\u00e9"}};

void SetDisplayDpi(DWORD dpi) {
    RegistryKey desktop(L"HKEY_CURRENT_USER\\Control Panel\\Desktop", false, true, registry_view::k32);
    ASSERT_TRUE(desktop.IsOpen());
    desktop.SetDword(L"LogPixels", dpi);
}

// Every problem found, with where it was found.
class Findings {
public:
    void Check(HWND root, const std::wstring& where) {
        if (!root) {
            problems_.push_back(where + L": not reached");
            return;
        }
        for (const std::wstring& problem : LayoutProblems(root)) problems_.push_back(where + L": " + problem);
        ++checked_;
    }
    void Missing(const std::wstring& where) { problems_.push_back(where + L": not reached"); }
    // Another check's problems, not counted as a check.
    void Add(const Findings& other) {
        problems_.insert(problems_.end(), other.problems_.begin(), other.problems_.end());
    }
    const std::vector<std::wstring>& Problems() const { return problems_; }
    int Checked() const { return checked_; }

private:
    std::vector<std::wstring> problems_;
    int checked_ = 0;
};

std::string Joined(const std::vector<std::wstring>& lines) {
    std::wstring all;
    for (const std::wstring& line : lines) all += line + L"\n";
    return testing::PrintToString(all);
}

// Waits until a page's control is on the screen.
bool WaitForControl(const WizardDriver& wizard, int id, DWORD timeoutMs) {
    return servertest::WaitForControl(wizard.Frame(), id, timeoutMs) != nullptr;
}

// Waits until a page's control is no longer on screen (its page has gone).
bool WaitUntilHidden(const WizardDriver& wizard, int id, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        HWND control = servertest::FindControl(wizard.Frame(), id);
        if (!control || !::IsWindowVisible(control)) return true;
        ::Sleep(50);
    }
    return false;
}

// A dialog of the launcher over the frame.
HWND OpenDialog(const Background& launcher, const WizardDriver& wizard, int changeButton) {
    ::PostMessageW(servertest::FindControl(wizard.Frame(), changeButton), BM_CLICK, 0, 0);
    return WaitForWindow(launcher.Id(), 10000, wizard.Frame(), L"#32770").handle;
}

void CloseDialog(HWND dialog, int button = IDCANCEL) {
    PressButton(dialog, button);
    WaitForWindowGone(dialog);
}

// The data of a Sollenvey server on the machine, so that the settings backup
// page measures it.
void PlantSollenveyData() {
    std::wstring data = servertest::CommonAppData() + L"\\Morvex\\SollenveyServer";
    servertest::Plant(data + L"\\sollenveyserver.cfg", "[server]\r\nport=1\r\n");
    servertest::Plant(data + L"\\SolutionFiles\\app\\main.sol", std::string(5000, 's'));
}

// Welcome, sub-packages, settings backup, unpack, service page with each
// tab and its three dialogs, the password dialog, cluster page in each
// role, and the finish page of a cancelled run.
void WalkServerWizard(const std::wstring& language, Findings& findings) {
    Background launcher(LauncherPath(L"server_multi"), L"lang=" + language + L" BC_Service_Username=.\\svc");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    // Each step waits for what a user would see next; a step that does not
    // come ends the walk, and the launcher with it.
    auto reached = [&](int id, DWORD timeoutMs, const std::wstring& page) {
        if (WaitForControl(wizard, id, timeoutMs)) return true;
        findings.Missing(language + L" " + page);
        return false;
    };
    ASSERT_TRUE(wizard.WaitForEnabled(kNext, 30000));
    findings.Check(wizard.Frame(), language + L" welcome");
    wizard.PressPosted(kNext);
    if (!reached(kFirstSubPackage, 30000, L"sub-packages")) return;
    findings.Check(wizard.Frame(), language + L" sub-packages");
    wizard.PressPosted(kNext);
    if (!reached(kBackupSkip, 30000, L"settings backup") || !wizard.WaitForPageText(kMeasured.at(language), 60000) ||
        !wizard.WaitForEnabled(kNext, 30000)) {
        findings.Missing(language + L" settings backup, measured");
        return;
    }
    findings.Check(wizard.Frame(), language + L" settings backup");
    wizard.PressPosted(kNext);
    // The unpack page stays a second after its work: it counts when it is
    // still there after the check.
    if (HWND progress = servertest::WaitForControl(wizard.Frame(), kProgress, 30000)) {
        Findings unpack;
        unpack.Check(wizard.Frame(), language + L" unpack");
        if (::IsWindowVisible(progress)) findings.Add(unpack);
    }
    if (!reached(kServiceTabs, 90000, L"service page")) return;
    HWND tabs = servertest::FindControl(wizard.Frame(), kServiceTabs);
    int tabCount = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int tab = 0; tab < tabCount; ++tab) {
        ::SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
        findings.Check(wizard.Frame(), language + L" service page, tab " + std::to_wstring(tab + 1));
    }
    ::SendMessageW(tabs, TCM_SETCURFOCUS, 0, 0);
    const wchar_t* dialogs[] = {L"unencrypted connection", L"SSL connection", L"service details"};
    for (int section = 0; section < 3; ++section) {
        HWND dialog = OpenDialog(launcher, wizard, kChange + section);
        findings.Check(dialog, language + L" " + dialogs[section] + L" dialog");
        if (!dialog) return;
        CloseDialog(dialog);
    }
    // Next asks for the password of the account the command line named.
    wizard.PressPosted(kNext);
    HWND password = WaitForWindow(launcher.Id(), 30000, wizard.Frame(), L"#32770").handle;
    findings.Check(password, language + L" password dialog");
    if (!password) return;
    ::SendMessageW(::GetDlgItem(password, kPasswordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"secret"));
    CloseDialog(password, IDOK);
    if (!reached(kClusterMaster, 30000, L"cluster page")) return;
    findings.Check(wizard.Frame(), language + L" cluster page");
    for (int role : {kClusterMaster, kClusterWorker}) {
        servertest::Click(wizard.Frame(), role);
        findings.Check(wizard.Frame(), language + L" cluster page, role " + std::to_wstring(role));
    }
    wizard.Press(kCancel);
    if (!WaitUntilHidden(wizard, kClusterMaster, 30000)) {
        findings.Missing(language + L" finish page");
        return;
    }
    findings.Check(wizard.Frame(), language + L" finish page");
    wizard.PressPosted(kNext);
    EXPECT_NE(launcher.Wait(30000), static_cast<DWORD>(STILL_ACTIVE));
}

// The welcome page of an upgrade, with its Quick Install row.
void CheckUpgradeWelcome(const std::wstring& language, Findings& findings) {
    Background launcher(LauncherPath(L"dralyn_multi"), L"lang=" + language);
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(wizard.WaitForEnabled(kBack, 30000));
    findings.Check(wizard.Frame(), language + L" upgrade welcome");
    wizard.Press(kCancel);
    wizard.PressPosted(kNext);
    EXPECT_NE(launcher.Wait(30000), static_cast<DWORD>(STILL_ACTIVE));
}

// The question about products another installer put on the machine.
void CheckAlreadyInstalled(const std::wstring& language, Findings& findings) {
    Background launcher(LauncherPath(L"multi_three"), L"lang=" + language);
    HWND dialog = WaitForWindow(launcher.Id(), 30000, nullptr, L"#32770").handle;
    // The frame is a dialog too; the question is the one without a page area.
    for (int i = 0; i < 100 && dialog && ::GetDlgItem(dialog, 1036); ++i) {
        ::Sleep(100);
        dialog = WaitForWindow(launcher.Id(), 0, dialog, L"#32770").handle;
    }
    findings.Check(dialog, language + L" already-installed dialog");
    if (dialog) CloseDialog(dialog);
    WizardDriver wizard(launcher.Id(), 5000);
    if (wizard.Found()) wizard.PressPosted(kNext);
    EXPECT_NE(launcher.Wait(30000), static_cast<DWORD>(STILL_ACTIVE));
}

// Every shown control of the frame and its visible page: class, id and
// rectangle in the frame's client area, in the order of the window tree.
std::vector<std::wstring> Geometry(HWND frame) {
    std::vector<std::wstring> controls;
    struct Walk {
        static void Children(HWND frame, HWND parent, std::vector<std::wstring>& out) {
            for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (!::IsWindowVisible(child)) continue;
                RECT rect;
                ::GetWindowRect(child, &rect);
                ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
                wchar_t name[64] = {};
                ::GetClassNameW(child, name, 64);
                out.push_back(std::wstring(name) + L" " + std::to_wstring(::GetDlgCtrlID(child)) + L": " +
                              std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L" " +
                              std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom));
                if (::GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) Children(frame, child, out);
            }
        }
    };
    Walk::Children(frame, frame, controls);
    return controls;
}

// The welcome and sub-packages pages of a launcher started at the prefix's
// DPI, optionally moved to another DPI first.
struct ScaledWalk {
    std::vector<std::wstring> welcome, subPackages;
    std::vector<std::wstring> problems;
};
ScaledWalk WalkTwoPages(UINT changeTo = 0) {
    ScaledWalk walk;
    Background launcher(LauncherPath(L"multi_three"), L"lang=English");
    WizardDriver wizard(launcher.Id());
    if (!wizard.Found() || !wizard.WaitForEnabled(kNext, 20000)) return walk;
    if (changeTo) ChangeDpi(wizard.Frame(), changeTo);
    walk.welcome = Geometry(wizard.Frame());
    for (const std::wstring& problem : LayoutProblems(wizard.Frame())) walk.problems.push_back(L"welcome: " + problem);
    wizard.Press(kNext);
    walk.subPackages = Geometry(wizard.Frame());
    for (const std::wstring& problem : LayoutProblems(wizard.Frame())) walk.problems.push_back(L"sub-packages: " + problem);
    wizard.Press(kCancel);
    wizard.PressPosted(kNext);
    launcher.Wait(20000);
    return walk;
}

void CheckEveryPageAndDialogAt(DWORD dpi) {
    SetDisplayDpi(dpi);
    PlantSollenveyData();
    Findings findings;
    for (const wchar_t* language : kLanguages) WalkServerWizard(language, findings);
    // An older version of the editor for the upgrade's welcome page (its
    // recorded language cleared, so that each run keeps its own).
    fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ASSERT_EQ(fw::Msi().MsiInstallProductW(statetest::FixtureMsi(L"dralyn2023").c_str(), L""), 0u);
    RegistryKey(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvex\\Dralyn\\Installation_v2023\\Setup", false, true,
                registry_view::k32)
        .SetString(L"Language", L"");
    for (const wchar_t* language : kLanguages) CheckUpgradeWelcome(language, findings);
    TempDir sources;
    statetest::InstallFromCopy(statetest::FixtureMsi(L"editor_other"), sources.File(L"editor_other"));
    statetest::InstallFromCopy(statetest::FixtureMsi(L"tools_other"), sources.File(L"tools_other"));
    for (const wchar_t* language : kLanguages) CheckAlreadyInstalled(language, findings);
    // Each language: 15 steps of the server wizard, the upgrade and the question.
    EXPECT_EQ(findings.Checked(), 4 * 17);
    EXPECT_TRUE(findings.Problems().empty()) << Joined(findings.Problems());
}

}  // namespace

// Windows sends WM_DPICHANGED when the wizard moves to a monitor of another
// DPI; Wine never does. Sent as Windows sends it, it lays every control
// where a start at that DPI puts it, and back again.
TEST(DisplayScale, ADpiChangeLaysTheWizardOutAsAStartAtThatDpi) {
    SetDisplayDpi(96);
    ScaledWalk at96 = WalkTwoPages();
    ScaledWalk movedTo144 = WalkTwoPages(144);
    ScaledWalk movedTo192 = WalkTwoPages(192);
    SetDisplayDpi(144);
    ScaledWalk at144 = WalkTwoPages();
    ScaledWalk movedTo96 = WalkTwoPages(96);
    SetDisplayDpi(192);
    ScaledWalk at192 = WalkTwoPages();
    ASSERT_FALSE(at96.welcome.empty());
    ASSERT_FALSE(at144.welcome.empty());
    EXPECT_NE(at96.welcome, at144.welcome);
    EXPECT_EQ(movedTo144.welcome, at144.welcome);
    EXPECT_EQ(movedTo144.subPackages, at144.subPackages);
    EXPECT_EQ(movedTo192.welcome, at192.welcome);
    EXPECT_EQ(movedTo192.subPackages, at192.subPackages);
    EXPECT_EQ(movedTo96.welcome, at96.welcome);
    EXPECT_EQ(movedTo96.subPackages, at96.subPackages);
    for (const ScaledWalk* walk : {&movedTo144, &movedTo192, &movedTo96})
        EXPECT_TRUE(walk->problems.empty()) << Joined(walk->problems);
}

TEST(DisplayScale, EveryPageAndDialogFitsAt96Dpi) { CheckEveryPageAndDialogAt(96); }
TEST(DisplayScale, EveryPageAndDialogFitsAt120Dpi) { CheckEveryPageAndDialogAt(120); }
TEST(DisplayScale, EveryPageAndDialogFitsAt144Dpi) { CheckEveryPageAndDialogAt(144); }
TEST(DisplayScale, EveryPageAndDialogFitsAt192Dpi) { CheckEveryPageAndDialogAt(192); }
