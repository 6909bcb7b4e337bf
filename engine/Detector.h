// Detection: a package's state on this machine, from its catalogue record,
// the run's context and the machine's answers. The only place where the
// answers become a package's state.
#pragma once

#include "engine/MachineQueries.h"
#include "engine/PackageRecord.h"
#include "engine/PackageState.h"

// The default of a package's selected flag: /u takes every package, /f and
// /x the installed ones, a run without them the main package and, for a
// sub-package, in a maintenance run (main installed) the installed ones, in
// a fresh one those not yet installed.
bool DefaultSelection(const DetectionContext& context, bool isMain, bool isInstalled);

class Detector {
public:
    explicit Detector(const MachineQueries& machine) : machine_(machine) {}
    PackageState Detect(const PackageRecord& record, const DetectionContext& context) const;

private:
    const MachineQueries& machine_;
};
