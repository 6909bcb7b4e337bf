// The work of an operation over the catalogue's packages as data: which
// package gets which installer call, in which order, and what a failure
// does (go on, stop, or roll back what the run did). Made by the planner
// from the packages' facts, carried out by the applier.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/RunMode.h"

// What the planner knows of a package when the operation starts.
struct PlanFacts {
    bool selected = false;
    bool isMain = false;
    bool installed = false;  // installed here, by this installer's package
};

enum class CallKind {
    Install,    // a new installation (or one over an installed product)
    Modify,     // a change of an installed product
    Reinstall,  // a repair
    Uninstall,  // a removal
    Extract,    // the package's database copied out
};

struct PlannedCall {
    size_t package = 0;
    CallKind kind = CallKind::Install;
    // Asked just before the call: a package no longer installed then is
    // skipped (a removal).
    bool onlyIfInstalled = false;
    // The uninstall entry is handed back to Windows Installer before the
    // call (a sub-package's removal).
    bool prepareEntry = false;
    // The run adds a sub-package: the installer asks for the agreement
    // (a modification).
    bool agreement = false;
};

enum class OnFailure {
    GoOn,              // every call is made; the first failure is the result
    StopOnUserExit,    // as GoOn, but the user's cancel ends the run at once
    RollBackInstalls,  // stop; what this run installed is removed again, nearest first
    RollBackRemovals,  // stop; what this run removed is installed again, in catalogue order
};

struct OperationPlan {
    RunMode operation = RunMode::Install;
    // Nothing selected is installed (or the selected main package is not):
    // no call is made and the run ends as "not installed".
    bool notInstalled = false;
    std::vector<PlannedCall> calls;
    OnFailure onFailure = OnFailure::GoOn;
};

// The plan of an operation for the catalogue's packages, in catalogue order.
OperationPlan PlanOperation(RunMode operation, const std::vector<PlanFacts>& packages);
