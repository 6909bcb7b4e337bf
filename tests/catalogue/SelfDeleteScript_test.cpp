// The self-deleting script is written into a folder made anew for it that
// only administrators may change, started through the system's command
// interpreter, waits (a few seconds at most) for the process that started it
// to end, and removes the given folder and then itself; whatever someone
// left in the script's place is neither run nor followed.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "launcher/ExitCleanup.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/AccessEntries.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;
using testsupport::TempDir;

namespace {

std::wstring WindowsTemp() {
    wchar_t windows[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp";
}

bool GoneWithin(const std::wstring& path, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (!Exists(path)) return true;
        ::Sleep(50);
    }
    return !Exists(path);
}

// A folder with a few files and a subfolder, standing for a package folder.
std::wstring MakeDoomedFolder(const std::wstring& parent, const std::wstring& name) {
    std::wstring folder = parent + L"\\" + name;
    EXPECT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_TRUE(::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
    PutFile(folder + L"\\setup.exe", "launcher copy");
    PutFile(folder + L"\\sub\\editor.msi", "database");
    return folder;
}

}  // namespace

TEST(SelfDeleteScript, RemovesTheFolderAndItself) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"Package {A} 100%");
    std::wstring neighbour = MakeDoomedFolder(dir.Path(), L"Package");
    EXPECT_EQ(SelfDeleteScriptFolder(), WindowsTemp() + L"\\MorvexSetup");
    ASSERT_TRUE(StartSelfDeleteScript(doomed));
    std::wstring script = SelfDeleteScriptFolder() + L"\\SelfDelete.bat";
    EXPECT_TRUE(GoneWithin(doomed, 20000));
    EXPECT_TRUE(GoneWithin(script, 20000));
    // A path with blanks and percent signs is one literal path: the folder
    // whose name is its first word stays.
    EXPECT_TRUE(Exists(neighbour + L"\\sub\\editor.msi"));
    // The script's folder was made with a list that gives Everyone nothing.
    EXPECT_FALSE(EveryoneAllowed(SelfDeleteScriptFolder()));
}

// The process that starts the script stands for the launcher: while it
// runs, the folder stays; the script gives up waiting after a few seconds.
TEST(SelfDeleteScript, WaitsWhileTheLauncherRunsAndOnlyAFewSeconds) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"package");
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(StartSelfDeleteScript(doomed));
    EXPECT_TRUE(Exists(SelfDeleteScriptFolder() + L"\\SelfDelete.lock"));
    ::Sleep(2000);
    EXPECT_TRUE(Exists(doomed + L"\\sub\\editor.msi")) << "removed while the launcher still ran";
    EXPECT_TRUE(GoneWithin(doomed, 20000));
    DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, 3000u);
    EXPECT_LT(waited, 15000u);
}

TEST(SelfDeleteScript, WhatWasLeftInTheScriptFolderIsRemovedNotRun) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"package");
    std::wstring folder = SelfDeleteScriptFolder();
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring marker = dir.File(L"planted-script-ran.txt");
    std::string planted = "@echo planted> \"" + fw::ToCodePage(marker, CP_ACP) + "\"\r\n";
    PutFile(folder + L"\\SelfDelete.bat", planted);
    PutFile(folder + L"\\other.bat", planted);

    ASSERT_TRUE(StartSelfDeleteScript(doomed));
    EXPECT_TRUE(GoneWithin(doomed, 20000));
    EXPECT_TRUE(GoneWithin(folder + L"\\SelfDelete.bat", 20000));
    EXPECT_FALSE(Exists(folder + L"\\other.bat"));
    EXPECT_FALSE(Exists(marker));
}

TEST(SelfDeleteScript, ALinkInTheScriptFolderPlaceIsNeverWrittenThrough) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"package");
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    PutFile(outside + L"\\precious.txt", "keep me");
    if (!filetest::MakeFolderLink(SelfDeleteScriptFolder(), outside)) GTEST_SKIP() << "no folder links here";

    bool started = StartSelfDeleteScript(doomed);
    // Windows removes the link and makes the folder anew; a system that
    // cannot remove a link writes no script at all.
    EXPECT_EQ(started, !ICBSFileUtilities::IsReparsePoint(SelfDeleteScriptFolder()));
    if (started) {
        EXPECT_TRUE(GoneWithin(doomed, 20000));
    }
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\precious.txt"), "keep me");
    EXPECT_FALSE(Exists(outside + L"\\SelfDelete.bat"));
}

TEST(SelfDeleteScript, NothingIsStartedWithoutAFolderToRemove) {
    EXPECT_FALSE(StartSelfDeleteScript(L""));
    EXPECT_FALSE(Exists(SelfDeleteScriptFolder() + L"\\SelfDelete.bat"));
}
