// Shows that the fixed file version and the first translation are read from
// a real executable's version resource, and are empty for files without one.
#include <gtest/gtest.h>

#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/icbs_child_version.h"

TEST(FileVersion, VersionAndLanguageOfAnExecutableWithAVersionResource) {
    std::wstring expected = std::to_wstring(ICBS_CHILD_VERSION_MAJOR) + L"." +
                            std::to_wstring(ICBS_CHILD_VERSION_MINOR) + L"." +
                            std::to_wstring(ICBS_CHILD_VERSION_BUILD) + L"." +
                            std::to_wstring(ICBS_CHILD_VERSION_REVISION);
    EXPECT_EQ(expected, ICBSFileUtilities::GetFileVersionText(filetest::ChildPath()));
    EXPECT_EQ(std::to_wstring(ICBS_CHILD_LANGUAGE), ICBSFileUtilities::GetFileTranslation(filetest::ChildPath()));
}

TEST(FileVersion, FilesWithoutAVersionResourceGiveEmptyTexts) {
    testsupport::TempDir dir;
    std::wstring text = dir.File(L"plain.txt");
    testsupport::WriteBytes(text, "no resources here");
    EXPECT_EQ(L"", ICBSFileUtilities::GetFileVersionText(text));
    EXPECT_EQ(L"", ICBSFileUtilities::GetFileTranslation(text));
    EXPECT_EQ(L"", ICBSFileUtilities::GetFileVersionText(dir.File(L"missing.dll")));
    // This test program carries no version resource.
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(L"", ICBSFileUtilities::GetFileVersionText(self));
    EXPECT_EQ(L"", ICBSFileUtilities::GetFileTranslation(self));
}
