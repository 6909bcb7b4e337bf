// The welcome page's check for catalogue products that a different installer
// put on this machine: it logs each one, asks the user when the run has one,
// removes them through their registered install source and brings what the
// wizard knows about the machine up to date.
#pragma once

#include <windows.h>

#include "engine/ForeignRemovalPlan.h"

class WizardSession;
class RunChoices;
class SessionObserver;

enum class ForeignCheckResult {
    Proceed,        // nothing foreign, or all that was to go is gone
    Declined,       // the user cancelled the removal
    RemovalFailed,  // a removal failed; its result is the run's outcome
};

class ForeignInstallations {
public:
    // observer: who answers the question (the full wizard; below the full
    // level nobody is asked).
    ForeignInstallations(WizardSession& session, RunChoices& choices, SessionObserver& observer)
        : session_(session), choices_(choices), observer_(observer) {}

    ForeignCheckResult Check();
    // The result of the first removal that failed; 0 when none failed.
    UINT FirstFailure() const { return firstFailure_; }

private:
    ForeignFacts Facts() const;
    void LogFound() const;
    ForeignAnswer Ask(ForeignQuestion question) const;
    // Below the full wizard, a newer installation is not replaced by this
    // installer's older package unless the command line allows it: logs
    // each such package; true when there is one.
    bool RefusesDowngrade(const ForeignRemovalPlan& plan) const;
    void Remove(const ForeignRemovalPlan& plan);
    void RecordFailure() const;

    WizardSession& session_;
    RunChoices& choices_;
    SessionObserver& observer_;
    UINT firstFailure_ = 0;
};
