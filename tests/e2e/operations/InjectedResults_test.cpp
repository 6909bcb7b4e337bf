// The operations' decisions on Windows Installer results that real packages
// cannot easily give (user exit, restarts, a platform the system lacks), and
// the exact property string of every call: msi.dll's install call is replaced
// by a recorder that answers with the results a test asks for.
#include <gtest/gtest.h>

#include <deque>

#include "engine/OperationMode.h"
#include "engine/Outcome.h"
#include "engine/PropertyItems.h"
#include "execution/ProductOperations.h"
#include "framework/SystemApi.h"
#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;
using testsupport::Contains;

namespace {

struct Call {
    std::wstring package;
    std::wstring properties;
};
std::vector<Call> calls;
std::deque<UINT> answers;  // one per call, 0 when they run out

std::wstring setupTypeOfMain;  // what the main package records, as the maker's products do

UINT WINAPI RecordInstall(LPCWSTR package, LPCWSTR properties) {
    calls.push_back({package ? package : L"", properties ? properties : L""});
    if (!setupTypeOfMain.empty() && std::wstring(package) == L"editor.msi") {
        HKEY key = nullptr;
        // The maker's 32-bit products record it in the 32-bit view.
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Morvex", 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExW(key, L"CurrentInstallationType", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(setupTypeOfMain.c_str()),
                             static_cast<DWORD>((setupTypeOfMain.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
    }
    if (answers.empty()) return 0;
    UINT answer = answers.front();
    answers.pop_front();
    return answer;
}
std::vector<std::wstring> reinstalled;
UINT WINAPI RecordReinstall(LPCWSTR product, DWORD) {
    reinstalled.push_back(product);
    if (answers.empty()) return 0;
    UINT answer = answers.front();
    answers.pop_front();
    return answer;
}

class TestMode : public OperationMode {
public:
    bool repair = false, uninstall = false, modify = false;
    std::vector<DWORD> results;
    RunMode Maintenance() const override {
        return DecideMaintenance(repair, uninstall, modify);
    }
    const WizardFlags& Flags() const override { return flags_; }
    const std::wstring& BackupProperties() const override { return empty_; }
    const std::wstring& ServiceProperties() const override { return empty_; }
    const std::wstring& ClusterProperties() const override { return empty_; }
    std::vector<std::wstring> CommandLineItems() const override {
        return request ? request->properties : std::vector<std::wstring>{};
    }
    void SetResult(DWORD result) override { results.push_back(result); }
    // The run's command line, whose items go to the installer calls.
    const CSetupAppCommandLineInfo* request = nullptr;

private:
    WizardFlags flags_;
    std::wstring empty_;
};

// A run of the launcher with the editor as main package and the tools and
// brimcart products as sub-packages, each "unpacked" under its own name.
class Operations : public testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        answers.clear();
        reinstalled.clear();
        setupTypeOfMain.clear();
        saved_ = fw::Msi().MsiInstallProductW.fn;
        savedReinstall_ = fw::Msi().MsiReinstallProductW.fn;
        fw::Msi().MsiInstallProductW.fn = &RecordInstall;
        fw::Msi().MsiReinstallProductW.fn = &RecordReinstall;
    }
    void TearDown() override {
        fw::Msi().MsiInstallProductW.fn = saved_;
        fw::Msi().MsiReinstallProductW.fn = savedReinstall_;
    }
    std::unique_ptr<CSetupApp> MakeApp(const std::wstring& arguments, int packages) {
        auto app = std::make_unique<CSetupApp>(L"setup.exe " + arguments + L" /L*v \"" + log_ + L"\"");
        const wchar_t* names[] = {L"editor", L"tools", L"brimcart"};
        for (int i = 0; i < packages; ++i) {
            SetupPackage& package = app->AddPackage(FieldsOf(FactsOf(FixtureMsi(names[i])), i == 0));
            package.selected = true;
            package.msiFileName = std::wstring(names[i]) + L".msi";
        }
        return app;
    }
    std::wstring Log() const { return testsupport::ReadUtf16(log_); }
    static std::wstring Expected(const std::wstring& head, const std::wstring& extra) {
        return head + L"INSTALLEDFROMLAUNCHER=Yes " + extra;
    }

    testsupport::TempDir dir_;
    std::wstring log_ = dir_.File(L"setup.log");
    decltype(fw::Msi().MsiInstallProductW.fn) saved_ = nullptr;
    decltype(fw::Msi().MsiReinstallProductW.fn) savedReinstall_ = nullptr;
};

}  // namespace

TEST_F(Operations, EachInstallCallCarriesExactlyTheComposedItems) {
    auto app = MakeApp(L"/qn FOO=1 \"BAR=two words\"", 3);
    TestMode mode;
    mode.request = &app->CommandLine();
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 0u);
    ASSERT_EQ(calls.size(), 3u);
    std::wstring commandLine = L"FOO=1 BAR=\"two words\" ";
    std::wstring subItems = items::Sub() + items::NoFinish();
    EXPECT_EQ(calls[0].package, L"editor.msi");
    EXPECT_EQ(calls[0].properties, Expected(L"", commandLine + subItems));
    EXPECT_EQ(calls[1].properties, Expected(L"", commandLine + subItems + items::ProgressOnly()));
    EXPECT_EQ(calls[2].properties, Expected(L"", commandLine + subItems + items::ProgressOnly()));
    EXPECT_EQ(mode.results, std::vector<DWORD>{0});
}

TEST_F(Operations, ASinglePackageGetsNoBundleItems) {
    auto app = MakeApp(L"/qn", 1);
    TestMode mode;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 0u);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].properties, L"INSTALLEDFROMLAUNCHER=Yes ");
}

TEST_F(Operations, AFailingThirdPackageRollsBackTheSecondThenTheFirst) {
    auto app = MakeApp(L"/qn", 3);
    answers = {0, 0, 1603};
    TestMode mode;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1603u);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[2].package, L"brimcart.msi");
    EXPECT_EQ(calls[3].package, L"tools.msi");
    EXPECT_EQ(calls[3].properties, Expected(L"REMOVE=ALL ", items::Rollback()));
    EXPECT_EQ(calls[4].package, L"editor.msi");
    EXPECT_EQ(calls[4].properties, Expected(L"REMOVE=ALL ", items::Rollback()));
    EXPECT_FALSE(app->CommandLine().uninstall);
    EXPECT_EQ(mode.results, std::vector<DWORD>{1603});
    EXPECT_TRUE(app->Outcome().reported);
    std::wstring log = Log();
    size_t failure = log.find(L"ZEL (c): Failure: return code = 1603\r\n");
    size_t tools = log.find(L"ZEL (c): Rolling back product Morvex Test Tools 2024\r\n");
    size_t editor = log.find(L"ZEL (c): Rolling back product Morvex Test Editor 2024\r\n");
    ASSERT_NE(failure, std::wstring::npos);
    EXPECT_LT(failure, tools);
    EXPECT_LT(tools, editor);
    EXPECT_EQ(log.find(L"Rolling back product Morvex Brimcart"), std::wstring::npos);
}

// Which restart wins and that the chain goes on are the applier's
// (tests/unit/engine/OperationPlan_test.cpp); here the run's result.
TEST_F(Operations, ARestartFromTheSecondPackageIsASuccessAndTheChainGoesOn) {
    auto app = MakeApp(L"/qn", 3);
    answers = {0, 3010, 0};
    TestMode mode;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 3010u);
    ASSERT_EQ(calls.size(), 3u) << "no rollback, the third package follows";
    for (const Call& call : calls) EXPECT_FALSE(Contains(call.properties, L"REMOVE=ALL"));
    EXPECT_EQ(mode.results, std::vector<DWORD>{3010});
    EXPECT_FALSE(Contains(Log(), L"Failure: return code"));
}

TEST_F(Operations, UserExitInModifyStopsAtOnceOtherFailuresGoOn) {
    {
        auto app = MakeApp(L"/qn", 3);
        answers = {0, 1602, 0};
        TestMode mode;
        mode.modify = true;
        EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1602u);
        EXPECT_EQ(calls.size(), 2u);
        EXPECT_TRUE(app->Outcome().reported);
    }
    calls.clear();
    auto again = MakeApp(L"/qn", 3);
    answers = {1603, 1605, 0};
    TestMode other;
    other.modify = true;
    EXPECT_EQ(ProductOperations(*again, other).RunOperations(), 1603u) << "the first failure is returned";
    ASSERT_EQ(calls.size(), 3u);
    // Modify items: no progress-only or quick; the main package hides its finish dialog.
    // The sub-package is not installed yet: every call offers the agreement.
    EXPECT_EQ(calls[0].properties, Expected(L"", items::Sub() + items::NoFinish() + items::Agreement()));
    EXPECT_EQ(calls[1].properties, Expected(L"", items::Sub() + items::CustomizeOnly() + items::Agreement()));
}

TEST_F(Operations, Repair) {
    // Really installed first: only an installed product is repaired.
    fw::Msi().MsiInstallProductW.fn = saved_;
    for (const wchar_t* name : {L"editor", L"tools"}) ASSERT_EQ(Install(FixtureMsi(name)), 0u);
    fw::Msi().MsiInstallProductW.fn = &RecordInstall;
    auto app = MakeApp(L"/qn /fvomus", 2);
    answers = {1603, 0};
    TestMode mode;
    mode.repair = true;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1603u);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(reinstalled.size(), 2u) << "every package is tried";
    EXPECT_EQ(reinstalled[0], app->Catalogue()[0]->productCode);
    EXPECT_EQ(reinstalled[1], app->Catalogue()[1]->productCode);
}

TEST_F(Operations, AnUninstallRemovesFromLastToFirstWithTheUninstallItems) {
    // Really installed first (with the real call), so that each package counts as installed.
    fw::Msi().MsiInstallProductW.fn = saved_;
    for (const wchar_t* name : {L"editor", L"tools", L"brimcart"}) ASSERT_EQ(Install(FixtureMsi(name)), 0u);
    fw::Msi().MsiInstallProductW.fn = &RecordInstall;
    auto app = MakeApp(L"/x /qn", 3);
    TestMode mode;
    mode.uninstall = true;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 0u);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].package, L"brimcart.msi");
    EXPECT_EQ(calls[1].package, L"tools.msi");
    EXPECT_EQ(calls[2].package, L"editor.msi");
    for (const Call& call : calls) EXPECT_EQ(call.properties, Expected(L"REMOVE=ALL ", items::UninstallAll()));
}

TEST_F(Operations, AnUninstallOrRepairOfAProductNotInstalledEndsWith1605) {
    for (bool repair : {false, true}) {
        auto app = MakeApp(repair ? L"/f /qn" : L"/x /qn", 2);
        TestMode mode;
        mode.uninstall = !repair;
        mode.repair = repair;
        EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1605u);
        EXPECT_EQ(mode.results, std::vector<DWORD>{1605});
        EXPECT_TRUE(calls.empty());
        EXPECT_TRUE(reinstalled.empty());
        EXPECT_TRUE(Contains(Log(), L"ZEL (c): Product Morvex Test Editor 2024 is not installed.\r\n"));
        // No launcher copy and no uninstall entry for a product that is not there.
        EXPECT_FALSE(Contains(Log(), L"ZEL (c): redo-after modify or re-install custom installer registry"));
    }
}

TEST_F(Operations, A64BitMainPackageOnASystemNotReportedAs64BitEndsWith1633) {
    // The application's Windows facts are only read by the OS check, which
    // this run does not make: the system counts as 32-bit.
    auto app = MakeApp(L"/qn", 2);
    ASSERT_FALSE(app->Is64BitOs());
    app->Catalogue()[0]->is64 = true;
    TestMode mode;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1633u);
    EXPECT_TRUE(calls.empty());
    // The launcher's own check: its own code is the exit code, with Windows
    // Installer's beside it in the log text.
    EXPECT_TRUE(mode.results.empty());
    EXPECT_EQ(outcome::ExitCode(app->Outcome()), static_cast<DWORD>(outcome::k64BitOn32Bit));
    EXPECT_EQ(app->Outcome().systemError, 1633u);
    EXPECT_TRUE(Contains(Log(), L"ZEL (c): dedected 64-bit platform\r\n"));
}

TEST_F(Operations, AnExtractionThatCannotCopyADatabaseFails) {
    auto app = MakeApp(L"/u /qn", 2);
    app->Catalogue()[0]->msiFileName = FixtureMsi(L"editor");
    app->Catalogue()[1]->msiFileName = dir_.File(L"missing.msi");
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    testsupport::TempDir target;
    ASSERT_TRUE(::SetCurrentDirectoryW(target.Path().c_str()));
    TestMode mode;
    DWORD result = ProductOperations(*app, mode).RunOperations();
    ::SetCurrentDirectoryW(previous);
    // The database that was there is copied; the missing one fails the run.
    EXPECT_TRUE(Exists(target.File(L"editor.msi")));
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    // Not Windows Installer's result: the launcher's own failure, with the
    // system's reason.
    EXPECT_TRUE(mode.results.empty());
    EXPECT_EQ(outcome::ExitCode(app->Outcome()), static_cast<DWORD>(outcome::kFailed));
    EXPECT_EQ(app->Outcome().systemError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(Contains(Log(), L"ZEL (c): Failure: return code = 2\r\n"));
}

// (Wine's installer answers 1626 to every administrative installation, so
// the property string is checked here instead of a real image.)
TEST_F(Operations, AnAdministrativeRunAsksForTheAdministrativeActionEvenWithX) {
    auto app = MakeApp(L"/a /qn TARGETDIR=C:\\image", 1);
    TestMode mode;
    mode.request = &app->CommandLine();
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 0u);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].properties, Expected(L"ACTION=ADMIN ", L"TARGETDIR=C:\\image "));
    calls.clear();
    // Together with /x: the administrative action, not a removal.
    for (const wchar_t* name : {L"editor"}) {
        fw::Msi().MsiInstallProductW.fn = saved_;
        ASSERT_EQ(Install(FixtureMsi(name)), 0u);
        fw::Msi().MsiInstallProductW.fn = &RecordInstall;
    }
    app.reset();
    auto both = MakeApp(L"/a /x /qn", 1);
    TestMode uninstall;
    uninstall.uninstall = true;
    EXPECT_EQ(ProductOperations(*both, uninstall).RunOperations(), 0u);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].properties, Expected(L"ACTION=ADMIN ", L""));
}

TEST_F(Operations, ACustomSetupOfTheMainProductGivesTheSubPackagesTheCustomizeOnlyItem) {
    for (const wchar_t* type : {L"Custom", L"custom", L"Typical"}) {
        calls.clear();
        setupTypeOfMain = type;
        auto app = MakeApp(L"/qn", 3);
        TestMode mode;
        EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 0u);
        ASSERT_EQ(calls.size(), 3u);
        // Exactly "Custom" (letter case counts) asks for the customising dialogs.
        std::wstring expected = std::wstring(type) == L"Custom" ? items::CustomizeOnly() : items::ProgressOnly();
        EXPECT_EQ(calls[0].properties, Expected(L"", items::Sub() + items::NoFinish())) << testing::PrintToString(type);
        EXPECT_EQ(calls[1].properties, Expected(L"", items::Sub() + items::NoFinish() + expected));
        EXPECT_EQ(calls[2].properties, Expected(L"", items::Sub() + items::NoFinish() + expected));
        // The recorded type does not outlive the run.
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Morvex", 0, KEY_READ | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
        EXPECT_NE(::RegQueryValueExW(key, L"CurrentInstallationType", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
}

// Rollbacks undo only what the run itself did.
TEST_F(Operations, AnInstallRollbackLeavesASubPackageThatWasInstalledBeforeTheRun) {
    fw::Msi().MsiInstallProductW.fn = saved_;
    ASSERT_EQ(Install(FixtureMsi(L"tools")), 0u);
    fw::Msi().MsiInstallProductW.fn = &RecordInstall;
    auto app = MakeApp(L"/qn", 3);
    answers = {0, 0, 1603};
    TestMode mode;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1603u);
    ASSERT_EQ(calls.size(), 4u) << "the editor alone is removed again";
    EXPECT_EQ(calls[3].package, L"editor.msi");
    EXPECT_EQ(calls[3].properties, Expected(L"REMOVE=ALL ", items::Rollback()));
    std::wstring log = Log();
    EXPECT_TRUE(Contains(log, L"ZEL (c): Rolling back product Morvex Test Editor 2024\r\n"));
    EXPECT_FALSE(Contains(log, L"Rolling back product Morvex Test Tools"));
    EXPECT_TRUE(ProductInstalled(FactsOf(FixtureMsi(L"tools")).productCode));
}

TEST_F(Operations, AnUninstallRollbackPutsBackOnlyWhatTheRunRemoved) {
    // The editor and the tools are installed; brimcart is selected (as with
    // /x subPackages=...) but was never installed.
    fw::Msi().MsiInstallProductW.fn = saved_;
    for (const wchar_t* name : {L"editor", L"tools"}) ASSERT_EQ(Install(FixtureMsi(name)), 0u);
    fw::Msi().MsiInstallProductW.fn = &RecordInstall;
    auto app = MakeApp(L"/x /qn", 3);
    answers = {0, 1603};  // the tools go, the editor fails
    TestMode mode;
    mode.uninstall = true;
    EXPECT_EQ(ProductOperations(*app, mode).RunOperations(), 1603u);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].properties, Expected(L"REMOVE=ALL ", items::UninstallAll()));
    EXPECT_EQ(calls[1].properties, Expected(L"REMOVE=ALL ", items::UninstallAll()));
    EXPECT_EQ(calls[2].properties, Expected(L"", items::Rollback())) << "the tools are put back";
    std::wstring log = Log();
    EXPECT_TRUE(Contains(log, L"ZEL (c): Rolling back product Morvex Test Tools 2024\r\n"));
    EXPECT_FALSE(Contains(log, L"Rolling back product Morvex Brimcart")) << "never installed: not installed now";
    EXPECT_FALSE(Contains(log, L"Rolling back product Morvex Test Editor"));
    EXPECT_TRUE(app->CommandLine().uninstall);
}
