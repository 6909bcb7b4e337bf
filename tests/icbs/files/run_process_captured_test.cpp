// Shows RunProcessCaptured with real child processes: input written to the
// child, output and error collected (UTF-8, large amounts, the last bytes
// before the end), overrides inherited, a cancel that leaves the child
// running, and the Windows error of a failed start.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "icbs/EnvironmentOverride.h"
#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using filetest::ChildCommand;

TEST(RunProcessCaptured, InputReachesTheChildAndOutputAndErrorComeBack) {
    std::wstring out = L"kept:", err;
    std::wstring input = L"line one\r\nZ\u00fcrich \u65e5\u672c";
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD code = ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"echo"), input, out, err, {}, nullptr, &handle);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(L"kept:got:" + input, out);
    EXPECT_EQ(L"problem", err);  // blanks and tabs at both ends removed
    EXPECT_EQ(nullptr, handle);
}

TEST(RunProcessCaptured, WithoutInputTheChildSeesItsInputClosed) {
    std::wstring out, err;
    EXPECT_EQ(7u, ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"echo"), L"", out, err));
    EXPECT_EQ(L"got:", out);
}

TEST(RunProcessCaptured, LargeOutputWrittenJustBeforeTheEndArrivesWhole) {
    const unsigned long bytes = 1000003;
    std::wstring out, err;
    ASSERT_EQ(0u, ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"flood " + std::to_wstring(bytes)), L"", out,
                                                        err));
    ASSERT_EQ(static_cast<size_t>(bytes), out.size());
    for (size_t i = 0; i < out.size(); ++i) {
        wchar_t expected = static_cast<wchar_t>(L'a' + (i % 4096) % 26);
        if (out[i] != expected) FAIL() << "first difference at " << i;
    }
    EXPECT_EQ(L"", err);
}

TEST(RunProcessCaptured, ACharacterSplitBetweenTwoReadsIsDecodedWhole) {
    std::wstring out, err;
    ASSERT_EQ(0u, ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"slowutf8"), L"", out, err));
    EXPECT_EQ(L"Gr\u00fc\u00dfe \u65e5\u672c", out);
}

TEST(RunProcessCaptured, TheChildSeesTheOverridesAndTheFullExitCode) {
    std::wstring out, err;
    ::SetEnvironmentVariableW(L"ICBS_CAPTURED", nullptr);
    ASSERT_EQ(0u, ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"env ICBS_CAPTURED"), L"", out, err,
                                                        {{L"ICBS_CAPTURED", L"v\u00e4lue"}}));
    EXPECT_EQ(L"v\u00e4lue", out);
    EXPECT_FALSE(icbs::EnvironmentOverride::Read(L"ICBS_CAPTURED").has_value());
    out.clear();
    EXPECT_EQ(0xC0000135u, ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"exit 0xC0000135"), L"", out, err));
}

TEST(RunProcessCaptured, ACancelReturns259AndLeavesTheChildRunning) {
    std::atomic<bool> cancel{false};
    HANDLE handle = nullptr;
    HANDLE observer = nullptr;
    std::thread canceller([&] {
        // Takes its own handle to the child while the call holds it out.
        for (int i = 0; i < 200 && !observer; ++i) {
            HANDLE current = *static_cast<volatile HANDLE*>(&handle);
            if (current)
                ::DuplicateHandle(::GetCurrentProcess(), current, ::GetCurrentProcess(), &observer, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS);
            ::Sleep(10);
        }
        ::Sleep(300);
        cancel = true;
    });
    std::wstring out, err;
    DWORD start = ::GetTickCount();
    DWORD code = ICBSFileUtilities::RunProcessCaptured(ChildCommand(L"sleep 30000"), L"", out, err, {}, &cancel,
                                                       &handle);
    DWORD elapsed = ::GetTickCount() - start;
    canceller.join();
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), code);
    EXPECT_LT(elapsed, 10000u);
    EXPECT_EQ(nullptr, handle);
    ASSERT_NE(nullptr, observer);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(observer, 0));
    ::TerminateProcess(observer, 0);
    ::CloseHandle(observer);
}

TEST(RunProcessCaptured, AFailedStartAnswersTheWindowsError) {
    testsupport::TempDir dir;
    std::wstring command = L"\"" + dir.File(L"missing.exe") + L"\"";
    // The error CreateProcessW itself gives for this command.
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring text = command;
    ASSERT_FALSE(::CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    DWORD expected = ::GetLastError();
    std::wstring out, err;
    EXPECT_EQ(expected, ICBSFileUtilities::RunProcessCaptured(command, L"", out, err));
}
