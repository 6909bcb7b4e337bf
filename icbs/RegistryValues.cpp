// Typed reads and writes of the values of an open registry key.
#include "icbs/RegistryKey.h"

#include <cstring>
#include <cwchar>

namespace {

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Reads a value of any type. The size is asked first; when the value grows
// between the two calls the read is repeated with the new size. extraBytes
// are added (zero-filled) behind the data, so that text always ends with a
// terminating zero even when the stored data lacks it.
std::optional<RegistryValue> ReadValue(HKEY key, const std::wstring& valueName, DWORD extraBytes) {
    const wchar_t* name = valueName.c_str();
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    for (int attempt = 0; attempt < 4; ++attempt) {
        value.data.assign(static_cast<size_t>(size) + extraBytes + (size % 2), 0);
        DWORD readSize = size;
        LSTATUS status = ::RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &readSize);
        if (status == ERROR_SUCCESS) {
            value.data.resize(readSize);
            return value;
        }
        if (status != ERROR_MORE_DATA) return std::nullopt;
        size = readSize;
    }
    return std::nullopt;
}

}  // namespace

std::wstring RegistryKey::GetString(const std::wstring& valueName) const {
    if (!IsOpen()) return std::wstring();
    std::optional<RegistryValue> value = ReadValue(Handle(), valueName, sizeof(wchar_t));
    if (!value || !IsStringType(value->type)) return std::wstring();
    // Whole characters only (half of one from an odd size is dropped); the
    // text ends at the first zero, or at the end of data stored without one.
    size_t characters = value->data.size() / sizeof(wchar_t);
    std::wstring text(characters, L'\0');
    if (characters) std::memcpy(text.data(), value->data.data(), characters * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

DWORD RegistryKey::GetDword(const std::wstring& valueName) const {
    if (!IsOpen()) return 0;
    DWORD type = REG_NONE;
    DWORD number = 0;
    DWORD size = sizeof(number);
    LSTATUS status =
        ::RegQueryValueExW(Handle(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(number)) return 0;
    return number;
}

std::optional<RegistryValue> RegistryKey::GetRaw(const std::wstring& valueName) const {
    if (!IsOpen()) return std::nullopt;
    return ReadValue(Handle(), valueName, 0);
}

bool RegistryKey::SetString(const std::wstring& valueName, const std::wstring& text) {
    DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return SetRaw(valueName, REG_SZ, text.c_str(), size);
}

bool RegistryKey::SetDword(const std::wstring& valueName, DWORD number) {
    return SetRaw(valueName, REG_DWORD, &number, sizeof(number));
}

bool RegistryKey::SetRaw(const std::wstring& valueName, DWORD type, const void* data, DWORD size) {
    if (!IsOpen()) return false;
    return ::RegSetValueExW(Handle(), valueName.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::wstring& valueName) {
    if (!IsOpen()) return false;
    return ::RegDeleteValueW(Handle(), valueName.c_str()) == ERROR_SUCCESS;
}
