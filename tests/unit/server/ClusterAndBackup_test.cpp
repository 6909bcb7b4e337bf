// The cluster page's role from the configuration files and the command line
// with its property string, and the backup page's configuration file,
// figures, space rule, confirmation and property string.
#include <gtest/gtest.h>

#include "icbs/ICBSIniFile.h"
#include "server/BackupSettings.h"
#include "server/ClusterSettings.h"
#include "tests/support/TestSupport.h"

using namespace cluster_config;
using namespace backup_config;

namespace {
struct Files {
    testsupport::TempDir dir;
    std::wstring brimcart = dir.Path() + L"\\brimcart.ini", web = dir.Path() + L"\\brimcartweb.ini";
    Files(const std::string& brimcartText, const std::string& webText) {
        if (!brimcartText.empty()) testsupport::WriteBytes(brimcart, brimcartText);
        if (!webText.empty()) testsupport::WriteBytes(web, webText);
    }
    ClusterSettings Read(bool masterCfg) const {
        ClusterSettings settings;
        ReadClusterConfiguration(settings, ICBSIniFile(brimcart), masterCfg, ICBSIniFile(web));
        return settings;
    }
};
std::wstring Compose(ClusterSettings settings) { return ComposeClusterProperties(settings, settings.masterPort).text; }
}  // namespace

TEST(ClusterSettings, FromTheConfigurationFiles) {
    // A fresh installation.
    Files none("", "");
    EXPECT_EQ(Compose(none.Read(false)),
              L"BC_Master_Port=\"4645\" BC_Master_Host=\"0.0.0.0\" BC_Master_Active=0 BC_Cluster_Role=\"Standalone\" ");
    // A master, with host and port; a port of "0" keeps the default.
    Files master("; cluster\r\n[Master]\r\nport=4700\r\nhost=10.0.0.5\r\nactive=1\r\n", "");
    ClusterSettings m = master.Read(false);
    EXPECT_EQ(m.role, kMaster);
    EXPECT_EQ(Compose(m), L"BC_Master_Port=\"4700\" BC_Master_Host=\"10.0.0.5\" BC_Master_Active=1 BC_Cluster_Role=\"Master\" ");
    Files zero("[Master]\r\nport=0\r\nactive=0\r\n", "");
    EXPECT_EQ(zero.Read(false).masterPort, L"4645");
    EXPECT_EQ(zero.Read(false).role, kStandalone);
    // master.cfg, or brimcartweb.ini's Worker::configure, makes a worker;
    // staying a worker sets no BC_Worker_Configure.
    EXPECT_EQ(zero.Read(true).role, kWorker);
    Files worker("", "[Worker]\r\nconfigure=1\r\n");
    ClusterSettings w = worker.Read(false);
    EXPECT_EQ(w.role, kWorker);
    EXPECT_EQ(Compose(w), L"BC_Master_Port=\"0\" BC_Master_Host=\"0.0.0.0\" BC_Master_Active=0 BC_Cluster_Role=\"Worker\" ");
    // Changing a standalone server to worker asks the package to configure it.
    ClusterSettings changed = none.Read(false);
    changed.role = kWorker;
    EXPECT_EQ(Compose(changed), L"BC_Master_Port=\"0\" BC_Master_Host=\"0.0.0.0\" BC_Master_Active=0 BC_Worker_Configure=1 "
                                L"BC_Cluster_Role=\"Worker\" ");
    // A port that is no number from 1 to 65535 leaves the default.
    for (const char* port : {"12\" Y=\"2", "70000", "-5", "abc"}) {
        Files bad(std::string("[Master]\r\nport=") + port + "\r\nactive=1\r\n", "");
        EXPECT_EQ(bad.Read(false).masterPort, L"4645") << port;
    }
    // A planted host with a quote stays one value.
    Files planted("[Master]\r\nhost=h\" EVIL=\"1\r\n", "");
    EXPECT_EQ(Compose(planted.Read(false)),
              L"BC_Master_Port=\"4645\" BC_Master_Host=\"h\"\" EVIL=\"\"1\" BC_Master_Active=0 BC_Cluster_Role=\"Standalone\" ");
}

TEST(ClusterSettings, FromTheCommandLine) {
    ClusterSettings settings;
    ApplyClusterCommandLine(settings, {L"BC_Master_Port=5000"});
    EXPECT_EQ(settings.role, kMaster);
    ClusterProperties out = ComposeClusterProperties(settings, L"5000");
    EXPECT_EQ(out.text, L"BC_Master_Port=\"5000\" BC_Master_Host=\"0.0.0.0\" BC_Master_Active=1 BC_Cluster_Role=\"Master\" ");
    EXPECT_EQ(out.names, (std::vector<std::wstring>{L"BC_Master_Port", L"BC_Master_Host", L"BC_Master_Active",
                                                    L"BC_Cluster_Role"}));
    ClusterSettings host;
    ApplyClusterCommandLine(host, {L"bc_Master_Host=\"srv\"", L"BC_master_host=ignored", L"HB_Cluster_Role=Worker"});
    EXPECT_EQ(host.masterHost, L"srv");  // "Master_Host" is compared exactly
    EXPECT_EQ(host.role, kMaster);
    ClusterSettings role;
    ApplyClusterCommandLine(role, {L"BC_Cluster_Role= worker ", L"bc_cluster_role=Nonsense"});
    EXPECT_EQ(role.role, kWorker);
    ApplyClusterCommandLine(role, {L"BC_CLUSTER_ROLE=STANDALONE"});
    EXPECT_EQ(role.role, kStandalone);
}

TEST(BackupSettings, ConfigurationFileSections) {
    BackupConfig config = ParseBackupConfig({L"[server]", L"avoidbackuponupgrade=1", L"  [Installer]  ",
                                             L"\tsolutionsworkingdir =  D:\\Solutions \t"},
                                            L"C:\\PD\\Morvex\\SollenveyServer");
    EXPECT_TRUE(config.settingsFound);
    EXPECT_FALSE(config.avoidBackup);  // outside the installer section
    EXPECT_EQ(config.solutionFolder, L"D:\\Solutions");
    BackupConfig avoid = ParseBackupConfig({L"[INSTALLER]", L"avoidbackuponupgrade=1", L"=solutionsworkingdir"}, L"C:\\D");
    EXPECT_TRUE(avoid.avoidBackup);
    EXPECT_EQ(avoid.solutionFolder, L"C:\\D\\SolutionFiles");
    EXPECT_FALSE(ParseBackupConfig({L"[installer]", L"avoidbackuponupgrade=0", L"[other]", L"avoidbackuponupgrade=1"},
                                   L"C:\\D").avoidBackup);
}

TEST(BackupSettings, FiguresSpaceRuleConfirmationAndProperties) {
    EXPECT_EQ(FigureText(1024), L"1024 MB");
    EXPECT_EQ(FigureText(1025), L"1 GB");
    EXPECT_EQ(FigureText(5000), L"4 GB");
    EXPECT_EQ(FigureText(0), L"0 MB");
    EXPECT_TRUE(TooLittleSpace(4500, 900));
    EXPECT_FALSE(TooLittleSpace(5000, 900));
    EXPECT_TRUE(TooLittleSpace(4995, 900));
    EXPECT_FALSE(TooLittleSpace(4996, 900));
    EXPECT_TRUE(TooLittleSpace(0xFFFFFFFFu, 0xFFFFF000u)) << "the sum does not wrap around in 32 bits";
    // A 2 TB disk: 32-bit arithmetic would overflow; beyond 4 PiB the
    // figure stays at its largest.
    EXPECT_EQ(Megabytes(536870912ull * 8 * 512), 2097152u);
    EXPECT_EQ(Megabytes(2621440ull * 8 * 512), 10240u);
    EXPECT_EQ(Megabytes(~0ull), 0xFFFFFFFFu);
    EXPECT_EQ(Megabytes(900ull * 1048576 + 1048575), 900u);
    EXPECT_EQ(ConfirmationText(true, true, L"skip", L"reset"), L"skip\r\n\r\nreset");
    EXPECT_EQ(ConfirmationText(false, true, L"skip", L"reset"), L"reset");
    EXPECT_EQ(ConfirmationText(true, false, L"skip", L"reset"), L"skip");
    EXPECT_EQ(ConfirmationText(false, false, L"skip", L"reset"), L"");
    EXPECT_EQ(BackupPropertyString(true, true), L"RESET_DATABASE=true SKIP_BACKUP=true");
    EXPECT_EQ(BackupPropertyString(true, false), L"SKIP_BACKUP=true");
    EXPECT_EQ(BackupPropertyString(false, true), L"RESET_DATABASE=true");
    EXPECT_EQ(BackupPropertyString(false, false), L"");
}
