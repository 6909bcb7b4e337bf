// The main path reads the catalogue and applies subPackages=; a broken
// catalogue ends with code 13.
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"

TEST(MainPath, ReadsTheCatalogueInOrder) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    const wchar_t* expected[] = {
        L"ZEL (c): Determining OS version", L"ZEL (c): found Windows 7 ServicePack 1",
        L"ZEL (c): Expect at least Windows 7 ServicePack 1 ", L"ZEL (c): Checking OS version",
        L"ZEL (c): OS version found to be correct.", L"ZEL (c): Reading package information.",
        L"ZEL (c): Installer contains 2 packages.", L"ZEL (c): Initialized state for package Morvex Test Editor 2024.",
        L"ZEL (c): Initialized state for package Morvex Test Tools 2024.",
        L"ZEL (c): All information collected. Start processing.", L"ZEL (c): entering ExitInstance "};
    size_t at = 0;
    for (const wchar_t* line : expected) {
        auto found = std::find(run.lines.begin() + static_cast<long>(at), run.lines.end(), line);
        ASSERT_NE(found, run.lines.end()) << "missing or out of order: " << testing::PrintToString(std::wstring(line));
        at = static_cast<size_t>(found - run.lines.begin());
    }
}

TEST(MainPath, PackageCountZeroEndsWith13) {
    LauncherRun run = RunLauncher(L"count_zero", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 13u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Installer contains 0 packages.\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: \r\n"));
    EXPECT_FALSE(run.LogHas(L"All information collected"));
}

TEST(MainPath, EmptyPackageCodeEndsWith13AfterReadingAll) {
    LauncherRun run = RunLauncher(L"empty_package_code", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 13u);
    EXPECT_TRUE(run.LogHas(L"Initialized state for package Morvex Test Tools 2024."));
}

TEST(MainPath, SubPackagesNoneSkipsEverySubPackage) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qn subPackages=none /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): skipped handling of package Morvex Test Tools 2024 due to command line argument.\r\n"));
    EXPECT_FALSE(run.LogHas(L"Morvex Test Editor 2024 due to command line"));
}

TEST(MainPath, SubPackagesPatternSelects) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qn subPackages=Tools,tools /L*v %LOG%");
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Avoid skipping of sub-package Morvex Test Tools 2024 due to pattern 'Tools'.\r\n"));
    EXPECT_FALSE(run.LogHas(L"due to pattern 'tools'"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): set default handling of package Morvex Test Tools 2024 due to command line argument.\r\n"));
    LauncherRun all = RunLauncher(L"two_packages", L"/qn subPackages=all /L*v %LOG%");
    EXPECT_FALSE(all.LogHas(L"due to command line argument"));
}

// A wizard that cannot be created is a failed run, logged, never a success;
// a quiet run, which makes no wizard, does not need it.
TEST(MainPath, AWizardThatCannotBeCreatedEndsWith2) {
    // Built without dialog template 154, in any language.
    testsupport::TempDir dir;
    std::wstring log = dir.File(L"log.txt");
    testsupport::Background launcher(testsupport::LauncherPath(L"no_wizard"), L"/L*v \"" + log + L"\"");
    // A box the full level may show is answered.
    testsupport::FoundWindow box = testsupport::WaitForWindow(launcher.Id(), 3000, nullptr, L"#32770");
    if (box.handle) testsupport::PressButton(box.handle, IDOK);
    EXPECT_EQ(launcher.Wait(30000), 2u);
    std::wstring text = testsupport::ReadUtf16(log);
    EXPECT_TRUE(testsupport::Contains(text, L"ZEL (c): All information collected. Start processing.\r\n"));
    EXPECT_TRUE(testsupport::Contains(text, L"ZEL (c): The wizard could not be created (DoModal of dialog template 154"))
        << text.c_str();
    EXPECT_TRUE(testsupport::Contains(text, L"ZEL (c): ERROR: Installation failed.")) << text.c_str();
    EXPECT_FALSE(testsupport::Contains(text, L"Installing product"));

    LauncherRun quiet = RunLauncher(L"no_wizard", L"/qn /L*v %LOG%");
    EXPECT_EQ(quiet.exitCode, 0u) << quiet.log.c_str();
    EXPECT_TRUE(quiet.LogHas(L"ZEL (c): Installing product ")) << quiet.log.c_str();
}
