// /v checks that every required catalogue resource was compiled in: exit 0
// when complete, 1 with "Validation failed!" (and no error report) when not.
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"

TEST(Validation, CompleteCataloguesPass) {
    for (const wchar_t* variant : {L"single", L"two_packages", L"multi"}) {
        LauncherRun run = RunLauncher(variant, L"/v /qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 0u) << variant;
        EXPECT_TRUE(run.LogHas(L"Validation if all necessary resources have been compiled into setup.")) << variant;
        EXPECT_FALSE(run.LogHas(L"Validation failed!")) << variant;
    }
}

TEST(Validation, MissingResourcesFailWithCode1) {
    // No package blob; no MINIMUM_MSI; a multi-language installer without its Japanese transform.
    for (const wchar_t* variant : {L"no_package_blob", L"no_minimum_msi", L"multi_incomplete"}) {
        LauncherRun run = RunLauncher(variant, L"/v /qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 1u) << variant;
        EXPECT_TRUE(run.LogHas(L"Validation failed!")) << variant;
        // Already reported: no ERROR line.
        EXPECT_FALSE(run.LogHas(L"ERROR:")) << variant;
    }
}

TEST(Validation, BareLauncherFails) {
    testsupport::TempDir dir;
    std::wstring log = dir.File(L"v.txt");
    auto result = testsupport::Run(testsupport::BuildDir() + L"\\SetupLauncher.exe", L"/v /qn /L \"" + log + L"\"");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(testsupport::Contains(testsupport::ReadUtf16(log), L"Validation failed!"));
}
