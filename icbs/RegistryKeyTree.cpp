// Deleting whole subkey trees, and mapping predefined roots onto a key.
#include "icbs/RegistryKey.h"

#include <vector>

namespace {

constexpr REGSAM kViewBits = KEY_WOW64_64KEY | KEY_WOW64_32KEY;

std::vector<std::wstring> SubKeyNames(HKEY key) {
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

// Deletes subPath below parent after all of its subkeys, in the registry
// view named by extraAccess.
bool DeleteTree(HKEY parent, const std::wstring& subPath, REGSAM extraAccess) {
    fw::RegKeyHandle key;
    if (::RegOpenKeyExW(parent, subPath.c_str(), 0, KEY_READ | DELETE | extraAccess, key.put()) != ERROR_SUCCESS)
        return false;
    // The names are taken first: deleting while enumerating would shift the
    // indexes, and a subkey that cannot be deleted must not be met again.
    for (const std::wstring& name : SubKeyNames(key.get())) {
        if (!DeleteTree(key.get(), name, extraAccess)) return false;
    }
    key.reset();
    return ::RegDeleteKeyExW(parent, subPath.c_str(), extraAccess & kViewBits, 0) == ERROR_SUCCESS;
}

}  // namespace

bool RegistryKey::DeleteSubKeyTree(const std::wstring& subPath) {
    // An empty sub-path would name this key itself, which stays.
    if (!IsOpen() || subPath.empty()) return false;
    return DeleteTree(Handle(), subPath, extraAccess_);
}

bool RegistryKey::OverridePredefined(HKEY predefinedRoot) const {
    if (!IsOpen()) return false;
    return ::RegOverridePredefKey(predefinedRoot, Handle()) == ERROR_SUCCESS;
}

bool RegistryKey::RestorePredefined(HKEY predefinedRoot) const {
    if (!IsOpen()) return false;
    return ::RegOverridePredefKey(predefinedRoot, nullptr) == ERROR_SUCCESS;
}
