// Golden runs: a few whole runs of the launcher whose log lines and Windows
// Installer calls must stay as they are, line for line, whatever the code
// behind them becomes. The launchers are the tests' recording builds
// (build/tests/recording/<catalogue>/setup.exe: the shipped code, and a
// recorder of the installer calls linked in). What differs from run to run
// (times, the prefix's and the build's paths, the package codes each build
// of the fixtures gets, the installer's own log text) is left out or named;
// the rest is compared with tests/e2e/golden/<run>.txt.
//
// SETUP_UPDATE_GOLDEN=1 writes the files anew instead of comparing: only for
// a change that means to alter what a user sees, and said in its commit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>

#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {

constexpr int kNext = 1, kBack = 1000;

std::wstring RecordingLauncher(const std::wstring& catalogue) {
    return BuildDir() + L"\\tests\\recording\\" + catalogue + L"\\setup.exe";
}

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    if (from.empty()) return;
    for (size_t at = 0; (at = text.find(from, at)) != std::wstring::npos; at += to.size()) text.replace(at, from.size(), to);
}

// One recorded run: where its log and its call record lie.
class RecordedRun {
public:
    RecordedRun() {
        ::SetEnvironmentVariableW(L"SETUP_TEST_INSTALLER_CALLS", callsPath_.c_str());
    }
    std::wstring LogArgument() const { return L"/L*v \"" + logPath_ + L"\""; }
    std::wstring LogPath() const { return logPath_; }

    // The run's lines, normalised: the launcher's own log lines, then the
    // installer calls.
    std::vector<std::wstring> Lines(const std::wstring& launcher) const {
        std::map<std::wstring, std::wstring> names = Names(launcher);
        std::vector<std::wstring> lines = {L"[log]"};
        for (std::wstring line : testsupport::Lines(ReadUtf16(logPath_))) {
            bool own = line.rfind(L"ZEL (c): ", 0) == 0 || line.rfind(L"=== SetupLauncher ", 0) == 0 ||
                       line.rfind(L"    ", 0) == 0;
            if (own) lines.push_back(Normalised(line, names));
        }
        lines.push_back(L"[installer calls]");
        std::string bytes = FileExists(callsPath_) ? ReadBytes(callsPath_) : std::string();
        std::wstring calls(bytes.size(), L'\0');
        calls.resize(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), calls.data(),
                                           static_cast<int>(calls.size())));
        for (const std::wstring& line : testsupport::Lines(calls))
            if (!line.empty()) lines.push_back(Normalised(line, names));
        return lines;
    }

private:
    std::map<std::wstring, std::wstring> Names(const std::wstring& launcher) const {
        std::map<std::wstring, std::wstring> names = {
            {logPath_, L"%LOG%"}, {launcher, L"%LAUNCHER%"}, {dir_.Path(), L"%RUN%"}};
        for (const wchar_t* fixture : {L"editor", L"tools", L"brimcart", L"brimcart_advanced", L"dralyn2023"}) {
            statetest::FixtureFacts facts = statetest::FactsOf(statetest::FixtureMsi(fixture));
            if (!facts.packageCode.empty()) names[facts.packageCode] = L"%PACKAGECODE(" + std::wstring(fixture) + L")%";
        }
        return names;
    }

    static std::wstring Normalised(std::wstring line, const std::map<std::wstring, std::wstring>& names) {
        // Longer paths first, so that a folder does not take part of a file.
        std::vector<std::pair<std::wstring, std::wstring>> ordered(names.begin(), names.end());
        std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
        for (const auto& [from, to] : ordered) ReplaceAll(line, from, to);
        ReplaceAll(line, BuildDir(), L"%BUILD%");
        std::wstring temp = TempFolder();
        if (!temp.empty() && temp.back() == L'\\') temp.pop_back();
        ReplaceAll(line, temp, L"%TEMP%");
        static const std::wregex time(LR"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
        // The installer's side file beside the log: a new name in every call.
        static const std::wregex sideFile(LR"(\.[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}\.installer\b)");
        line = std::regex_replace(line, time, L"%TIME%");
        return std::regex_replace(line, sideFile, L".%GUID%.installer");
    }

    TempDir dir_;
    std::wstring logPath_ = dir_.File(L"setup log.txt");
    std::wstring callsPath_ = dir_.File(L"installer calls.txt");
};

std::wstring GoldenFile(const std::wstring& name) { return SourceDir() + L"\\tests\\e2e\\golden\\" + name + L".txt"; }

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                       static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

// Compares a run's lines with its golden file (or writes the file anew).
void ExpectGolden(const std::wstring& name, const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\n";
    const char* update = std::getenv("SETUP_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        WriteBytes(GoldenFile(name), Utf8(text));
        return;
    }
    std::string golden = ReadBytes(GoldenFile(name));
    ASSERT_FALSE(golden.empty()) << "no golden file " << testing::PrintToString(GoldenFile(name));
    std::wstring wide(golden.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, golden.data(), static_cast<int>(golden.size()), wide.data(),
                                      static_cast<int>(wide.size())));
    std::vector<std::wstring> expected = testsupport::Lines(wide);
    if (!expected.empty() && expected.back().empty()) expected.pop_back();
    for (size_t i = 0; i < lines.size() && i < expected.size(); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "line " << i + 1 << " of " << testing::PrintToString(name);
    EXPECT_EQ(lines.size(), expected.size()) << testing::PrintToString(name);
}

// A run of a recording launcher without the full wizard, its exit code and
// its lines compared with a golden file.
void ExpectGoldenRun(const std::wstring& golden, const std::wstring& catalogue, const std::wstring& arguments,
                     DWORD exitCode) {
    RecordedRun run;
    RunResult result = Run(RecordingLauncher(catalogue), arguments + L" " + run.LogArgument(), 120000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, exitCode) << testing::PrintToString(golden);
    ExpectGolden(golden, run.Lines(RecordingLauncher(catalogue)));
}

}  // namespace

TEST(GoldenRuns, QuietSingleInstall) { ExpectGoldenRun(L"quiet-single-install", L"single", L"/qn", 0); }

TEST(GoldenRuns, QuietBundleInstallAndUninstall) {
    ExpectGoldenRun(L"quiet-bundle-install", L"three_packages", L"/qn", 0);
    ExpectGoldenRun(L"quiet-bundle-uninstall", L"three_packages", L"/x /qn", 0);
}

TEST(GoldenRuns, BasicUiUnpackError) { ExpectGoldenRun(L"basic-ui-unpack-error", L"unpack_truncated", L"/qb", 1620); }

TEST(GoldenRuns, QuietServerInstall) { ExpectGoldenRun(L"quiet-server-install", L"server_brimcart", L"/qn", 0); }

TEST(GoldenRuns, FullUiQuickInstall) {
    ASSERT_EQ(statetest::Install(statetest::FixtureMsi(L"dralyn2023")), 0u);
    RecordedRun run;
    Background launcher(RecordingLauncher(L"dralyn"), run.LogArgument());
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(wizard.WaitForPageText(L"Upgrading to", 10000));
    ASSERT_TRUE(wizard.WaitForEnabled(kBack));
    EXPECT_EQ(wizard.ControlText(kBack), L"&Quick Install");
    wizard.PressPosted(kBack);
    DWORD start = ::GetTickCount();
    while (launcher.Wait(200) == STILL_ACTIVE && ::GetTickCount() - start < 90000)
        if (wizard.PageShowsText(L"Setup completed")) wizard.PressPosted(kNext);
    EXPECT_EQ(launcher.Wait(20000), 0u);
    ExpectGolden(L"full-ui-quick-install", run.Lines(RecordingLauncher(L"dralyn")));
}
