// One open registry key together with its textual path. Keys are opened by a
// full path that starts with a root name ("HKEY_LOCAL_MACHINE",
// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER") or below another key, read and
// written with simple typed operations, enumerated, copied, and closed by
// their owner. Every failure is silent: a key that cannot be opened is not
// open, reads of it give empty values and writes give false.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"

class RegistrySubKeyRange;
class RegistryValueNameRange;

// A value's type and a copy of its data.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class RegistryKey {
public:
    // Opens (or, with create, creates) subPath below parent. readOnly asks for
    // read access, otherwise all access. extraAccess (such as KEY_WOW64_64KEY)
    // joins the parent's own extra access bits; a registry view named here
    // replaces the parent's view.
    RegistryKey(const RegistryKey& parent, const std::wstring& subPath, bool readOnly = true, bool create = false,
                REGSAM extraAccess = 0);
    // Opens (or creates) a key by its full path; the root name compares with
    // letter case, and an unknown root leaves the key not open.
    explicit RegistryKey(const std::wstring& fullPath, bool readOnly = true, bool create = false,
                         REGSAM extraAccess = 0);
    // A root object over a predefined handle such as HKEY_CURRENT_USER; the
    // predefined handle itself is never closed.
    RegistryKey(HKEY predefinedRoot, const std::wstring& rootName);

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The process-wide root objects. They live as long as the process and,
    // being reachable only as const, are never closed.
    static const RegistryKey& LocalMachine();
    static const RegistryKey& ClassesRoot();
    static const RegistryKey& CurrentUser();
    // The root object of that exact name, or null.
    static const RegistryKey* FindRoot(const std::wstring& rootName);

    bool IsOpen() const { return static_cast<bool>(handle_); }
    HKEY Handle() const { return handle_.get(); }
    const std::wstring& Name() const { return name_; }
    const std::wstring& ParentPath() const { return parentPath_; }
    std::wstring FullPath() const;
    REGSAM ExtraAccess() const { return extraAccess_; }

    // A string or expandable string value (not expanded); empty otherwise.
    std::wstring GetString(const std::wstring& valueName) const;
    // A 32-bit number value; 0 otherwise.
    DWORD GetDword(const std::wstring& valueName) const;
    // Any value's type and data; nothing when it cannot be read.
    std::optional<RegistryValue> GetRaw(const std::wstring& valueName) const;

    bool SetString(const std::wstring& valueName, const std::wstring& text);
    bool SetDword(const std::wstring& valueName, DWORD number);
    bool SetRaw(const std::wstring& valueName, DWORD type, const void* data, DWORD size);
    bool DeleteValue(const std::wstring& valueName);

    // Deletes subPath with all its subkeys, deepest first.
    bool DeleteSubKeyTree(const std::wstring& subPath);
    // Copies every value and, recursively, every subkey into target. A target
    // that is this key or lies below it is refused.
    bool CopyTo(RegistryKey& target) const;

    // Maps a predefined root (HKEY_CURRENT_USER, ...) onto this key for the
    // whole process, and undoes that.
    bool OverridePredefined(HKEY predefinedRoot) const;
    bool RestorePredefined(HKEY predefinedRoot) const;

    // The subkeys, each opened below this key as a new object (not created,
    // same extra access); the variant yields only subkeys whose last-write
    // time is not earlier than notBefore.
    RegistrySubKeyRange SubKeys(bool readOnly = true) const;
    RegistrySubKeyRange SubKeysWrittenSince(const FILETIME& notBefore, bool readOnly = true) const;
    // The names of the key's values.
    RegistryValueNameRange ValueNames() const;

    // Closes the handle (a predefined root handle stays as it is), leaves the
    // key not open and clears its parent path.
    void Close();

private:
    void OpenBelow(const RegistryKey& parent, const std::wstring& subPath, bool readOnly, bool create,
                   REGSAM extraAccess);

    std::wstring name_;
    std::wstring parentPath_;
    fw::RegKeyHandle handle_;
    REGSAM extraAccess_ = 0;
};

#include "icbs/RegistryKeyRanges.h"
