#include "icbs/EnvironmentOverride.h"

#include <windows.h>

namespace icbs {

std::optional<std::wstring> EnvironmentOverride::Read(const std::wstring& name) {
    std::wstring value(64, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        ::SetLastError(ERROR_SUCCESS);
        DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::wstring();
        }
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.assign(length, L'\0');
    }
    return std::nullopt;
}

EnvironmentOverride::EnvironmentOverride(const Assignments& assignments) {
    for (const auto& [name, value] : assignments) {
        saved_.emplace_back(name, Read(name));
        ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
}

EnvironmentOverride::~EnvironmentOverride() {
    // Backwards, so a variable named twice ends with its first earlier value.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        ::SetEnvironmentVariableW(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
}

}  // namespace icbs
