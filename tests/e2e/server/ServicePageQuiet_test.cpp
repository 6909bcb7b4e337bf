// The service configuration page in quiet runs: the property string the
// installer receives for fresh installs, for installed services and planted
// configuration files, for command-line presets and other-user accounts;
// the missing password ends the run at once, and no password reaches the
// launcher's log.
#include <gtest/gtest.h>

#include "icbs/PasswordCrypto.h"
#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/support/AccessEntries.h"

using namespace servertest;
using testsupport::Contains;

namespace {
void ExpectProperty(const LauncherRun& run, const std::wstring& name, const std::wstring& value) {
    std::optional<std::wstring> found = InstallerProperty(run, name);
    ASSERT_TRUE(found.has_value()) << testing::PrintToString(name);
    EXPECT_EQ(*found, value) << testing::PrintToString(name);
}
}  // namespace

TEST(ServicePageQuiet, FreshHarrowbyInstallGetsTheDefaultsAndUninstallSkipsThePage) {
    LauncherRun run = RunLauncher(L"server_harrowby", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(FixtureInstalled(L"HarrowbyServer"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Activating dialog ServiceConfiguration\r\n"));
    ExpectProperty(run, L"HB_WebServer_Port", L"8087");
    ExpectProperty(run, L"HB_WebServer_Enabled", L"1");
    ExpectProperty(run, L"HB_SSLWebServer_Port", L"463");
    ExpectProperty(run, L"HB_SSLWebServer_Enabled", L"0");
    ExpectProperty(run, L"HB_Service_StartType", L"demand");
    ExpectProperty(run, L"HB_Service_Username", L"LocalSystem");
    // The default certificate and key paths are never passed on.
    EXPECT_FALSE(InstallerProperty(run, L"HB_SSLWebServer_Certificate"));
    EXPECT_FALSE(InstallerProperty(run, L"HB_SSLWebServer_PrivateKey"));
    EXPECT_FALSE(run.LogHas(L"path_to"));
    EXPECT_FALSE(InstallerProperty(run, L"HB_Service_Password"));
    // The server page leaves the base folder's own list as it is: nobody but
    // administrators may delete, rename or re-list what lies in it. Read back
    // where the system keeps lists (Wine does not: AccessChanges_test records
    // every list the launcher sets instead).
    testsupport::TempDir scratch;
    if (testsupport::KeepsAccessListsAsGiven(scratch.Path()))
        EXPECT_TRUE(ICBSFileUtilities::HasFolderSecurity(CommonAppData() + L"\\Morvex",
                                                         ICBSFileUtilities::kOpenBaseFolderSddl));

    LauncherRun removal = RunLauncher(L"server_harrowby", L"/qn /x /L*v %LOG%", 120000);
    EXPECT_EQ(removal.exitCode, 0u);
    EXPECT_FALSE(FixtureInstalled(L"HarrowbyServer"));
    EXPECT_FALSE(removal.LogHas(L"Activating dialog ServiceConfiguration"));
    EXPECT_FALSE(InstallerProperty(removal, L"HB_WebServer_Port"));
}

TEST(ServicePageQuiet, InstalledServiceAndAnOlderVersionsFilePrefillTheEntry) {
    ASSERT_TRUE(MakeService(L"MorvexHarrowbyServer", L"auto", L"NT AUTHORITY\\NetworkService", true));
    // Only the file of version 2022 (two back) is there; comments, tabs and
    // blanks around the values.
    Plant(testsupport::ProgramFiles32() + L"\\Morvex\\HarrowbyServer2022\\etc\\server_config.xml",
          "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<config>\r\n"
          "  <!-- <http.socket-port>1111</http.socket-port> -->\r\n"
          "\t<http.socket-port>  9087 </http.socket-port>\r\n"
          "    <https.enable>1</https.enable>   \r\n"
          "<https.certificate>C:\\certs\\server.crt</https.certificate>\r\n</config>\r\n");
    LauncherRun run = RunLauncher(L"server_harrowby", L"/qn HB_SSLWebServer_Port=4463 /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"HB_WebServer_Port", L"9087");
    ExpectProperty(run, L"HB_SSLWebServer_Enabled", L"1");
    ExpectProperty(run, L"HB_SSLWebServer_Port", L"4463");
    ExpectProperty(run, L"HB_Service_StartType", L"auto");
    ExpectProperty(run, L"HB_Service_Username", L"NT AUTHORITY\\NetworkService");
    // A path read from the XML file is shown, not passed on.
    EXPECT_FALSE(InstallerProperty(run, L"HB_SSLWebServer_Certificate"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Found installed service MorvexHarrowbyServer\r\n"));
}

TEST(ServicePageQuiet, OtherUserWithoutPasswordEndsAsInvalidCommandLine) {
    ASSERT_TRUE(MakeService(L"MorvexHarrowbyServer", L"disabled", L".\\svc", false));
    LauncherRun run = RunLauncher(L"server_harrowby", L"/qn /L*v %LOG%", 60000);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE));
    EXPECT_TRUE(run.LogHas(L"MorvexHarrowbyServer")) << "the log names the service";
    EXPECT_TRUE(run.LogHas(L"HB_Service_Password")) << "the log names the property";
    EXPECT_FALSE(FixtureInstalled(L"HarrowbyServer"));
    EXPECT_FALSE(run.LogHas(L"Installing product"));
}

TEST(ServicePageQuiet, OtherUserPasswordIsPassedEncryptedAndNeverLogged) {
    const std::wstring canary = L"Canary-7f3e-Pw";
    LauncherRun run = RunLauncher(
        L"server_harrowby", L"/qn HB_Service_Username=.\\svc HB_Service_StartType=disabled HB_Service_Password=" + canary +
                                L" /L*v %LOG%",
        120000);
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"HB_Service_Username", L".\\svc");
    ExpectProperty(run, L"HB_Service_StartType", L"disabled");
    // Windows Installer is told to log no password property: the prepared
    // database lists it, in the capitals it takes command-line names in
    // (the package lists none of its own). Wine's installer ignores the list
    // and logs the value all the same, which shows here what it received:
    // the encrypted text the package decrypts, never the password.
    EXPECT_EQ(PreparedHiddenProperties(), L"HB_Service_Password;HB_SERVICE_PASSWORD");
    std::optional<std::wstring> encrypted = InstallerProperty(run, L"HB_Service_Password");
    ASSERT_TRUE(encrypted.has_value());
    EXPECT_NE(*encrypted, canary);
    EXPECT_EQ(icbs::DecryptPassword(*encrypted + L"\r\n"), canary);
    EXPECT_FALSE(run.LogHas(canary));
    // The launcher's own lines hold it neither plain nor encrypted.
    for (const std::wstring& line : LauncherLines(run)) {
        EXPECT_FALSE(Contains(line, canary)) << line.c_str();
        EXPECT_FALSE(Contains(line, *encrypted)) << line.c_str();
    }
}

// A password item in other letters than the page's own is applied and
// removed by the same rule: it never reaches the installer as typed.
TEST(ServicePageQuiet, APasswordItemInOtherLettersNeverReachesTheInstallerAsTyped) {
    const std::wstring canary = L"Canary-lower-Pw";
    LauncherRun run = RunLauncher(
        L"server_harrowby", L"/qn hb_service_username=.\\svc hb_Service_Password=" + canary + L" /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    std::optional<std::wstring> passed = InstallerProperty(run, L"HB_Service_Password");
    ASSERT_TRUE(passed.has_value());
    EXPECT_EQ(icbs::DecryptPassword(*passed + L"\r\n"), canary);
    EXPECT_FALSE(run.LogHas(canary));
    // With the system's account the password is not needed, and still not passed.
    LauncherRun system = RunLauncher(L"server_harrowby", L"/qn /x /L*v %LOG%", 120000);
    EXPECT_EQ(system.exitCode, 0u);
    LauncherRun unused = RunLauncher(L"server_harrowby", L"/qn HB_SERVICE_PASSWORD=" + canary + L" /L*v %LOG%", 120000);
    EXPECT_EQ(unused.exitCode, 0u);
    EXPECT_FALSE(unused.LogHas(canary));
    EXPECT_FALSE(InstallerProperty(unused, L"HB_Service_Password"));
}

// Without the base cryptographic provider there is no key: the password is
// passed neither encrypted nor plain, and the run ends as an invalid
// command line naming the property.
TEST(ServicePageQuiet, WithoutAKeyThePasswordIsNeverPassedAndTheRunEnds) {
    ASSERT_EQ(::RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                               L"SOFTWARE\\Microsoft\\Cryptography\\Defaults\\Provider\\"
                               L"Microsoft Base Cryptographic Provider v1.0"),
              ERROR_SUCCESS);
    const std::wstring canary = L"Canary-nokey-Pw";
    LauncherRun run = RunLauncher(
        L"server_harrowby", L"/qn HB_Service_Username=.\\svc HB_Service_Password=" + canary + L" /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Cannot encrypt the password for HB_Service_Password")) << run.log.c_str();
    EXPECT_FALSE(run.LogHas(canary));
    EXPECT_FALSE(InstallerProperty(run, L"HB_Service_Password"));
    EXPECT_FALSE(FixtureInstalled(L"HarrowbyServer"));
}

TEST(ServicePageQuiet, QuoteInAnAccountStaysOneValue) {
    // A service whose account holds a double quote and what would be a
    // second property after it.
    const std::wstring account = L".\\x\" INJECTED=\"1";
    ASSERT_TRUE(MakeService(L"MorvexHarrowbyServer", L"demand", account, false));
    LauncherRun run = RunLauncher(L"server_harrowby", L"/qn HB_Service_Password=pw /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    // The service manager keeps the account without the ".\" of the local
    // machine; the rest reaches the installer whole, as one value.
    std::optional<std::wstring> user = InstallerProperty(run, L"HB_Service_Username");
    ASSERT_TRUE(user.has_value());
    EXPECT_TRUE(fw::EndsWithNoCase(*user, L"x\" INJECTED=\"1")) << user->c_str();
    EXPECT_FALSE(InstallerProperty(run, L"INJECTED"));
}

TEST(ServicePageQuiet, BundleEntriesUseTheirPrefixesFilesAndCommandLine) {
    const std::wstring morvex = CommonAppData() + L"\\Morvex";
    Plant(morvex + L"\\SollenveyServer\\sollenveyserver.cfg",
          "; Sollenvey server\r\n[ListenAdmin]\r\n  port = 7085\r\nactive=1\r\n\r\n[Listen]\r\nport=7083\r\n"
          "[ListenSSL]\r\nactive = 1\r\n");
    // Pemmick 2024 finds the file of 2023.
    Plant(morvex + L"\\PemmickServer2023\\server_config.ini",
          "[PemmickServer]\r\nhttp.socket-port=29900\r\nhttp.enable = TRUE\r\n");
    LauncherRun run = RunLauncher(L"server_bundle", L"/qn BC_WebServer_Port=5000 /L*v %LOG%", 180000);
    EXPECT_EQ(run.exitCode, 0u);
    ExpectProperty(run, L"SYAdmin_WebServer_Port", L"7085");
    ExpectProperty(run, L"SY_Service_StartType", L"auto");
    EXPECT_FALSE(InstallerProperty(run, L"SYAdmin_Service_StartType"));
    ExpectProperty(run, L"SYClient_WebServer_Port", L"7083");
    ExpectProperty(run, L"SYClient_SSLWebServer_Enabled", L"1");
    ExpectProperty(run, L"PK_WebServer_Port", L"29900");
    ExpectProperty(run, L"PK_WebServer_Enabled", L"1");
    EXPECT_FALSE(InstallerProperty(run, L"PK_SSLWebServer_Port"));
    ExpectProperty(run, L"BC_WebServer_Port", L"5000");
    ExpectProperty(run, L"BCWeb_WebServer_Port", L"8082");
    ExpectProperty(run, L"HB_WebServer_Port", L"8087");
    for (const wchar_t* product : {L"HarrowbyServer", L"BrimcartAdvanced", L"PemmickServer", L"SollenveyServer"})
        EXPECT_TRUE(FixtureInstalled(product)) << product;
}
