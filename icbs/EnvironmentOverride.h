// Variables set in the launcher's own environment for as long as this object
// lives (a child process started meanwhile inherits them); afterwards every
// variable has its earlier value again, and one that did not exist is removed.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace icbs {

class EnvironmentOverride {
public:
    using Assignments = std::vector<std::pair<std::wstring, std::wstring>>;

    explicit EnvironmentOverride(const Assignments& assignments);
    ~EnvironmentOverride();
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

    // The variable's value; nullopt when it does not exist.
    static std::optional<std::wstring> Read(const std::wstring& name);

private:
    // (name, earlier value), in the order they were set.
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

}  // namespace icbs
