// /?, /h and usage errors print the usage text to the console (or the
// redirected standard output), wrapped at 79 columns; /? and /h end with 0,
// a command line that cannot be read with 1639 and nothing done.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

namespace {
std::vector<std::wstring> OutputLines(const LauncherRun& run) { return Lines(run.output); }

// The lines from the first that equals `first`, count of them.
std::vector<std::wstring> Section(const std::vector<std::wstring>& lines, const std::wstring& first, size_t count) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == first) return std::vector<std::wstring>(lines.begin() + i, lines.begin() + std::min(lines.size(), i + count));
    return {};
}
}  // namespace

TEST(Usage, QuestionMarkPrintsCommandsWrappedAt79) {
    LauncherRun run = RunLauncher(L"single", L"/?");
    EXPECT_EQ(run.exitCode, 0u);
    auto lines = OutputLines(run);
    ASSERT_GT(lines.size(), 20u) << run.output.c_str();
    EXPECT_EQ(lines[0], L"");
    EXPECT_EQ(lines[1], L"setup.exe - command line syntax");
    EXPECT_EQ(Section(lines, L"setup.exe /h", 3), (std::vector<std::wstring>{L"setup.exe /h", L"    Display this message.", L""}));
    EXPECT_EQ(Section(lines, L"setup.exe ", 5),
              (std::vector<std::wstring>{L"setup.exe ",
                                         L"    Install or modify current installation. For silent installation with a",
                                         L"    small finish message box use:", L"        setup.exe /qn+", L""}));
    EXPECT_EQ(Section(lines, L"setup.exe /f[p|o|e|d|c|a|u|m|s|v]", 4),
              (std::vector<std::wstring>{L"setup.exe /f[p|o|e|d|c|a|u|m|s|v]",
                                         L"    Perform a repair/reinstall installation. For a detailed description refer",
                                         L"    to the command line options for Msiexec.exe.", L""}));
    EXPECT_EQ(Section(lines, L"setup.exe /x", 5),
              (std::vector<std::wstring>{L"setup.exe /x", L"    Uninstall this product. To silently uninstall this product use:",
                                         L"        setup.exe /x /q", L"    Check return code for success.", L""}));
    EXPECT_EQ(Section(lines, L"    /L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] <LogFile>", 5),
              (std::vector<std::wstring>{L"    /L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] <LogFile>",
                                         L"        Enable logging. To create a full log file of the installation use:",
                                         L"            setup.exe /L*xv! C:\\tmp\\install.log",
                                         L"        The parent folder must exist und you need sufficient privileges to",
                                         L"        write to it."}));
    for (const std::wstring& line : lines) EXPECT_LE(line.size(), 79u) << line.c_str();
}

TEST(Usage, OptionsDependOnTheCatalogue) {
    LauncherRun single = RunLauncher(L"single", L"/h");
    EXPECT_FALSE(single.OutputHas(L"SubPackages=all|none|<PackageNamePart>{,<PackageNamePart>}"));
    EXPECT_FALSE(single.OutputHas(L"lang=<LanguageName>"));
    EXPECT_TRUE(single.OutputHas(L"    TRANSFORMS=<Transforms>\n"));
    EXPECT_TRUE(single.OutputHas(L"    <Property>=<Value>\n"));
    EXPECT_TRUE(single.OutputHas(L"List of properties available with this installer:"));

    LauncherRun two = RunLauncher(L"two_packages", L"/h");
    EXPECT_TRUE(two.OutputHas(L"    SubPackages=all|none|<PackageNamePart>{,<PackageNamePart>}\n"));
    LauncherRun multi = RunLauncher(L"multi", L"/h lang=English");
    auto lines = Lines(multi.output);
    EXPECT_EQ(Section(lines, L"    lang=<LanguageName>", 7),
              (std::vector<std::wstring>{
                  L"    lang=<LanguageName>",
                  L"        Select language of the setup wizard and set default language for",
                  L"        installed product. Supported language names are 'English', 'German',",
                  L"        'Spanish', 'French' and 'Japanese'.", L"        To start install wizard with German UI use:",
                  L"            setup.exe lang=German", L""}));
}

TEST(Usage, UnknownSwitchPrintsUsageWithoutAnyCheckAndFails) {
    // The usage comes before the OS check: even an unsupported Windows gets it.
    SetWindowsVersionFor(L"setup.exe", L"winxp");
    LauncherRun run = RunLauncher(L"single", L"/bogus /L*v %LOG%");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE));
    EXPECT_TRUE(run.OutputHas(L"setup.exe - command line syntax"));
    EXPECT_FALSE(run.LogHas(L"Determining OS version"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): CommandLine: /bogus /L*v"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Invalid command line: unknown switch /bogus\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: Invalid command line.\r\n"));
    EXPECT_FALSE(run.LogHas(L"Reading package information."));
}

// winget puts its log path in without quotes: a path with a blank leaves a
// word that is neither a switch nor a property. Nothing is installed.
TEST(Usage, AnUnquotedLogPathWithABlankFailsAndInstallsNothing) {
    TempDir dir;
    std::wstring folder = dir.File(L"John Doe");
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    LauncherRun run = RunLauncher(L"single", L"/qn /L*v " + folder + L"\\install.log");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE));
    EXPECT_TRUE(run.OutputHas(L"setup.exe - command line syntax"));
    EXPECT_FALSE(statetest::ProductInstalled(statetest::FactsOf(statetest::FixtureMsi(L"editor")).productCode));
    EXPECT_FALSE(FileExists(folder + L"\\install.log"));
    // The log went to the path as far as the blank, and says why.
    std::wstring log = ReadUtf16(dir.File(L"John"));
    EXPECT_TRUE(Contains(log, L"ZEL (c): Invalid command line: \"Doe\\install.log\" is neither a switch nor a property "
                              L"assignment\r\n"))
        << log;
    // Help asked for is no failure.
    EXPECT_EQ(RunLauncher(L"single", L"/h").exitCode, 0u);
}

TEST(Usage, PropertyGroupsOfServerProducts) {
    LauncherRun run = RunLauncher(L"brimcart", L"/?");
    EXPECT_EQ(run.exitCode, 0u);
    auto lines = Lines(run.output);
    EXPECT_EQ(Section(lines, L"    Properties to configure the BrimcartWeb Web server:", 4),
              (std::vector<std::wstring>{L"    Properties to configure the BrimcartWeb Web server:",
                                         L"        BCWeb_WebServer_Enabled=<0-or-1>",
                                         L"            Select 1 to enable listening to this port. select 0 to disable the",
                                         L"            port."}));
    EXPECT_EQ(Section(lines, L"        HB_SSLWebServer_Host=<IP4 address>", 4),
              (std::vector<std::wstring>{L"        HB_SSLWebServer_Host=<IP4 address>",
                                         L"            Use \"127.0.0.1\" if you want to access the Web server only from this",
                                         L"            machine. Use \"0.0.0.0\" to make the Web server globally accessible.",
                                         L""}));
    EXPECT_TRUE(run.OutputHas(L"        BC_SSLWebServer_PrivateKey=<path-to-private-key-file>\n"));
    EXPECT_TRUE(run.OutputHas(L"    Properties to configure the Harrowby service:\r\n"));
}

TEST(Usage, GermanTextsWithLangKeyword) {
    LauncherRun english = RunLauncher(L"multi", L"/? lang=English");
    LauncherRun german = RunLauncher(L"multi", L"/? lang=german");
    auto englishLines = Lines(english.output), germanLines = Lines(german.output);
    ASSERT_GT(germanLines.size(), 3u);
    EXPECT_EQ(englishLines[1], L"setup.exe - command line syntax");
    EXPECT_NE(germanLines[1], englishLines[1]);
    EXPECT_EQ(germanLines[1].substr(0, 12), L"setup.exe - ");
    // The same structure: the same syntax lines, other descriptions.
    EXPECT_TRUE(german.OutputHas(L"setup.exe /f[p|o|e|d|c|a|u|m|s|v]\n"));
    EXPECT_FALSE(german.OutputHas(L"Display this message."));
    for (const std::wstring& line : germanLines) EXPECT_LE(line.size(), 79u) << line.c_str();
}

TEST(Usage, SingleLanguageGermanInstallerSpeaksGerman) {
    LauncherRun german = RunLauncher(L"german", L"/?");
    EXPECT_EQ(german.exitCode, 0u);
    EXPECT_TRUE(german.OutputHas(L"setup.exe /x\n"));
    EXPECT_FALSE(german.OutputHas(L"command line syntax"));
    EXPECT_FALSE(german.OutputHas(L"Display this message."));
}
