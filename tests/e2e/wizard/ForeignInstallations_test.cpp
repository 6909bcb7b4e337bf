// Products of another installer are removed before the launcher installs: quietly when hidden, after asking in full UI
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "engine/Outcome.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/WizardDriver.h"

using namespace statetest;
using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2;
constexpr int kMessage = 1142, kRemoveSubs = 1138, kSubPackageList = 1139;
const wchar_t kEditor[] = L"Morvex Test Editor 2024";
const wchar_t kTools[] = L"Morvex Test Tools 2024";

const DWORD kUserCancelExit = outcome::ForInstallerResult(ERROR_INSTALL_USEREXIT);

std::wstring FoundLine(const std::wstring& name) {
    return L"ZEL (c): Found package " + name + L" to be already installed form a differnt package.\r\n";
}

bool SameCode(const std::wstring& a, const std::wstring& b) { return !a.empty() && fw::EqualsNoCase(a, b); }

// The fixture as another installer puts it on the machine: installed from a
// folder of its own, which becomes its registered install source.
FixtureFacts InstallForeign(const std::wstring& fixture, const TempDir& sources) {
    InstallFromCopy(FixtureMsi(fixture), sources.File(fixture));
    FixtureFacts facts = FactsOf(FixtureMsi(fixture));
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(facts.productCode), facts.packageCode));
    return facts;
}

// The editor and the tools product as another installer put them on the
// machine, and the two-package launcher started in full UI with its question.
struct TwoForeignProducts {
    TempDir sources;
    FixtureFacts editor = InstallForeign(L"editor_other", sources);
    FixtureFacts tools = InstallForeign(L"tools_other", sources);
    Background launcher{LauncherPath(L"two_packages"), L""};
    FoundWindow dialog = WaitForWindow(launcher.Id(), 20000);
};

std::wstring ControlText(HWND dialog, int id) { return fw::WindowText(::GetDlgItem(dialog, id)); }
}  // namespace

TEST(ForeignInstallations, QuietRunRemovesTheForeignMainProductAndInstallsItsOwn) {
    TempDir sources;
    FixtureFacts foreign = InstallForeign(L"editor_other", sources);
    FixtureFacts own = FactsOf(FixtureMsi(L"editor"));
    ASSERT_EQ(foreign.productCode, own.productCode);
    ASSERT_FALSE(SameCode(foreign.packageCode, own.packageCode));

    LauncherRun run = RunLauncher(L"single", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(FoundLine(kEditor)));
    EXPECT_FALSE(run.LogHas(L"ZEL (c): ERROR: "));
    // The removal comes before the launcher's own installation.
    size_t found = run.log.find(FoundLine(kEditor)), installing = run.log.find(L"ZEL (c): Installing product ");
    EXPECT_LT(found, installing);
    EXPECT_NE(installing, std::wstring::npos);
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(own.productCode), own.packageCode));
    // The launcher's package database is kept for maintenance like that of
    // any product it installed.
    EXPECT_TRUE(Exists(ExpectedMsiFolder(own.packageCode) + L"\\editor.msi"));
}

TEST(ForeignInstallations, RemovalWithoutDatabaseEndsTheBasicRunAsAFailure) {
    // Installed straight from the fixture folder: its install source holds
    // many databases, so none of them can be taken for the removal.
    ASSERT_EQ(Install(FixtureMsi(L"editor_other")), 0u);
    FixtureFacts foreign = FactsOf(FixtureMsi(L"editor_other"));

    LauncherRun run = RunLauncher(L"single", L"/qb /L*v %LOG%", 60000);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(outcome::kNoMsiFile));
    EXPECT_NE(run.exitCode, kUserCancelExit) << "nobody cancelled";
    EXPECT_TRUE(run.LogHas(FoundLine(kEditor)));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Failure: return code = 9\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: Could not find MSI-file\r\n"));
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(foreign.productCode), foreign.packageCode));
    // The wizard went from the welcome page straight to the finish page, once.
    EXPECT_FALSE(run.LogHas(L"ZEL (c): Activating dialog Unpack"));
    size_t finish = run.log.find(L"ZEL (c): Activating dialog Finish\r\n");
    ASSERT_NE(finish, std::wstring::npos);
    EXPECT_EQ(run.log.find(L"ZEL (c): Activating dialog Finish\r\n", finish + 1), std::wstring::npos);
    EXPECT_TRUE(run.LogHas(L"=== SetupLauncher stopped: "));
}

TEST(ForeignInstallations, MessageBoxCancelEndsTheWizardAndKeepsTheProduct) {
    TempDir sources;
    FixtureFacts foreign = InstallForeign(L"editor_other", sources);
    Background launcher(LauncherPath(L"single"), L"");
    FoundWindow box = WaitForWindow(launcher.Id(), 20000);
    ASSERT_NE(box.handle, nullptr);
    EXPECT_TRUE(Contains(box.text, L"installed on your system from a different installer")) << box.text;
    std::wstring consent = std::wstring(L"Click OK to let this Wizard uninstall ") + kEditor + L".";
    EXPECT_TRUE(Contains(box.text, consent)) << box.text;
    PressButton(box.handle, IDCANCEL);
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted"));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), kUserCancelExit);
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(foreign.productCode), foreign.packageCode));
}

TEST(ForeignInstallations, MessageBoxOkRemovesTheProductAndTheWizardGoesOn) {
    TempDir sources;
    FixtureFacts foreign = InstallForeign(L"editor_other", sources);
    FixtureFacts own = FactsOf(FixtureMsi(L"editor"));
    Background launcher(LauncherPath(L"single"), L"");
    FoundWindow box = WaitForWindow(launcher.Id(), 20000);
    ASSERT_NE(box.handle, nullptr);
    ASSERT_TRUE(Contains(box.text, kEditor)) << box.text;
    PressButton(box.handle, IDOK);
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    // A fresh installation now: the welcome page offers to install.
    ASSERT_TRUE(wizard.WaitForPageText(std::wstring(L"This wizard will install ") + kEditor, 30000));
    EXPECT_TRUE(wizard.IsVisible());
    EXPECT_FALSE(ProductInstalled(foreign.productCode));
    // With a single package the wizard ends after the installation.
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(own.productCode), own.packageCode));
}

TEST(ForeignInstallations, DialogCancelRemovesNothing) {
    TwoForeignProducts run;
    FixtureFacts &editor = run.editor, &tools = run.tools;
    Background& launcher = run.launcher;
    FoundWindow& dialog = run.dialog;
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(dialog.caption, L"Install Alert");
    EXPECT_EQ(ControlText(dialog.handle, kMessage),
              std::wstring(L"This product has already been installed on your system from a different installer. It "
                           L"needs to be uninstalled before this wizard can continue.\nClick OK to let this Wizard "
                           L"uninstall ") + kEditor + L".");
    EXPECT_EQ(ControlText(dialog.handle, kSubPackageList), kTools);
    EXPECT_EQ(ControlText(dialog.handle, kRemoveSubs),
              L"The following sub-packages contained in this installer have been installed on your system from a "
              L"different installer. Remove them as well? (Necessary if you want to install these sub-packages now.)");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog.handle, kSubPackageList)));
    EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog.handle, kRemoveSubs), BM_GETCHECK, 0, 0), BST_CHECKED);
    PressButton(dialog.handle, IDCANCEL);
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted"));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), kUserCancelExit);
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(editor.productCode), editor.packageCode));
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(tools.productCode), tools.packageCode));
}

TEST(ForeignInstallations, DialogOkWithTheBoxUncheckedRemovesTheMainProductOnly) {
    TwoForeignProducts run;
    FixtureFacts &editor = run.editor, &tools = run.tools;
    Background& launcher = run.launcher;
    FoundWindow& dialog = run.dialog;
    ASSERT_NE(dialog.handle, nullptr);
    ASSERT_EQ(dialog.caption, L"Install Alert");
    ::SendMessageW(::GetDlgItem(dialog.handle, kRemoveSubs), BM_SETCHECK, BST_UNCHECKED, 0);
    PressButton(dialog.handle, IDOK);
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(wizard.WaitForPageText(std::wstring(L"This wizard will install ") + kEditor, 30000));
    EXPECT_FALSE(ProductInstalled(editor.productCode));
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(tools.productCode), tools.packageCode));
    wizard.Press(kCancel);
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted"));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), kUserCancelExit);
    EXPECT_TRUE(SameCode(RegisteredPackageCodeOf(tools.productCode), tools.packageCode));
}
