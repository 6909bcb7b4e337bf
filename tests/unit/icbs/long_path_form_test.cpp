// Shows which paths are passed to Windows in the extended-length form and
// what that form looks like for drive, UNC and already extended paths.
#include <gtest/gtest.h>

#include "icbs/LongPath.h"

using icbs::ApiPath;
using icbs::ExtendedLengthForm;

TEST(LongPathForm, DriveUncAndExtendedPaths) {
    EXPECT_EQ(L"\\\\?\\C:\\dir\\file.txt", ExtendedLengthForm(L"C:\\dir\\file.txt"));
    EXPECT_EQ(L"\\\\?\\C:\\dir\\file.txt", ExtendedLengthForm(L"C:/dir/file.txt"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\f", ExtendedLengthForm(L"\\\\server\\share\\f"));
    EXPECT_EQ(L"\\\\?\\C:\\x", ExtendedLengthForm(L"\\\\?\\C:\\x"));
    EXPECT_EQ(L"\\\\.\\pipe\\name", ExtendedLengthForm(L"\\\\.\\pipe\\name"));
}

TEST(LongPathForm, OnlyPathsOverTheLimitChange) {
    std::wstring atLimit = L"C:\\" + std::wstring(icbs::kMaxPlainFilePath - 3, L'a');
    ASSERT_EQ(icbs::kMaxPlainFilePath, atLimit.size());
    EXPECT_EQ(atLimit, ApiPath(atLimit));
    std::wstring over = atLimit + L"b";
    EXPECT_EQ(L"\\\\?\\" + over, ApiPath(over));
    EXPECT_EQ(L"\\\\?\\" + atLimit, ApiPath(atLimit, icbs::kMaxPlainFolderPath));
    EXPECT_EQ(L"", ApiPath(L"", 0));
}

TEST(LongPathForm, RelativePartsAreResolvedBeforeExtending) {
    std::wstring folder = L"C:\\" + std::wstring(300, L'd');
    EXPECT_EQ(L"\\\\?\\" + folder + L"\\file", ApiPath(folder + L"\\sub\\..\\.\\file"));
}
