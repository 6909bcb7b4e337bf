// The service page's decisions without a window: the entries table and its
// paths, pre-filling from a service and from INI and XML files, the links,
// the command-line properties, and the property string in its exact order.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "engine/PropertyItems.h"
#include "icbs/ICBSIniFile.h"
#include "icbs/ICBSXMLIniFile.h"
#include "server/CommandLineItem.h"
#include "server/ServiceCommandLine.h"
#include "server/ServiceEntryTable.h"
#include "server/ServicePrefill.h"
#include "server/ServicePropertyString.h"
#include "tests/support/TestSupport.h"

using namespace service_config;

namespace {

std::set<std::wstring> existing;
bool Exists(const std::wstring& path) { return existing.count(path) != 0; }
bool AllSelected(const void*, size_t) { return true; }
bool FirstSelected(const void*, size_t index) { return index == 0; }
std::wstring FakeEncrypt(const std::wstring& plain) { return L"enc(" + plain + L")\r\n"; }

const ConfigFolders kFolders{L"C:\\ProgramData", L"C:\\Program Files (x86)"};

std::vector<ServiceSettings> EntriesOf(std::vector<ServerPackage> packages) {
    return MakeServiceEntries(packages, kFolders, Exists);
}

std::wstring Compose(const std::vector<ServiceSettings>& entries, SelectedFn selected = AllSelected) {
    return ComposeServiceProperties(entries, selected, nullptr, FakeEncrypt).text;
}

// A file written for the test in a folder of its own, removed with the object.
struct TempFile {
    testsupport::TempDir dir;
    std::wstring path;
    TempFile(const std::wstring& name, const std::string& content) : path(dir.Path() + L"\\" + name) {
        testsupport::WriteBytes(path, content);
    }
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(ServiceEntryTable, EntriesByProductNameWithDefaultsAndPaths) {
    existing.clear();
    auto entries = EntriesOf({{L"Morvex Sollenvey Server 5.3", L"5.3.0", false},
                              {L"Morvex Harrowby Server 2024", L"2024.00.00", false},
                              {L"Morvex Harrowby+XBRL Server 2024 x64", L"2024.00.00", true},
                              {L"Morvex Brimcart Server 2024 Advanced Edition", L"2024.01.00", false},
                              {L"Morvex Pemmick Server 2023", L"2023.00.00", false},
                              {L"Morvex Pemmick Server Client 2023", L"2023.00.00", false},
                              {L"Morvex Test Editor 2024", L"2024.00.00", false}});
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].key, L"Sollenvey Server Admin Interface");
    EXPECT_EQ(entries[0].captionId, 1308u);
    EXPECT_EQ(entries[0].ServicePrefix(), L"SY");
    EXPECT_EQ(entries[0].serviceName, L"MorvexSollenveyServer");
    EXPECT_EQ(entries[0].configPath, L"C:\\ProgramData\\Morvex\\SollenveyServer\\sollenveyserver.cfg");
    EXPECT_EQ(entries[1].propertyPrefix, L"SYClient");
    EXPECT_EQ(entries[1].ServicePrefix(), L"SYClient");
    EXPECT_FALSE(entries[1].hasService);
    EXPECT_EQ(entries[1].displayName, L"Sollenvey Server Client Interface 5");
    EXPECT_EQ(entries[1].webPort, 8083);
    EXPECT_EQ(entries[1].sslPort, 8084);
    EXPECT_EQ(entries[2].displayName, L"Morvex Harrowby Server 2024");
    EXPECT_EQ(entries[2].startType, kOnDemand);
    EXPECT_EQ(entries[2].webPort, 8087);
    EXPECT_EQ(entries[2].sslPort, 463);
    EXPECT_EQ(entries[2].configPath, L"C:\\Program Files (x86)\\Morvex\\HarrowbyServer2024\\etc\\server_config.xml");
    // A 64-bit package's files are in the 64-bit program files folder.
    EXPECT_EQ(entries[3].propertyPrefix, L"HBX");
    EXPECT_EQ(entries[3].configPath, L"C:\\Program Files\\Morvex\\HarrowbyXBRLServer2024\\etc\\server_config.xml");
    EXPECT_EQ(entries[4].serviceName, L"MorvexBrimcart");
    EXPECT_EQ(entries[4].webPort, 4646);
    EXPECT_EQ(entries[4].configPath, L"C:\\ProgramData\\Morvex\\BrimcartServer2024\\data\\brimcart.ini");
    EXPECT_EQ(entries[5].serviceName, L"MorvexBrimcartWeb");
    EXPECT_EQ(entries[5].displayName, L"Morvex Brimcart Web 2024");
    EXPECT_EQ(entries[5].configPath, L"C:\\ProgramData\\Morvex\\BrimcartServer2024\\data\\brimcartweb.ini");
    EXPECT_EQ(entries[6].propertyPrefix, L"PK");
    EXPECT_FALSE(entries[6].sslOffered);
    EXPECT_EQ(entries[6].webPort, 29800);
    EXPECT_EQ(entries[6].packageIndex, 4u);
    EXPECT_EQ(entries[6].configPath, L"C:\\ProgramData\\Morvex\\PemmickServer2023\\server_config.ini");
    for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].linkedIndex, i);
    LinkEntries(entries);
    EXPECT_EQ(entries[1].linkedIndex, 0u);
    EXPECT_EQ(entries[5].linkedIndex, 4u);
    EXPECT_EQ(entries[4].linkedIndex, 4u);
}

TEST(ServiceEntryTable, VersionedPathFallsBackOneAndTwoVersions) {
    const std::wstring prefix = L"C:\\PD\\Morvex\\BrimcartServer", suffix = L"\\data\\brimcart.ini";
    existing = {prefix + L"2022" + suffix};
    EXPECT_EQ(ResolveVersionedPath(prefix, 2024, suffix, Exists), prefix + L"2022" + suffix);
    existing.insert(prefix + L"2023" + suffix);
    EXPECT_EQ(ResolveVersionedPath(prefix, 2024, suffix, Exists), prefix + L"2023" + suffix);
    existing = {prefix + L"2021" + suffix};  // three back is too old
    EXPECT_EQ(ResolveVersionedPath(prefix, 2024, suffix, Exists), prefix + L"2024" + suffix);
    EXPECT_EQ(ProgramFilesFor(L"C:\\Program Files (x86)", false), L"C:\\Program Files (x86)");
    EXPECT_EQ(ProgramFilesFor(L"C:\\Program Files", true), L"C:\\Program Files");
    EXPECT_EQ(VersionNumber(L"2024.00.00"), 2024);
    EXPECT_EQ(VersionNumber(L""), -1);
}

TEST(ServicePrefill, InstalledServiceGivesStartTypeAndAccountKind) {
    existing.clear();
    ServiceSettings entry = EntriesOf({{L"Morvex Harrowby Server", L"2024", false}})[0];
    ApplyInstalledService(entry, {false, SERVICE_DISABLED, false, L"x"});
    EXPECT_EQ(entry.startType, kOnDemand);
    const struct { unsigned long type; bool delayed; int expected; } starts[] = {
        {SERVICE_AUTO_START, false, kAutomatic}, {SERVICE_AUTO_START, true, kAutomaticDelayed},
        {SERVICE_DEMAND_START, false, kOnDemand}, {SERVICE_DISABLED, false, kDisabled}};
    for (const auto& start : starts) {
        ApplyInstalledService(entry, {true, start.type, start.delayed, L"LocalSystem"});
        EXPECT_EQ(entry.startType, start.expected);
    }
    const struct { const wchar_t* account; int kind; } accounts[] = {
        {L"LocalSystem", kLocalSystem}, {L"NT AUTHORITY\\LocalService", kLocalService},
        {L"NT AUTHORITY\\NetworkService", kNetworkService}, {L".\\svc", kOtherUser},
        {L"localsystem", kOtherUser}};  // exact comparison
    for (const auto& account : accounts) {
        entry.password = L"old";
        ApplyInstalledService(entry, {true, SERVICE_AUTO_START, false, account.account});
        EXPECT_EQ(entry.accountKind, account.kind) << account.account;
        EXPECT_EQ(entry.userName, account.account);
        EXPECT_TRUE(entry.password.empty());
    }
}

TEST(ServicePrefill, IniFilesByEntryWithCommentsAndSpacing) {
    TempFile certificate(L"server.crt", "cert");
    existing = {certificate.path};
    TempFile ini(L"brimcart.ini",
                 "; Brimcart server settings\r\n[Listen]\r\nport =  9090 \r\nactive=0\r\n"
                 "[ListenSSL]\r\n  port=9443\r\nactive = 1\r\n[SSL]\r\ncertificate = " +
                     Narrow(certificate.path) + "\r\nprivate_key=C:\\missing.key\r\n");
    auto entries = EntriesOf({{L"Morvex Brimcart Server", L"2024", false}});
    ApplyIniConfiguration(entries[0], ICBSIniFile(ini.path), Exists);
    EXPECT_EQ(entries[0].webPort, 9090);
    EXPECT_FALSE(entries[0].webEnabled);
    EXPECT_EQ(entries[0].sslPort, 9443);
    EXPECT_TRUE(entries[0].sslEnabled);
    EXPECT_EQ(entries[0].certificatePath, certificate.path);
    EXPECT_TRUE(entries[0].certificateSet);
    // The key file is not there: its path is not taken.
    EXPECT_EQ(entries[0].privateKeyPath, L"C:\\path_to\\PrivateKey");
    EXPECT_FALSE(entries[0].privateKeySet);

    TempFile admin(L"sollenveyserver.cfg", "[ListenAdmin]\r\nport=7085\r\n[ListenAdminSSL]\r\nactive=1\r\n"
                                           "[Listen]\r\nport=7083\r\n");
    auto sollenvey = EntriesOf({{L"Morvex Sollenvey Server", L"5.3", false}});
    for (ServiceSettings& entry : sollenvey) ApplyIniConfiguration(entry, ICBSIniFile(admin.path), Exists);
    EXPECT_EQ(sollenvey[0].webPort, 7085);
    EXPECT_TRUE(sollenvey[0].sslEnabled);
    EXPECT_EQ(sollenvey[1].webPort, 7083);
    EXPECT_FALSE(sollenvey[1].sslEnabled);

    TempFile pemmick(L"server_config.ini", "[PemmickServer]\r\nhttp.socket-port=29900\r\nhttp.enable=FALSE\r\n");
    auto pk = EntriesOf({{L"Morvex Pemmick Server", L"2024", false}});
    ApplyIniConfiguration(pk[0], ICBSIniFile(pemmick.path), Exists);
    EXPECT_EQ(pk[0].webPort, 29900);
    EXPECT_FALSE(pk[0].webEnabled);
    TempFile pemmickOn(L"server_config.ini", "[PemmickServer]\r\nhttp.enable=True\r\nhttp.socket-port=abc\r\n");
    ApplyIniConfiguration(pk[0], ICBSIniFile(pemmickOn.path), Exists);
    EXPECT_TRUE(pk[0].webEnabled);
    EXPECT_EQ(pk[0].webPort, 29900);  // not a number: what was there stays
}

// Every user may write the servers' configuration files: a port is taken
// only as a number from 1 to 65535, a path only when it names an existing
// file (no folder, no link), and each value read is told with its key.
TEST(ServicePrefill, ValuesFromFilesAreCheckedAndTold) {
    existing.clear();
    TempFile planted(L"brimcart.ini",
                     "[Listen]\r\nport=12\" Y=\"2\r\n[ListenSSL]\r\nport=70000\r\n[SSL]\r\n"
                     "certificate=C:\\Windows\r\nprivate_key=C:\\nothing.key\r\n");
    auto entries = EntriesOf({{L"Morvex Brimcart Server", L"2024", false}});
    std::vector<std::wstring> told;
    ApplyIniConfiguration(entries[0], ICBSIniFile(planted.path), Exists,
                          [&](const std::wstring& key, const std::wstring& value, bool taken) {
                              told.push_back(key + L"=" + value + (taken ? L" taken" : L" refused"));
                          });
    EXPECT_EQ(entries[0].webPort, 4646);
    EXPECT_EQ(entries[0].sslPort, 4647);
    EXPECT_FALSE(entries[0].certificateSet);
    EXPECT_FALSE(entries[0].privateKeySet);
    EXPECT_EQ(told, (std::vector<std::wstring>{L"Listen::port=12\" Y=\"2 refused", L"ListenSSL::port=70000 refused",
                                               L"SSL::certificate=C:\\Windows refused",
                                               L"SSL::private_key=C:\\nothing.key refused"}));
    for (const wchar_t* text : {L"1", L"65535", L" 8080 "}) EXPECT_TRUE(PortOf(text).has_value()) << text;
    for (const wchar_t* text : {L"0", L"65536", L"-1", L"+80", L"80a", L"", L"0x50", L"123456"})
        EXPECT_FALSE(PortOf(text).has_value()) << text;
}

TEST(ServicePrefill, XmlFileGivesPortsAndPathsButPassesNoPath) {
    existing.clear();
    TempFile xml(L"server_config.xml",
                 "<?xml version=\"1.0\"?>\r\n<config>\r\n  <!-- <http.socket-port>1</http.socket-port> -->\r\n"
                 "    <http.socket-port> 8099 </http.socket-port>\r\n<http.enable>0</http.enable>\r\n"
                 "\t<https.enable>1</https.enable>\r\n<https.socket-port>4443</https.socket-port>\r\n"
                 "<https.certificate>C:\\certs\\a.crt</https.certificate>\r\n</config>\r\n");
    auto entries = EntriesOf({{L"Morvex Harrowby Server", L"2024", false}});
    ApplyXmlConfiguration(entries[0], ICBSXMLIniFile(xml.path), Exists);
    EXPECT_EQ(entries[0].webPort, 8099);
    EXPECT_FALSE(entries[0].webEnabled);
    EXPECT_EQ(entries[0].sslPort, 4443);
    EXPECT_TRUE(entries[0].sslEnabled);
    // A certificate file that is not there is not taken; one that is, is
    // shown, but never passed on.
    EXPECT_EQ(entries[0].certificatePath, L"C:\\path_to\\certificate");
    TempFile certificate(L"a.crt", "cert");
    existing = {certificate.path};
    TempFile withFile(L"server_config.xml", "<config>\r\n<https.certificate>" + Narrow(certificate.path) +
                                               "</https.certificate>\r\n</config>\r\n");
    ApplyXmlConfiguration(entries[0], ICBSXMLIniFile(withFile.path), Exists);
    EXPECT_EQ(entries[0].certificatePath, certificate.path);
    EXPECT_FALSE(entries[0].certificateSet);
    EXPECT_EQ(entries[0].privateKeyPath, L"C:\\path_to\\PrivateKey");
    EXPECT_EQ(Compose(entries).find(L"Certificate"), std::wstring::npos);
}

TEST(ServicePropertyString, FreshHarrowbyInOrderAndSollenveyPrefixes) {
    existing.clear();
    auto harrowby = EntriesOf({{L"Morvex Harrowby Server 2024", L"2024.00.00", false}});
    ServiceProperties out = ComposeServiceProperties(harrowby, AllSelected, nullptr, FakeEncrypt);
    EXPECT_EQ(out.text, L"HB_WebServer_Port=8087 HB_WebServer_Enabled=1 HB_SSLWebServer_Port=463 "
                        L"HB_SSLWebServer_Enabled=0 HB_Service_StartType=\"demand\" HB_Service_Username=\"LocalSystem\" ");
    EXPECT_EQ(out.names, (std::vector<std::wstring>{L"HB_WebServer_Port", L"HB_WebServer_Enabled", L"HB_SSLWebServer_Port",
                                                    L"HB_SSLWebServer_Enabled", L"HB_Service_StartType",
                                                    L"HB_Service_Username"}));
    auto sollenvey = EntriesOf({{L"Morvex Sollenvey Server", L"5.3", false}});
    std::wstring text = Compose(sollenvey);
    EXPECT_TRUE(testsupport::Contains(text, L"SYAdmin_WebServer_Port=8085 "));
    EXPECT_TRUE(testsupport::Contains(text, L"SY_Service_StartType=\"auto\" "));
    EXPECT_TRUE(testsupport::Contains(text, L"SYClient_WebServer_Port=8083 "));
    EXPECT_TRUE(testsupport::Contains(text, L"SYClient_Service_Username=\"LocalSystem\" "));
    EXPECT_FALSE(testsupport::Contains(text, L"SYAdmin_Service"));
    // The Pemmick entry has no SSL items; unselected packages give nothing.
    auto pemmick = EntriesOf({{L"Morvex Pemmick Server", L"2024", false}, {L"Morvex Harrowby Server", L"2024", false}});
    EXPECT_EQ(Compose(pemmick, FirstSelected),
              L"PK_WebServer_Port=29800 PK_WebServer_Enabled=1 PK_Service_StartType=\"auto\" "
              L"PK_Service_Username=\"LocalSystem\" ");
}

TEST(ServicePropertyString, CommandLinePresetsAndOtherUser) {
    existing.clear();
    auto entries = EntriesOf({{L"Morvex Brimcart Server", L"2024", false}, {L"Morvex Harrowby Server", L"2024", false}});
    LinkEntries(entries);
    ApplyCommandLineProperties(entries, {L"BC_WebServer_Port=5000", L"bcweb_webserver_enabled=0",
                                         L"HB_Service_StartType=Auto-Delayed", L"HB_Service_Username=\".\\svc\"",
                                         L"HB_Service_Password=Pa ss", L"HB_Service_password=ignored",
                                         L"HB_SSLWebServer_Certificate= \"C:\\c.crt\" ", L"BC_Service_StartType=sometimes",
                                         L"BC_Service_DisplayName=Mine", L"NOUNDERSCORE=1"});
    EXPECT_EQ(entries[0].webPort, 5000);
    EXPECT_EQ(entries[0].displayName, L"Mine");
    EXPECT_EQ(entries[0].startType, kAutomatic);  // unknown word ignored
    EXPECT_FALSE(entries[1].webEnabled);
    EXPECT_EQ(entries[2].startType, kAutomaticDelayed);
    EXPECT_EQ(entries[2].accountKind, kOtherUser);
    EXPECT_EQ(entries[2].userName, L".\\svc");
    EXPECT_EQ(entries[2].password, L"Pa ss");  // "Service_Password" is compared exactly
    std::wstring text = Compose(entries);
    EXPECT_TRUE(testsupport::Contains(text, L"BC_WebServer_Port=5000 BC_WebServer_Enabled=1 "));
    EXPECT_TRUE(testsupport::Contains(text, L"BCWeb_WebServer_Enabled=0 "));
    EXPECT_TRUE(testsupport::Contains(text, L"HB_SSLWebServer_Certificate=\"C:\\c.crt\" HB_Service_StartType=\"auto-delayed\" "
                                            L"HB_Service_Username=\".\\svc\" HB_Service_Password=\"enc(Pa ss)\r\n\" "));
    EXPECT_FALSE(testsupport::Contains(text, L"PrivateKey"));
    EXPECT_EQ(FirstMissingPassword(entries, AllSelected, nullptr), entries.size());
    entries[2].password.clear();
    EXPECT_EQ(FirstMissingPassword(entries, AllSelected, nullptr), 2u);
    EXPECT_EQ(FirstMissingPassword(entries, FirstSelected, nullptr), entries.size());
    // The command line loses the names the page sets in any letters, as the
    // prefixes that apply them ignore letter case (and Windows Installer
    // would take either as the same property).
    std::vector<std::wstring> items{L"BC_WebServer_Port=5000", L"FOO=1", L"bc_webserver_port=1",
                                    L"hb_Service_Password=x", L"BC_Service_PASSWORD=y"};
    std::vector<std::wstring> names = ComposeServiceProperties(entries, AllSelected, nullptr, FakeEncrypt).names;
    items = items::WithoutNamed(items, names);
    EXPECT_EQ(items, (std::vector<std::wstring>{L"FOO=1", L"BC_Service_PASSWORD=y"}));
    // Every entry's password item goes, passed on or not.
    items = items::WithoutNamed(items, PasswordPropertyNames(entries));
    EXPECT_EQ(items, (std::vector<std::wstring>{L"FOO=1"}));
}

// Without a key the password is neither encrypted nor passed as typed: the
// property is left out and named.
TEST(ServicePropertyString, APasswordThatCannotBeEncryptedIsLeftOut) {
    existing.clear();
    auto entries = EntriesOf({{L"Morvex Harrowby Server", L"2024", false}});
    ApplyCommandLineProperties(entries, {L"HB_Service_Username=.\\svc", L"HB_Service_Password=Secret"});
    ServiceProperties out =
        ComposeServiceProperties(entries, AllSelected, nullptr, [](const std::wstring&) { return std::wstring(); });
    EXPECT_EQ(out.unencrypted, std::vector<std::wstring>{L"HB_Service_Password"});
    EXPECT_FALSE(testsupport::Contains(out.text, L"Password"));
    EXPECT_FALSE(testsupport::Contains(out.text, L"Secret"));
    EXPECT_TRUE(testsupport::Contains(out.text, L"HB_Service_Username=\".\\svc\" "));
}

TEST(ServicePropertyString, QuotesFromOutsideStayInsideOneValue) {
    existing.clear();
    auto entries = EntriesOf({{L"Morvex Harrowby Server", L"2024", false}});
    ApplyCommandLineProperties(entries, {L"HB_SSLWebServer_PrivateKey=C:\\k\" EVIL=\"1", L"HB_Service_Username=a\"b"});
    entries[0].password = L"p";
    std::wstring text = Compose(entries);
    EXPECT_TRUE(testsupport::Contains(text, L"HB_SSLWebServer_PrivateKey=\"C:\\k\"\" EVIL=\"\"1\" "));
    EXPECT_TRUE(testsupport::Contains(text, L"HB_Service_Username=\"a\"\"b\" "));
}
