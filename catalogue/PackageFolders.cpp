#include "catalogue/PackageFolders.h"

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/FolderEntries.h"
#include "icbs/FolderPath.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/SecurityDescriptor.h"
#include "launcher/SetupApp.h"

namespace {

std::wstring CommonAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) path[0] = L'\0';
    return path;
}

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The number of names a file has; 0 when it cannot be read.
DWORD LinkCount(const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return 0;
    return info.nNumberOfLinks;
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

// Makes Administrators the owner. An owner may always change the access
// list, whatever the list someone else left says.
bool TakeOwnership(const std::wstring& path) {
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(administrators);
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize)) return false;
    std::wstring apiPath = path;
    DWORD result = ::SetNamedSecurityInfoW(apiPath.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                                           administrators, nullptr, nullptr, nullptr);
    ::SetLastError(result);
    return result == ERROR_SUCCESS;
}

// Owner Administrators and no entries of its own: the entry keeps only what
// it inherits from its (protected) folder.
bool ResetToInheritedAccess(const std::wstring& path) {
    ACL empty;
    if (!TakeOwnership(path) || !::InitializeAcl(&empty, sizeof(empty), ACL_REVISION)) return false;
    std::wstring apiPath = path;
    DWORD result =
        ::SetNamedSecurityInfoW(apiPath.data(), SE_FILE_OBJECT,
                                DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &empty, nullptr);
    ::SetLastError(result);
    return result == ERROR_SUCCESS;
}

// Whatever someone else may have put into a folder before it was protected:
// links go (an elevated writer would follow them), and so do files with
// further names elsewhere (writing to one writes to all, and taking one over
// takes over all); the rest is taken over by Administrators.
bool SecureEntries(const std::wstring& folder) {
    FolderPath parent(folder);
    bool complete = true;
    icbs::ForEachEntry(folder, L"*", [&](const WIN32_FIND_DATAW& entry) {
        std::wstring path = parent.Child(entry.cFileName);
        bool done;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            done = icbs::IsFolderEntry(entry) ? RemoveFolderLink(path) : ::DeleteFileW(path.c_str()) != FALSE;
        else if (icbs::IsFolderEntry(entry))
            done = ResetToInheritedAccess(path) && SecureEntries(path);
        else if (LinkCount(path) != 1)
            done = ::DeleteFileW(path.c_str()) != FALSE;
        else
            done = ResetToInheritedAccess(path);
        complete = complete && done;
        return true;
    });
    return complete;
}

std::wstring MakeBaseFolder() {
    std::wstring base = CommonAppDataFolder() + L"\\Morvex";
    // Granting through a link would open the folder it points to: a link
    // there is removed, and one that stays is never granted through.
    if (ICBSFileUtilities::IsReparsePoint(base) && !RemoveFolderLink(base)) return base;
    ICBSFileUtilities::CreateFolderTree(base);
    // Whoever made the folder first may have left an owner or a list of
    // their own: ownership is taken back before the list is set. Setting it
    // again only when it differs spares a walk through everything below.
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
    FolderPath parent(folder);
    bool complete = true;
    bool listed = icbs::ForEachEntry(folder, L"*", [&](const WIN32_FIND_DATAW& entry) {
        std::wstring path = parent.Child(entry.cFileName);
        bool done;
        if (!keep.empty() && fw::EqualsNoCase(path, keep))
            done = true;
        else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            done = icbs::IsFolderEntry(entry) ? RemoveFolderLink(path) : ::DeleteFileW(path.c_str()) != FALSE;
        else if (icbs::IsFolderEntry(entry))
            done = ICBSFileUtilities::DeleteFolderTree(path);
        else
            done = ICBSFileUtilities::DeleteOneFile(path);
        complete = complete && done;
        return true;
    });
    return listed && complete;
}

bool RemoveFolderLink(const std::wstring& path) {
    return ::RemoveDirectoryW(path.c_str()) || ::DeleteFileW(path.c_str());
}

bool SecurePackageFolder(const std::wstring& folder, bool create) {
    if (folder.empty()) return false;
    DWORD attributes = AttributesOf(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (!RemoveFolderLink(folder)) return false;
        attributes = INVALID_FILE_ATTRIBUTES;
    }
    if (IsFolder(attributes)) {
        // Whoever made the folder may have left a list that shuts
        // administrators out: taking ownership first reopens it.
        EnabledPrivilege takeOwnership(SE_TAKE_OWNERSHIP_NAME);
        return TakeOwnership(folder) && ICBSFileUtilities::SetProtectedFolderAccess(folder) && SecureEntries(folder);
    }
    if (!create) return false;
    // A file in the folder's place is no package folder.
    if (attributes != INVALID_FILE_ATTRIBUTES && !ICBSFileUtilities::DeleteOneFile(folder)) return false;
    return ICBSFileUtilities::CreateParentFolders(folder) && CreateProtectedFolder(folder);
}
