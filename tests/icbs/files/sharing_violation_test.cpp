// Shows that deleting a file another holder has open waits one second and
// tries exactly once more: it succeeds when the holder lets go in time.
#include <gtest/gtest.h>

#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;

TEST(SharingViolation, DeleteSucceedsWhenTheHolderReleasesWithinTheRetryDelay) {
    TempDir dir;
    std::wstring file = dir.File(L"busy.txt");
    testsupport::WriteBytes(file, "busy");
    filetest::ExclusiveHolder holder(file, 500);
    ASSERT_TRUE(holder.Holding());
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(ICBSFileUtilities::DeleteOneFile(file));
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_FALSE(testsupport::FileExists(file));
    EXPECT_GE(elapsed, ICBSFileUtilities::kSharingRetryDelayMs - 50);
}

TEST(SharingViolation, DeleteFailsWhenTheFileStaysInUseAfterTheRetry) {
    TempDir dir;
    std::wstring file = dir.File(L"busy.txt");
    testsupport::WriteBytes(file, "busy");
    filetest::ExclusiveHolder holder(file, 1600);
    ASSERT_TRUE(holder.Holding());
    DWORD start = ::GetTickCount();
    bool deleted = ICBSFileUtilities::DeleteOneFile(file);
    DWORD error = ::GetLastError();
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_FALSE(deleted);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error);
    EXPECT_TRUE(testsupport::FileExists(file));
    // Exactly one retry: about one delay, not two.
    EXPECT_GE(elapsed, ICBSFileUtilities::kSharingRetryDelayMs - 50);
    EXPECT_LT(elapsed, 2 * ICBSFileUtilities::kSharingRetryDelayMs);
}

TEST(SharingViolation, FolderDeletionRetriesAFileInUseInside) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\tree";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(folder + L"\\sub"));
    std::wstring file = folder + L"\\sub\\busy.txt";
    testsupport::WriteBytes(file, "busy");
    {
        filetest::ExclusiveHolder holder(file, 500);
        ASSERT_TRUE(holder.Holding());
        EXPECT_TRUE(ICBSFileUtilities::DeleteFolderTree(folder));
    }
    EXPECT_FALSE(testsupport::FileExists(folder));
}
