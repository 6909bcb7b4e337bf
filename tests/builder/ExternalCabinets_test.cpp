// Shows that packages whose files are in a cabinet beside the database (one
// 32-bit, one 64-bit) are carried with that cabinet: the installer passes
// /v, installs both, repairs a deleted file with /f and removes both with
// /x, and keeps the cabinet beside the kept database; that a database whose
// cabinet is not beside it is refused at build time, naming the cabinet;
// and that /v finds an installer whose package lacks the cabinet.
#include <gtest/gtest.h>

#include "tests/builder/BuilderRun.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace buildertest;
using statetest::FactsOf;
using statetest::ProductInstalled;
using testsupport::Contains;
using testsupport::FileExists;

namespace {
std::wstring External(int bits) {
    return Fixture(L"external" + std::to_wstring(bits) + L"\\external" + std::to_wstring(bits) + L".msi");
}
}  // namespace

TEST(ExternalCabinets, CarriedBesideTheDatabaseTheyInstallRepairAndAreRemoved) {
    testsupport::TempDir dir;
    std::wstring setup = dir.File(L"setup.exe");
    BuilderResult built = RunBuilder(L"--out " + Quoted(setup) + L" --package " + Quoted(External(32)) +
                                     L" --package " + Quoted(External(64)));
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    EXPECT_TRUE(Contains(built.output, L"1 external cabinet(s)")) << testing::PrintToString(built.output);
    EXPECT_EQ(RunLauncherFile(setup, L"/v").exitCode, 0u);

    statetest::FixtureFacts facts32 = FactsOf(External(32)), facts64 = FactsOf(External(64));
    std::wstring file32 = testsupport::ProgramFiles32() + L"\\Morvex\\External32\\readme.txt";
    std::wstring file64 = testsupport::ProgramFiles64() + L"\\Morvex\\External64\\readme.txt";
    LauncherRun install = RunLauncherFile(setup, L"/qn /L*v %LOG%", 180000);
    ASSERT_EQ(install.exitCode, 0u) << testing::PrintToString(install.log.substr(0, 4000));
    EXPECT_TRUE(ProductInstalled(facts32.productCode));
    EXPECT_TRUE(ProductInstalled(facts64.productCode));
    EXPECT_TRUE(FileExists(file32));
    EXPECT_TRUE(FileExists(file64));
    // The kept database has its cabinet beside it, for later maintenance.
    for (const statetest::FixtureFacts* facts : {&facts32, &facts64})
        EXPECT_TRUE(FileExists(statetest::ExpectedMsiFolder(facts->packageCode) + L"\\data1.cab"));

    // A repair takes the deleted file from the kept cabinet.
    ASSERT_TRUE(::DeleteFileW(file32.c_str()));
    LauncherRun repair = RunLauncherFile(setup, L"/f /qn /L*v %LOG%", 180000);
    EXPECT_EQ(repair.exitCode, 0u) << testing::PrintToString(repair.log.substr(0, 4000));
    EXPECT_TRUE(FileExists(file32));

    LauncherRun remove = RunLauncherFile(setup, L"/x /qn /L*v %LOG%", 180000);
    EXPECT_EQ(remove.exitCode, 0u);
    EXPECT_FALSE(ProductInstalled(facts32.productCode));
    EXPECT_FALSE(ProductInstalled(facts64.productCode));
    EXPECT_FALSE(FileExists(file32));
    EXPECT_FALSE(FileExists(file64));
}

TEST(ExternalCabinets, AMissingCabinetIsRefusedAtBuildTimeAndFoundByValidation) {
    testsupport::TempDir dir;
    std::wstring alone = dir.File(L"external32.msi");
    ASSERT_TRUE(::CopyFileW(External(32).c_str(), alone.c_str(), FALSE));
    BuilderResult result = RunBuilder(L"--out " + Quoted(dir.File(L"setup.exe")) + L" --package " + Quoted(alone));
    EXPECT_EQ(result.exitCode, 1u);
    ASSERT_EQ(result.lines.size(), 1u) << testing::PrintToString(result.output);
    EXPECT_TRUE(Contains(result.lines[0], L"SetupBuilder: " + dir.File(L"data1.cab") + L": the cabinet is not beside "
                                          L"the database"))
        << testing::PrintToString(result.lines[0]);
    EXPECT_FALSE(FileExists(dir.File(L"setup.exe")));

    // A launcher whose package carries the database alone fails /v.
    LauncherRun validation = RunLauncher(L"external_no_cabinet", L"/v /L*v %LOG%");
    EXPECT_EQ(validation.exitCode, 1u);
    EXPECT_TRUE(validation.LogHas(L"ZEL (c): Package resource PACKAGE_0 lacks the cabinet data1.cab that its Media "
                                  L"table names."))
        << testing::PrintToString(validation.log);
}
