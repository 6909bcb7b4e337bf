// Shows that files and folders with paths over 260 characters are created,
// copied, read, written, listed, found and deleted (in the extended-length
// form).
#include <gtest/gtest.h>

#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using filetest::Extended;
using filetest::PathOfLength;
using testsupport::TempDir;

namespace {
bool ExistsExtended(const std::wstring& path) {
    return ::GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

TEST(LongPaths, CopyToATargetOf300CharactersCreatesItsFolders) {
    TempDir dir;
    std::wstring source = dir.File(L"short.txt");
    testsupport::WriteBytes(source, "long way");
    std::wstring target = PathOfLength(dir.Path(), 280) + L"\\target.txt";
    ASSERT_GT(target.size(), 300u);
    ASSERT_TRUE(ICBSFileUtilities::CopyOneFile(source, target, true));
    EXPECT_EQ("long way", testsupport::ReadBytes(Extended(target)));

    // And back from the long path to a short one.
    std::wstring back = dir.File(L"back.txt");
    ASSERT_TRUE(ICBSFileUtilities::CopyOneFile(target, back, false));
    EXPECT_EQ("long way", testsupport::ReadBytes(back));
}

TEST(LongPaths, FilesAreCreatedFoundListedAndDeleted) {
    TempDir dir;
    std::wstring folder = PathOfLength(dir.Path(), 300);
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(folder));
    EXPECT_TRUE(ExistsExtended(folder));

    std::wstring file = folder + L"\\deep.txt";
    ASSERT_TRUE(ICBSFileUtilities::CreateEmptyFile(file));
    EXPECT_TRUE(ICBSFileUtilities::FileExists(file));
    ASSERT_TRUE(ICBSFileUtilities::AppendBytes(file, "abc", 3));
    EXPECT_EQ(3u, ICBSFileUtilities::FileSizeOf(file));
    std::string read;
    ASSERT_TRUE(ICBSFileUtilities::ReadAllBytes(file, read));
    EXPECT_EQ("abc", read);
    ASSERT_TRUE(ICBSFileUtilities::WriteAllBytes(file, "abcd"));
    EXPECT_EQ("abcd", testsupport::ReadBytes(Extended(file)));
    EXPECT_EQ(std::vector<std::wstring>{file}, ICBSFileUtilities::ListFiles(folder, L"*.txt"));
    EXPECT_FALSE(ICBSFileUtilities::IsFolderEmpty(folder));

    ASSERT_TRUE(ICBSFileUtilities::DeleteOneFile(file));
    EXPECT_FALSE(ExistsExtended(file));
    EXPECT_TRUE(ICBSFileUtilities::IsFolderEmpty(folder));
}

TEST(LongPaths, AFolderTreeBeyondTheLimitIsDeletedWhole) {
    TempDir dir;
    std::wstring top = dir.Path() + L"\\top";
    std::wstring deep = PathOfLength(top, 320);
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(deep));
    ASSERT_TRUE(ICBSFileUtilities::CreateEmptyFile(deep + L"\\leaf.txt"));
    ASSERT_TRUE(ICBSFileUtilities::CreateEmptyFile(top + L"\\near.txt"));
    EXPECT_GE(ICBSFileUtilities::CountFolders(top), 6);
    ASSERT_TRUE(ICBSFileUtilities::DeleteFolderTree(top));
    EXPECT_FALSE(ExistsExtended(top));
}
