// The 64-bit launcher writes the same log lines as the 32-bit one for the
// same quiet install and removal of a bundle, apart from times and the
// launchers' own paths. Only where both launchers run: the 32-bit test
// program starts the 64-bit launcher of the build's x64 tree.
#include <gtest/gtest.h>

#include <map>

#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

namespace {

const wchar_t kVariant[] = L"two_packages";

std::wstring Launcher64() { return BuildDir() + L"\\x64\\tests\\launchers\\" + kVariant + L"\\setup.exe"; }

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    if (from.empty()) return;
    for (size_t at = 0; (at = text.find(from, at)) != std::wstring::npos; at += to.size()) text.replace(at, from.size(), to);
}

// The launcher's own lines; the header and footer without their times, the
// log file's own (temporary) path as %LOG%.
std::vector<std::wstring> LauncherLines(const LauncherRun& run, std::map<std::wstring, std::wstring> same) {
    same[run.logPath] = L"%LOG%";
    std::vector<std::wstring> lines;
    for (std::wstring line : run.lines) {
        if (line.rfind(L"=== SetupLauncher started", 0) == 0) line = L"=== SetupLauncher started";
        else if (line.rfind(L"=== SetupLauncher stopped", 0) == 0) line = L"=== SetupLauncher stopped";
        else if (line.rfind(L"ZEL (c): ", 0) != 0) continue;
        for (const auto& [from, to] : same) ReplaceAll(line, from, to);
        lines.push_back(line);
    }
    return lines;
}

// Installs and removes the bundle with one launcher; its lines of both runs.
std::vector<std::wstring> InstallAndRemove(const std::wstring& launcher,
                                           const std::map<std::wstring, std::wstring>& same) {
    LauncherRun install = RunLauncherFile(launcher, L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(install.exitCode, 0u);
    LauncherRun removal = RunLauncherFile(launcher, L"/x /qn /L*v %LOG%", 120000);
    EXPECT_EQ(removal.exitCode, 0u);
    std::vector<std::wstring> lines = LauncherLines(install, same);
    std::vector<std::wstring> more = LauncherLines(removal, same);
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

}  // namespace

TEST(BothLaunchers, TheSameRunWritesTheSameLogLines) {
    ASSERT_TRUE(FileExists(Launcher64())) << "the 64-bit launchers come from the build's x64 tree (make build)";
    // Each tree builds its own fixture databases, with package codes of their
    // own: the 64-bit run's codes stand for the 32-bit run's.
    std::map<std::wstring, std::wstring> same = {{Launcher64(), LauncherPath(kVariant)}};
    for (const wchar_t* name : {L"editor", L"tools"}) {
        statetest::FixtureFacts own = statetest::FactsOf(statetest::FixtureMsi(name));
        statetest::FixtureFacts other = statetest::FactsOf(BuildDir() + L"\\x64\\fixtures\\" + name + L".msi");
        ASSERT_EQ(own.productCode, other.productCode);
        same[other.packageCode] = own.packageCode;
    }
    std::vector<std::wstring> lines32 = InstallAndRemove(LauncherPath(kVariant), same);
    std::vector<std::wstring> lines64 = InstallAndRemove(Launcher64(), same);
    EXPECT_GT(lines32.size(), 20u);
    for (size_t i = 0; i < lines32.size() && i < lines64.size(); ++i)
        ASSERT_EQ(lines32[i], lines64[i]) << "line " << i << " differs";
    EXPECT_EQ(lines32.size(), lines64.size());
    EXPECT_FALSE(statetest::ProductInstalled(statetest::FactsOf(statetest::FixtureMsi(L"editor")).productCode));
}
