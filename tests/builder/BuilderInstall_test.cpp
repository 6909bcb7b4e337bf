// Shows that an installer made by the builder from two wixl packages with
// their language transforms passes /v, installs both products in English
// and in German, removes them with /x, and leaves a quiet uninstall command
// in the bundle's entry that removes the bundle without any user interface.
#include <gtest/gtest.h>

#include <optional>

#include "framework/Handles.h"
#include "tests/builder/BuilderRun.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace buildertest;
using statetest::FactsOf;
using statetest::ProductInstalled;

namespace {

std::optional<std::wstring> EntryValue(const std::wstring& productCode, const std::wstring& name) {
    std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
    wchar_t value[2048] = {};
    DWORD size = sizeof(value);
    fw::RegKeyHandle opened;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, opened.put()) !=
            ERROR_SUCCESS ||
        ::RegGetValueW(opened.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

struct BuiltBundle {
    testsupport::TempDir dir;
    std::wstring setup = dir.File(L"setup.exe");
    statetest::FixtureFacts editor = FactsOf(Fixture(L"editor.msi"));
    statetest::FixtureFacts tools = FactsOf(Fixture(L"tools.msi"));
    BuiltBundle() {
        BuilderResult built = RunBuilder(BundleArguments(setup));
        EXPECT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    }
};

}  // namespace

TEST(BuilderInstall, TheBuiltInstallerValidatesInstallsInEnglishAndGermanAndRemoves) {
    BuiltBundle bundle;
    ASSERT_TRUE(testsupport::FileExists(bundle.setup));
    EXPECT_EQ(RunLauncherFile(bundle.setup, L"/v").exitCode, 0u);

    struct Case {
        const wchar_t* arguments;
        const wchar_t* editorName;
        const wchar_t* toolsName;
    };
    for (const Case& c : {Case{L"/qn /L*v %LOG%", L"Morvex Test Editor 2024", L"Morvex Test Tools 2024"},
                          Case{L"lang=German /qn /L*v %LOG%", L"Morvex Test-Editor 2024", L"Morvex Testwerkzeuge 2024"}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.arguments)));
        LauncherRun install = RunLauncherFile(bundle.setup, c.arguments, 180000);
        ASSERT_EQ(install.exitCode, 0u) << testing::PrintToString(install.log.substr(0, 4000));
        EXPECT_TRUE(ProductInstalled(bundle.editor.productCode));
        EXPECT_TRUE(ProductInstalled(bundle.tools.productCode));
        // The entries carry the names the language's transforms gave.
        EXPECT_EQ(EntryValue(bundle.editor.productCode, L"DisplayName"), c.editorName);
        EXPECT_EQ(EntryValue(bundle.tools.productCode, L"DisplayName"), c.toolsName);

        LauncherRun remove = RunLauncherFile(bundle.setup, L"/x /qn /L*v %LOG%", 180000);
        EXPECT_EQ(remove.exitCode, 0u);
        EXPECT_FALSE(ProductInstalled(bundle.editor.productCode));
        EXPECT_FALSE(ProductInstalled(bundle.tools.productCode));
    }
}

TEST(BuilderInstall, TheQuietUninstallCommandRemovesTheBundleSilently) {
    BuiltBundle bundle;
    LauncherRun install = RunLauncherFile(bundle.setup, L"/qn", 180000);
    ASSERT_EQ(install.exitCode, 0u);
    // The kept launcher copy, quoted, then the quiet removal.
    std::wstring copy = statetest::ExpectedMsiFolder(bundle.editor.packageCode) + L"\\setup.exe";
    std::optional<std::wstring> quiet = EntryValue(bundle.editor.productCode, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    EXPECT_EQ(*quiet, L"\"" + copy + L"\" /x /qn");
    EXPECT_TRUE(testsupport::FileExists(copy));
    // The uninstall string beside it stays the interactive one.
    std::optional<std::wstring> uninstall = EntryValue(bundle.editor.productCode, L"UninstallString");
    ASSERT_TRUE(uninstall);
    EXPECT_EQ(uninstall->find(L"/qn"), std::wstring::npos);

    // Run as a deployment tool does: the quoted program and its arguments.
    size_t end = quiet->find(L'"', 1);
    ASSERT_NE(end, std::wstring::npos);
    testsupport::RunResult removed = testsupport::Run(quiet->substr(1, end - 1), quiet->substr(end + 2), 180000);
    EXPECT_FALSE(removed.timedOut) << "the quiet removal waited for something";
    EXPECT_EQ(removed.exitCode, 0u);
    EXPECT_FALSE(ProductInstalled(bundle.editor.productCode));
    EXPECT_FALSE(ProductInstalled(bundle.tools.productCode));
    EXPECT_FALSE(EntryValue(bundle.editor.productCode, L"QuietUninstallString"));
}
