// The machine's answers for the run's decisions, from Windows Installer.
#pragma once

#include "engine/MachineQueries.h"

class InstallerQueries : public MachineQueries {
public:
    bool IsProductRegistered(const std::wstring& productCode) const override;
    std::optional<std::wstring> RegisteredPackageCode(const std::wstring& productCode) const override;
};
