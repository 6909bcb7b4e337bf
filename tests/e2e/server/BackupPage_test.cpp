// The settings backup page: shown in full runs with the server's
// configuration file, measuring on its worker; "Skip backup" from the file,
// the confirmation and the property string; Escape while measuring cancels
// the run; passed over without the file and in quiet runs.
#include <gtest/gtest.h>

#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/WizardDriver.h"

using namespace servertest;
using testsupport::WizardDriver;

namespace {
constexpr int kNext = 1, kCancel = 2, kBack = 1000, kSkip = 1155, kReset = 1158;

std::wstring DataFolder() { return CommonAppData() + L"\\Morvex\\SollenveyServer"; }

// Enough solution files that the measuring takes a moment.
void PlantManySolutionFiles() {
    for (int i = 0; i < 400; ++i)
        Plant(DataFolder() + L"\\SolutionFiles\\s" + std::to_wstring(i % 20) + L"\\f" + std::to_wstring(i) + L".sol", "x");
}

void PlantServer(const std::string& config) {
    Plant(DataFolder() + L"\\sollenveyserver.cfg", config);
    Plant(DataFolder() + L"\\sollenvey.db", std::string(300000, 'd'));
    Plant(DataFolder() + L"\\SolutionFiles\\app\\main.sol", std::string(5000, 's'));
}

// Waits for the confirmation box of the launcher.
testsupport::FoundWindow WaitForBox(const testsupport::Background& launcher, const WizardDriver& wizard) {
    return testsupport::WaitForWindow(launcher.Id(), 10000, wizard.Frame(), L"#32770");
}
}  // namespace

TEST(BackupPage, SkipFromTheFileConfirmationAndBothProperties) {
    PlantServer("[server]\r\nport=1\r\n[Installer]\r\n  avoidbackuponupgrade = 1\r\n");
    testsupport::TempDir logDir;
    std::wstring log = logDir.File(L"log.txt");
    testsupport::Background launcher(testsupport::LauncherPath(L"server_sollenvey"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Calculation finished", 30000));
    EXPECT_TRUE(wizard.WaitForEnabled(kNext));
    EXPECT_TRUE(IsChecked(wizard.Frame(), kSkip));
    EXPECT_FALSE(IsChecked(wizard.Frame(), kReset));
    EXPECT_TRUE(wizard.WaitForPageText(L"0 MB", 1000)) << "the backup is well below 1 MiB";
    Click(wizard.Frame(), kReset);
    wizard.PressPosted(kNext);
    testsupport::FoundWindow box = WaitForBox(launcher, wizard);
    ASSERT_NE(box.handle, nullptr);
    EXPECT_TRUE(testsupport::Contains(box.text, L"You have chosen to skip the backup."));
    EXPECT_TRUE(testsupport::Contains(box.text, L"You have chosen to reset the database."));
    testsupport::PressButton(box.handle, IDCANCEL);
    ASSERT_TRUE(testsupport::WaitForWindowGone(box.handle));
    // The page stays.
    EXPECT_TRUE(wizard.WaitForPageText(L"Calculation finished", 5000));
    wizard.PressPosted(kNext);
    box = WaitForBox(launcher, wizard);
    ASSERT_NE(box.handle, nullptr);
    testsupport::PressButton(box.handle, IDOK);
    ASSERT_TRUE(testsupport::WaitForWindowGone(box.handle));
    // The service page of the server, then the installation, whose end the
    // installer of a single package shows itself.
    ASSERT_TRUE(wizard.WaitForPageText(L"Check the Web server and service settings", 30000));
    wizard.PressPosted(kNext);
    EXPECT_EQ(launcher.Wait(60000), 0u);
    LauncherRun run = ReadLog(log);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): CreatedBackupWorkerThread\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Worker-thread stopped\r\n"));
    EXPECT_EQ(InstallerProperty(run, L"RESET_DATABASE"), std::optional<std::wstring>(L"true"));
    EXPECT_EQ(InstallerProperty(run, L"SKIP_BACKUP"), std::optional<std::wstring>(L"true"));
}

TEST(BackupPage, EscapeWhileMeasuringCancelsTheRun) {
    PlantServer("[installer]\r\n");
    PlantManySolutionFiles();
    testsupport::Background launcher(testsupport::LauncherPath(L"server_sollenvey"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Calculating required disk space...", 20000));
    EXPECT_FALSE(wizard.IsEnabled(kNext));
    ::PostMessageW(wizard.Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(wizard.WaitForPageText(L"Setup aborted", 20000));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
    EXPECT_FALSE(FixtureInstalled(L"SollenveyServer"));
}

// While the page measures, Back and Next are off, and a Back or Next that
// arrives all the same is refused (it would start a page under the running
// measurement); a link among the solution files is never entered.
TEST(BackupPage, BackIsRefusedWhileMeasuringAndLinksAreNotEntered) {
    PlantServer("[installer]\r\n");
    PlantManySolutionFiles();
    testsupport::TempDir outside;
    Plant(outside.File(L"big.bin"), std::string(3 * 1048576, 'b'));
    bool linked = filetest::MakeFolderLink(DataFolder() + L"\\SolutionFiles\\link", outside.Path());
    testsupport::Background launcher(testsupport::LauncherPath(L"server_sollenvey"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Calculating required disk space...", 20000));
    EXPECT_FALSE(wizard.IsEnabled(kBack));
    ::PostMessageW(wizard.Frame(), WM_COMMAND, MAKEWPARAM(kBack, BN_CLICKED), 0);
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Calculation finished", 30000));
    EXPECT_TRUE(wizard.WaitForEnabled(kBack));
    EXPECT_TRUE(wizard.WaitForEnabled(kNext));
    // Still the backup page, measured once: the 3 MB behind the link count
    // for nothing.
    if (linked) EXPECT_TRUE(wizard.WaitForPageText(L"0 MB", 1000)) << "the link was entered";
    wizard.PressPosted(kCancel);
    ASSERT_TRUE(wizard.WaitForPageText(L"Setup aborted", 20000));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(BackupPage, PassedOverWithoutTheFileAndInQuietRuns) {
    testsupport::Background launcher(testsupport::LauncherPath(L"server_sollenvey"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    // Straight from the welcome page to the service page.
    ASSERT_TRUE(wizard.WaitForPageText(L"Check the Web server and service settings", 30000));
    wizard.PressPosted(kCancel);
    ASSERT_TRUE(wizard.WaitForPageText(L"Setup aborted", 20000));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);

    PlantServer("[installer]\r\navoidbackuponupgrade=1\r\n");
    LauncherRun quiet = RunLauncher(L"server_sollenvey", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(quiet.exitCode, 0u);
    EXPECT_FALSE(quiet.LogHas(L"CreatedBackupWorkerThread"));
    EXPECT_FALSE(InstallerProperty(quiet, L"SKIP_BACKUP"));
    EXPECT_TRUE(FixtureInstalled(L"SollenveyServer"));
}
