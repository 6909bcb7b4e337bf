// Shows that an exception stopped at a barrier ends the run as a failure:
// the log names the place and the exception, the outcome is a failure that
// no later success replaces, and the main thread's loops are told to end.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/InternalError.h"
#include "launcher/SetupApp.h"
#include "tests/support/TestSupport.h"

namespace {

void ThrowAndStop(const wchar_t* place) {
    try {
        throw std::runtime_error("the test's exception");
    } catch (...) {
        fw::ReportInternalError(place);
    }
}

}  // namespace

TEST(InternalError, IsLoggedAndEndsTheRunWithAFailure) {
    testsupport::TempDir dir;
    std::wstring log = dir.File(L"setup.log");
    MSG stale;
    while (::PeekMessageW(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    int exitCode = -1;
    {
        CSetupApp app(L"setup.exe /qn /L*v \"" + log + L"\"");
        ThrowAndStop(L"a test barrier");
        EXPECT_TRUE(app.HadInternalError());
        EXPECT_EQ(app.Outcome().code, outcome::kFailed);
        // The modal loops of the main thread end at the posted quit.
        MSG quit;
        ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(quit.wParam, static_cast<WPARAM>(outcome::kFailed));
        // A later step that records a success does not make the run one.
        app.SetOutcome(0);
        exitCode = app.ExitInstance();
    }
    EXPECT_EQ(exitCode, static_cast<int>(outcome::kFailed));
    std::wstring text = testsupport::ReadUtf16(log);
    EXPECT_TRUE(testsupport::Contains(text, L"ZEL (c): Internal error in a test barrier: the test's exception\r\n"))
        << text.c_str();
}

TEST(InternalError, AnEarlierFailureIsKept) {
    CSetupApp app(L"setup.exe /qn");
    app.SetOutcome(outcome::kDiskFull);
    ThrowAndStop(L"another barrier");
    EXPECT_EQ(app.Outcome().code, outcome::kDiskFull);
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
