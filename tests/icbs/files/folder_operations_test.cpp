// Shows that folders are created with their parents, looked into, counted,
// listed, copied and deleted with their contents on the real file system.
#include <gtest/gtest.h>

#include <algorithm>

#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using testsupport::FileExists;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {
bool IsFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

TEST(FolderCreation, AnExistingFolderCountsAsCreatedButAFileDoesNot) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\made";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));

    std::wstring file = dir.File(L"plain.txt");
    WriteBytes(file, "file");
    EXPECT_FALSE(ICBSFileUtilities::CreateFolder(file, false));
    EXPECT_FALSE(ICBSFileUtilities::CreateFolderTree(file));
    EXPECT_EQ("file", testsupport::ReadBytes(file));
    // A missing parent is not created by CreateFolder.
    EXPECT_FALSE(ICBSFileUtilities::CreateFolder(dir.Path() + L"\\no\\such", false));
}

TEST(FolderCreation, ParentsOfAFileAndWholeTreesAreCreated) {
    TempDir dir;
    ASSERT_TRUE(ICBSFileUtilities::CreateParentFolders(dir.Path() + L"\\p1\\p2\\p3\\file.txt"));
    EXPECT_TRUE(IsFolder(dir.Path() + L"\\p1\\p2\\p3"));
    EXPECT_FALSE(FileExists(dir.Path() + L"\\p1\\p2\\p3\\file.txt"));
    EXPECT_FALSE(ICBSFileUtilities::CreateParentFolders(L"file-without-folder.txt"));

    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(dir.Path() + L"/t1/t2\\t3"));
    EXPECT_TRUE(IsFolder(dir.Path() + L"\\t1\\t2\\t3"));
}

TEST(FolderContents, EmptinessOfMissingEmptyAndFilledFolders) {
    TempDir dir;
    EXPECT_TRUE(ICBSFileUtilities::IsFolderEmpty(dir.Path() + L"\\missing"));
    std::wstring folder = dir.Path() + L"\\box";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    EXPECT_TRUE(ICBSFileUtilities::IsFolderEmpty(folder));
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder + L"\\inner", false));
    EXPECT_FALSE(ICBSFileUtilities::IsFolderEmpty(folder));
    EXPECT_TRUE(ICBSFileUtilities::IsFolderEmpty(folder + L"\\inner"));
    WriteBytes(folder + L"\\inner\\f", "");
    EXPECT_FALSE(ICBSFileUtilities::IsFolderEmpty(folder + L"\\inner"));
}

TEST(FolderContents, CountAndListFollowTheRealTree) {
    TempDir dir;
    std::wstring root = dir.Path() + L"\\root";
    const std::vector<std::wstring> subfolders = {L"a", L"a\\b", L"a\\b\\c", L"d", L"e", L"e\\f"};
    for (const std::wstring& sub : subfolders) ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(root + L"\\" + sub));
    std::vector<std::wstring> expected = {root + L"\\one.txt", root + L"\\two.txt"};
    for (const std::wstring& file : expected) WriteBytes(file, "t");
    WriteBytes(root + L"\\three.log", "l");
    WriteBytes(root + L"\\a\\nested.txt", "n");
    EXPECT_TRUE(ICBSFileUtilities::CreateFolder(root + L"\\folder.txt", false));

    EXPECT_EQ(static_cast<int>(1 + subfolders.size() + 1), ICBSFileUtilities::CountFolders(root));
    EXPECT_EQ(1, ICBSFileUtilities::CountFolders(dir.Path() + L"\\missing"));

    std::vector<std::wstring> listed = ICBSFileUtilities::ListFiles(root, L"*.txt");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(expected, listed);
    EXPECT_TRUE(ICBSFileUtilities::ListFiles(dir.Path() + L"\\missing", L"*").empty());
}

TEST(FolderTree, DeleteRemovesAllContentsIncludingReadOnlyFiles) {
    TempDir dir;
    std::wstring root = dir.Path() + L"\\doomed";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(root + L"\\x\\y\\z"));
    WriteBytes(root + L"\\top.txt", "1");
    WriteBytes(root + L"\\x\\mid.dat", "2");
    WriteBytes(root + L"\\x\\y\\z\\bottom", "3");
    WriteBytes(root + L"\\x\\noext", "4");
    ::SetFileAttributesW((root + L"\\x\\mid.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(ICBSFileUtilities::DeleteFolderTree(root));
    EXPECT_FALSE(FileExists(root));
    EXPECT_TRUE(IsFolder(dir.Path()));
}

TEST(FolderTree, DeleteStopsAtAFileThatStaysInUseAndKeepsTheFolder) {
    TempDir dir;
    std::wstring root = dir.Path() + L"\\kept";
    std::wstring held = root + L"\\held.txt";
    ASSERT_TRUE(ICBSFileUtilities::CreateEmptyFile(held));
    filetest::ExclusiveHolder holder(held, 1600);
    ASSERT_TRUE(holder.Holding());
    EXPECT_FALSE(ICBSFileUtilities::DeleteFolderTree(root));
    EXPECT_TRUE(IsFolder(root));
    EXPECT_TRUE(FileExists(held));
}

TEST(FolderTree, ALinkedFolderIsNeverEnteredSoWhatItPointsToSurvives) {
    TempDir dir;
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(outside + L"\\sub"));
    WriteBytes(outside + L"\\precious.txt", "keep me");
    std::wstring root = dir.Path() + L"\\package";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(root, false));
    WriteBytes(root + L"\\own.txt", "mine");
    if (!filetest::MakeFolderLink(root + L"\\link", outside)) GTEST_SKIP() << "no folder links on this system";
    ASSERT_TRUE(ICBSFileUtilities::IsReparsePoint(root + L"\\link"));

    // The link counts as one folder; entering it would count "sub" as well.
    EXPECT_EQ(2, ICBSFileUtilities::CountFolders(root));
    // Windows unlinks the link and removes the tree; a system that cannot
    // unlink it reports the failure. Either way nothing behind the link goes.
    bool deleted = ICBSFileUtilities::DeleteFolderTree(root);
    EXPECT_EQ(deleted, !FileExists(root));
    EXPECT_EQ("keep me", testsupport::ReadBytes(outside + L"\\precious.txt"));
    EXPECT_TRUE(IsFolder(outside + L"\\sub"));
}

// Links in every position of a walk, each met through the handle of the
// folder it is in: the folder itself a link, a link deep inside, a link to
// a file. None is followed: what they point to stays whole.
TEST(FolderTree, LinksInEveryPositionAreNeverFollowed) {
    TempDir dir;
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(outside + L"\\sub"));
    WriteBytes(outside + L"\\precious.txt", "keep me");
    WriteBytes(outside + L"\\sub\\inner.txt", "keep me too");
    auto outsideWhole = [&] {
        return FileExists(outside + L"\\precious.txt") && FileExists(outside + L"\\sub\\inner.txt") &&
               testsupport::ReadBytes(outside + L"\\precious.txt") == "keep me" &&
               testsupport::ReadBytes(outside + L"\\sub\\inner.txt") == "keep me too";
    };
    // The folder to delete is itself a link.
    std::wstring linkedRoot = dir.Path() + L"\\linked";
    if (!filetest::MakeFolderLink(linkedRoot, outside)) GTEST_SKIP() << "no links on this system";
    ICBSFileUtilities::DeleteFolderTree(linkedRoot);
    EXPECT_TRUE(outsideWhole()) << "deleted through the link in the folder's own place";

    // A link two levels down and a link to a file.
    std::wstring root = dir.Path() + L"\\package";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(root + L"\\a\\b"));
    WriteBytes(root + L"\\a\\b\\own.txt", "mine");
    ASSERT_TRUE(filetest::MakeFolderLink(root + L"\\a\\b\\deep", outside));
    ASSERT_TRUE(filetest::MakeFolderLink(root + L"\\a\\file", outside + L"\\precious.txt"));
    bool deleted = ICBSFileUtilities::DeleteFolderTree(root);
    EXPECT_TRUE(outsideWhole()) << "deleted through a link inside";
    EXPECT_FALSE(FileExists(root + L"\\a\\b\\own.txt"));
    EXPECT_EQ(deleted, !FileExists(root));
}

TEST(FolderTree, CopyReproducesTheTreeAndFailsOnAFileAlreadyThere) {
    TempDir dir;
    std::wstring source = dir.Path() + L"\\src", target = dir.Path() + L"\\new\\dst";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolderTree(source + L"\\sub\\deeper"));
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(source + L"\\empty", false));
    WriteBytes(source + L"\\a.txt", "A");
    WriteBytes(source + L"\\sub\\deeper\\b.bin", std::string("B\0B", 3));
    ASSERT_TRUE(ICBSFileUtilities::CopyFolderTree(source, target));
    EXPECT_EQ("A", testsupport::ReadBytes(target + L"\\a.txt"));
    EXPECT_EQ(std::string("B\0B", 3), testsupport::ReadBytes(target + L"\\sub\\deeper\\b.bin"));
    EXPECT_TRUE(IsFolder(target + L"\\empty"));
    EXPECT_EQ(ICBSFileUtilities::CountFolders(source), ICBSFileUtilities::CountFolders(target));

    WriteBytes(source + L"\\a.txt", "changed");
    EXPECT_FALSE(ICBSFileUtilities::CopyFolderTree(source, target));
    EXPECT_EQ("A", testsupport::ReadBytes(target + L"\\a.txt"));
    EXPECT_FALSE(ICBSFileUtilities::CopyFolderTree(dir.Path() + L"\\missing", dir.Path() + L"\\other"));
}
