// Windows Installer's logging follows the launcher's own log: it is asked for (through msi.dll's table, recorded here) before every installer call while that log is open, and never when the /L path could not be opened, so real installations go on unchanged.
#include <gtest/gtest.h>

#include "catalogue/SessionChoices.h"
#include "engine/RunChoices.h"
#include "execution/PackageRemoval.h"
#include "execution/ProductOperations.h"
#include "framework/SystemApi.h"
#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;

namespace {

std::vector<std::wstring> enabled;  // the log files asked for, "" for logging turned off

UINT WINAPI RecordEnableLog(DWORD, LPCWSTR path, DWORD) {
    enabled.push_back(path ? path : L"");
    return ERROR_SUCCESS;
}

class InstallerLogging : public testing::Test {
protected:
    void SetUp() override {
        enabled.clear();
        saved_ = fw::Msi().MsiEnableLogW.fn;
        fw::Msi().MsiEnableLogW.fn = &RecordEnableLog;
    }
    void TearDown() override { fw::Msi().MsiEnableLogW.fn = saved_; }

    // Installs and removes the editor for real with a launcher run whose
    // log is logPath; both results.
    std::pair<DWORD, UINT> InstallAndRemove(const std::wstring& logPath) {
        CSetupApp app(L"setup.exe /qn /L*v \"" + logPath + L"\"");
        app.AddPackage(FieldsOf(FactsOf(FixtureMsi(L"editor")), true));
        SetupPackage& package = *app.Catalogue().front();
        package.msiFileName = FixtureMsi(L"editor");
        RunChoices choices = ChoicesFor(app);
        DWORD installed = ProductOperations(app, choices).RunOperations();
        EXPECT_TRUE(ProductInstalled(package.productCode));
        UINT removed = UninstallPackage(package, INSTALLUILEVEL_NONE, &app);
        return {installed, removed};
    }

    decltype(fw::Msi().MsiEnableLogW.fn) saved_ = nullptr;
};

}  // namespace

TEST_F(InstallerLogging, AnUnwritableLogAsksForNoInstallerLog) {
    testsupport::TempDir dir;
    // A log in a folder that does not exist cannot be opened.
    std::wstring log = dir.File(L"no such folder\\setup.log");
    EXPECT_EQ(InstallAndRemove(log), (std::pair<DWORD, UINT>{0, 0}));
    EXPECT_TRUE(enabled.empty()) << testing::PrintToString(enabled);
    EXPECT_FALSE(testsupport::FileExists(log));
}

TEST_F(InstallerLogging, AnOpenLogIsHandedToEachInstallerCall) {
    testsupport::TempDir dir;
    std::wstring log = dir.File(L"setup.log");
    EXPECT_EQ(InstallAndRemove(log), (std::pair<DWORD, UINT>{0, 0}));
    // One hand-over for the installation, one for the removal, each into
    // a file beside the launcher's log.
    ASSERT_EQ(enabled.size(), 2u);
    for (const std::wstring& path : enabled) EXPECT_EQ(path.rfind(log, 0), 0u) << testing::PrintToString(path);
    EXPECT_TRUE(testsupport::Contains(testsupport::ReadUtf16(log), L"ZEL (c): Installing product "));
}
