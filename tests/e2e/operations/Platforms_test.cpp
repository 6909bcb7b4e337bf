// Whichever launcher runs (32-bit under WOW64 or 64-bit), a 64-bit product's
// files and registry values land where 64-bit Windows keeps them and a 32-bit
// product's where WOW64 keeps them; the bundle's uninstall entry is rewritten
// in its main product's own view, and /x removes both again.
#include <gtest/gtest.h>

#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/entry/EntryTestSupport.h"

using namespace statetest;
using entrytest::KeyExists;
using entrytest::StringValue;
using entrytest::UninstallKeyPath;
using testsupport::ProgramFiles32;
using testsupport::ProgramFiles64;

namespace {

// The 64-bit main product (a maker's product recording its setup key) and
// the 32-bit sub-package of tests/catalogues/mixed_platforms.json.
const wchar_t kMainFile[] = L"\\Morvex\\Kestrane2022_x64\\application.txt";
const wchar_t kMainSetupKey[] = L"Software\\Morvex\\Kestrane\\Installation_v2022_x64\\Setup";
const wchar_t kSubFile[] = L"\\Morvex\\TestEditor\\readme.txt";
const wchar_t kSubKey[] = L"Software\\Morvex\\Fixtures\\TestEditor";

}  // namespace

TEST(Platforms, EachProductLandsInTheFolderAndRegistryViewOfItsPlatform) {
    FixtureFacts main = FactsOf(FixtureMsi(L"kestrane2022x64")), sub = FactsOf(FixtureMsi(L"editor"));
    LauncherRun install = RunLauncher(L"mixed_platforms", L"/qn /L*v %LOG%", 120000);
    ASSERT_EQ(install.exitCode, 0u) << testing::PrintToString(install.log);

    EXPECT_TRUE(Exists(ProgramFiles64() + kMainFile));
    EXPECT_FALSE(Exists(ProgramFiles32() + kMainFile));
    EXPECT_TRUE(Exists(ProgramFiles32() + kSubFile));
    EXPECT_FALSE(Exists(ProgramFiles64() + kSubFile));
    EXPECT_EQ(StringValue(kMainSetupKey, KEY_WOW64_64KEY, L"Version"), L"2022.00.00");
    EXPECT_FALSE(KeyExists(kMainSetupKey, KEY_WOW64_32KEY));
    EXPECT_EQ(StringValue(kSubKey, KEY_WOW64_32KEY, L"Version"), sub.version);
    EXPECT_FALSE(KeyExists(kSubKey, KEY_WOW64_64KEY));

    // The bundle's entry points at the kept launcher copy, in the 64-bit view
    // only, where Windows Installer wrote the main product's entry.
    std::wstring copy = ExpectedMsiFolder(main.packageCode) + L"\\setup.exe";
    EXPECT_TRUE(Exists(copy));
    EXPECT_EQ(StringValue(UninstallKeyPath(main.productCode), KEY_WOW64_64KEY, L"UninstallString"), copy + L" /x");
    EXPECT_EQ(StringValue(UninstallKeyPath(main.productCode), KEY_WOW64_64KEY, L"ModifyPath"), copy);
    EXPECT_FALSE(KeyExists(UninstallKeyPath(main.productCode), KEY_WOW64_32KEY));
    EXPECT_TRUE(KeyExists(UninstallKeyPath(sub.productCode), KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyExists(UninstallKeyPath(sub.productCode), KEY_WOW64_64KEY));

    LauncherRun removal = RunLauncher(L"mixed_platforms", L"/x /qn /L*v %LOG%", 120000);
    EXPECT_EQ(removal.exitCode, 0u);
    EXPECT_FALSE(ProductInstalled(main.productCode));
    EXPECT_FALSE(ProductInstalled(sub.productCode));
    EXPECT_FALSE(Exists(ProgramFiles64() + kMainFile));
    EXPECT_FALSE(Exists(ProgramFiles32() + kSubFile));
    EXPECT_FALSE(KeyExists(kMainSetupKey, KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(kSubKey, KEY_WOW64_32KEY));
}
