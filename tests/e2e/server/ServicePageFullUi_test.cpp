// The service page in a full run, as a user sees and uses it: one tab per
// server, the three summaries with changed values in bold, the "Change..."
// dialogs (ports, SSL files with Browse, start type and logon account, tool
// tips) and the properties the installer then gets; Back and Next keep it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "icbs/PasswordCrypto.h"
#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/support/RemoteControls.h"
#include "tests/support/WizardDriver.h"

using namespace servertest;
using testsupport::WizardDriver;

namespace {
constexpr int kNext = 1, kBack = 1000, kTabs = 1411, kTitle = 1412, kSummary = 1415, kChange = 1418;
constexpr int kEnabled = 1452, kPort = 1454, kCertificate = 1456, kCertificateBrowse = 1457, kKey = 1459;
constexpr int kStartType = 1435, kNetworkService = 1439, kOtherUser = 1440, kUser = 1442, kPassword = 1444;
const wchar_t* kServicePageText = L"Check the Web server and service settings";

HWND Summary(const WizardDriver& wizard, int section) { return FindControl(wizard.Frame(), kSummary + section); }

// Waits until a section's text is the expected one.
bool WaitForSummary(const WizardDriver& wizard, int section, const std::wstring& expected) {
    for (int i = 0; i < 200; ++i) {
        HWND summary = Summary(wizard, section);
        if (summary && testsupport::RichEditText(summary) == expected) return true;
        ::Sleep(50);
    }
    return false;
}

// Whether the part of a section's text is bold (the first place it occurs).
std::optional<bool> BoldPart(const WizardDriver& wizard, int section, const std::wstring& part) {
    HWND summary = Summary(wizard, section);
    std::wstring text = testsupport::RichEditText(summary);
    size_t at = text.find(part);
    if (at == std::wstring::npos) return std::nullopt;
    return testsupport::RichEditBold(summary, static_cast<long>(at), static_cast<long>(at + part.size()));
}

// Opens the dialog of a section's "Change..." button.
testsupport::FoundWindow OpenChange(const testsupport::Background& launcher, const WizardDriver& wizard, int section) {
    ::PostMessageW(FindControl(wizard.Frame(), kChange + section), BM_CLICK, 0, 0);
    return testsupport::WaitForWindow(launcher.Id(), 10000, wizard.Frame(), L"#32770");
}

void SetText(HWND dialog, int id, const std::wstring& text) {
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TextOf(HWND dialog, int id) { return testsupport::RichEditText(::GetDlgItem(dialog, id)); }

void SelectTab(const WizardDriver& wizard, int index) {
    ::SendMessageW(FindControl(wizard.Frame(), kTabs), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}

std::optional<std::wstring> Value(const wchar_t* text) { return std::wstring(text); }
}  // namespace

TEST(ServicePageFullUi, BrimcartTabsSummariesAndDialogsReachTheInstaller) {
    testsupport::TempDir logDir;
    std::wstring log = logDir.File(L"log.txt");
    std::wstring certificate = logDir.File(L"server.crt");
    testsupport::WriteBytes(certificate, "certificate");
    testsupport::Background launcher(testsupport::LauncherPath(L"server_brimcart"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 30000));
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 4646"));
    EXPECT_EQ(testsupport::TabTexts(FindControl(wizard.Frame(), kTabs)),
              (std::vector<std::wstring>{L"Brimcart Server", L"BrimcartWeb Server"}));
    EXPECT_TRUE(wizard.PageShowsText(L"Unencrypted Connection to Web Server"));
    EXPECT_TRUE(wizard.PageShowsText(L"SSL Encrypted Connection to Web Server"));
    EXPECT_TRUE(wizard.PageShowsText(L"Service configuration"));
    EXPECT_TRUE(WaitForSummary(wizard, 1, L"disabled"));
    EXPECT_TRUE(WaitForSummary(wizard, 2, L"Start type: Automatic, Logon account: Local System"));
    EXPECT_EQ(BoldPart(wizard, 0, L"4646"), std::optional<bool>(false)) << "nothing is changed yet";
    EXPECT_EQ(BoldPart(wizard, 2, L"Automatic"), std::optional<bool>(false));

    // The unencrypted server's port.
    testsupport::FoundWindow dialog = OpenChange(launcher, wizard, 0);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(dialog.caption, L"Unencrypted Connection to Web Server");
    EXPECT_TRUE(testsupport::Contains(dialog.text, L"Brimcart Server"));
    EXPECT_EQ(TextOf(dialog.handle, kPort), L"4646");
    EXPECT_EQ(::IsDlgButtonChecked(dialog.handle, kEnabled), BST_CHECKED);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog.handle, kCertificate))) << "no files for the unencrypted server";
    SetText(dialog.handle, kPort, L"4700");
    testsupport::PressButton(dialog.handle, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 4700"));
    EXPECT_EQ(BoldPart(wizard, 0, L"4700"), std::optional<bool>(true));
    EXPECT_EQ(BoldPart(wizard, 0, L"port number"), std::optional<bool>(false));

    // The SSL server: switched on, another port and a certificate file.
    dialog = OpenChange(launcher, wizard, 1);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(dialog.caption, L"SSL Encrypted Connection to Web Server");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog.handle, kEnabled)));
    EXPECT_EQ(TextOf(dialog.handle, kCertificate), L"C:\\path_to\\certificate");
    EXPECT_EQ(TextOf(dialog.handle, kKey), L"C:\\path_to\\PrivateKey");
    ::SendMessageW(::GetDlgItem(dialog.handle, kEnabled), BM_CLICK, 0, 0);
    SetText(dialog.handle, kPort, L"4800");
    SetText(dialog.handle, kCertificate, certificate);
    testsupport::PressButton(dialog.handle, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));
    ASSERT_TRUE(WaitForSummary(wizard, 1, L"port number: 4800"));
    EXPECT_EQ(BoldPart(wizard, 1, L"4800"), std::optional<bool>(true));

    // The service: on demand, as the network service.
    dialog = OpenChange(launcher, wizard, 2);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(dialog.caption, L"Service configuration");
    EXPECT_TRUE(testsupport::Contains(dialog.text, L"MorvexBrimcart"));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.handle, kUser))) << "no user name for the local system";
    ::SendMessageW(::GetDlgItem(dialog.handle, kOtherUser), BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog.handle, kUser)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog.handle, kPassword)));
    ::SendMessageW(::GetDlgItem(dialog.handle, kNetworkService), BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.handle, kUser)));
    ::SendMessageW(::GetDlgItem(dialog.handle, kStartType), CB_SETCURSEL, 1, 0);
    testsupport::PressButton(dialog.handle, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));
    ASSERT_TRUE(WaitForSummary(wizard, 2, L"Start type: On Demand, Logon account: Network Service"));
    EXPECT_EQ(BoldPart(wizard, 2, L"On Demand"), std::optional<bool>(true));
    EXPECT_EQ(BoldPart(wizard, 2, L"Network Service"), std::optional<bool>(true));
    EXPECT_EQ(BoldPart(wizard, 2, L"Start type"), std::optional<bool>(false));

    // The other tab has its own values; Next and Back keep the changes.
    SelectTab(wizard, 1);
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 8082"));
    EXPECT_EQ(BoldPart(wizard, 0, L"8082"), std::optional<bool>(false));
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Brimcart Cluster Configuration", 10000));
    wizard.Press(kBack);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 10000));
    SelectTab(wizard, 0);
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 4700"));
    EXPECT_EQ(BoldPart(wizard, 0, L"4700"), std::optional<bool>(true));
    EXPECT_TRUE(WaitForSummary(wizard, 2, L"Start type: On Demand, Logon account: Network Service"));

    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Brimcart Cluster Configuration", 10000));
    wizard.PressPosted(kNext);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    LauncherRun run = ReadLog(log);
    EXPECT_EQ(InstallerProperty(run, L"BC_WebServer_Port"), Value(L"4700"));
    EXPECT_EQ(InstallerProperty(run, L"BC_SSLWebServer_Port"), Value(L"4800"));
    EXPECT_EQ(InstallerProperty(run, L"BC_SSLWebServer_Enabled"), Value(L"1"));
    EXPECT_EQ(InstallerProperty(run, L"BC_SSLWebServer_Certificate"), std::optional<std::wstring>(certificate));
    EXPECT_EQ(InstallerProperty(run, L"BC_SSLWebServer_PrivateKey"), std::nullopt) << "the key was not changed";
    EXPECT_EQ(InstallerProperty(run, L"BC_Service_StartType"), Value(L"demand"));
    EXPECT_EQ(InstallerProperty(run, L"BC_Service_Username"), Value(L"NT AUTHORITY\\NetworkService"));
    EXPECT_EQ(InstallerProperty(run, L"BCWeb_WebServer_Port"), Value(L"8082"));
    EXPECT_EQ(InstallerProperty(run, L"BCWeb_Service_StartType"), Value(L"auto"));
}

namespace {
struct DialogSearch {
    DWORD pid;
    HWND first, second, found;
};
BOOL CALLBACK MatchOtherDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (owner != search->pid || window == search->first || window == search->second || !::IsWindowVisible(window) ||
        std::wstring(name) != L"#32770")
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible dialog of the process other than the given ones (the system's
// open-file dialog above the launcher's own).
HWND WaitForOtherDialog(DWORD pid, HWND first, HWND second) {
    DialogSearch search{pid, first, second, nullptr};
    for (int i = 0; i < 200 && !search.found; ++i) {
        ::EnumWindows(MatchOtherDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(50);
    }
    return search.found;
}
}  // namespace

TEST(ServicePageFullUi, SollenveyClientUsesTheAdminCertificateChosenWithBrowse) {
    testsupport::TempDir logDir;
    std::wstring log = logDir.File(L"log.txt");
    std::wstring certificate = logDir.File(L"client.crt");
    testsupport::WriteBytes(certificate, "certificate");
    testsupport::Background launcher(testsupport::LauncherPath(L"server_sollenvey"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 30000));
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 8085"));
    EXPECT_EQ(testsupport::TabTexts(FindControl(wizard.Frame(), kTabs)),
              (std::vector<std::wstring>{L"Sollenvey Server Admin Interface", L"Sollenvey Server Client Interface"}));
    EXPECT_NE(FindControl(wizard.Frame(), kTitle + 2), nullptr) << "the admin interface has a service";
    SelectTab(wizard, 1);
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 8083"));
    EXPECT_EQ(FindControl(wizard.Frame(), kTitle + 2), nullptr) << "the client interface has no service of its own";
    EXPECT_EQ(FindControl(wizard.Frame(), kChange + 2), nullptr);

    testsupport::FoundWindow dialog = OpenChange(launcher, wizard, 1);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_TRUE(testsupport::Contains(dialog.text, L"Sollenvey Server Client Interface"));
    ::PostMessageW(::GetDlgItem(dialog.handle, kCertificateBrowse), BM_CLICK, 0, 0);
    HWND open = WaitForOtherDialog(launcher.Id(), wizard.Frame(), dialog.handle);
    ASSERT_NE(open, nullptr) << "the open-file dialog";
    HWND name = ::GetDlgItem(open, 0x47c);  // the file-name box
    if (!name) name = ::GetDlgItem(open, 0x480);
    ASSERT_NE(name, nullptr);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(certificate.c_str()));
    testsupport::PressButton(open, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(open));
    for (int i = 0; i < 100 && TextOf(dialog.handle, kCertificate) != certificate; ++i) ::Sleep(50);
    EXPECT_EQ(fw::ToUpper(TextOf(dialog.handle, kCertificate)), fw::ToUpper(certificate));
    testsupport::PressButton(dialog.handle, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));

    // The admin interface's SSL dialog shows the same file: it is its own.
    SelectTab(wizard, 0);
    ASSERT_TRUE(WaitForSummary(wizard, 0, L"port number: 8085"));
    dialog = OpenChange(launcher, wizard, 1);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(fw::ToUpper(TextOf(dialog.handle, kCertificate)), fw::ToUpper(certificate));
    testsupport::PressButton(dialog.handle, IDCANCEL);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));

    wizard.PressPosted(kNext);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    LauncherRun run = ReadLog(log);
    std::optional<std::wstring> passed = InstallerProperty(run, L"SY_SSLWebServer_Certificate");
    ASSERT_TRUE(passed.has_value());
    EXPECT_EQ(fw::ToUpper(*passed), fw::ToUpper(certificate));
    EXPECT_EQ(InstallerProperty(run, L"SYClient_WebServer_Port"), Value(L"8083"));
}

TEST(ServicePageFullUi, HarrowbyOtherUserWithPasswordAndToolTips) {
    const std::wstring typed = L"Typed-77e2-Pw";
    testsupport::TempDir logDir;
    std::wstring log = logDir.File(L"log.txt");
    testsupport::Background launcher(testsupport::LauncherPath(L"server_harrowby"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 30000));
    ASSERT_TRUE(WaitForSummary(wizard, 2, L"Start type: On Demand, Logon account: Local System"));
    testsupport::FoundWindow dialog = OpenChange(launcher, wizard, 2);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(testsupport::ToolTipText(dialog.handle, ::GetDlgItem(dialog.handle, kUser)),
              L"Format: <machine_name>\\<user name>");
    EXPECT_EQ(testsupport::ToolTipText(dialog.handle, ::GetDlgItem(dialog.handle, kStartType)),
              L"Defines how the service is started when Windows starts.");
    ::SendMessageW(::GetDlgItem(dialog.handle, kOtherUser), BM_CLICK, 0, 0);
    SetText(dialog.handle, kUser, L".\\svc");
    SetText(dialog.handle, kPassword, typed);
    testsupport::PressButton(dialog.handle, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));
    ASSERT_TRUE(WaitForSummary(wizard, 2, L"Start type: On Demand, Logon account: .\\svc"));
    EXPECT_EQ(BoldPart(wizard, 2, L".\\svc"), std::optional<bool>(true));
    EXPECT_EQ(BoldPart(wizard, 2, L"On Demand"), std::optional<bool>(false));
    // The password is known: no password dialog, the installation runs.
    wizard.PressPosted(kNext);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    LauncherRun run = ReadLog(log);
    EXPECT_EQ(InstallerProperty(run, L"HB_Service_Username"), Value(L".\\svc"));
    std::optional<std::wstring> encrypted = InstallerProperty(run, L"HB_Service_Password");
    ASSERT_TRUE(encrypted.has_value());
    EXPECT_EQ(icbs::DecryptPassword(*encrypted + L"\r\n"), typed);
    EXPECT_FALSE(run.LogHas(typed));
}
