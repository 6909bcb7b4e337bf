#include "icbs/OpenEntry.h"

#include <winternl.h>
#include <aclapi.h>

#include <vector>

#include "framework/Text.h"
#include "icbs/LongPath.h"
#include "icbs/SecurityDescriptor.h"

namespace icbs {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// NtCreateFile's create options: open the link itself, a folder too, and
// wait for each call.
constexpr ULONG kOpenReparsePoint = 0x00200000;
constexpr ULONG kOpenForBackupIntent = 0x00004000;
constexpr ULONG kSynchronousIo = 0x00000020;
constexpr ULONG kFileOpen = 1;

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                        ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(NTSTATUS);

// ntdll is part of every process from its first instruction: it is looked
// up, never loaded.
template <class F>
F NtdllFunction(const char* name) {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(ntdll, name))) : nullptr;
}

std::wstring WithoutExtendedPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

std::wstring Child(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
    return folder + L"\\" + name;
}

// The final path an entry opened by its full path should have: that of its
// folder as the system reports it, and its own name.
std::wstring ExpectedFinalPath(const std::wstring& path) {
    std::wstring full = WithoutExtendedPrefix(FullPathOf(path));
    size_t separator = full.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator + 1 == full.size()) return std::wstring();
    fw::FileHandle folder(::CreateFileW(ApiPath(full.substr(0, separator + 1), kMaxPlainFolderPath).c_str(),
                                        FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return std::wstring();
    std::wstring folderPath = FinalPathOf(folder.get());
    return folderPath.empty() ? std::wstring() : Child(folderPath, full.substr(separator + 1));
}

bool ClearReadOnly(HANDLE entry) {
    FILE_BASIC_INFO basic = {};
    if (!::GetFileInformationByHandleEx(entry, FileBasicInfo, &basic, sizeof(basic))) return false;
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) return true;
    basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(entry, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

bool ApplySecurity(HANDLE entry, PSECURITY_DESCRIPTOR descriptor) {
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present ||
        !::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !owner ||
        !::GetSecurityDescriptorControl(descriptor, &control, &revision))
        return false;
    SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                 ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                : UNPROTECTED_DACL_SECURITY_INFORMATION);
    DWORD result = SecuritySetter()(entry, parts, owner, dacl);
    ::SetLastError(result);
    return result == ERROR_SUCCESS;
}

DWORD SetSecurityOfHandle(HANDLE entry, SECURITY_INFORMATION parts, PSID owner, PACL dacl) {
    return ::SetSecurityInfo(entry, SE_FILE_OBJECT, parts, owner, nullptr, dacl, nullptr);
}

}  // namespace

SetSecurityFn& SecuritySetter() {
    static SetSecurityFn setter = SetSecurityOfHandle;
    return setter;
}

std::wstring FinalPathOf(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return WithoutExtendedPrefix(std::wstring(buffer.data(), length));
        buffer.resize(length + 1);
    }
    return std::wstring();
}

fw::FileHandle OpenNoFollow(const std::wstring& path, DWORD access) {
    return fw::FileHandle(::CreateFileW(ApiPath(path).c_str(), access | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

fw::FileHandle OpenChild(HANDLE parent, const std::wstring& name, DWORD access) {
    static const NtCreateFileFn create = NtdllFunction<NtCreateFileFn>("NtCreateFile");
    static const RtlNtStatusToDosErrorFn toError = NtdllFunction<RtlNtStatusToDosErrorFn>("RtlNtStatusToDosError");
    if (!create || name.empty() || name.size() > 32767 || name.find_first_of(L"\\/") != std::wstring::npos) {
        ::SetLastError(ERROR_INVALID_NAME);
        return fw::FileHandle();
    }
    std::wstring buffer = name;
    UNICODE_STRING unicodeName;
    unicodeName.Buffer = buffer.data();
    unicodeName.Length = static_cast<USHORT>(buffer.size() * sizeof(wchar_t));
    unicodeName.MaximumLength = unicodeName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicodeName, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK io = {};
    HANDLE handle = nullptr;
    NTSTATUS status = create(&handle, access | FILE_READ_ATTRIBUTES | SYNCHRONIZE, &attributes, &io, nullptr, 0, kShareAll, kFileOpen,
                             kOpenReparsePoint | kOpenForBackupIntent | kSynchronousIo, nullptr, 0);
    if (status < 0) {
        ::SetLastError(toError ? toError(status) : ERROR_ACCESS_DENIED);
        return fw::FileHandle();
    }
    return fw::FileHandle(handle);
}

bool ReadFacts(HANDLE entry, HANDLE parent, const std::wstring& name, EntryFacts& facts) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(entry, &info)) return false;
    facts.attributes = info.dwFileAttributes;
    facts.links = info.nNumberOfLinks;
    // Where the system followed a link although it was asked not to (Wine
    // does, for its links), the handle names another place than the one
    // asked for. Windows opens the link itself, whose attributes tell; where
    // a system cannot name a handle (Wine, past the classic path length),
    // those attributes are all there is.
    std::wstring expected = parent ? FinalPathOf(parent) : ExpectedFinalPath(name);
    if (parent && !expected.empty()) expected = Child(expected, name);
    std::wstring found = FinalPathOf(entry);
    facts.elsewhere = !expected.empty() && !found.empty() && !fw::EqualsNoCase(found, expected);
    return true;
}

bool IsPlainFile(const std::wstring& path) {
    fw::FileHandle file = OpenNoFollow(path, FILE_READ_ATTRIBUTES);
    EntryFacts facts;
    return file && ReadFacts(file.get(), nullptr, path, facts) && !facts.IsFolder() && !facts.IsLink();
}

bool ForEachChild(HANDLE folder, const std::function<bool(const std::wstring& name, DWORD attributes)>& visit) {
    std::vector<unsigned char> buffer(64 * 1024);
    // The classes of Windows Vista and later (the "full" ones need Windows 8).
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(folder, kind, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        kind = FileIdBothDirectoryInfo;
        size_t offset = 0;
        while (true) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + offset);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L".." && !visit(name, entry->FileAttributes)) return true;
            if (entry->NextEntryOffset == 0) break;
            offset += entry->NextEntryOffset;
        }
    }
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

bool DeleteOpen(HANDLE entry) {
    ClearReadOnly(entry);
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

namespace {
// Removes what entry has open (name inside parent, or the full path name
// with no parent); a missing one counts as removed.
bool RemoveOpened(fw::FileHandle entry, HANDLE parent, const std::wstring& name) {
    if (!entry) {
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    EntryFacts facts;
    if (!ReadFacts(entry.get(), parent, name, facts)) return false;
    // A link the system followed although it was asked not to (Wine): the
    // handle is the place it points to, and deleting by the link's name
    // deletes that place too there. It stays, and the removal fails.
    if (facts.elsewhere) {
        ::SetLastError(ERROR_REPARSE_ATTRIBUTE_CONFLICT);
        return false;
    }
    if (facts.IsFolder() && !facts.IsLink() && !EmptyOpenFolder(entry.get())) return false;
    return DeleteOpen(entry.get());
}
}  // namespace

bool RemoveChild(HANDLE parent, const std::wstring& name) {
    return RemoveOpened(OpenChild(parent, name, kWalkAccess), parent, name);
}

bool EmptyOpenFolder(HANDLE folder, const std::function<bool(const std::wstring& name)>& keep) {
    // Names first, then removal: a folder's listing is not changed while it
    // is being read.
    std::vector<std::wstring> names;
    if (!ForEachChild(folder, [&](const std::wstring& name, DWORD) {
            if (!keep || !keep(name)) names.push_back(name);
            return true;
        }))
        return false;
    bool complete = true;
    for (const std::wstring& name : names) complete = RemoveChild(folder, name) && complete;
    return complete;
}

bool RemovePathTree(const std::wstring& path) { return RemoveOpened(OpenNoFollow(path, kWalkAccess), nullptr, path); }

bool SetSecurityOfOpen(HANDLE entry, const wchar_t* sddl) {
    fw::LocalMemory descriptor = SecurityDescriptorFromSddl(sddl);
    return descriptor && ApplySecurity(entry, descriptor.get());
}

bool ResetOpenToInherited(HANDLE entry) {
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(administrators);
    ACL empty;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize) ||
        !::InitializeAcl(&empty, sizeof(empty), ACL_REVISION))
        return false;
    DWORD result = SecuritySetter()(
        entry, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
        administrators, &empty);
    ::SetLastError(result);
    return result == ERROR_SUCCESS;
}

bool MoveOpen(HANDLE entry, const std::wstring& target) {
    std::wstring name = ExtendedLengthForm(FullPathOf(target));
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    return ::SetFileInformationByHandle(entry, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != FALSE;
}

}  // namespace icbs
