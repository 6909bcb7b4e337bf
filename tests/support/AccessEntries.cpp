#include "tests/support/AccessEntries.h"

#include <aclapi.h>
#include <sddl.h>

namespace testsupport {

std::wstring SidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text)) return {};
    std::wstring result = text;
    ::LocalFree(text);
    return result;
}

std::wstring SidText(WELL_KNOWN_SID_TYPE type) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    if (!::CreateWellKnownSid(type, nullptr, sid, &size)) return {};
    return SidText(reinterpret_cast<PSID>(sid));
}

std::vector<AceEntry> EntriesOf(PACL acl) {
    std::vector<AceEntry> entries;
    if (!acl) return entries;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(acl, i, &ace)) continue;
        auto header = static_cast<ACE_HEADER*>(ace);
        AceEntry entry;
        entry.type = header->AceType;
        entry.flags = header->AceFlags;
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
            // Allowed and denied entries share one layout.
            auto allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            entry.mask = allowed->Mask;
            entry.sid = SidText(reinterpret_cast<PSID>(&allowed->SidStart));
        }
        entries.push_back(entry);
    }
    return entries;
}

std::vector<AceEntry> DaclEntriesOf(PSECURITY_DESCRIPTOR descriptor) {
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present) return {};
    return EntriesOf(dacl);
}

std::vector<AceEntry> ReadDaclEntries(const std::wstring& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    std::vector<AceEntry> entries = EntriesOf(dacl);
    ::LocalFree(descriptor);
    return entries;
}

ObjectSecurity ReadObjectSecurity(const std::wstring& path) {
    ObjectSecurity security;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return security;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    security.read = true;
    security.owner = SidText(owner);
    security.protectedList = (control & SE_DACL_PROTECTED) != 0;
    security.entries = EntriesOf(dacl);
    ::LocalFree(descriptor);
    return security;
}

std::vector<AceEntry> AllowedFor(const std::vector<AceEntry>& entries, const std::wstring& sid) {
    std::vector<AceEntry> found;
    for (const AceEntry& entry : entries)
        if (entry.type == ACCESS_ALLOWED_ACE_TYPE && entry.sid == sid) found.push_back(entry);
    return found;
}

bool KeepsAccessListsAsGiven(const std::wstring& parent) {
    std::wstring folder = parent + L"\\acl-probe";
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) return false;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    ::CreateWellKnownSid(WinBuiltinGuestsSid, nullptr, sid, &size);
    EXPLICIT_ACCESS_W access = {};
    access.grfAccessPermissions = FILE_READ_EA;
    access.grfAccessMode = SET_ACCESS;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid);
    PACL dacl = nullptr;
    bool kept = false;
    if (::SetEntriesInAclW(1, &access, nullptr, &dacl) == ERROR_SUCCESS) {
        ::SetNamedSecurityInfoW(folder.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
                                nullptr);
        ::LocalFree(dacl);
        auto guests = AllowedFor(ReadDaclEntries(folder), SidText(WinBuiltinGuestsSid));
        kept = guests.size() == 1 && guests[0].mask == FILE_READ_EA;
    }
    ::RemoveDirectoryW(folder.c_str());
    return kept;
}

}  // namespace testsupport
