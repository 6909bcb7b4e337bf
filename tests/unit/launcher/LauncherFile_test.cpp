// Shows that the running launcher holds its own file so that nobody can write, rename or delete it, and that copies made from that handle are the file as it was opened.
#include "launcher/LauncherFile.h"

#include <gtest/gtest.h>

#include <memory>

#include "icbs/ICBSFileUtilities.h"
#include "launcher/SetupApp.h"
#include "tests/support/TestSupport.h"

namespace {

// A stand-in for a downloaded launcher, in a folder its user may write to.
struct Download {
    testsupport::TempDir folder;
    std::wstring path = folder.File(L"Setup Editor 2024.exe");
    std::string contents = "MZ the launcher as downloaded";
    Download() { testsupport::WriteBytes(path, contents); }
};

bool CanOpenForWriting(const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

TEST(LauncherFile, WhileTheLauncherRunsItsFileCannotBeWrittenRenamedOrDeleted) {
    Download download;
    auto app = std::make_unique<CSetupApp>(L"setup.exe /qn", download.path);
    ASSERT_NE(app->LauncherFile(), INVALID_HANDLE_VALUE);

    EXPECT_FALSE(CanOpenForWriting(download.path));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    std::wstring renamed = download.folder.File(L"renamed.exe");
    EXPECT_FALSE(::MoveFileW(download.path.c_str(), renamed.c_str()));
    EXPECT_FALSE(::DeleteFileW(download.path.c_str()));
    // Reading stays possible: the user may still copy or scan the launcher.
    EXPECT_EQ(testsupport::ReadBytes(download.path), download.contents);

    app.reset();
    EXPECT_TRUE(CanOpenForWriting(download.path));
    EXPECT_TRUE(::MoveFileW(download.path.c_str(), renamed.c_str()));
    EXPECT_TRUE(::DeleteFileW(renamed.c_str()));
}

TEST(LauncherFile, CopiesComeFromTheFileThatWasOpened) {
    Download download;
    CSetupApp app(L"setup.exe /qn", download.path);
    std::wstring copy = download.folder.File(L"kept\\Setup Editor 2024.exe");
    ASSERT_TRUE(ICBSFileUtilities::CopyOpenFile(app.LauncherFile(), copy, false));
    EXPECT_EQ(testsupport::ReadBytes(copy), download.contents);
}

TEST(LauncherFile, AMissingFileGivesNoHandle) {
    testsupport::TempDir folder;
    EXPECT_FALSE(OpenLauncherFile(folder.File(L"gone.exe")));
    EXPECT_FALSE(OpenLauncherFile(L""));
    CSetupApp app(L"setup.exe /qn", folder.File(L"gone.exe"));
    EXPECT_EQ(app.LauncherFile(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ICBSFileUtilities::CopyOpenFile(app.LauncherFile(), folder.File(L"copy.exe"), false));
    EXPECT_FALSE(testsupport::FileExists(folder.File(L"copy.exe")));
}

}  // namespace
