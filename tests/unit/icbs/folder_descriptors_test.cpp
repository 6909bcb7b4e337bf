// Shows that the two fixed folder descriptors convert into exactly the
// entries they promise (checked against well-known SIDs and file rights),
// that a missing converter fails, and how file rights are compared.
#include <windows.h>

#include <gtest/gtest.h>

#include "icbs/ICBSFileUtilities.h"
#include "icbs/SecurityDescriptor.h"
#include "tests/support/AccessEntries.h"

using testsupport::AceEntry;
using testsupport::DaclEntriesOf;
using testsupport::SidText;

namespace {

constexpr BYTE kInherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

}  // namespace

TEST(FolderDescriptors, SecuredFolderEntries) {
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(ICBSFileUtilities::kSecuredFolderSddl);
    ASSERT_TRUE(descriptor);
    const DWORD readWriteExecute = GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE;
    std::vector<AceEntry> expected = {
        {ACCESS_DENIED_ACE_TYPE, kInherited, GENERIC_ALL, SidText(WinAnonymousSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, readWriteExecute, SidText(WinBuiltinGuestsSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, readWriteExecute, SidText(WinBuiltinUsersSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, readWriteExecute, SidText(WinAuthenticatedUserSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, GENERIC_ALL, SidText(WinBuiltinAdministratorsSid)},
    };
    EXPECT_EQ(expected, DaclEntriesOf(descriptor.get()));
}

TEST(FolderDescriptors, ProtectedFolderEntriesOwnerAndProtection) {
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(ICBSFileUtilities::kProtectedFolderSddl);
    ASSERT_TRUE(descriptor);
    std::vector<AceEntry> expected = {
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, FILE_ALL_ACCESS, SidText(WinBuiltinAdministratorsSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, FILE_ALL_ACCESS, SidText(WinLocalSystemSid)},
        {ACCESS_ALLOWED_ACE_TYPE, kInherited, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, SidText(WinBuiltinUsersSid)},
    };
    EXPECT_EQ(expected, DaclEntriesOf(descriptor.get()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(descriptor.get(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    ASSERT_TRUE(::GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted));
    EXPECT_EQ(SidText(WinBuiltinAdministratorsSid), SidText(owner));
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
