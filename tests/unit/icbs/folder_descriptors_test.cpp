// Shows that the two fixed folder descriptors convert into exactly the
// entries they promise (checked against well-known SIDs and file rights),
// that a missing converter fails, and how file rights are compared.
#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include "icbs/ICBSFileUtilities.h"
#include "icbs/SecurityDescriptor.h"

namespace {

std::wstring SidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text)) return {};
    std::wstring result = text;
    ::LocalFree(text);
    return result;
}

std::wstring WellKnown(WELL_KNOWN_SID_TYPE type) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    ::CreateWellKnownSid(type, nullptr, sid, &size);
    return SidText(sid);
}

struct Entry {
    BYTE type;
    BYTE flags;
    DWORD mask;
    std::wstring sid;
    bool operator==(const Entry& o) const {
        return type == o.type && flags == o.flags && mask == o.mask && sid == o.sid;
    }
};

std::vector<Entry> DaclOf(PSECURITY_DESCRIPTOR descriptor) {
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    std::vector<Entry> entries;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl) return entries;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        ::GetAce(dacl, i, &ace);
        auto allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        entries.push_back({allowed->Header.AceType, allowed->Header.AceFlags, allowed->Mask,
                           SidText(reinterpret_cast<PSID>(&allowed->SidStart))});
    }
    return entries;
}

constexpr BYTE kInherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

}  // namespace

TEST(FolderDescriptors, SecuredFolderEntries) {
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(ICBSFileUtilities::kSecuredFolderSddl);
    ASSERT_TRUE(descriptor);
    const DWORD readWriteExecute = GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE;
    std::vector<Entry> expected = {
        {ACCESS_DENIED_ACE_TYPE, kInherited, GENERIC_ALL, WellKnown(WinAnonymousSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, readWriteExecute, WellKnown(WinBuiltinGuestsSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, readWriteExecute, WellKnown(WinBuiltinUsersSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, readWriteExecute, WellKnown(WinAuthenticatedUserSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, GENERIC_ALL, WellKnown(WinBuiltinAdministratorsSid)},
    };
    EXPECT_EQ(expected, DaclOf(descriptor.get()));
}

TEST(FolderDescriptors, ProtectedFolderEntriesOwnerAndProtection) {
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(ICBSFileUtilities::kProtectedFolderSddl);
    ASSERT_TRUE(descriptor);
    std::vector<Entry> expected = {
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, FILE_ALL_ACCESS, WellKnown(WinBuiltinAdministratorsSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, FILE_ALL_ACCESS, WellKnown(WinLocalSystemSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, WellKnown(WinBuiltinUsersSid)},
    };
    EXPECT_EQ(expected, DaclOf(descriptor.get()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(descriptor.get(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    ASSERT_TRUE(::GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted));
    EXPECT_EQ(WellKnown(WinBuiltinAdministratorsSid), SidText(owner));
}

TEST(FolderDescriptors, AMissingConverterOrBadTextGivesNoDescriptor) {
    EXPECT_FALSE(icbs::SecurityDescriptorFromSddl(L"D:(A;;GA;;;BA)", L"no-such-library.dll"));
    EXPECT_FALSE(icbs::SecurityDescriptorFromSddl(L"D:(A;;GA;;;BA)", L"Advapi32.dll", "NoSuchFunction"));
    EXPECT_FALSE(icbs::SecurityDescriptorFromSddl(L"D:(this is not sddl"));
    EXPECT_TRUE(icbs::SecurityDescriptorFromSddl(L"D:(A;;GA;;;BA)"));
}

TEST(FolderDescriptors, GenericRightsCountAsTheFileRightsTheyStandFor) {
    EXPECT_TRUE(icbs::SameFileRights(GENERIC_ALL, FILE_ALL_ACCESS));
    EXPECT_TRUE(icbs::SameFileRights(GENERIC_READ | GENERIC_EXECUTE, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE));
    EXPECT_TRUE(icbs::SameFileRights(FILE_READ_DATA, FILE_READ_DATA));
    EXPECT_FALSE(icbs::SameFileRights(GENERIC_ALL, FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE |
                                                       DELETE));
    EXPECT_FALSE(icbs::SameFileRights(GENERIC_READ, FILE_READ_DATA));
}
