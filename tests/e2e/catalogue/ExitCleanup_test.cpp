// At its end the launcher deletes the database folders of packages that are
// not installed (not after /f or a failed /x), never through a link, never
// the base folder; after a successful /x nothing of the removed products
// stays: a bundle's main folder is removed by a script once the launcher has
// ended (also one asking for a restart, also when the launcher ran from
// inside that folder), every other folder at the launcher's end. Run as a user runs it, with
// products installed by Wine's Windows Installer beforehand.
#include <gtest/gtest.h>

#include "engine/Outcome.h"
#include "framework/Handles.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/AccessEntries.h"

using namespace statetest;
using testsupport::TempDir;

namespace {

// The database folder of a fixture package, made as an earlier run leaves it.
std::wstring MakeKeptFolder(const std::wstring& fixture) {
    std::wstring folder = ExpectedMsiFolder(FactsOf(FixtureMsi(fixture)).packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    EXPECT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_TRUE(::CopyFileW(FixtureMsi(fixture).c_str(), (folder + L"\\" + fixture + L".msi").c_str(), FALSE));
    PutFile(folder + L"\\Transform_de.mst", "transform");
    return folder;
}

// The self-deleting script's folders (each run makes one of its own name).
std::vector<std::wstring> ScriptFolders() {
    wchar_t windows[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    std::vector<std::wstring> folders;
    for (const std::wstring& name : testsupport::FolderEntries(std::wstring(windows) + L"\\Temp"))
        if (name.rfind(L"MorvexSetup", 0) == 0) folders.push_back(name);
    return folders;
}

bool GoneWithin(const std::wstring& path, DWORD ms) {
    for (DWORD waited = 0; waited < ms && Exists(path); waited += 50) ::Sleep(50);
    return !Exists(path);
}

// Nothing is left in the script folders within ms. Windows removes the
// folder with the script; Wine's command interpreter keeps the running
// script open until it ends, so there the emptied folder stays.
bool ScriptsGoneWithin(DWORD ms) {
    wchar_t windows[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    auto empty = [&] {
        for (const std::wstring& folder : ScriptFolders())
            if (!testsupport::FolderEntries(std::wstring(windows) + L"\\Temp\\" + folder).empty()) return false;
        return true;
    };
    for (DWORD waited = 0; waited < ms && !empty(); waited += 50) ::Sleep(50);
    return empty();
}

}  // namespace

TEST(ExitCleanup, AQuietRunKeepsTheInstalledProductsFolderAndDeletesTheOthers) {
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    std::wstring main = MakeKeptFolder(L"editor");
    std::wstring sub = MakeKeptFolder(L"tools");
    LauncherRun run = RunLauncher(L"two_packages", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(Exists(main + L"\\editor.msi"));
    EXPECT_FALSE(Exists(sub));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Deleting MSI folder " + sub + L"\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Deleted MSI folder " + sub + L"\r\n"));
    EXPECT_FALSE(run.LogHas(L"MSI folder " + main));
    // The clean-up comes before the footer.
    EXPECT_LT(run.log.find(L"Deleted MSI folder"), run.log.find(L"=== SetupLauncher stopped: "));
}

TEST(ExitCleanup, TheFolderOfAProductInstalledByAnotherPackageIsDeleted) {
    // Installed from the fixture folder, the other package cannot be removed
    // (its install source holds many databases), so it stays installed.
    ASSERT_EQ(Install(FixtureMsi(L"editor_other")), 0u);
    std::wstring folder = MakeKeptFolder(L"editor");
    LauncherRun run = RunLauncher(L"single", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(outcome::kNoMsiFile));
    EXPECT_FALSE(Exists(folder));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Deleted MSI folder " + folder + L"\r\n"));
    EXPECT_TRUE(ProductInstalled(FactsOf(FixtureMsi(L"editor")).productCode));
}

TEST(ExitCleanup, RepairAndAFailedUninstallDeleteNoFolder) {
    std::wstring main = MakeKeptFolder(L"editor");
    std::wstring sub = MakeKeptFolder(L"tools");
    // Neither product is installed: both runs fail (1605) and keep
    // everything for a retry.
    LauncherRun repair = RunLauncher(L"two_packages", L"/f /qn /L*v %LOG%");
    EXPECT_EQ(repair.exitCode, static_cast<DWORD>(ERROR_UNKNOWN_PRODUCT));
    EXPECT_FALSE(repair.LogHas(L"MSI folder"));
    LauncherRun uninstall = RunLauncher(L"single", L"/x /qn /L*v %LOG%");
    EXPECT_EQ(uninstall.exitCode, static_cast<DWORD>(ERROR_UNKNOWN_PRODUCT));
    EXPECT_FALSE(uninstall.LogHas(L"MSI folder"));
    EXPECT_TRUE(Exists(main + L"\\editor.msi"));
    EXPECT_TRUE(Exists(sub + L"\\tools.msi"));
    // A single package's uninstallation writes no script.
    EXPECT_TRUE(ScriptFolders().empty());
}

TEST(ExitCleanup, ASingleProductsRemovalLeavesNothingBehind) {
    ASSERT_EQ(RunLauncher(L"single", L"/qn", 120000).exitCode, 0u);
    std::wstring folder = ExpectedMsiFolder(FactsOf(FixtureMsi(L"editor")).packageCode);
    ASSERT_TRUE(Exists(folder + L"\\editor.msi"));
    LauncherRun run = RunLauncher(L"single", L"/x /qn /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(ProductInstalled(FactsOf(FixtureMsi(L"editor")).productCode));
    EXPECT_FALSE(Exists(folder)) << "deleted at the launcher's end";
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Deleted MSI folder " + folder + L"\r\n"));
    EXPECT_TRUE(ScriptFolders().empty());
    EXPECT_TRUE(testsupport::FolderEntries(ExpectedBaseFolder()).empty()) << "nothing else under the base folder";
}

TEST(ExitCleanup, AfterABundlesUninstallAScriptRemovesTheMainFolderAndItself) {
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    std::wstring main = MakeKeptFolder(L"editor");
    std::wstring sub = MakeKeptFolder(L"tools");
    LauncherRun run = RunLauncher(L"two_packages", L"/x /qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    // The sub-package is not installed: its folder goes at the end, the main
    // folder is the script's.
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Deleted MSI folder " + sub + L"\r\n"));
    EXPECT_FALSE(run.LogHas(L"MSI folder " + main));
    EXPECT_FALSE(Exists(sub));
    EXPECT_TRUE(GoneWithin(main, 20000));
    EXPECT_TRUE(ScriptsGoneWithin(20000));
}

// Programs and Features starts the kept copy inside the folder the script
// removes: the script waits for the launcher's end before it removes it.
TEST(ExitCleanup, ABundleRemovedThroughItsKeptCopyLosesTheFolderOnceTheLauncherHasEnded) {
    LauncherRun install = RunLauncher(L"two_packages", L"/qn", 120000);
    ASSERT_EQ(install.exitCode, 0u);
    std::wstring main = ExpectedMsiFolder(FactsOf(FixtureMsi(L"editor")).packageCode);
    std::wstring copy = main + L"\\setup.exe";
    ASSERT_TRUE(Exists(copy));
    testsupport::RunResult removed = testsupport::Run(copy, L"/x /qn", 120000, main);
    ASSERT_FALSE(removed.timedOut);
    EXPECT_EQ(removed.exitCode, 0u);
    EXPECT_FALSE(ProductInstalled(FactsOf(FixtureMsi(L"editor")).productCode));
    // The script gives the launcher a few seconds to end; it has ended here.
    EXPECT_TRUE(GoneWithin(main, 10000)) << "the folder of the running copy stayed";
    EXPECT_TRUE(ScriptsGoneWithin(10000));
    // The sub-package's folder went at the launcher's end: no package
    // folder is left.
    EXPECT_FALSE(Exists(ExpectedMsiFolder(FactsOf(FixtureMsi(L"tools")).packageCode)));
    EXPECT_TRUE(testsupport::FolderEntries(ExpectedBaseFolder()).empty());
}

// A removal that asks for a restart is a success: the folder goes as well.
TEST(ExitCleanup, ABundleUninstallThatAsksForARestartStillRemovesTheMainFolder) {
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    std::wstring main = MakeKeptFolder(L"editor");
    std::wstring sub = MakeKeptFolder(L"tools");
    LauncherRun run = RunLauncher(L"two_packages", L"/x /qn RESTART_PRODUCT=TestEditor /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_SUCCESS_REBOOT_REQUIRED));
    EXPECT_FALSE(ProductInstalled(FactsOf(FixtureMsi(L"editor")).productCode));
    EXPECT_TRUE(GoneWithin(main, 20000));
    EXPECT_TRUE(ScriptsGoneWithin(20000));
    EXPECT_FALSE(Exists(sub)) << "not installed: deleted at the end";
}

TEST(ExitCleanup, AFailedUninstallWritesNoScript) {
    // A bundle really installed, whose removal then fails: the main
    // package's launch condition fails on removal.
    ASSERT_EQ(RunLauncher(L"two_packages", L"/qn", 120000).exitCode, 0u);
    std::wstring main = ExpectedMsiFolder(FactsOf(FixtureMsi(L"editor")).packageCode);
    ASSERT_TRUE(Exists(main + L"\\editor.msi"));
    LauncherRun run = RunLauncher(L"two_packages", L"/x /qn FAIL_PRODUCT=TestEditor /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Uninstalling product Morvex Test Editor 2024\r\n")) << "the removal was tried";
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Failure: return code = 1603\r\n"));
    ::Sleep(1000);
    EXPECT_TRUE(Exists(main + L"\\editor.msi"));
    EXPECT_TRUE(ScriptFolders().empty());
}

TEST(ExitCleanup, ALinkInPlaceOfAPackageFolderIsNeverDeletedThrough) {
    TempDir dir;
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    PutFile(outside + L"\\precious.txt", "keep me");
    std::wstring folder = ExpectedMsiFolder(FactsOf(FixtureMsi(L"editor")).packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    if (!filetest::MakeFolderLink(folder, outside)) GTEST_SKIP() << "no folder links on this system";
    LauncherRun run = RunLauncher(L"single", L"/qn /L*v %LOG%");
    // Windows removes the link and unpacks into a new folder; a system that
    // cannot remove the link refuses to unpack through it (1620).
    EXPECT_TRUE(run.exitCode == 0u || run.exitCode == 1620u) << run.exitCode;
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\precious.txt"), "keep me");
    EXPECT_FALSE(Exists(outside + L"\\editor.msi")) << "unpacked through the link";
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Deleting MSI folder " + folder + L"\r\n"));
    // Windows removes the link; a system that cannot remove one keeps it.
    EXPECT_EQ(run.LogHas(L"ZEL (c): Deleted MSI folder " + folder + L"\r\n"), !Exists(folder));
}

TEST(ExitCleanup, AnEmptyPackageCodeNeverMakesTheBaseFolderAPackageFolder) {
    std::wstring other = MakeKeptFolder(L"editor");
    PutFile(ExpectedBaseFolder() + L"\\server-data.txt", "server data");
    LauncherRun run = RunLauncher(L"empty_package_code", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 13u);
    EXPECT_EQ(testsupport::ReadBytes(ExpectedBaseFolder() + L"\\server-data.txt"), "server data");
    EXPECT_FALSE(run.LogHas(L"MSI folder " + ExpectedBaseFolder() + L"\\\r\n"));
    // The complete package's folder goes as usual.
    EXPECT_FALSE(Exists(other));
}
