// The run's outcome and every rule about which outcome wins: a damaged
// catalogue outranks everything, a restart that Windows Installer asked for
// survives later plain successes, 1641 outranks 3010, and a failure reported
// once is not reported again. Plain data: the caller logs and shows what the
// recorder tells it to.
#pragma once

#include <windows.h>

#include <string>

#include "engine/Outcome.h"

class OutcomeRecorder {
public:
    // A step's outcome. Plain success (0) never replaces a recorded restart,
    // and nothing replaces the outcome of a damaged catalogue.
    void Set(DWORD code, DWORD systemError = 0);
    // A success that asks for a restart (3010 or 1641): the exit code,
    // without an error report; 1641 outranks 3010. True when it was
    // recorded (the caller logs RestartLine).
    bool RecordRestart(DWORD code);
    // The result of a Windows Installer call that the run ends on: a
    // failure is recorded with its outcome code (outcome::ForInstallerResult)
    // and stays the exit code unchanged; a restart is recorded as one; 0
    // changes nothing. True when a restart was recorded.
    bool SetInstallerResult(DWORD result);
    // A required catalogue string was missing: the run is a corrupted
    // installer, already reported, whatever comes later.
    void MarkCatalogueDamaged();
    bool CatalogueDamaged() const { return catalogueDamaged_; }
    // An internal error: a failure unless the run has already failed.
    void FailUnlessFailed();
    // Windows Installer or a box of ours has shown the failure.
    void MarkReported() { outcome_.reported = true; }
    // A failure is recorded that nobody has reported yet.
    bool ReportDue() const { return outcome_.code != 0 && !outcome_.reported; }

    const SetupOutcome& Outcome() const { return outcome_; }

private:
    SetupOutcome outcome_;
    bool catalogueDamaged_ = false;
};

namespace outcome {
// The log line of a recorded restart.
std::wstring RestartLine(DWORD code);
}  // namespace outcome
