// Shows the access functions on real folders: the secured creation, the
// grant to Everyone, the check of an explicit grant, the protected package
// folder list, the check of an owner and list set from SDDL, and the
// recognition of reparse points. Access lists are read
// back with GetNamedSecurityInfoW.
#include <gtest/gtest.h>

#include <aclapi.h>

#include "icbs/ICBSFileUtilities.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/AccessEntries.h"
#include "tests/support/TestSupport.h"

using testsupport::AllowedFor;
using testsupport::ReadDaclEntries;
using testsupport::SidText;
using testsupport::TempDir;

namespace {
constexpr DWORD kWriteBits = FILE_WRITE_DATA | FILE_APPEND_DATA;
}  // namespace

TEST(FolderAccess, ASecuredFolderGrantsNothingToEveryone) {
    TempDir dir;
    std::wstring secured = dir.Path() + L"\\secured";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(secured, true));
    auto entries = ReadDaclEntries(secured);
    ASSERT_FALSE(entries.empty());
    EXPECT_TRUE(AllowedFor(entries, SidText(WinWorldSid)).empty());
    // Creating it again is fine: it exists.
    EXPECT_TRUE(ICBSFileUtilities::CreateFolder(secured, true));
}

TEST(FolderAccess, GrantEveryoneFullAccessGivesEveryoneWriteAccessInherited) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\shared";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, true));
    ASSERT_TRUE(AllowedFor(ReadDaclEntries(folder), SidText(WinWorldSid)).empty());

    ASSERT_TRUE(ICBSFileUtilities::GrantEveryoneFullAccess(folder));
    auto everyone = AllowedFor(ReadDaclEntries(folder), SidText(WinWorldSid));
    ASSERT_EQ(1u, everyone.size());
    EXPECT_EQ(kWriteBits, everyone[0].mask & kWriteBits);
    EXPECT_EQ(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE,
              everyone[0].mask & (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE));
    EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
              everyone[0].flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE));

    EXPECT_FALSE(ICBSFileUtilities::GrantEveryoneFullAccess(dir.Path() + L"\\missing"));
}

TEST(FolderAccess, HasExplicitAccessMatchesRightsAndTrusteeByName) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\checked";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    ASSERT_TRUE(ICBSFileUtilities::GrantEveryoneFullAccess(folder));
    auto entries = ReadDaclEntries(folder);
    auto everyone = AllowedFor(entries, SidText(WinWorldSid));
    auto system = AllowedFor(entries, SidText(WinLocalSystemSid));
    ASSERT_EQ(1u, everyone.size());
    ASSERT_EQ(1u, system.size());

    // Names in any letter case; the entries hold SIDs whose account names match.
    EXPECT_TRUE(ICBSFileUtilities::HasExplicitAccess(folder, everyone[0].mask, L"EVERYONE"));
    EXPECT_TRUE(ICBSFileUtilities::HasExplicitAccess(folder, everyone[0].mask, L"everyone"));
    EXPECT_TRUE(ICBSFileUtilities::HasExplicitAccess(folder, system[0].mask, L"SYSTEM"));
    // Exactly those rights, not fewer.
    EXPECT_FALSE(ICBSFileUtilities::HasExplicitAccess(folder, everyone[0].mask & ~FILE_WRITE_DATA, L"EVERYONE"));
    EXPECT_FALSE(ICBSFileUtilities::HasExplicitAccess(folder, FILE_GENERIC_READ, L"SYSTEM"));
    // Another trustee, or no folder at all.
    EXPECT_FALSE(ICBSFileUtilities::HasExplicitAccess(folder, everyone[0].mask, L"Guests"));
    EXPECT_FALSE(ICBSFileUtilities::HasExplicitAccess(dir.Path() + L"\\missing", everyone[0].mask, L"EVERYONE"));
}

TEST(FolderAccess, GenericFullAccessMatchesAnEntryWithAllFileRights) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\generic";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    auto system = AllowedFor(ReadDaclEntries(folder), SidText(WinLocalSystemSid));
    ASSERT_EQ(1u, system.size());
    ASSERT_EQ(static_cast<DWORD>(FILE_ALL_ACCESS), system[0].mask);
    EXPECT_TRUE(ICBSFileUtilities::HasExplicitAccess(folder, GENERIC_ALL, L"SYSTEM"));
    EXPECT_FALSE(ICBSFileUtilities::HasExplicitAccess(folder, GENERIC_READ, L"SYSTEM"));
}

TEST(FolderAccess, ProtectedFolderAccessIsAppliedAndReadBack) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\package";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    ASSERT_TRUE(ICBSFileUtilities::SetProtectedFolderAccess(folder));
    if (!testsupport::KeepsAccessListsAsGiven(dir.Path()))
        GTEST_SKIP() << "this file system derives access lists from Unix permissions; the list set cannot be read back";

    testsupport::ObjectSecurity security = testsupport::ReadObjectSecurity(folder);
    ASSERT_TRUE(security.read);
    EXPECT_TRUE(security.protectedList);
    EXPECT_EQ(SidText(WinBuiltinAdministratorsSid), security.owner);
    const auto& entries = security.entries;
    ASSERT_EQ(3u, entries.size());
    for (const auto& entry : entries) EXPECT_EQ(0, entry.flags & INHERITED_ACE);
    EXPECT_EQ(static_cast<DWORD>(FILE_ALL_ACCESS),
              AllowedFor(entries, SidText(WinBuiltinAdministratorsSid)).at(0).mask);
    EXPECT_EQ(static_cast<DWORD>(FILE_ALL_ACCESS), AllowedFor(entries, SidText(WinLocalSystemSid)).at(0).mask);
    EXPECT_EQ(static_cast<DWORD>(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE),
              AllowedFor(entries, SidText(WinBuiltinUsersSid)).at(0).mask);
}

TEST(FolderAccess, FolderSecurityIsRecognisedOnlyWhereItWasSet) {
    TempDir dir;
    const wchar_t* base = ICBSFileUtilities::kOpenBaseFolderSddl;
    const wchar_t* package = ICBSFileUtilities::kProtectedFolderSddl;
    std::wstring folder = dir.Path() + L"\\base";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(folder, false));
    // A folder that only inherits its parent's list has neither.
    EXPECT_FALSE(ICBSFileUtilities::HasFolderSecurity(folder, base));
    EXPECT_FALSE(ICBSFileUtilities::HasFolderSecurity(folder, package));
    EXPECT_FALSE(ICBSFileUtilities::HasFolderSecurity(dir.Path() + L"\\missing", base));
    EXPECT_FALSE(ICBSFileUtilities::SetFolderSecurity(dir.Path() + L"\\missing", base));
    ASSERT_TRUE(ICBSFileUtilities::SetFolderSecurity(folder, base));
    if (!testsupport::KeepsAccessListsAsGiven(dir.Path()))
        GTEST_SKIP() << "this file system derives access lists from Unix permissions; the list set cannot be read back";
    // As the system stores it (with its own bookkeeping flags), it is the
    // list that was set, and not another.
    EXPECT_TRUE(ICBSFileUtilities::HasFolderSecurity(folder, base));
    EXPECT_FALSE(ICBSFileUtilities::HasFolderSecurity(folder, package));
    ASSERT_TRUE(ICBSFileUtilities::SetProtectedFolderAccess(folder));
    EXPECT_TRUE(ICBSFileUtilities::HasFolderSecurity(folder, package));
    EXPECT_FALSE(ICBSFileUtilities::HasFolderSecurity(folder, base));
}

TEST(FolderAccess, ProtectedFolderAccessRefusesAMissingFolderAndALink) {
    TempDir dir;
    EXPECT_FALSE(ICBSFileUtilities::SetProtectedFolderAccess(dir.Path() + L"\\missing"));
    std::wstring target = dir.Path() + L"\\elsewhere";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(target, false));
    if (!filetest::MakeFolderLink(dir.Path() + L"\\planted", target)) GTEST_SKIP() << "no folder links here";
    auto before = ReadDaclEntries(target);
    EXPECT_FALSE(ICBSFileUtilities::SetProtectedFolderAccess(dir.Path() + L"\\planted"));
    auto after = ReadDaclEntries(target);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i].mask, after[i].mask);
}

TEST(FolderAccess, ReparsePointsAreRecognised) {
    TempDir dir;
    std::wstring target = dir.Path() + L"\\real";
    ASSERT_TRUE(ICBSFileUtilities::CreateFolder(target, false));
    testsupport::WriteBytes(dir.File(L"file.txt"), "x");
    EXPECT_FALSE(ICBSFileUtilities::IsReparsePoint(target));
    EXPECT_FALSE(ICBSFileUtilities::IsReparsePoint(dir.File(L"file.txt")));
    EXPECT_FALSE(ICBSFileUtilities::IsReparsePoint(dir.File(L"missing")));
    if (!filetest::MakeFolderLink(dir.Path() + L"\\junction", target)) GTEST_SKIP() << "no folder links here";
    EXPECT_TRUE(ICBSFileUtilities::IsReparsePoint(dir.Path() + L"\\junction"));
}
