// What the product operations ask of the wizard: the mode of the run, the
// configuration pages' property texts, and where the result goes.
#pragma once

#include <windows.h>

#include <string>

#include "wizard/PageTable.h"

class OperationMode {
public:
    virtual bool IsRepair() const = 0;
    virtual bool IsUninstall() const = 0;
    virtual bool IsModify() const = 0;
    virtual const WizardFlags& Flags() const = 0;
    virtual const std::wstring& BackupProperties() const = 0;
    virtual const std::wstring& ServiceProperties() const = 0;
    virtual const std::wstring& ClusterProperties() const = 0;
    // Records the run's Windows Installer result as the outcome.
    virtual void SetResult(DWORD result) = 0;

protected:
    ~OperationMode() = default;
};
