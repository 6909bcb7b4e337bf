// The server pages in a full run, walked through window messages: the
// cluster page's radio buttons and master port, and the password dialog
// for another user's account without a password (Cancel keeps the page).
#include <gtest/gtest.h>

#include "icbs/PasswordCrypto.h"
#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/support/WizardDriver.h"

using namespace servertest;
using testsupport::WizardDriver;

namespace {
constexpr int kNext = 1, kBack = 1000, kStandalone = 1401, kMaster = 1402, kPort = 1404, kPasswordEdit = 1322;
const wchar_t* kServicePageText = L"Check the Web server and service settings";

std::wstring EditText(HWND edit) {
    wchar_t buffer[64] = {};
    ::SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}
}  // namespace

TEST(ServerPagesFullUi, ClusterRadioButtonsChooseTheRoleAndPort) {
    testsupport::TempDir logDir;
    std::wstring log = logDir.File(L"log.txt");
    testsupport::Background launcher(testsupport::LauncherPath(L"server_brimcart"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 30000));
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Brimcart Cluster Configuration", 10000));
    EXPECT_TRUE(wizard.WaitForPageText(L"The server runs on its own", 2000));
    EXPECT_TRUE(IsChecked(wizard.Frame(), kStandalone));
    EXPECT_EQ(FindControl(wizard.Frame(), kPort), nullptr) << "the port box is hidden for a standalone server";
    Click(wizard.Frame(), kMaster);
    EXPECT_TRUE(wizard.WaitForPageText(L"The server is the master of a cluster", 5000));
    HWND port = FindControl(wizard.Frame(), kPort);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(EditText(port), L"4645");
    ::SendMessageW(port, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4711"));
    // Back and Next again keep the choice.
    wizard.Press(kBack);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 10000));
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Brimcart Cluster Configuration", 10000));
    EXPECT_TRUE(IsChecked(wizard.Frame(), kMaster));
    EXPECT_EQ(EditText(FindControl(wizard.Frame(), kPort)), L"4711");
    wizard.PressPosted(kNext);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    LauncherRun run = ReadLog(log);
    EXPECT_EQ(InstallerProperty(run, L"BC_Cluster_Role"), std::optional<std::wstring>(L"Master"));
    EXPECT_EQ(InstallerProperty(run, L"BC_Master_Port"), std::optional<std::wstring>(L"4711"));
    EXPECT_EQ(InstallerProperty(run, L"BC_Master_Active"), std::optional<std::wstring>(L"1"));
}

TEST(ServerPagesFullUi, PasswordDialogAsksForAMissingPasswordAndCancelKeepsThePage) {
    const std::wstring typed = L"Typed-9c1d-Pw";
    testsupport::TempDir logDir;
    std::wstring log = logDir.File(L"log.txt");
    testsupport::Background launcher(testsupport::LauncherPath(L"server_harrowby"),
                                     L"HB_Service_Username=.\\svc /L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 30000));
    wizard.PressPosted(kNext);
    testsupport::FoundWindow dialog = testsupport::WaitForWindow(launcher.Id(), 10000, wizard.Frame(), L"#32770");
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(dialog.caption, L"Service registration");
    EXPECT_TRUE(testsupport::Contains(dialog.text, L"Morvex Harrowby Server 2024"));
    EXPECT_TRUE(testsupport::Contains(dialog.text, L".\\svc"));
    testsupport::PressButton(dialog.handle, IDCANCEL);
    ASSERT_TRUE(testsupport::WaitForWindowGone(dialog.handle));
    EXPECT_TRUE(wizard.WaitForPageText(kServicePageText, 10000)) << "Cancel keeps the page";
    wizard.PressPosted(kNext);
    dialog = testsupport::WaitForWindow(launcher.Id(), 10000, wizard.Frame(), L"#32770");
    ASSERT_NE(dialog.handle, nullptr);
    ::SendMessageW(::GetDlgItem(dialog.handle, kPasswordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    testsupport::PressButton(dialog.handle, IDOK);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    LauncherRun run = ReadLog(log);
    std::optional<std::wstring> encrypted = InstallerProperty(run, L"HB_Service_Password");
    ASSERT_TRUE(encrypted.has_value());
    EXPECT_EQ(icbs::DecryptPassword(*encrypted + L"\r\n"), typed);
    EXPECT_FALSE(run.LogHas(typed));
    for (const std::wstring& line : LauncherLines(run)) EXPECT_FALSE(testsupport::Contains(line, *encrypted)) << line.c_str();
}
