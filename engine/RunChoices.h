// What the steps of one run decide and leave for the installer calls,
// outside any window: the run's mode (which follows the main product's
// installed state), the configuration steps' property texts, the command
// line's items those steps took over, and where an installer result goes.
// The wizard's pages and the quiet run's steps share one; the steps never
// edit the command line itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/OperationMode.h"
#include "engine/PageTable.h"

class CSetupAppCommandLineInfo;

class RunChoices : public OperationMode {
public:
    // request: the run's command line; flags: what the catalogue's packages
    // make of the page table; recordResult: where an installer result goes
    // (the run's outcome).
    RunChoices(const CSetupAppCommandLineInfo& request, const WizardFlags& flags, size_t packageCount,
               std::function<void(DWORD)> recordResult);

    RunMode Maintenance() const override;
    // Whether the main product is installed; set again when a removal or an
    // install during the run changes it.
    void SetMainInstalled(bool installed) { mainInstalled_ = installed; }
    const WizardFlags& Flags() const override { return flags_; }
    const std::wstring& BackupProperties() const override { return backupProperties; }
    const std::wstring& ServiceProperties() const override { return serviceProperties; }
    const std::wstring& ClusterProperties() const override { return clusterProperties; }
    void SetResult(DWORD errorCode) override;

    // The steps' page table for this run.
    std::vector<PageKind> Steps() const;

    // A configuration step sets these properties itself: from now on the
    // command line's items of these names (in any letters) are neither
    // applied again nor passed to the installer.
    void TakeOverItems(const std::vector<std::wstring>& names);
    // The command line's property items the steps have not taken over.
    std::vector<std::wstring> CommandLineItems() const override;

    // Property texts the configuration steps leave for the installer calls.
    std::wstring backupProperties;
    std::wstring serviceProperties;
    std::wstring clusterProperties;

private:
    const CSetupAppCommandLineInfo& request_;
    WizardFlags flags_;
    size_t packageCount_;
    std::function<void(DWORD)> recordResult_;
    std::vector<std::wstring> takenOver_;
    bool mainInstalled_ = false;
};
