// Shows RunProcess and Wait with real child processes: full exit codes, the
// timeout that ends a child with exit code 1, the working folder, and the
// environment that the child inherits and the launcher gets back afterwards.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "icbs/EnvironmentOverride.h"
#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using filetest::ChildCommand;
using testsupport::TempDir;

TEST(RunProcess, ReturnsTheFullExitCode) {
    EXPECT_EQ(1603u, ICBSFileUtilities::RunProcess(ChildCommand(L"exit 1603"), true));
    EXPECT_EQ(0x12345678u, ICBSFileUtilities::RunProcess(ChildCommand(L"exit 0x12345678"), true));
    EXPECT_EQ(0u, ICBSFileUtilities::RunProcess(ChildCommand(L"exit 0"), true, L"", {}, 30000, true));
}

TEST(RunProcess, AChildOutlivingItsTimeoutEndsWithExitCodeOne) {
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD start = ::GetTickCount();
    DWORD code = ICBSFileUtilities::RunProcess(ChildCommand(L"sleep 30000 5"), true, L"", {}, 500, false, &handle);
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_EQ(1u, code);
    EXPECT_GE(elapsed, 450u);
    EXPECT_LT(elapsed, 15000u);
    EXPECT_EQ(nullptr, handle);  // the handle is closed again
}

TEST(RunProcess, WithoutWaitingTheResultIsZeroAndTheChildRuns) {
    TempDir dir;
    std::wstring marker = dir.File(L"cwd.txt");
    HANDLE handle = INVALID_HANDLE_VALUE;
    EXPECT_EQ(0u, ICBSFileUtilities::RunProcess(ChildCommand(L"cwdfile \"" + marker + L"\""), false, L"", {},
                                                INFINITE, false, &handle));
    EXPECT_EQ(nullptr, handle);
    // The child writes the marker on its own time.
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    for (int i = 0; i < 100; ++i) {
        if (::GetFileAttributesExW(marker.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 0) break;
        ::Sleep(50);
    }
    EXPECT_FALSE(testsupport::ReadBytes(marker).empty());
}

TEST(RunProcess, AFailedStartAnswersMinusOne) {
    TempDir dir;
    EXPECT_EQ(ICBSFileUtilities::kProcessNotStarted,
              ICBSFileUtilities::RunProcess(L"\"" + dir.File(L"missing.exe") + L"\"", true));
    EXPECT_EQ(static_cast<DWORD>(-1), ICBSFileUtilities::kProcessNotStarted);
}

TEST(RunProcess, TheChildStartsInTheGivenFolder) {
    TempDir dir;
    std::wstring marker = dir.File(L"cwd.txt");
    ASSERT_EQ(0u, ICBSFileUtilities::RunProcess(ChildCommand(L"cwdfile \"" + marker + L"\""), true, dir.Path()));
    std::wstring reported = fw::FromCodePage(testsupport::ReadBytes(marker), CP_UTF8);
    EXPECT_TRUE(fw::EqualsNoCase(dir.Path(), reported)) << reported;
}

TEST(RunProcess, TheChildInheritsOverridesAndTheLauncherGetsItsEnvironmentBack) {
    TempDir dir;
    ::SetEnvironmentVariableW(L"ICBS_EXISTING", L"before");
    ::SetEnvironmentVariableW(L"ICBS_FRESH", nullptr);
    std::wstring existingFile = dir.File(L"existing.txt"), freshFile = dir.File(L"fresh.txt");
    ICBSFileUtilities::EnvironmentOverrides overrides = {{L"ICBS_EXISTING", L"during"}, {L"ICBS_FRESH", L"new"}};
    ASSERT_EQ(0u, ICBSFileUtilities::RunProcess(ChildCommand(L"envfile ICBS_EXISTING \"" + existingFile + L"\""),
                                                true, L"", overrides));
    ASSERT_EQ(0u, ICBSFileUtilities::RunProcess(ChildCommand(L"envfile ICBS_FRESH \"" + freshFile + L"\""), true, L"",
                                                overrides));
    EXPECT_EQ("during", testsupport::ReadBytes(existingFile));
    EXPECT_EQ("new", testsupport::ReadBytes(freshFile));
    EXPECT_EQ(L"before", icbs::EnvironmentOverride::Read(L"ICBS_EXISTING").value_or(L"<unset>"));
    EXPECT_FALSE(icbs::EnvironmentOverride::Read(L"ICBS_FRESH").has_value());
}

TEST(RunProcess, WaitTerminatesALateProcessAndClosesItsHandles) {
    std::wstring command = ChildCommand(L"sleep 30000 5");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &info));
    HANDLE observer = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), info.hProcess, ::GetCurrentProcess(), &observer, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS));
    EXPECT_EQ(1u, ICBSFileUtilities::Wait(info, 300));
    EXPECT_EQ(nullptr, info.hProcess);
    EXPECT_EQ(nullptr, info.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(observer, 0));
    ::CloseHandle(observer);

    command = ChildCommand(L"exit 42");
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &info));
    EXPECT_EQ(42u, ICBSFileUtilities::Wait(info, 30000));
}
