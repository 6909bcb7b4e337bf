// Shows that the current, temporary and Windows folders and short paths come
// back from the system, including results longer than 260 characters.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "icbs/EnvironmentOverride.h"
#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;

namespace {
std::wstring WithoutTrailingSeparator(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}
}  // namespace

TEST(Locations, CurrentFolderFollowsSetCurrentFolder) {
    TempDir dir;
    std::wstring before = ICBSFileUtilities::GetCurrentFolder();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(ICBSFileUtilities::SetCurrentFolder(dir.Path()));
    EXPECT_TRUE(fw::EqualsNoCase(dir.Path(), WithoutTrailingSeparator(ICBSFileUtilities::GetCurrentFolder())));
    EXPECT_FALSE(ICBSFileUtilities::SetCurrentFolder(dir.Path() + L"\\missing"));
    ASSERT_TRUE(ICBSFileUtilities::SetCurrentFolder(before));
}

TEST(Locations, TempFolderIsTheTmpVariableUpToTheLongestPlainPath) {
    TempDir dir;
    // 258 characters: the answer with its final "\\" fills the first buffer.
    std::wstring folder = dir.Path() + L"\\t";
    folder += std::wstring(MAX_PATH - 2 - folder.size(), L'x');
    ASSERT_EQ(static_cast<size_t>(MAX_PATH - 2), folder.size());
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    {
        icbs::EnvironmentOverride tmp({{L"TMP", folder}, {L"TEMP", folder}});
        EXPECT_TRUE(fw::EqualsNoCase(folder + L"\\", ICBSFileUtilities::GetTempFolder()));
    }
    std::wstring normal = ICBSFileUtilities::GetTempFolder();
    ASSERT_FALSE(normal.empty());
    EXPECT_EQ(L'\\', normal.back());
    EXPECT_TRUE(fw::StartsWithNoCase(dir.Path(), normal));
}

TEST(Locations, WindowsFolderIsTheSystemRoot) {
    auto root = icbs::EnvironmentOverride::Read(L"SystemRoot");
    ASSERT_TRUE(root.has_value());
    EXPECT_TRUE(fw::EqualsNoCase(*root, WithoutTrailingSeparator(ICBSFileUtilities::GetWindowsFolder())));
}

TEST(Locations, ShortPathNamesTheSameFileOrIsThePathItself) {
    TempDir dir;
    std::wstring file = dir.File(L"A rather long file name with spaces.text");
    testsupport::WriteBytes(file, "same");
    std::wstring shortPath = ICBSFileUtilities::GetShortPath(file);
    ASSERT_FALSE(shortPath.empty());
    EXPECT_EQ(std::wstring::npos, shortPath.find(L' '));
    EXPECT_EQ("same", testsupport::ReadBytes(shortPath));

    std::wstring missing = dir.File(L"Not there at all.text");
    EXPECT_EQ(missing, ICBSFileUtilities::GetShortPath(missing));
}
