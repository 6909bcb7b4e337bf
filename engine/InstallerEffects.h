// Everything the applier does to the machine and the log while it carries a
// plan out, behind one interface: the launcher's own makes the Windows
// Installer calls, a test's records them and answers with the results it
// is given.
#pragma once

#include <windows.h>

#include <cstddef>

#include "engine/OperationPlan.h"

class InstallerEffects {
public:
    virtual ~InstallerEffects() = default;
    // Whether the package is installed here now (asked at the points where
    // the run depends on it, not taken from the detection).
    virtual bool IsInstalled(size_t package) = 0;
    // Hands the uninstall entry back to Windows Installer before a removal.
    virtual void PrepareEntry(size_t package) = 0;
    // The call itself, with its log line before it; the installer's result
    // (or the system's error of a copy).
    virtual DWORD Call(const PlannedCall& call) = 0;
    // A removal succeeded: the package no longer counts as installed.
    virtual void Removed(size_t package) = 0;
    // Logs a failed call's result.
    virtual void Failed(DWORD result) = 0;
    // Undoes one call of this run (its log line first): removes what was
    // installed, installs again what was removed.
    virtual void RollBack(size_t package, CallKind undone) = 0;
};
