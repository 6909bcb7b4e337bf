// The setup log: UTF-16LE without byte-order mark, CR LF, header and footer,
// verbosity from the /L letters, append with "+", no file without /L.
#include <gtest/gtest.h>

#include <regex>

#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/icbs/files/FileTestSupport.h"

using namespace testsupport;

namespace {
bool IsHeader(const std::wstring& line) {
    static const std::wregex header(
        LR"(=== SetupLauncher started: \d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} Build type: SHIP ANSI .*\\setup\.exe)");
    return std::regex_match(line, header);
}
bool IsFooter(const std::wstring& line) {
    static const std::wregex footer(LR"(=== SetupLauncher stopped: \d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})");
    return std::regex_match(line, footer);
}
// The launcher's own lines, without what Windows Installer wrote.
std::vector<std::wstring> LauncherLines(const LauncherRun& run) {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : run.lines)
        if (line.rfind(L"ZEL (c): ", 0) == 0 || line.rfind(L"=== SetupLauncher", 0) == 0) lines.push_back(line);
    return lines;
}
}  // namespace

TEST(SetupLog, FormatHeaderAndFooter) {
    LauncherRun run = RunLauncher(L"single", L"/qn /L*v %LOG%");
    ASSERT_TRUE(run.logExists);
    ASSERT_GE(run.log.size(), 2u);
    EXPECT_NE(run.log[0], 0xFEFF) << "byte-order mark written";
    ASSERT_GE(run.lines.size(), 3u);
    EXPECT_TRUE(IsHeader(run.lines.front())) << run.lines.front().c_str();
    EXPECT_EQ(run.lines.back(), L"");
    EXPECT_TRUE(IsFooter(run.lines[run.lines.size() - 2])) << run.lines[run.lines.size() - 2].c_str();
    // Every line of the launcher's own ends in CR LF.
    for (size_t start = 0; start < run.log.size();) {
        size_t lf = run.log.find(L'\n', start);
        if (lf == std::wstring::npos) break;
        std::wstring line = run.log.substr(start, lf - start);
        if (line.rfind(L"ZEL (c): ", 0) == 0 || line.rfind(L"=== SetupLauncher", 0) == 0)
            EXPECT_EQ(line.back(), L'\r') << testing::PrintToString(line);
        start = lf + 1;
    }
    EXPECT_TRUE(run.LogHas(L"ZEL (c): CommandLine: /qn /L*v \""));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): entering ExitInstance \r\n"));
}

TEST(SetupLog, VerbosityFollowsTheLetters) {
    LauncherRun plain = RunLauncher(L"single", L"/qn /L %LOG%");   // info: 3
    LauncherRun errors = RunLauncher(L"single", L"/qn /Le %LOG%"); // errors: 1
    LauncherRun warnings = RunLauncher(L"single", L"/qn /Lw %LOG%"); // 2
    LauncherRun none = RunLauncher(L"single", L"/qn /Lx %LOG%");   // 0: file only
    EXPECT_TRUE(plain.LogHas(L"ZEL (c): Reading package information."));
    EXPECT_TRUE(plain.LogHas(L"ZEL (c): CommandLine: "));
    EXPECT_TRUE(warnings.LogHas(L"ZEL (c): CommandLine: "));
    EXPECT_FALSE(warnings.LogHas(L"Reading package information."));
    EXPECT_FALSE(errors.LogHas(L"CommandLine"));
    EXPECT_TRUE(IsHeader(errors.lines.front()));
    EXPECT_TRUE(IsFooter(LauncherLines(errors).back()));
    EXPECT_EQ(LauncherLines(errors).size(), 2u) << "only header and footer";
    EXPECT_TRUE(none.logExists);
    EXPECT_TRUE(LauncherLines(none).empty()) << "verbosity 0 writes nothing of the launcher's";
}

TEST(SetupLog, NoSwitchNoFile) {
    TempDir dir;
    RunResult result = testsupport::Run(LauncherPath(L"single"), L"/qn", 60000, dir.Path());
    EXPECT_EQ(result.exitCode, 0u);
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((dir.Path() + L"\\*.*").c_str(), &data);
    int files = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    EXPECT_EQ(files, 0);
}

TEST(SetupLog, PlusAppendsOtherwiseTruncates) {
    TempDir dir;
    std::wstring log = dir.File(L"log.txt");
    std::wstring before = L"earlier content\r\n";
    WriteBytes(log, std::string(reinterpret_cast<const char*>(before.data()), before.size() * 2));
    testsupport::Run(LauncherPath(L"single"), L"/qn /L+ \"" + log + L"\"");
    std::wstring appended = ReadUtf16(log);
    EXPECT_EQ(appended.substr(0, before.size()), before);
    EXPECT_TRUE(IsHeader(Lines(appended)[1]));
    testsupport::Run(LauncherPath(L"single"), L"/qn /L \"" + log + L"\"");
    std::wstring truncated = ReadUtf16(log);
    EXPECT_FALSE(Contains(truncated, L"earlier content"));
    EXPECT_TRUE(IsHeader(Lines(truncated)[0]));
}

TEST(SetupLog, CommandLineIsLoggedLiterallyWithPasswordsHidden) {
    LauncherRun run = RunLauncher(L"single", L"/qn /L*v %LOG% NAME=%s%d%n BC_Service_Password=TopSecret");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L" NAME=%s%d%n BC_Service_Password=********\r\n"));
    // None of the launcher's lines shows it (what Windows Installer logs of
    // the properties is the package's business: MsiHiddenProperties).
    for (const std::wstring& line : LauncherLines(run)) EXPECT_EQ(line.find(L"TopSecret"), std::wstring::npos) << line.c_str();
}

TEST(SetupLog, LongLinesAreWrittenWhole) {
    LauncherRun run = RunLauncher(L"long_name", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    std::wstring longName = L"Morvex Tools With A Very Long Name ";
    for (int i = 0; i < 210; ++i) longName += L"0123456789";
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Initialized state for package " + longName + L".\r\n"));
}

// A log path past the classic limit is opened in the extended-length form;
// the installer's side file beside it is merged as for any other log.
TEST(SetupLog, ALogPathPastTheClassicLimitIsWritten) {
    TempDir dir;
    std::wstring folder = filetest::PathOfLength(dir.Path(), 270);
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(folder));
    std::wstring log = folder + L"\\setup.log";
    RunResult result = testsupport::Run(LauncherPath(L"single"), L"/qn /L*v \"" + log + L"\"", 120000);
    EXPECT_EQ(result.exitCode, 0u);
    std::wstring text = ReadUtf16(filetest::Extended(log));
    EXPECT_TRUE(IsHeader(Lines(text).front())) << testing::PrintToString(text.substr(0, 200));
    EXPECT_NE(text.find(L"ZEL (c): Installing product Morvex Test Editor 2024\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"=== SetupLauncher stopped: "), std::wstring::npos);
}

TEST(SetupLog, UnwritableLogPathChangesNothing) {
    RunResult result = testsupport::Run(LauncherPath(L"single"), L"/qn /L*v C:\\no\\such\\folder\\log.txt");
    EXPECT_EQ(result.exitCode, 0u);
}

// Only the side file a run made for the installer is read into the log: a
// file someone planted beside the log under a name the log would use (here
// the name earlier launchers used, which any user may create beside a log
// in a shared folder) is neither read nor removed.
TEST(SetupLog, APlantedInstallerLogIsNeverReadIntoTheLog) {
    TempDir dir;
    std::wstring log = dir.File(L"log.txt");
    const std::string planted = "=== Planted: a file the administrator can read and the planter cannot ===\r\n";
    WriteBytes(log + L".installer", planted);
    RunResult result = testsupport::Run(LauncherPath(L"single"), L"/qn /L*v \"" + log + L"\"", 120000);
    EXPECT_EQ(result.exitCode, 0u);
    std::wstring text = ReadUtf16(log);
    EXPECT_EQ(text.find(L"=== Planted"), std::wstring::npos) << "the planted file was read into the log";
    EXPECT_EQ(ReadBytes(log + L".installer"), planted);
    // The run's own installer log is there, and its side file is gone.
    size_t installing = text.find(L"ZEL (c): Installing product Morvex Test Editor 2024\r\n");
    ASSERT_NE(installing, std::wstring::npos) << text.c_str();
    EXPECT_NE(text.find(L"Property(S): ", installing), std::wstring::npos) << "the installer's log is missing";
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::wstring>{L"log.txt", L"log.txt.installer"}));
}

// The log is never written through a second name of a file or a link: the
// file they lead to keeps its content, no side file is made, and the run
// goes on without a log.
namespace {
void ExpectLogNotWrittenThrough(bool (*makeName)(const std::wstring& name, const std::wstring& victim)) {
    TempDir dir;
    std::wstring victim = dir.File(L"victim.txt");
    WriteBytes(victim, "precious");
    std::wstring name = dir.File(L"setup.log");
    if (!makeName(name, victim)) GTEST_SKIP() << "no such names here";
    RunResult result = testsupport::Run(LauncherPath(L"single"), L"/qn /L*v \"" + name + L"\"", 120000);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::wstring>{L"setup.log", L"victim.txt"}));
}
}  // namespace

TEST(SetupLog, ALogNamedAsASecondNameOfAFileIsNotWritten) {
    ExpectLogNotWrittenThrough([](const std::wstring& name, const std::wstring& victim) {
        return ::CreateHardLinkW(name.c_str(), victim.c_str(), nullptr) != FALSE;
    });
}

TEST(SetupLog, ALogNamedThroughALinkIsNotWritten) {
    ExpectLogNotWrittenThrough(filetest::MakeFolderLink);
}
