#include "catalogue/PackageFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "engine/Log.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/FilePath.h"
#include "icbs/FolderPath.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/OpenEntry.h"
#include "icbs/SecurityDescriptor.h"
#include "icbs/UuidString.h"

namespace {

std::wstring CommonAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) path[0] = L'\0';
    return path;
}

// Enables a privilege of the process token while it lives, and restores the
// previous state afterwards.
class EnabledPrivilege {
public:
    explicit EnabledPrivilege(const wchar_t* name) {
        LUID luid;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token_.put()) ||
            !::LookupPrivilegeValueW(nullptr, name, &luid))
            return;
        TOKEN_PRIVILEGES wanted = {1, {{luid, SE_PRIVILEGE_ENABLED}}};
        DWORD size = sizeof(previous_);
        adjusted_ = ::AdjustTokenPrivileges(token_.get(), FALSE, &wanted, sizeof(previous_), &previous_, &size) &&
                    ::GetLastError() == ERROR_SUCCESS;
    }
    ~EnabledPrivilege() {
        if (adjusted_) ::AdjustTokenPrivileges(token_.get(), FALSE, &previous_, 0, nullptr, nullptr);
    }
    EnabledPrivilege(const EnabledPrivilege&) = delete;
    EnabledPrivilege& operator=(const EnabledPrivilege&) = delete;

private:
    fw::KernelHandle token_;
    TOKEN_PRIVILEGES previous_ = {};
    bool adjusted_ = false;
};

// Owner Administrators and the protected list on the open folder, then the
// same for whatever someone else may have put into it before: links go (an
// elevated writer would follow them), and so do files with further names
// elsewhere (writing to one writes to all, and taking one over takes over
// all); every other entry gets owner Administrators and only what it
// inherits. Each entry is opened relative to its folder's handle, never
// through a link, and changed through its own handle.
bool SecureEntries(HANDLE folder) {
    std::vector<std::wstring> names;
    icbs::ForEachChild(folder, [&](const std::wstring& name, DWORD) {
        names.push_back(name);
        return true;
    });
    bool complete = true;
    for (const std::wstring& name : names) {
        fw::FileHandle entry = icbs::OpenChild(folder, name, icbs::kSecureAccess);
        icbs::EntryFacts facts;
        bool done;
        if (!entry || !icbs::ReadFacts(entry.get(), folder, name, facts))
            done = false;
        else if (facts.IsLink() || (!facts.IsFolder() && facts.links != 1))
            done = (entry.reset(), icbs::RemoveChild(folder, name));
        else
            done = icbs::ResetOpenToInherited(entry.get()) && (!facts.IsFolder() || SecureEntries(entry.get()));
        complete = complete && done;
    }
    return complete;
}

// A name nobody can know beforehand.
std::wstring NewFolderName() {
    std::wstring name;
    if (!icbs::NewUuidString(name)) name = fw::Format(L"%08lx%08lx", ::GetCurrentProcessId(), ::GetTickCount());
    return name;
}

std::wstring MakeBaseFolder() {
    std::wstring base = CommonAppDataFolder() + L"\\Morvex";
    // Granting through a link would open the folder it points to: a link
    // there is removed as a link, and one that stays is never granted
    // through (SetFolderSecurity refuses it).
    if (ICBSFileUtilities::IsReparsePoint(base)) icbs::RemovePathTree(base);
    // A new base folder has its list from its first moment.
    fw::LocalMemory descriptor = BaseFolderDescriptor();
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor.get(), FALSE};
    if (!::CreateDirectoryW(base.c_str(), descriptor ? &security : nullptr)) ICBSFileUtilities::CreateFolderTree(base);
    // Whoever made the folder first may have left an owner or a list of
    // their own: ownership is taken back with the list. Setting it again
    // only when it differs spares a walk through everything below.
    if (!ICBSFileUtilities::HasFolderSecurity(base, ICBSFileUtilities::kOpenBaseFolderSddl)) {
        EnabledPrivilege takeOwnership(SE_TAKE_OWNERSHIP_NAME);
        if (!ICBSFileUtilities::SetFolderSecurity(base, ICBSFileUtilities::kOpenBaseFolderSddl))
            WriteLog(2, L"ZEL (c): Could not set the access list of %s (%u).\r\n", base.c_str(), ::GetLastError());
    }
    return base;
}

}  // namespace

fw::LocalMemory BaseFolderDescriptor() {
    return icbs::SecurityDescriptorFromSddl(ICBSFileUtilities::kOpenBaseFolderSddl);
}

const std::wstring& LauncherBaseFolder() {
    static const std::wstring base = MakeBaseFolder();
    return base;
}

bool IsUsableFolderName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

std::wstring MsiFolderFor(const std::wstring& packageCode) {
    if (!IsUsableFolderName(packageCode)) return std::wstring();
    return FolderPath(LauncherBaseFolder()).Child(packageCode);
}

std::wstring SingleMsiFile(const std::wstring& folder) {
    std::vector<std::wstring> files = ICBSFileUtilities::ListFiles(folder, L"*.msi");
    return files.size() == 1 ? files.front() : std::wstring();
}

bool CreateProtectedFolder(const std::wstring& folder) {
    // The list is part of the creation, so there is no moment in which
    // others could open the folder.
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(ICBSFileUtilities::kProtectedFolderSddl);
    if (!descriptor) return false;
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor.get(), FALSE};
    return ::CreateDirectoryW(folder.c_str(), &security) != FALSE;
}

bool EmptyPackageFolder(const std::wstring& folder, const std::wstring& keep) {
    fw::FileHandle handle = icbs::OpenNoFollow(folder, icbs::kWalkAccess);
    icbs::EntryFacts facts;
    if (!handle || !icbs::ReadFacts(handle.get(), nullptr, folder, facts) || !facts.IsFolder() || facts.IsLink())
        return false;
    FilePath kept(keep);
    bool keepHere = !keep.empty() && fw::EqualsNoCase(kept.Folder().Path(), FolderPath(folder).Path());
    return icbs::EmptyOpenFolder(handle.get(), [&](const std::wstring& name) {
        return keepHere && fw::EqualsNoCase(name, kept.FileName());
    });
}

bool RemoveFolderLink(const std::wstring& path) {
    return ::RemoveDirectoryW(path.c_str()) || ::DeleteFileW(path.c_str());
}

bool SecurePackageFolder(const std::wstring& folder, bool create) {
    if (folder.empty()) return false;
    // Whoever made the folder may have left a list that shuts
    // administrators out: the right to take ownership reopens it.
    EnabledPrivilege takeOwnership(SE_TAKE_OWNERSHIP_NAME);
    fw::FileHandle handle = icbs::OpenNoFollow(folder, icbs::kSecureAccess);
    icbs::EntryFacts facts;
    if (handle && icbs::ReadFacts(handle.get(), nullptr, folder, facts) && facts.IsFolder() && !facts.IsLink())
        return icbs::SetSecurityOfOpen(handle.get(), ICBSFileUtilities::kProtectedFolderSddl) &&
               SecureEntries(handle.get());
    bool missing = !handle && (::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND);
    handle.reset();
    if (!create) return false;
    // A link or a file in the folder's place goes (a link as a link).
    if (!missing && !icbs::RemovePathTree(folder)) return false;
    return ICBSFileUtilities::CreateParentFolders(folder) && CreateProtectedFolder(folder);
}

bool EnsureProtectedFolder(const std::wstring& folder) {
    if (folder.empty()) return false;
    fw::FileHandle handle = icbs::OpenNoFollow(folder, FILE_READ_ATTRIBUTES);
    icbs::EntryFacts facts;
    if (handle && icbs::ReadFacts(handle.get(), nullptr, folder, facts) && facts.IsFolder() && !facts.IsLink())
        return true;
    handle.reset();
    return SecurePackageFolder(folder, true);
}

bool SetAsideFolder(const std::wstring& folder) {
    if (folder.empty()) return false;
    fw::FileHandle handle = icbs::OpenNoFollow(folder, DELETE);
    if (!handle) {
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    icbs::EntryFacts facts;
    if (!icbs::ReadFacts(handle.get(), nullptr, folder, facts)) return false;
    if (!facts.IsFolder() || facts.IsLink()) {
        handle.reset();
        return icbs::RemovePathTree(folder);
    }
    // A protected folder of a name nobody can know beforehand, beside the
    // package folders (a move stays on the volume).
    FolderPath parent = FilePath(folder).Folder();
    std::wstring aside = parent.Child(NewFolderName());
    if (!CreateProtectedFolder(aside)) return false;
    std::wstring target = FolderPath(aside).Child(FilePath(folder).FileName());
    bool moved = icbs::MoveOpen(handle.get(), target);
    handle.reset();
    if (moved && !icbs::RemovePathTree(aside))
        WriteLog(2, L"ZEL (c): Could not remove %s (%u).\r\n", aside.c_str(), ::GetLastError());
    else if (!moved)
        ::RemoveDirectoryW(aside.c_str());
    return moved;
}

bool RenewPackageFolder(const std::wstring& folder, const std::wstring& keep) {
    if (folder.empty()) return false;
    if (SetAsideFolder(folder)) return ICBSFileUtilities::CreateParentFolders(folder) && CreateProtectedFolder(folder);
    // What cannot be moved (the running launcher's own file is in it) is
    // taken over and emptied in place, by handle.
    return SecurePackageFolder(folder, true) && EmptyPackageFolder(folder, keep);
}
