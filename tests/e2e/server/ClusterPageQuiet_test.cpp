// The cluster configuration page in quiet runs: the role and master port
// from the installed server's files and from the command line, as the
// installer receives them.
#include <gtest/gtest.h>

#include "tests/e2e/server/ServerTestSupport.h"

using namespace servertest;

namespace {
const std::wstring kData = L"\\Morvex\\BrimcartServer2024\\data";

void ExpectProperty(const LauncherRun& run, const std::wstring& name, const std::wstring& value) {
    std::optional<std::wstring> found = InstallerProperty(run, name);
    ASSERT_TRUE(found.has_value()) << testing::PrintToString(name);
    EXPECT_EQ(*found, value) << testing::PrintToString(name);
}

LauncherRun RunBrimcart(const std::wstring& arguments) {
    return RunLauncher(L"server_brimcart", L"/qn " + arguments + L" /L*v %LOG%", 120000);
}
}  // namespace

TEST(ClusterPageQuiet, FreshInstallIsStandaloneOnTheDefaultPort) {
    LauncherRun run = RunBrimcart(L"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Activating dialog ClusterConfiguration\r\n"));
    ExpectProperty(run, L"BC_Master_Port", L"4645");
    ExpectProperty(run, L"BC_Master_Host", L"0.0.0.0");
    ExpectProperty(run, L"BC_Master_Active", L"0");
    ExpectProperty(run, L"BC_Cluster_Role", L"Standalone");
    EXPECT_FALSE(InstallerProperty(run, L"BC_Worker_Configure"));
    // The service page's entries of the same package.
    ExpectProperty(run, L"BC_WebServer_Port", L"4646");
    ExpectProperty(run, L"BCWeb_WebServer_Port", L"8082");
}

TEST(ClusterPageQuiet, MasterCfgMakesAWorkerThatStaysOne) {
    Plant(CommonAppData() + kData + L"\\master.cfg", "host=10.1.1.1\r\n");
    LauncherRun run = RunBrimcart(L"");
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"BC_Cluster_Role", L"Worker");
    ExpectProperty(run, L"BC_Master_Port", L"0");
    EXPECT_FALSE(InstallerProperty(run, L"BC_Worker_Configure"));
}

TEST(ClusterPageQuiet, StandaloneChangedToWorkerFromTheCommandLine) {
    LauncherRun run = RunBrimcart(L"BC_Cluster_Role=worker");
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"BC_Cluster_Role", L"Worker");
    ExpectProperty(run, L"BC_Worker_Configure", L"1");
    ExpectProperty(run, L"BC_Master_Port", L"0");
    ExpectProperty(run, L"BC_Master_Active", L"0");
}

TEST(ClusterPageQuiet, CommandLinePortSelectsTheMaster) {
    LauncherRun run = RunBrimcart(L"BC_Master_Port=5000");
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"BC_Cluster_Role", L"Master");
    ExpectProperty(run, L"BC_Master_Port", L"5000");
    ExpectProperty(run, L"BC_Master_Active", L"1");
}

TEST(ClusterPageQuiet, PortZeroKeepsTheDefaultAndAPlantedHostStaysOneValue) {
    Plant(CommonAppData() + kData + L"\\brimcart.ini",
          "; planted by anyone who may write here\r\n[Master]\r\nport=0\r\nhost=h\" INJECTED=\"1\r\nactive=1\r\n");
    LauncherRun run = RunBrimcart(L"");
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"BC_Cluster_Role", L"Master");
    ExpectProperty(run, L"BC_Master_Port", L"4645");
    ExpectProperty(run, L"BC_Master_Host", L"h\" INJECTED=\"1");
    EXPECT_FALSE(InstallerProperty(run, L"INJECTED"));
}
