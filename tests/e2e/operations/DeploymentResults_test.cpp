// What a deployment tool sees of a run: Windows Installer's results as the
// exit code (the same as msiexec's on the same package), the status file of
// /m, no quiet downgrade, 1605 for a product that is not there, 1624 for a
// transform that does not apply, and a sub-package pattern that matches
// nothing said on the console.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace statetest;
using namespace testsupport;

namespace {

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

// The VALUE line of the attribute NAME in a status MIF.
std::wstring MifValue(const std::wstring& mif, const std::wstring& name) {
    size_t at = mif.find(L"NAME = \"" + name + L"\"");
    if (at == std::wstring::npos) return L"<no attribute>";
    size_t value = mif.find(L"VALUE = \"", at);
    if (value == std::wstring::npos) return L"<no value>";
    value += 9;
    return mif.substr(value, mif.find(L'"', value) - value);
}

std::wstring ReadAnsi(const std::wstring& path) {
    std::string bytes = ReadBytes(path);
    return std::wstring(bytes.begin(), bytes.end());
}

}  // namespace

// A package whose own custom action fails or backs out: the launcher ends
// with the very code msiexec ends with on the same package.
TEST(DeploymentResults, ACustomActionsResultIsTheExitCodeAsWithMsiexec) {
    FixtureFacts facts = FactsOf(FixtureMsi(L"results"));
    for (DWORD result : {DWORD{ERROR_INSTALL_FAILURE}, DWORD{ERROR_INSTALL_USEREXIT}}) {
        std::wstring property = L"CA_RESULT=" + std::to_wstring(result);
        RunResult msiexec = testsupport::Run(SystemFolder() + L"\\msiexec.exe",
                                L"/i \"" + FixtureMsi(L"results") + L"\" /qn " + property, 120000);
        ASSERT_FALSE(msiexec.timedOut);
        EXPECT_EQ(msiexec.exitCode, result);
        LauncherRun run = RunLauncher(L"results", L"/qn " + property + L" /L*v %LOG%", 120000);
        EXPECT_EQ(run.exitCode, msiexec.exitCode) << result;
        EXPECT_FALSE(ProductInstalled(facts.productCode));
        EXPECT_TRUE(run.LogHas(L"ZEL (c): Failure: return code = " + std::to_wstring(result) + L"\r\n"));
        // Windows Installer reported these itself: no line of the launcher's.
        EXPECT_FALSE(run.LogHas(L"ZEL (c): ERROR: "));
    }
}

TEST(DeploymentResults, StatusFileTellsSuccessAndFailureWithTheMainPackagesFields) {
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    TempDir dir;
    std::wstring status = dir.File(L"status.mif");
    LauncherRun run = RunLauncher(L"single", L"/qn /m \"" + status + L"\" /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    // /m stays out of the property string: the installer sees the launcher's
    // own property, and no property named after the switch.
    EXPECT_TRUE(run.LogHas(L"Property(S): INSTALLEDFROMLAUNCHER = Yes"));
    EXPECT_FALSE(run.LogHas(L"/M "));
    ASSERT_TRUE(FileExists(status));
    std::wstring mif = ReadAnsi(status);
    EXPECT_EQ(mif.rfind(L"START COMPONENT\r\n  NAME = \"WORKSTATION\"\r\n", 0), 0u) << mif;
    EXPECT_TRUE(Contains(mif, L"CLASS = \"DMTF|ComponentID|1.0\""));
    EXPECT_TRUE(Contains(mif, L"CLASS = \"MICROSOFT|JOBSTATUS|1.0\""));
    EXPECT_EQ(MifValue(mif, L"Manufacturer"), L"Morvex");
    EXPECT_EQ(MifValue(mif, L"Product"), editor.packageCode);
    EXPECT_EQ(MifValue(mif, L"Version"), L"Morvex Test Editor 2024");
    EXPECT_EQ(MifValue(mif, L"Locale"), L"Intel;1033");
    EXPECT_EQ(MifValue(mif, L"Installation"), L"DateTime");
    EXPECT_EQ(MifValue(mif, L"Status"), L"Success");
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Status file written to " + status + L".\r\n"));

    // A bare name goes into the temporary folder, ".mif" added; a failed
    // removal says so with the installer's result.
    std::wstring temp = TempFolder() + L"\\removal.mif";
    ::DeleteFileW(temp.c_str());
    LauncherRun removal = RunLauncher(L"single", L"/x /qn FAIL_PRODUCT=TestEditor /m removal", 120000);
    EXPECT_EQ(removal.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    ASSERT_TRUE(FileExists(temp)) << testing::PrintToString(temp);
    mif = ReadAnsi(temp);
    EXPECT_EQ(MifValue(mif, L"Status"), L"Failed");
    EXPECT_TRUE(Contains(MifValue(mif, L"Description"), L"1603")) << mif;
    EXPECT_EQ(MifValue(mif, L"Product"), editor.packageCode);
    ::DeleteFileW(temp.c_str());
}

// The editor's installer run quietly over a newer installation of the same
// product from another package: nothing changes, unless the administrator
// allows the downgrade.
TEST(DeploymentResults, NoQuietDowngradeUnlessAllowed) {
    TempDir sources;
    InstallFromCopy(FixtureMsi(L"editor_newer"), sources.File(L"newer"));
    FixtureFacts newer = FactsOf(FixtureMsi(L"editor_newer")), own = FactsOf(FixtureMsi(L"editor"));
    ASSERT_EQ(newer.productCode, own.productCode);

    LauncherRun refused = RunLauncher(L"single", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(refused.exitCode, static_cast<DWORD>(ERROR_PRODUCT_VERSION));
    EXPECT_TRUE(refused.LogHas(L"ZEL (c): Morvex Test Editor 2024 1.3.0 is installed from another package and is "
                               L"newer than this installer's 1.2.0: nothing is changed (ALLOWDOWNGRADE=1 allows the "
                               L"downgrade).\r\n"));
    EXPECT_FALSE(refused.LogHas(L"ZEL (c): Installing product "));
    EXPECT_TRUE(fw::EqualsNoCase(RegisteredPackageCodeOf(own.productCode), newer.packageCode));

    LauncherRun allowed = RunLauncher(L"single", L"/qn ALLOWDOWNGRADE=1 /L*v %LOG%", 120000);
    EXPECT_EQ(allowed.exitCode, 0u);
    EXPECT_TRUE(fw::EqualsNoCase(RegisteredPackageCodeOf(own.productCode), own.packageCode));
    // The launcher's own property is not passed on.
    EXPECT_FALSE(allowed.LogHas(L"ALLOWDOWNGRADE = "));
}

TEST(DeploymentResults, RemovingOrRepairingAProductThatIsNotInstalledEndsWith1605) {
    std::wstring main = ExpectedMsiFolder(FactsOf(FixtureMsi(L"editor")).packageCode);
    LauncherRun removal = RunLauncher(L"single", L"/x /qn /L*v %LOG%");
    EXPECT_EQ(removal.exitCode, static_cast<DWORD>(ERROR_UNKNOWN_PRODUCT));
    EXPECT_TRUE(removal.LogHas(L"ZEL (c): Product Morvex Test Editor 2024 is not installed.\r\n"));
    // A bundle's repair makes no launcher copy for a product that is not there.
    LauncherRun repair = RunLauncher(L"two_packages", L"/f /qn /L*v %LOG%");
    EXPECT_EQ(repair.exitCode, static_cast<DWORD>(ERROR_UNKNOWN_PRODUCT));
    EXPECT_TRUE(repair.LogHas(L"ZEL (c): Product Morvex Test Editor 2024 is not installed.\r\n"));
    EXPECT_FALSE(repair.LogHas(L"custom installer registry\r\nZEL (c): redo"));
    EXPECT_FALSE(FileExists(main + L"\\setup.exe"));
    EXPECT_FALSE(IsFolder(main));
}

TEST(DeploymentResults, ATransformThatDoesNotApplyEndsWith1624BeforeAnythingIsInstalled) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qn TRANSFORMS=missing.mst /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INSTALL_TRANSFORM_FAILURE));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): The transform missing.mst could not be applied to "));
    EXPECT_FALSE(run.LogHas(L"ZEL (c): Installing product "));
    EXPECT_FALSE(ProductInstalled(FactsOf(FixtureMsi(L"editor")).productCode));
    EXPECT_FALSE(ProductInstalled(FactsOf(FixtureMsi(L"tools")).productCode));
}

TEST(DeploymentResults, ASubPackagePatternThatMatchesNothingIsSaidAndTheRunGoesOn) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qn subPackages=Nothing,Tools /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): The sub-package pattern 'Nothing' matches no sub-package.\r\n"));
    EXPECT_FALSE(run.LogHas(L"pattern 'Tools' matches no"));
    EXPECT_TRUE(run.OutputHas(L"Warning: the pattern 'Nothing' given with subPackages= on the command line matches no "
                              L"sub-package of this installer."));
    EXPECT_TRUE(ProductInstalled(FactsOf(FixtureMsi(L"tools")).productCode));
}
