// The launcher installs, changes, repairs, removes and unpacks real packages
// through Wine's Windows Installer, rolls back a partly done chain, and keeps
// its own log and the installer's logs in one file in the order of the calls.
#include <gtest/gtest.h>

#include "engine/Outcome.h"
#include "framework/Handles.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace statetest;
using testsupport::Contains;
using testsupport::TempDir;

namespace {

struct Fixture {
    std::wstring name;     // build/fixtures/<name>.msi
    std::wstring regName;  // its folder and registry key
    FixtureFacts facts;
};
Fixture Editor() { return {L"editor", L"TestEditor", FactsOf(FixtureMsi(L"editor"))}; }
Fixture Tools() { return {L"tools", L"TestTools", FactsOf(FixtureMsi(L"tools"))}; }
Fixture Brimcart() { return {L"brimcart", L"BrimcartServer", FactsOf(FixtureMsi(L"brimcart"))}; }

// The fixtures are 32-bit packages: their files go to the 32-bit program
// files folder, their values to the 32-bit registry view.
std::wstring InstalledFile(const Fixture& fixture) {
    return testsupport::ProgramFiles32() + L"\\Morvex\\" + fixture.regName + L"\\readme.txt";
}
std::wstring RegistryString(HKEY root, const std::wstring& key, const std::wstring& name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    fw::RegKeyHandle opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, opened.put()) != ERROR_SUCCESS ||
        ::RegGetValueW(opened.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<absent>";
    return value;
}
std::wstring FixtureVersion(const Fixture& fixture) {
    return RegistryString(HKEY_LOCAL_MACHINE, L"Software\\Morvex\\Fixtures\\" + fixture.regName, L"Version");
}

// The product is there as Windows Installer and the package itself see it.
void ExpectInstalled(const Fixture& fixture) {
    EXPECT_TRUE(ProductInstalled(fixture.facts.productCode)) << testing::PrintToString(fixture.name);
    EXPECT_TRUE(Exists(InstalledFile(fixture))) << testing::PrintToString(InstalledFile(fixture));
    EXPECT_EQ(FixtureVersion(fixture), fixture.facts.version);
}
void ExpectAbsent(const Fixture& fixture) {
    EXPECT_FALSE(ProductInstalled(fixture.facts.productCode)) << testing::PrintToString(fixture.name);
    EXPECT_FALSE(Exists(InstalledFile(fixture))) << testing::PrintToString(InstalledFile(fixture));
    EXPECT_EQ(FixtureVersion(fixture), L"<absent>");
}

size_t Find(const LauncherRun& run, const std::wstring& part, size_t from = 0) { return run.log.find(part, from); }

}  // namespace

TEST(RealOperations, AQuietInstallTakesTheMainProductAndTheDefaultSubPackages) {
    Fixture editor = Editor(), tools = Tools();
    LauncherRun run = RunLauncher(L"two_packages", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    ExpectInstalled(editor);
    ExpectInstalled(tools);
    // Each package's folder is kept with its database.
    for (const Fixture* fixture : {&editor, &tools}) {
        std::wstring folder = ExpectedMsiFolder(fixture->facts.packageCode);
        EXPECT_TRUE(Exists(folder + L"\\" + fixture->name + L".msi")) << testing::PrintToString(folder);
    }
    // The launcher's lines and each installer log, one after the other.
    size_t first = Find(run, L"ZEL (c): Installing product Morvex Test Editor 2024\r\n");
    size_t second = Find(run, L"ZEL (c): Installing product Morvex Test Tools 2024\r\n");
    ASSERT_NE(first, std::wstring::npos);
    ASSERT_NE(second, std::wstring::npos);
    size_t firstLog = Find(run, editor.facts.productCode, first);
    EXPECT_LT(firstLog, second) << "the editor's installer log follows its line";
    EXPECT_NE(Find(run, tools.facts.productCode, second), std::wstring::npos);
    EXPECT_LT(second, Find(run, L"=== SetupLauncher stopped: "));
    // The installer's own record of the properties each call was given.
    std::wstring mainPart = run.log.substr(first, second - first), subPart = run.log.substr(second);
    for (const std::wstring& part : {mainPart, subPart}) {
        EXPECT_TRUE(Contains(part, L"Property(S): INSTALLEDFROMLAUNCHER = Yes"));
        EXPECT_TRUE(Contains(part, L"Property(S): HAS_SUB_PACKAGES = Yes"));
        EXPECT_TRUE(Contains(part, L"Property(S): UI_HIDE_FINISH_DLG = Yes"));
        EXPECT_FALSE(Contains(part, L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS"));
        EXPECT_FALSE(Contains(part, L"Property(S): HAS_SUB_PACKAGES = Yes\""));
        EXPECT_FALSE(Contains(part, L"REMOVE = "));
    }
    EXPECT_FALSE(Contains(mainPart, L"UI_HIDE_ALL_BUT_PROGRESS"));
    EXPECT_TRUE(Contains(subPart, L"Property(S): UI_HIDE_ALL_BUT_PROGRESS = Yes"));
    EXPECT_FALSE(run.LogHas(L"ZEL (c): ERROR: "));
}

TEST(RealOperations, AFailingThirdPackageRemovesTheSecondAndTheFirstAgain) {
    Fixture editor = Editor(), tools = Tools(), brimcart = Brimcart();
    LauncherRun run = RunLauncher(L"three_packages", L"/qn FAIL_PRODUCT=BrimcartServer /L*v %LOG%", 120000);
    // Windows Installer's 1603 is the exit code as it is.
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    ExpectAbsent(editor);
    ExpectAbsent(tools);
    ExpectAbsent(brimcart);
    size_t failure = Find(run, L"ZEL (c): Failure: return code = 1603\r\n");
    size_t second = Find(run, L"ZEL (c): Rolling back product Morvex Test Tools 2024\r\n");
    size_t first = Find(run, L"ZEL (c): Rolling back product Morvex Test Editor 2024\r\n");
    ASSERT_NE(failure, std::wstring::npos);
    EXPECT_LT(failure, second);
    EXPECT_LT(second, first);
    EXPECT_NE(first, std::wstring::npos);
    EXPECT_FALSE(run.LogHas(L"Rolling back product Morvex Brimcart"));
}

TEST(RealOperations, ARestartFromTheSecondPackageEndsWith3010AfterBothInstalled) {
    Fixture editor = Editor(), tools = Tools();
    LauncherRun run = RunLauncher(L"two_packages", L"/qn RESTART_PRODUCT=TestTools /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 3010u);
    ExpectInstalled(editor);
    ExpectInstalled(tools);
    EXPECT_FALSE(run.LogHas(L"ERROR:"));
    EXPECT_FALSE(run.LogHas(L"Rolling back"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Windows Installer succeeded; a restart is required (3010).\r\n"));
}

TEST(RealOperations, ABundleIsRemovedThroughItsUninstallEntry) {
    Fixture editor = Editor(), tools = Tools();
    LauncherRun install = RunLauncher(L"two_packages", L"/qn /L*v %LOG%", 120000);
    ASSERT_EQ(install.exitCode, 0u);
    std::wstring copy = ExpectedMsiFolder(editor.facts.packageCode) + L"\\setup.exe";
    std::wstring entry = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + editor.facts.productCode;
    std::wstring command = RegistryString(HKEY_LOCAL_MACHINE, entry, L"UninstallString");
    EXPECT_EQ(command, copy + L" /x");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, entry, L"ModifyPath"), copy);
    ASSERT_TRUE(Exists(copy));
    // As Programs and Features runs it, made quiet and logged.
    TempDir dir;
    std::wstring log = dir.File(L"remove.txt");
    size_t blank = command.rfind(L" /x");
    testsupport::RunResult removed =
        testsupport::Run(command.substr(0, blank), L"/x /qn /L*v \"" + log + L"\"", 120000);
    EXPECT_EQ(removed.exitCode, 0u);
    ExpectAbsent(editor);
    ExpectAbsent(tools);
    std::wstring text = testsupport::ReadUtf16(log);
    // From last to first.
    size_t sub = text.find(L"ZEL (c): Uninstalling product Morvex Test Tools 2024\r\n");
    size_t main = text.find(L"ZEL (c): Uninstalling product Morvex Test Editor 2024\r\n");
    ASSERT_NE(sub, std::wstring::npos);
    EXPECT_LT(sub, main);
    EXPECT_NE(main, std::wstring::npos);
}

TEST(RealOperations, AFailedUninstallPutsTheRemovedSubPackageBack) {
    Fixture editor = Editor(), tools = Tools();
    ASSERT_EQ(RunLauncher(L"two_packages", L"/qn", 120000).exitCode, 0u);
    // The main package's launch condition fails on removal: the sub-package,
    // removed first, comes back.
    LauncherRun run = RunLauncher(L"two_packages", L"/x /qn FAIL_PRODUCT=TestEditor /L*v %LOG%", 120000);
    // Windows Installer's 1603 is the exit code as it is.
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    ExpectInstalled(editor);
    ExpectInstalled(tools);
    size_t failure = Find(run, L"ZEL (c): Failure: return code = 1603\r\n");
    ASSERT_NE(failure, std::wstring::npos);
    EXPECT_NE(Find(run, L"ZEL (c): Rolling back product Morvex Test Tools 2024\r\n", failure), std::wstring::npos);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): roll-back prepare-remove custom installer registry\r\n"));
}

TEST(RealOperations, ModifyRepairAndSingleUninstallOfAnInstalledProduct) {
    Fixture editor = Editor();
    ASSERT_EQ(RunLauncher(L"single", L"/qn", 120000).exitCode, 0u);
    ExpectInstalled(editor);
    LauncherRun modify = RunLauncher(L"single", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(modify.exitCode, 0u);
    EXPECT_TRUE(modify.LogHas(L"ZEL (c): Modifying product Morvex Test Editor 2024\r\n"));
    // A repair puts a deleted file back.
    ASSERT_TRUE(::DeleteFileW(InstalledFile(editor).c_str()));
    LauncherRun repair = RunLauncher(L"single", L"/fa /qn /L*v %LOG%", 120000);
    EXPECT_EQ(repair.exitCode, 0u);
    EXPECT_TRUE(repair.LogHas(L"ZEL (c): Reinstalling product Morvex Test Editor 2024\r\n"));
    EXPECT_TRUE(Exists(InstalledFile(editor)));
    LauncherRun uninstall = RunLauncher(L"single", L"/x /qn /L*v %LOG%", 120000);
    EXPECT_EQ(uninstall.exitCode, 0u);
    ExpectAbsent(editor);
}

TEST(RealOperations, ExtractCopiesEveryDatabaseIntoTheCurrentFolder) {
    TempDir dir;
    testsupport::RunResult run = testsupport::Run(testsupport::LauncherPath(L"two_packages"), L"/u /qn", 60000, dir.Path());
    EXPECT_EQ(run.exitCode, 0u);
    for (const wchar_t* name : {L"editor", L"tools"}) {
        std::wstring copy = dir.File(std::wstring(name) + L".msi");
        ASSERT_TRUE(Exists(copy)) << testing::PrintToString(copy);
        EXPECT_EQ(FactsOf(copy).packageCode, FactsOf(FixtureMsi(name)).packageCode);
    }
    EXPECT_FALSE(ProductInstalled(Editor().facts.productCode));
}

TEST(RealOperations, SubPackagesNoneInstallsOnlyTheMainProduct) {
    Fixture editor = Editor(), tools = Tools();
    LauncherRun run = RunLauncher(L"two_packages", L"/qn subPackages=none /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    ExpectInstalled(editor);
    ExpectAbsent(tools);
    EXPECT_FALSE(run.LogHas(L"Installing product Morvex Test Tools 2024"));
}
