// Shows that a copy made from an open file handle holds the whole file whatever the handle's position, replaces or refuses an existing target, and leaves nothing behind when it fails.
#include <gtest/gtest.h>

#include <string>

#include "framework/Handles.h"
#include "icbs/ICBSFileUtilities.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

fw::FileHandle OpenShared(const std::wstring& path, DWORD access = GENERIC_READ) {
    return fw::FileHandle(
        ::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Bytes that differ at every position, longer than one copy chunk when asked.
std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    unsigned value = 12345;
    for (char& c : bytes) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    return bytes;
}

}  // namespace

TEST(CopyOpenFile, CopiesTheWholeFileWhereverTheHandleStands) {
    TempDir dir;
    std::string contents = Pattern(ICBSFileUtilities::kCopyChunkBytes + 4097);
    WriteBytes(dir.File(L"source.bin"), contents);
    fw::FileHandle source = OpenShared(dir.File(L"source.bin"));
    ASSERT_TRUE(source);
    ::SetFilePointer(source.get(), 1000, nullptr, FILE_BEGIN);

    std::wstring target = dir.File(L"new folder\\deeper\\copy.bin");
    ASSERT_TRUE(ICBSFileUtilities::CopyOpenFile(source.get(), target, true));
    EXPECT_EQ(ReadBytes(target), contents);
    // The handle's own position is left where its owner put it.
    EXPECT_EQ(::SetFilePointer(source.get(), 0, nullptr, FILE_CURRENT), 1000u);
    // A second copy from the same handle is just as complete.
    ASSERT_TRUE(ICBSFileUtilities::CopyOpenFile(source.get(), dir.File(L"again.bin"), false));
    EXPECT_EQ(ReadBytes(dir.File(L"again.bin")), contents);
}

TEST(CopyOpenFile, AnEmptyFileGivesAnEmptyCopy) {
    TempDir dir;
    WriteBytes(dir.File(L"empty"), "");
    fw::FileHandle source = OpenShared(dir.File(L"empty"));
    ASSERT_TRUE(ICBSFileUtilities::CopyOpenFile(source.get(), dir.File(L"copy"), true));
    EXPECT_TRUE(testsupport::FileExists(dir.File(L"copy")));
    EXPECT_EQ(ReadBytes(dir.File(L"copy")), "");
}

TEST(CopyOpenFile, AnExistingTargetIsReplacedUnlessAskedToFail) {
    TempDir dir;
    WriteBytes(dir.File(L"source"), "new contents");
    fw::FileHandle source = OpenShared(dir.File(L"source"));
    std::wstring target = dir.File(L"target");
    WriteBytes(target, "old contents that are longer");

    EXPECT_FALSE(ICBSFileUtilities::CopyOpenFile(source.get(), target, true));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadBytes(target), "old contents that are longer");

    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(ICBSFileUtilities::CopyOpenFile(source.get(), target, false));
    EXPECT_EQ(ReadBytes(target), "new contents");
}

TEST(CopyOpenFile, AFailedCopyLeavesNoTarget) {
    TempDir dir;
    WriteBytes(dir.File(L"source"), "contents");
    // A handle that may append but not read.
    fw::FileHandle writeOnly = OpenShared(dir.File(L"source"), FILE_APPEND_DATA);
    ASSERT_TRUE(writeOnly);
    EXPECT_FALSE(ICBSFileUtilities::CopyOpenFile(writeOnly.get(), dir.File(L"copy"), false));
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"copy")));

    EXPECT_FALSE(ICBSFileUtilities::CopyOpenFile(INVALID_HANDLE_VALUE, dir.File(L"copy"), false));
    EXPECT_FALSE(ICBSFileUtilities::CopyOpenFile(nullptr, dir.File(L"copy"), false));
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"copy")));
}
