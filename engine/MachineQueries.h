// The machine's answers that the run's decisions rest on, behind one
// interface: the launcher's own is over Windows Installer, a test's is a
// table of facts.
#pragma once

#include <optional>
#include <string>

class MachineQueries {
public:
    virtual ~MachineQueries() = default;
    // Windows Installer has the product code registered (by any package).
    virtual bool IsProductRegistered(const std::wstring& productCode) const = 0;
    // The package code of the registered product; nothing when unknown.
    virtual std::optional<std::wstring> RegisteredPackageCode(const std::wstring& productCode) const = 0;
};
