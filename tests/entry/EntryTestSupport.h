// Shared by the uninstall entry tests: the bundle fixtures installed by
// Wine's Windows Installer in the test's own prefix, and the registry read
// straight through the Windows functions, independently of the code under
// test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "framework/Handles.h"
#include "framework/SystemApi.h"
#include "tests/support/TestSupport.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace entrytest {

inline std::wstring FixturePath(const std::wstring& name) { return testsupport::FixtureDir() + L"\\" + name + L".msi"; }

// A property of a fixture database, read from the database itself.
inline std::wstring FixtureProperty(const std::wstring& name, const std::wstring& property) {
    return msitest::PropertyOf(FixturePath(name), property);
}

// Installs the fixture without any user interface; the installer's result.
inline UINT Install(const std::wstring& msiPath, const std::wstring& properties = std::wstring()) {
    fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    return fw::Msi().MsiInstallProductW(msiPath.c_str(), properties.c_str());
}

inline std::wstring UninstallKeyPath(const std::wstring& productCode) {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
}

inline bool KeyExists(const std::wstring& path, REGSAM view) {
    fw::RegKeyHandle key;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}

// The type of a value; REG_NONE when the key or the value is missing.
inline DWORD ValueType(const std::wstring& path, REGSAM view, const std::wstring& name) {
    fw::RegKeyHandle key;
    DWORD type = REG_NONE;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS ||
        ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

// A string value (plain or expandable, not expanded); nothing when the key
// or the value is missing or the value is not a string.
inline std::optional<std::wstring> StringValue(const std::wstring& path, REGSAM view, const std::wstring& name) {
    fw::RegKeyHandle key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

inline std::optional<DWORD> DwordValue(const std::wstring& path, REGSAM view, const std::wstring& name) {
    fw::RegKeyHandle key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

// What Windows Installer reports for an installed product.
inline std::wstring ProductInfo(const std::wstring& productCode, const wchar_t* property) {
    wchar_t buffer[1024] = {};
    DWORD size = 1024;
    if (fw::Msi().MsiGetProductInfoW(productCode.c_str(), property, buffer, &size) != ERROR_SUCCESS) return L"<none>";
    return std::wstring(buffer, size);
}

}  // namespace entrytest
