// Shows that a disk filling up while a package is unpacked ends the run with 11 and "Your disk is full." (run only by run-with-small-package-disk.sh, which puts the package folders on a small tmpfs).
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

TEST(UnpackDiskFull, FullDiskEndsWithElevenAndSaysSo) {
    ASSERT_NE(std::getenv("SMALL_PACKAGE_DISK"), nullptr) << "run under run-with-small-package-disk.sh";
    // The package folders' drive has less room than the first package needs.
    ULARGE_INTEGER freeBytes{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\ProgramData\\Morvex\\", &freeBytes, nullptr, nullptr));
    ASSERT_LT(freeBytes.QuadPart, 40ull * 1024 * 1024);

    LauncherRun run = RunLauncher(L"unpack_large", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 11u);
    ASSERT_TRUE(run.logExists);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: Your disk is full.\r\n")) << testing::PrintToString(run.log);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Error extracting cabinet file - 11.\r\n"));
    EXPECT_FALSE(run.LogHas(L"Extracting resource: PACKAGE_1"));
}
