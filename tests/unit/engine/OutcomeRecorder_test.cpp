// Which outcome a run ends with when its steps report one after the other:
// restarts against later successes and failures, the stronger restart, a
// damaged catalogue against everything, installer results against the
// launcher's own codes.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/OutcomeRecorder.h"

namespace {

using Step = std::function<void(OutcomeRecorder&)>;
Step Set(DWORD code) { return [code](OutcomeRecorder& r) { r.Set(code); }; }
Step Installer(DWORD result) { return [result](OutcomeRecorder& r) { r.SetInstallerResult(result); }; }
Step Restart(DWORD code) { return [code](OutcomeRecorder& r) { r.RecordRestart(code); }; }
Step Damaged() { return [](OutcomeRecorder& r) { r.MarkCatalogueDamaged(); }; }
Step InternalError() { return [](OutcomeRecorder& r) { r.FailUnlessFailed(); }; }

struct Case {
    const char* name;
    std::vector<Step> steps;
    DWORD exitCode;
    bool reportDue;
};

}  // namespace

TEST(OutcomeRecorder, TheOutcomeThatWinsAfterEachSequenceOfSteps) {
    const Case cases[] = {
        {"nothing happened", {}, 0, false},
        {"a plain success after a restart keeps the restart", {Installer(3010), Set(0)}, 3010, false},
        {"a later failure replaces a restart", {Installer(3010), Installer(1603)}, 1603, true},
        {"1641 outranks a later 3010", {Installer(1641), Installer(3010)}, 1641, false},
        {"3010 gives way to a later 1641", {Installer(3010), Restart(1641)}, 1641, false},
        {"a user exit is the installer's result", {Installer(1602)}, 1602, true},
        {"the launcher's own cancel is its code", {Set(outcome::kCancelled)}, 3, true},
        {"an installer success changes nothing", {Set(outcome::kDiskFull), Installer(0)}, 11, true},
        {"a launcher failure after an installer failure replaces it", {Installer(1603), Set(outcome::kNoMsiFile)}, 9,
         true},
        {"a damaged catalogue outranks everything later",
         {Damaged(), Installer(1603), Restart(3010), Set(0), Set(outcome::kDiskFull)}, 1, false},
        {"a damaged catalogue replaces what came before", {Installer(1603), Damaged()}, 1, false},
        {"an internal error fails a success", {InternalError()}, 2, true},
        {"an internal error fails a restart", {Installer(3010), InternalError()}, 2, true},
        {"an internal error keeps an earlier failure", {Installer(1620), InternalError()}, 1620, true},
    };
    for (const Case& c : cases) {
        OutcomeRecorder recorder;
        for (const Step& step : c.steps) step(recorder);
        EXPECT_EQ(outcome::ExitCode(recorder.Outcome()), c.exitCode) << c.name;
        EXPECT_EQ(recorder.ReportDue(), c.reportDue) << c.name;
    }
}

TEST(OutcomeRecorder, ARecordedRestartIsLoggedOnceAndAReportOnce) {
    OutcomeRecorder recorder;
    EXPECT_TRUE(recorder.SetInstallerResult(3010));
    EXPECT_TRUE(recorder.SetInstallerResult(1641));
    EXPECT_FALSE(recorder.SetInstallerResult(3010)) << "the weaker restart is not recorded";
    EXPECT_EQ(outcome::RestartLine(1641), L"ZEL (c): Windows Installer succeeded and started a restart (1641).\r\n");
    EXPECT_EQ(outcome::RestartLine(3010), L"ZEL (c): Windows Installer succeeded; a restart is required (3010).\r\n");

    recorder.SetInstallerResult(1603);
    EXPECT_TRUE(recorder.ReportDue());
    EXPECT_EQ(recorder.Outcome().code, outcome::kFailed);
    EXPECT_EQ(recorder.Outcome().systemError, 1603u);
    recorder.MarkReported();
    EXPECT_FALSE(recorder.ReportDue());
    EXPECT_EQ(outcome::ExitCode(recorder.Outcome()), 1603u);
}
