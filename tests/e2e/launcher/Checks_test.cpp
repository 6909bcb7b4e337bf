// The environment checks refuse with their exit codes, log lines and (in
// the full wizard only) message boxes: Windows version, second instance.
#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

TEST(OsCheck, OldWindowsIsRefusedWithCode4) {
    SetWindowsVersionFor(L"setup.exe", L"winxp");
    LauncherRun run = RunLauncher(L"single", L"/qn /L %LOG%");
    EXPECT_EQ(run.exitCode, 4u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): found Windows XP ServicePack 3\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Expect at least Windows 7 ServicePack 1 \r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Setup not allowed to run on Windows XP ServicePack 3\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: Incompatible Windows Version\r\n"));
    EXPECT_FALSE(run.LogHas(L"Reading package information."));
}

TEST(OsCheck, Windows10IsNamedWithBuildAndPasses) {
    SetWindowsVersionFor(L"setup.exe", L"win10");
    LauncherRun run = RunLauncher(L"windows10", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): found Windows 10.0.")) << run.log.c_str();
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Expect at least Windows 10.0.0 \r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): OS version found to be correct.\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Default text for supported OSes used.\r\n"));
}

TEST(OsCheck, RequirementAboveRunningWindowsFails) {
    // A Windows 10 requirement on the prefix's Windows 7 SP1.
    LauncherRun run = RunLauncher(L"windows10", L"/qn /L %LOG%");
    EXPECT_EQ(run.exitCode, 4u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Setup not allowed to run on Windows 7 ServicePack 1\r\n"));
}

TEST(OsCheck, WithoutQuietTheRefusalIsShownInBoxes) {
    SetWindowsVersionFor(L"setup.exe", L"winxp");
    Background launcher(LauncherPath(L"single"), L"");
    FoundWindow box = WaitForWindow(launcher.Id(), 20000);
    ASSERT_NE(box.handle, nullptr) << "no message box appeared";
    EXPECT_EQ(box.text,
              L"Setup has detected an incompatible version of 'Windows XP ServicePack 3'. Please click OK and verify "
              L"that the target system is running 'Windows 7 ServicePack 1' or higher, before relaunching the "
              L"installation.");
    PressButton(box.handle, IDOK);
    ASSERT_TRUE(WaitForWindowGone(box.handle));
    FoundWindow second = WaitForWindow(launcher.Id(), 20000);
    ASSERT_NE(second.handle, nullptr);
    EXPECT_EQ(second.text, L"Installation platform not supported.\nInstallation of this version cannot continue.");
    PressButton(second.handle, IDOK);
    EXPECT_EQ(launcher.Wait(20000), 4u);
}

TEST(OsCheck, ReducedUiShowsNoBoxAndEndsByItself) {
    // /qr hides the wizard: nobody is there to click a box away.
    SetWindowsVersionFor(L"setup.exe", L"winxp");
    TempDir logDir;
    Background launcher(LauncherPath(L"single"), L"/qr /L \"" + logDir.File(L"log.txt") + L"\"");
    FoundWindow box = WaitForWindow(launcher.Id(), 3000);
    EXPECT_EQ(box.handle, nullptr) << "a box waited: " << std::string(box.text.begin(), box.text.end());
    if (box.handle) PressButton(box.handle, IDOK);
    EXPECT_EQ(launcher.Wait(20000), 4u);
    std::wstring log = ReadUtf16(logDir.File(L"log.txt"));
    EXPECT_NE(log.find(L"ZEL (c): ERROR: Incompatible Windows Version\r\n"), std::wstring::npos);
}

TEST(SingleInstance, SecondLauncherEndsWithCode6) {
    // This test holds the mutex, as a first launcher would.
    fw::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}"));
    ASSERT_TRUE(mutex);
    LauncherRun run = RunLauncher(L"single", L"/qn /L %LOG%");
    EXPECT_EQ(run.exitCode, 6u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Setup already in progress.\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: Another installer was already running.\r\n"));
    mutex.reset();
    EXPECT_EQ(RunLauncher(L"single", L"/qn").exitCode, 0u);
}

TEST(SingleInstance, SecondLauncherShowsBoxUnlessQuiet) {
    fw::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}"));
    Background launcher(LauncherPath(L"single"), L"");
    FoundWindow box = WaitForWindow(launcher.Id(), 20000);
    ASSERT_NE(box.handle, nullptr);
    EXPECT_EQ(box.text, L"Another program is being installed. Please wait until that installation is complete, and "
                        L"then try installing this software again.");
    EXPECT_EQ(box.caption, L"setup");
    PressButton(box.handle, IDOK);
    EXPECT_EQ(launcher.Wait(20000), 6u);
}

// The required Windows is named with the same facts of the machine as the
// running one: its R2 mark and its processor architecture.
TEST(OsCheck, TheRequiredNameConsultsTheMachineAsTheRunningNameDoes) {
    SYSTEM_INFO info = {};
    ::GetNativeSystemInfo(&info);
    bool amd64 = info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    std::wstring expected = ::GetSystemMetrics(SM_SERVERR2) != 0 ? L"Windows Server 2003 R2"
                            : amd64                             ? L"Windows XP Professional x64 Edition"
                                                                : L"Windows Server 2003";
    LauncherRun run = RunLauncher(L"windows_server_2003", L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Expect at least " + expected + L" \r\n")) << run.log.c_str();
}
