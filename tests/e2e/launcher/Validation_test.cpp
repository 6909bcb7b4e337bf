// /v checks that every required catalogue resource was compiled in and that
// every package unpacks to its database: exit 0 when complete, 1 with
// "Validation failed!" (and no error report) when not;
// a run that meets a missing required string ends as a corrupted installer
// (1) after one box, never as a success.
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

TEST(Validation, CompleteCataloguesPass) {
    for (const wchar_t* variant : {L"single", L"two_packages", L"multi"}) {
        LauncherRun run = RunLauncher(variant, L"/v /qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 0u) << variant;
        EXPECT_TRUE(run.LogHas(L"Validation if all necessary resources have been compiled into setup.")) << variant;
        EXPECT_FALSE(run.LogHas(L"Validation failed!")) << variant;
    }
}

TEST(Validation, MissingResourcesFailWithCode1) {
    // No package blob; no MINIMUM_MSI; a multi-language installer without its Japanese transform;
    // no PRODUCT_ID_1, PRODUCT_PLATFORM_0 or PRODUCT_VERSION_0.
    for (const wchar_t* variant : {L"no_package_blob", L"no_minimum_msi", L"multi_incomplete", L"missing_product_id",
                                   L"missing_product_platform", L"missing_product_version"}) {
        LauncherRun run = RunLauncher(variant, L"/v /qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 1u) << variant;
        EXPECT_TRUE(run.LogHas(L"Validation failed!")) << variant;
        // Already reported: no ERROR line.
        EXPECT_FALSE(run.LogHas(L"ERROR:")) << variant;
    }
}

TEST(Validation, DamagedPackagesFailWithCode1) {
    // A cut cabinet, a changed data block, a length field that does not
    // match: all resources are there, but the packages do not unpack.
    for (const wchar_t* variant : {L"unpack_truncated", L"unpack_datablock", L"unpack_badlength"}) {
        LauncherRun run = RunLauncher(variant, L"/v /qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 1u) << variant;
        EXPECT_TRUE(run.LogHas(L"Validation failed!")) << variant;
        EXPECT_TRUE(run.LogHas(L"ZEL (c): Package resource PACKAGE_0 ")) << variant;
    }
}

TEST(Validation, BareLauncherFails) {
    testsupport::TempDir dir;
    std::wstring log = dir.File(L"v.txt");
    auto result = testsupport::Run(testsupport::BuildDir() + L"\\SetupLauncher.exe", L"/v /qn /L \"" + log + L"\"");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(testsupport::Contains(testsupport::ReadUtf16(log), L"Validation failed!"));
}

TEST(MissingCatalogueString, AQuietRunEndsAsACorruptedInstallerWithNothingDone) {
    for (const wchar_t* variant : {L"missing_product_id", L"missing_product_platform", L"missing_product_version"}) {
        LauncherRun run = RunLauncher(variant, L"/qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 1u) << variant;
        EXPECT_TRUE(run.LogHas(L"ZEL (c): The required resource PRODUCT_")) << variant;
        EXPECT_FALSE(run.LogHas(L"Extracting resource")) << variant;
        EXPECT_FALSE(run.LogHas(L"Installing product")) << variant;
        // The box was the report: no error line, no other outcome afterwards.
        EXPECT_FALSE(run.LogHas(L"ZEL (c): ERROR: ")) << variant;
        EXPECT_TRUE(run.LogHas(L"=== SetupLauncher stopped: ")) << variant;
    }
}

TEST(MissingCatalogueString, AFullRunShowsOneBoxAndEndsWithCode1) {
    Background launcher(LauncherPath(L"missing_product_version"), L"");
    FoundWindow box = WaitForWindow(launcher.Id(), 20000);
    ASSERT_NE(box.handle, nullptr);
    EXPECT_TRUE(Contains(box.text, L"The required resource PRODUCT_VERSION_0 is missing.")) << box.text;
    PressButton(box.handle, IDOK);
    // No second box (string 6 or 1146) and no wizard: the run ends by itself.
    FoundWindow second = WaitForWindow(launcher.Id(), 3000, box.handle);
    EXPECT_EQ(second.handle, nullptr) << second.text;
    if (second.handle) PressButton(second.handle, IDOK);
    EXPECT_EQ(launcher.Wait(20000), 1u);
}
