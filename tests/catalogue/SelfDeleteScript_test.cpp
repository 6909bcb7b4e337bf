// The self-deleting script is written into a new folder of a name nobody
// can know beforehand, which only administrators may change, started
// through the system's command interpreter, waits (a few seconds at most)
// for the process that started it to end, and removes the given folder,
// then itself and its folder; folders others made before are never used.
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

TEST(SelfDeleteScript, RemovesTheFolderItselfAndItsFolder) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"Package {A} 100%");
    std::wstring neighbour = MakeDoomedFolder(dir.Path(), L"Package");
    EXPECT_EQ(SelfDeleteScriptParent(), WindowsTemp());
    std::wstring folder = StartSelfDeleteScript(doomed);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.rfind(WindowsTemp() + L"\\MorvexSetup-", 0), 0u) << folder.c_str();
    // The script's folder was made with a list that gives Everyone nothing.
    EXPECT_FALSE(EveryoneAllowed(folder));
    EXPECT_TRUE(GoneWithin(doomed, 20000));
    // The script is gone; its folder goes with it once the lock's holder (the
    // launcher, here this test) has ended.
    EXPECT_TRUE(GoneWithin(folder + L"\\SelfDelete.bat", 20000));
    EXPECT_EQ(testsupport::FolderEntries(folder), std::vector<std::wstring>{L"SelfDelete.lock"});
    // A path with blanks and percent signs is one literal path: the folder
    // whose name is its first word stays.
    EXPECT_TRUE(Exists(neighbour + L"\\sub\\editor.msi"));
}

// The process that starts the script stands for the launcher: while it
// runs, the folder stays; the script gives up waiting after a few seconds.
TEST(SelfDeleteScript, WaitsWhileTheLauncherRunsAndOnlyAFewSeconds) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"package");
    DWORD start = ::GetTickCount();
    std::wstring folder = StartSelfDeleteScript(doomed);
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(Exists(folder + L"\\SelfDelete.lock"));
    ::Sleep(2000);
    EXPECT_TRUE(Exists(doomed + L"\\sub\\editor.msi")) << "removed while the launcher still ran";
    EXPECT_TRUE(GoneWithin(doomed, 20000));
    DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, 3000u);
    EXPECT_LT(waited, 15000u);
}

// Folders others made in the Temp folder beforehand, also one of the name
// older launchers used and a link, are neither written through nor run:
// every run makes a folder of a name nobody could know.
TEST(SelfDeleteScript, FoldersAndLinksMadeBeforehandAreNeverUsed) {
    TempDir dir;
    std::wstring doomed = MakeDoomedFolder(dir.Path(), L"package");
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    PutFile(outside + L"\\precious.txt", "keep me");
    std::wstring planted = WindowsTemp() + L"\\MorvexSetup";
    ASSERT_TRUE(::CreateDirectoryW(planted.c_str(), nullptr));
    std::wstring marker = dir.File(L"planted-script-ran.txt");
    PutFile(planted + L"\\SelfDelete.bat", "@echo planted> \"" + fw::ToCodePage(marker, CP_ACP) + "\"\r\n");
    bool linked = filetest::MakeFolderLink(WindowsTemp() + L"\\MorvexSetup-link", outside);

    std::wstring first = StartSelfDeleteScript(doomed);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, planted);
    EXPECT_TRUE(GoneWithin(doomed, 20000));
    EXPECT_TRUE(GoneWithin(first + L"\\SelfDelete.bat", 20000));
    EXPECT_FALSE(Exists(marker));
    EXPECT_TRUE(Exists(planted + L"\\SelfDelete.bat")) << "the folder made beforehand was used";
    if (linked) EXPECT_EQ(testsupport::FolderEntries(outside), std::vector<std::wstring>{L"precious.txt"});
    // A second run gets a folder of its own again.
    std::wstring again = MakeDoomedFolder(dir.Path(), L"again");
    std::wstring second = StartSelfDeleteScript(again);
    ASSERT_FALSE(second.empty());
    EXPECT_NE(second, first);
    EXPECT_TRUE(GoneWithin(again, 20000));
}

TEST(SelfDeleteScript, NothingIsStartedWithoutAFolderToRemove) {
    EXPECT_TRUE(StartSelfDeleteScript(L"").empty());
}
