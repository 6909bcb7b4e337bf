// Shows that the single-file operations create, copy, move, delete, append,
// read, write and measure real files, including read-only ones and missing
// ones.
#include <gtest/gtest.h>

#include "icbs/ICBSFileUtilities.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {
DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }
}  // namespace

TEST(FileOperations, CreateEmptyFileMakesParentsAndEmptiesAnExistingFile) {
    TempDir dir;
    std::wstring nested = dir.Path() + L"\\a\\b\\new.txt";
    ASSERT_TRUE(ICBSFileUtilities::CreateEmptyFile(nested, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ("", ReadBytes(nested));
    EXPECT_TRUE(AttributesOf(nested) & FILE_ATTRIBUTE_READONLY);

    std::wstring existing = dir.File(L"full.txt");
    WriteBytes(existing, "content");
    ASSERT_TRUE(ICBSFileUtilities::CreateEmptyFile(existing));
    EXPECT_EQ("", ReadBytes(existing));
}

TEST(FileOperations, CopyOverwritesAReadOnlyTargetUnlessAskedToFail) {
    TempDir dir;
    std::wstring source = dir.File(L"source.bin"), target = dir.Path() + L"\\out\\target.bin";
    WriteBytes(source, std::string("new\0data", 8));
    ASSERT_TRUE(ICBSFileUtilities::CopyOneFile(source, target, false));  // creates "out"
    EXPECT_EQ(std::string("new\0data", 8), ReadBytes(target));

    WriteBytes(source, "second");
    EXPECT_FALSE(ICBSFileUtilities::CopyOneFile(source, target, true));
    EXPECT_EQ(std::string("new\0data", 8), ReadBytes(target));

    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(ICBSFileUtilities::CopyOneFile(source, target, false));
    EXPECT_EQ("second", ReadBytes(target));
}

TEST(FileOperations, MoveCreatesTheTargetFolderAndRefusesAnExistingTarget) {
    TempDir dir;
    std::wstring source = dir.File(L"moving.txt"), target = dir.Path() + L"\\x\\y\\moved.txt";
    WriteBytes(source, "payload");
    ASSERT_TRUE(ICBSFileUtilities::MoveOneFile(source, target));
    EXPECT_FALSE(testsupport::FileExists(source));
    EXPECT_EQ("payload", ReadBytes(target));

    WriteBytes(source, "other");
    EXPECT_FALSE(ICBSFileUtilities::MoveOneFile(source, target));
    EXPECT_EQ("payload", ReadBytes(target));
}

TEST(FileOperations, DeleteRemovesReadOnlyFilesAndAcceptsMissingOnes) {
    TempDir dir;
    std::wstring file = dir.File(L"locked.txt");
    WriteBytes(file, "x");
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(ICBSFileUtilities::DeleteOneFile(file));
    EXPECT_FALSE(testsupport::FileExists(file));

    EXPECT_TRUE(ICBSFileUtilities::DeleteOneFile(dir.File(L"never-there.txt")));
    EXPECT_TRUE(ICBSFileUtilities::DeleteOneFile(dir.Path() + L"\\no-folder\\never-there.txt"));
}

TEST(FileOperations, SetReadOnlySwitchesTheAttribute) {
    TempDir dir;
    std::wstring file = dir.File(L"f.txt");
    WriteBytes(file, "x");
    ASSERT_TRUE(ICBSFileUtilities::SetReadOnly(file, true));
    EXPECT_TRUE(AttributesOf(file) & FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(ICBSFileUtilities::SetReadOnly(file, false));
    EXPECT_FALSE(AttributesOf(file) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ICBSFileUtilities::SetReadOnly(dir.File(L"missing"), true));
}

TEST(FileOperations, AppendFileAddsSourcesLargerThanOneChunk) {
    TempDir dir;
    std::wstring target = dir.File(L"target.bin"), source = dir.File(L"source.bin");
    std::string head = "head:";
    std::string body(ICBSFileUtilities::kCopyChunkBytes + 123, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + i / 4096);
    WriteBytes(target, head);
    WriteBytes(source, body);
    ASSERT_TRUE(ICBSFileUtilities::AppendFile(target, source));
    EXPECT_TRUE(ReadBytes(target) == head + body);
}

TEST(FileOperations, AppendFileNeedsAnExistingTargetAndRefusesItself) {
    TempDir dir;
    std::wstring source = dir.File(L"source.txt");
    WriteBytes(source, "abc");
    EXPECT_FALSE(ICBSFileUtilities::AppendFile(dir.File(L"absent.txt"), source));
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"absent.txt")));
    EXPECT_FALSE(ICBSFileUtilities::AppendFile(source, dir.File(L"absent.txt")));

    EXPECT_FALSE(ICBSFileUtilities::AppendFile(source, source));
    EXPECT_EQ("abc", ReadBytes(source));
}

TEST(FileOperations, AppendBytesAndReadBytesWorkOnTheFileStart) {
    TempDir dir;
    std::wstring file = dir.File(L"data.bin");
    WriteBytes(file, "0123");
    const char more[] = {'4', '5', '\0', '6'};
    ASSERT_TRUE(ICBSFileUtilities::AppendBytes(file, more, sizeof(more)));
    EXPECT_EQ(std::string("012345\0" "6", 8), ReadBytes(file));
    EXPECT_FALSE(ICBSFileUtilities::AppendBytes(dir.File(L"absent.bin"), more, sizeof(more)));

    char buffer[32] = {};
    DWORD read = 0;
    ASSERT_TRUE(ICBSFileUtilities::ReadBytes(file, buffer, 3, &read));
    EXPECT_EQ(3u, read);
    EXPECT_EQ("012", std::string(buffer, read));
    ASSERT_TRUE(ICBSFileUtilities::ReadBytes(file, buffer, sizeof(buffer), &read));
    EXPECT_EQ(std::string("012345\0" "6", 8), std::string(buffer, read));
    EXPECT_FALSE(ICBSFileUtilities::ReadBytes(dir.File(L"absent.bin"), buffer, 3, &read));
    EXPECT_EQ(0u, read);
}

TEST(FileOperations, WholeFilesAreReadAndWrittenByteForByte) {
    TempDir dir;
    std::wstring file = dir.File(L"whole.bin");
    // Larger than one piece of either side, holding every byte value.
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    ASSERT_TRUE(ICBSFileUtilities::WriteAllBytes(file, bytes));
    EXPECT_TRUE(ReadBytes(file) == bytes);
    std::string read = "left over";
    ASSERT_TRUE(ICBSFileUtilities::ReadAllBytes(file, read));
    EXPECT_TRUE(read == bytes);

    // Writing replaces the whole content.
    ASSERT_TRUE(ICBSFileUtilities::WriteAllBytes(file, "short"));
    EXPECT_EQ("short", ReadBytes(file));
    ASSERT_TRUE(ICBSFileUtilities::WriteAllBytes(file, ""));
    EXPECT_EQ("", ReadBytes(file));
    ASSERT_TRUE(ICBSFileUtilities::ReadAllBytes(file, read));
    EXPECT_EQ("", read);
}

TEST(FileOperations, WholeFilesNeedTheFileOrItsFolder) {
    TempDir dir;
    std::string read = "left over";
    EXPECT_FALSE(ICBSFileUtilities::ReadAllBytes(dir.File(L"absent.bin"), read));
    EXPECT_EQ("", read);
    EXPECT_FALSE(ICBSFileUtilities::ReadAllBytes(dir.Path(), read)) << "a folder is not a file";
    EXPECT_FALSE(ICBSFileUtilities::WriteAllBytes(dir.Path() + L"\\no\\such.txt", "x"));
    EXPECT_FALSE(testsupport::FileExists(dir.Path() + L"\\no")) << "no folder is made";
    EXPECT_FALSE(ICBSFileUtilities::WriteAllBytes(dir.Path(), "x"));
}

TEST(FileOperations, SizeAndExistence) {
    TempDir dir;
    std::wstring file = dir.File(L"sized.bin");
    std::string bytes(70000, 'z');
    WriteBytes(file, bytes);
    EXPECT_EQ(bytes.size(), ICBSFileUtilities::FileSizeOf(file));
    EXPECT_EQ(ICBSFileUtilities::kUnknownSize, ICBSFileUtilities::FileSizeOf(dir.File(L"absent")));

    EXPECT_TRUE(ICBSFileUtilities::FileExists(file));
    EXPECT_TRUE(ICBSFileUtilities::FileExists(dir.Path()));
    EXPECT_FALSE(ICBSFileUtilities::FileExists(dir.File(L"absent")));
}

TEST(FileOperations, CreateUniqueFileTakesTheFirstFreeNumber) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\";
    WriteBytes(dir.File(L"QTX_CAB0.tmp"), "taken");
    WriteBytes(dir.File(L"QTX_CAB1.tmp"), "taken");
    std::wstring created = ICBSFileUtilities::CreateUniqueFile(dir.Path(), L"QTX_CAB%x.tmp", 255);
    EXPECT_EQ(dir.File(L"QTX_CAB2.tmp"), created);
    EXPECT_EQ("", ReadBytes(created));
    // The folder may also end with a separator already.
    EXPECT_EQ(dir.File(L"QTX_CAB3.tmp"), ICBSFileUtilities::CreateUniqueFile(folder, L"QTX_CAB%x.tmp", 255));
    // All names taken.
    EXPECT_EQ(L"", ICBSFileUtilities::CreateUniqueFile(dir.Path(), L"QTX_CAB%x.tmp", 4));
    // A pattern that would read a text argument is refused.
    EXPECT_EQ(L"", ICBSFileUtilities::CreateUniqueFile(dir.Path(), L"bad%s.tmp", 4));
}
