// What the product operations ask of the run's steps (engine/RunChoices.h):
// the mode of the run, the configuration steps' property texts, the command
// line's items they left, and where the result goes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/PageTable.h"
#include "engine/RunMode.h"

class OperationMode {
public:
    // The maintenance the run names (engine/RunMode.h); changes when the
    // main product is installed during the run.
    virtual RunMode Maintenance() const = 0;
    bool IsRepair() const { return Maintenance() == RunMode::Repair; }
    bool IsUninstall() const { return Maintenance() == RunMode::Uninstall; }
    bool IsModify() const { return Maintenance() == RunMode::Modify; }
    bool IsFreshInstall() const { return Maintenance() == RunMode::Install; }
    virtual const WizardFlags& Flags() const = 0;
    virtual const std::wstring& BackupProperties() const = 0;
    virtual const std::wstring& ServiceProperties() const = 0;
    virtual const std::wstring& ClusterProperties() const = 0;
    // The command line's property items, without those a configuration
    // step set itself.
    virtual std::vector<std::wstring> CommandLineItems() const = 0;
    // Records the run's Windows Installer result as the outcome.
    virtual void SetResult(DWORD result) = 0;

protected:
    ~OperationMode() = default;
};
