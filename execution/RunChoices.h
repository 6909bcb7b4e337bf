// What the steps of one run decide and leave for the installer calls,
// outside any window: the run's mode (which follows the main product's
// installed state), the configuration steps' property texts, and where an
// installer result goes. The wizard's pages and the quiet run's steps share
// one.
#pragma once

#include <string>

#include "catalogue/SetupPackage.h"
#include "execution/OperationMode.h"

class RunSession;

class RunChoices : public OperationMode {
public:
    explicit RunChoices(RunSession& session);

    RunMode Maintenance() const override;
    // The main product's installed state is read again (a removal or an
    // install during the run changes it).
    void RefreshInstalledState();
    const WizardFlags& Flags() const override { return flags_; }
    const std::wstring& BackupProperties() const override { return backupProperties; }
    const std::wstring& ServiceProperties() const override { return serviceProperties; }
    const std::wstring& ClusterProperties() const override { return clusterProperties; }
    void SetResult(DWORD errorCode) override;

    // The steps' page table for this run.
    std::vector<PageKind> Steps() const;

    // Property texts the configuration steps leave for the installer calls.
    std::wstring backupProperties;
    std::wstring serviceProperties;
    std::wstring clusterProperties;

private:
    RunSession& session_;
    WizardFlags flags_;
    bool mainInstalled_ = false;
};
