// Outcome texts and message boxes of every code, with the system's message
// appended for a Windows error.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/Outcome.h"

TEST(Outcome, CodeTable) {
    EXPECT_STREQ(outcome::CodeText(1), L"Installer is corrupted.");
    EXPECT_STREQ(outcome::CodeText(3), L"User cancelled installation.");
    EXPECT_STREQ(outcome::CodeText(11), L"Your disk is full.");
    EXPECT_STREQ(outcome::CodeText(13), L"");
    EXPECT_STREQ(outcome::CodeText(1603), L"");
    EXPECT_STREQ(outcome::CodeText(1639), L"Invalid command line.");
    EXPECT_EQ(outcome::BoxStringId(1639), 0u);
    EXPECT_EQ(outcome::BoxStringId(2), 0u);
    EXPECT_EQ(outcome::BoxStringId(3), 0u);
    EXPECT_EQ(outcome::BoxStringId(8), 24u);
    EXPECT_EQ(outcome::BoxStringId(13), 1146u);
    EXPECT_EQ(outcome::BoxStringId(1625), 26u);
    EXPECT_EQ(outcome::BoxStringId(1633), 63u);
    EXPECT_EQ(outcome::BoxStringId(1602), 0u);
    EXPECT_EQ(outcome::BoxStringId(12), 0u);
}

TEST(Outcome, SystemErrorIsAppended) {
    wchar_t message[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 2,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), message, 512, nullptr);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(outcome::OutcomeText({9, 2, false}), L"Could not find MSI-file (2 - " + std::wstring(message) + L")");
    EXPECT_EQ(outcome::OutcomeText({9, 0, false}), L"Could not find MSI-file");
    EXPECT_EQ(outcome::OutcomeText({13, 0, false}), L"");
}

// A Windows Installer result is the exit code as it is; the code beside it
// only chooses the text and the box.
TEST(Outcome, ExitCodes) {
    EXPECT_EQ(outcome::ExitCode({outcome::kFailed, 1603, false, 1603}), 1603u);
    EXPECT_EQ(outcome::ExitCode({outcome::kCancelled, 1602, false, 1602}), 1602u);
    EXPECT_EQ(outcome::ExitCode({outcome::kCancelled, 1602, false}), 3u) << "a cancel in the wizard";
    EXPECT_EQ(outcome::ExitCode({outcome::kDiskFull, 0, false}), 11u);
    EXPECT_EQ(outcome::ExitCode({3010, 0, true}), 3010u);
    EXPECT_EQ(outcome::ExitCode({}), 0u);
}

TEST(Outcome, InstallerResults) {
    EXPECT_EQ(outcome::ForInstallerResult(0), 0u);
    EXPECT_EQ(outcome::ForInstallerResult(1602), 3u);
    EXPECT_EQ(outcome::ForInstallerResult(1620), 1u);
    EXPECT_EQ(outcome::ForInstallerResult(1633), 10u);
    EXPECT_EQ(outcome::ForInstallerResult(1638), 8u);
    EXPECT_EQ(outcome::ForInstallerResult(1603), 2u);
    EXPECT_EQ(outcome::ForInstallerResult(1618), 2u);
    // Successes that ask for a restart are no failures.
    EXPECT_EQ(outcome::ForInstallerResult(3010), 0u);
    EXPECT_EQ(outcome::ForInstallerResult(1641), 0u);
    EXPECT_TRUE(outcome::IsSuccess(3010));
    EXPECT_TRUE(outcome::IsSuccess(1641));
    EXPECT_FALSE(outcome::IsSuccess(1603));
    EXPECT_FALSE(outcome::IsSuccessWithRestart(0));
}
