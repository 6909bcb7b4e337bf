// The finish page in full user interface tells how install, modify, repair
// and uninstall ended, success and failure, with the texts of each
// operation; the exit code matches what the page said. (Two packages: with
// one, the wizard closes after the installer's work and shows no finish page
// unless an error is pending.)
#include <gtest/gtest.h>

#include <iostream>

#include "engine/Outcome.h"
#include "framework/SystemApi.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {

constexpr int kNext = 1, kBack = 1000;
const std::wstring kProduct = L"Morvex Test Editor 2024";

struct FinishSeen {
    std::vector<std::wstring> page;  // the finish page's texts, top to bottom
    std::wstring nextText;
    bool backEnabled = true;
    DWORD exitCode = 0;
};

// Runs the launcher in full UI, checks the welcome page names the operation,
// goes on with Next and reads the finish page. Boxes the failing installer
// raises on the way (and the launcher's error box after Finish) are answered
// with OK.
FinishSeen WalkToFinish(const std::wstring& arguments, const std::wstring& welcomeText,
                        const std::wstring& variant = L"two_packages") {
    FinishSeen seen;
    TempDir dir;
    Background launcher(LauncherPath(variant), arguments + L" /L*v " + dir.File(L"log.txt"));
    WizardDriver wizard(launcher.Id());
    EXPECT_TRUE(wizard.Found());
    if (!wizard.Found()) return seen;
    EXPECT_TRUE(wizard.WaitForPageText(welcomeText, 5000));
    // Posted: a box shown while the operation runs must not hold the test.
    wizard.PressPosted(kNext);
    DWORD start = ::GetTickCount();
    while (!wizard.WaitForPageText(L"Click Finish to exit the wizard.", 500) && ::GetTickCount() - start < 120000) {
        // Message boxes only: Windows Installer's own progress window is
        // left alone.
        FoundWindow box = WaitForWindow(launcher.Id(), 0, wizard.Frame(), L"#32770");
        if (box.handle) PressButton(box.handle, IDOK);
    }
    seen.page = wizard.PageTexts();
    seen.nextText = wizard.ControlText(kNext);
    seen.backEnabled = wizard.IsEnabled(kBack);
    wizard.PressPosted(kNext);
    FoundWindow error = WaitForWindow(launcher.Id(), 3000, wizard.Frame(), L"#32770");
    if (error.handle) PressButton(error.handle, IDOK);
    seen.exitCode = launcher.Wait(30000);
    if (::testing::Test::HasFailure()) std::wcout << ReadUtf16(dir.File(L"log.txt")) << std::endl;
    return seen;
}

void ExpectFinish(const FinishSeen& seen, const std::wstring& heading, const std::wstring& message,
                  const std::wstring& note) {
    std::vector<std::wstring> expected = {heading, message};
    if (!note.empty()) expected.push_back(note);
    expected.push_back(L"Click Finish to exit the wizard.");
    EXPECT_EQ(seen.page, expected);
    EXPECT_EQ(seen.nextText, L"&Finish");
    EXPECT_FALSE(seen.backEnabled);
}

const std::wstring kModifyWelcome = L"This wizard will help to modify the installation of your product.";
const std::wstring kRepairWelcome = L"This wizard will help you to repair installation of your product.";
const std::wstring kUninstallWelcome = L"Setup will guide you through the uninstall process of your product.";
// Windows Installer's failure comes through as the exit code as it is.
const DWORD kFailed = ERROR_INSTALL_FAILURE;

}  // namespace

TEST(FinishPageWalk, ModifySucceedsAndFails) {
    ASSERT_EQ(RunLauncher(L"two_packages", L"/qn", 120000).exitCode, 0u);
    FinishSeen ok = WalkToFinish(L"", kModifyWelcome);
    ExpectFinish(ok, L"Setup completed", L"Setup has successfully modified the installation of " + kProduct + L".", L"");
    EXPECT_EQ(ok.exitCode, 0u);
    // The package's launch condition fails on request: a failed modify has no note.
    FinishSeen failed = WalkToFinish(L"FAIL_PRODUCT=TestEditor", kModifyWelcome);
    ExpectFinish(failed, L"Setup aborted", L"Setup was interrupted before all modification could be completely applied.",
                 L"");
    EXPECT_EQ(failed.exitCode, kFailed);
}

TEST(FinishPageWalk, RepairSucceedsAndFails) {
    ASSERT_EQ(RunLauncher(L"two_packages", L"/qn", 120000).exitCode, 0u);
    FinishSeen ok = WalkToFinish(L"/fa", kRepairWelcome);
    ExpectFinish(ok, L"Setup completed", L"Setup has successfully repaired " + kProduct + L".", L"");
    EXPECT_EQ(ok.exitCode, 0u);
    // Without its cached database Windows Installer no longer knows the
    // editor (1605); the launcher reports that, and a failed repair has no note.
    std::wstring editor = statetest::FactsOf(statetest::FixtureMsi(L"editor")).productCode;
    wchar_t cached[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    ASSERT_EQ(fw::Msi().MsiGetProductInfoW(editor.c_str(), L"LocalPackage", cached, &size), 0u);
    ASSERT_TRUE(::DeleteFileW(cached));
    FinishSeen failed = WalkToFinish(L"/fa", kRepairWelcome);
    ExpectFinish(failed, L"Setup aborted", L"Setup was interrupted before " + kProduct + L" could be completely repaired.",
                 L"");
    EXPECT_EQ(failed.exitCode, static_cast<DWORD>(ERROR_UNKNOWN_PRODUCT));
}

TEST(FinishPageWalk, UninstallFailsThenSucceeds) {
    ASSERT_EQ(RunLauncher(L"two_packages", L"/qn", 120000).exitCode, 0u);
    FinishSeen failed = WalkToFinish(L"/x FAIL_PRODUCT=TestEditor", kUninstallWelcome);
    ExpectFinish(failed, L"Setup aborted",
                 L"Setup was interrupted before " + kProduct + L" could be completely un-installed.",
                 L"Your system has not been modified.");
    EXPECT_EQ(failed.exitCode, kFailed);
    FinishSeen ok = WalkToFinish(L"/x", kUninstallWelcome);
    ExpectFinish(ok, L"Setup completed", L"Setup has successfully un-installed " + kProduct + L".", L"");
    EXPECT_EQ(ok.exitCode, 0u);
}

TEST(FinishPageWalk, AFailedInstallSaysTheSystemWasNotModified) {
    FinishSeen failed = WalkToFinish(L"FAIL_PRODUCT=TestEditor", L"This wizard will install " + kProduct);
    ExpectFinish(failed, L"Setup aborted",
                 L"The wizard was interrupted before " + kProduct + L" could be completely installed.",
                 L"Your system has not been modified. To install this program at a later time, please run the "
                 L"installation again.");
    EXPECT_EQ(failed.exitCode, kFailed);
}

TEST(FinishPageWalk, AnErrorTheInstallerDidNotShowIsReportedAndTheFinishPageFollows) {
    // An unbalanced quote in the installer's own PROPERTIES text makes
    // Windows Installer refuse the property string (1639) without a message
    // of its own: the launcher reports it, and the finish page, the page
    // right after the install, still follows. (The same quote on the
    // command line is refused before the wizard.)
    FinishSeen failed = WalkToFinish(L"", L"This wizard will install " + kProduct, L"bad_properties");
    ExpectFinish(failed, L"Setup aborted",
                 L"The wizard was interrupted before " + kProduct + L" could be completely installed.",
                 L"Your system has not been modified. To install this program at a later time, please run the "
                 L"installation again.");
    EXPECT_EQ(failed.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE));
}
