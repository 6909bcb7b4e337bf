// ICBSFileUtilities: the access lists of files and folders.
#include "icbs/ICBSFileUtilities.h"

#include <aclapi.h>

#include <cstring>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/LongPath.h"
#include "icbs/OpenEntry.h"
#include "icbs/SecurityDescriptor.h"

namespace {

// The object's DACL; the descriptor that holds it is kept in owner. A null
// DACL (no list at all) comes back as nullptr with success.
bool ReadDacl(const std::wstring& apiPath, fw::LocalMemory& owner, PACL& dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    dacl = nullptr;
    DWORD result = ::GetNamedSecurityInfoW(apiPath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                           nullptr, &dacl, nullptr, &descriptor);
    owner.reset(descriptor);
    ::SetLastError(result);
    return result == ERROR_SUCCESS;
}

std::wstring AccountNameOf(PSID sid) {
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameLength = 256, domainLength = 256;
    SID_NAME_USE use;
    if (!::LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) return {};
    return name;
}

bool TrusteeIs(const TRUSTEE_W& trustee, const std::wstring& name) {
    if (trustee.TrusteeForm == TRUSTEE_IS_NAME) return trustee.ptstrName && fw::EqualsNoCase(trustee.ptstrName, name);
    if (trustee.TrusteeForm == TRUSTEE_IS_SID)
        return fw::EqualsNoCase(AccountNameOf(reinterpret_cast<PSID>(trustee.ptstrName)), name);
    return false;
}

bool IsProtected(PSECURITY_DESCRIPTOR descriptor) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    return ::GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED) != 0;
}

// The same entries in the same order, byte for byte.
bool SameEntries(PACL a, PACL b) {
    if (!a || !b) return a == b;
    if (a->AceCount != b->AceCount) return false;
    for (DWORD i = 0; i < a->AceCount; ++i) {
        void* left = nullptr;
        void* right = nullptr;
        if (!::GetAce(a, i, &left) || !::GetAce(b, i, &right)) return false;
        WORD size = static_cast<ACE_HEADER*>(left)->AceSize;
        if (size != static_cast<ACE_HEADER*>(right)->AceSize || std::memcmp(left, right, size) != 0) return false;
    }
    return true;
}

// The entry at path itself, refused when it is a link: an owner or a list
// set through a junction would land on the folder it points to.
fw::FileHandle OpenUnlinked(const std::wstring& path, DWORD access) {
    fw::FileHandle entry = icbs::OpenNoFollow(path, access);
    icbs::EntryFacts facts;
    if (!entry || !icbs::ReadFacts(entry.get(), nullptr, path, facts)) return fw::FileHandle();
    if (facts.IsLink()) {
        ::SetLastError(ERROR_REPARSE_ATTRIBUTE_CONFLICT);
        return fw::FileHandle();
    }
    return entry;
}

}  // namespace

bool ICBSFileUtilities::GrantEveryoneFullAccess(const std::wstring& path) {
    fw::FileHandle entry = OpenUnlinked(path, READ_CONTROL | WRITE_DAC);
    if (!entry) return false;
    fw::LocalMemory descriptor;
    PACL oldDacl = nullptr;
    PSECURITY_DESCRIPTOR found = nullptr;
    DWORD result = ::GetSecurityInfo(entry.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                     &oldDacl, nullptr, &found);
    descriptor.reset(found);
    if (result != ERROR_SUCCESS) {
        ::SetLastError(result);
        return false;
    }
    // Everyone by its SID: the name "Everyone" differs between the languages
    // of Windows, the SID does not.
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(everyone);
    if (!::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize)) return false;
    EXPLICIT_ACCESS_W access = {};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(everyone);
    PACL newDacl = nullptr;
    result = ::SetEntriesInAclW(1, &access, oldDacl, &newDacl);
    fw::LocalMemory newDaclOwner(newDacl);
    if (result == ERROR_SUCCESS)
        result = icbs::SecuritySetter()(entry.get(), DACL_SECURITY_INFORMATION, nullptr, newDacl);
    ::SetLastError(result);
    return result == ERROR_SUCCESS;
}

bool ICBSFileUtilities::HasExplicitAccess(const std::wstring& path, DWORD permissions,
                                          const std::wstring& trusteeName) {
    fw::LocalMemory descriptor;
    PACL dacl = nullptr;
    if (!ReadDacl(icbs::ApiPath(path), descriptor, dacl) || !dacl) return false;
    ULONG count = 0;
    PEXPLICIT_ACCESS_W entries = nullptr;
    if (::GetExplicitEntriesFromAclW(dacl, &count, &entries) != ERROR_SUCCESS) return false;
    fw::LocalMemory entriesOwner(entries);
    for (ULONG i = 0; i < count; ++i) {
        const EXPLICIT_ACCESS_W& entry = entries[i];
        if (entry.grfAccessMode == GRANT_ACCESS && icbs::SameFileRights(entry.grfAccessPermissions, permissions) &&
            TrusteeIs(entry.Trustee, trusteeName))
            return true;
    }
    return false;
}

bool ICBSFileUtilities::SetProtectedFolderAccess(const std::wstring& path) {
    return SetFolderSecurity(path, kProtectedFolderSddl);
}

bool ICBSFileUtilities::SetFolderSecurity(const std::wstring& path, const wchar_t* sddl) {
    fw::FileHandle entry = OpenUnlinked(path, READ_CONTROL | WRITE_DAC | WRITE_OWNER);
    return entry && icbs::SetSecurityOfOpen(entry.get(), sddl);
}

bool ICBSFileUtilities::HasFolderSecurity(const std::wstring& path, const wchar_t* sddl) {
    PSID foundOwner = nullptr;
    PACL foundDacl = nullptr;
    PSECURITY_DESCRIPTOR found = nullptr;
    fw::FileHandle entry = OpenUnlinked(path, READ_CONTROL);
    if (!entry) return false;
    DWORD result = ::GetSecurityInfo(entry.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                     &foundOwner, nullptr, &foundDacl, nullptr, &found);
    fw::LocalMemory foundHolder(found);
    fw::LocalMemory wanted = icbs::SecurityDescriptorFromSddl(sddl);
    if (result != ERROR_SUCCESS || !wanted || !foundOwner) return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL wantedDacl = nullptr;
    PSID wantedOwner = nullptr;
    if (!::GetSecurityDescriptorDacl(wanted.get(), &present, &wantedDacl, &defaulted) || !present ||
        !::GetSecurityDescriptorOwner(wanted.get(), &wantedOwner, &defaulted) || !wantedOwner)
        return false;
    // The system adds its own bookkeeping flags (auto-inherited) to a list
    // it stores: owner, protection and the entries are what count.
    return ::EqualSid(foundOwner, wantedOwner) && IsProtected(found) == IsProtected(wanted.get()) &&
           SameEntries(foundDacl, wantedDacl);
}
