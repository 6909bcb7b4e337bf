// Package folders are made or taken over with a list that lets only
// administrators change them before anything is taken from or written into
// them; links in their place or inside them are never followed; the base
// folder is never granted through a link, and lets everyone add to it but
// not rearrange it; a database found in the folder of a product that is not
// installed is never used. Wine derives access lists from Unix
// permissions: it shows whether Everyone may read a folder it created, and a
// grant to Everyone, but keeps no owner and no list set later; the full list
// is checked where the system keeps it.
#include <gtest/gtest.h>

#include <iostream>

#include "catalogue/PackageFolders.h"
#include "catalogue/SetupPackage.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/SecurityDescriptor.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/AccessEntries.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;
using testsupport::TempDir;

namespace {

FixtureFacts Editor() { return FactsOf(FixtureMsi(L"editor")); }
SetupPackage Record(const FixtureFacts& facts) { return SetupPackage(FieldsOf(facts, true), {}); }

std::wstring MakePackageFolder(const FixtureFacts& facts) {
    std::wstring folder = ExpectedMsiFolder(facts.packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    EXPECT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    return folder;
}

void NoteWhenListsAreNotKept(bool kept) {
    if (!kept) std::cout << "note: this system does not keep access lists as set; the full list is not read back\n";
}

}  // namespace

TEST(PackageFolders, AnExistingFolderIsTakenOverBeforeItsDatabaseIsUsed) {
    FixtureFacts editor = Editor();
    std::wstring folder = MakePackageFolder(editor);
    // As a folder below the base folder is: open to everyone.
    ASSERT_TRUE(ICBSFileUtilities::GrantEveryoneFullAccess(folder));
    ASSERT_TRUE(EveryoneAllowed(folder));
    ASSERT_TRUE(::CopyFileW(FixtureMsi(L"editor").c_str(), (folder + L"\\editor.msi").c_str(), FALSE));
    PutFile(folder + L"\\Transform_de.mst", "transform");
    TempDir scratch;
    bool kept = testsupport::KeepsAccessListsAsGiven(scratch.Path());
    NoteWhenListsAreNotKept(kept);

    // Planted before the first run: the product is not installed, so the
    // database found there is never taken (the unpacking replaces it).
    ASSERT_FALSE(ProductInstalled(editor.productCode));
    EXPECT_TRUE(Record(editor).msiFileName.empty());
    if (kept) ExpectProtectedList(folder);

    // The folder of an installed product keeps its database for maintenance,
    // once the folder is taken over.
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    ASSERT_TRUE(ICBSFileUtilities::GrantEveryoneFullAccess(folder));
    SetupPackage package = Record(editor);
    EXPECT_EQ(package.msiFileName, folder + L"\\editor.msi");
    EXPECT_EQ(testsupport::ReadBytes(folder + L"\\Transform_de.mst"), "transform");
    if (kept) {
        ExpectProtectedList(folder);
        EXPECT_FALSE(EveryoneAllowed(folder + L"\\editor.msi"));
    }
}

TEST(PackageFolders, EmptyingRemovesEverythingButTheNamedFile) {
    TempDir dir;
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    PutFile(outside + L"\\precious.txt", "keep me");
    std::wstring folder = dir.Path() + L"\\package";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
    PutFile(folder + L"\\planted.msi", "planted");
    PutFile(folder + L"\\sub\\source.cab", "planted");
    PutFile(folder + L"\\setup.exe", "the running launcher");
    bool linked = filetest::MakeFolderLink(folder + L"\\link", outside);

    bool emptied = EmptyPackageFolder(folder, folder + L"\\SETUP.exe");
    // A link inside goes as a link: what it pointed to stays. Windows
    // removes it; a system that cannot remove a link keeps it and reports
    // the folder as not emptied.
    bool linkStayed = linked && Exists(folder + L"\\link");
    EXPECT_EQ(emptied, !linkStayed);
    if (linked) EXPECT_EQ(testsupport::ReadBytes(outside + L"\\precious.txt"), "keep me");
    std::vector<std::wstring> left = linkStayed ? std::vector<std::wstring>{L"link"} : std::vector<std::wstring>{};
    std::vector<std::wstring> leftWithCopy = left;
    leftWithCopy.push_back(L"setup.exe");
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_EQ(testsupport::FolderEntries(folder), leftWithCopy);
    EXPECT_EQ(EmptyPackageFolder(folder), !linkStayed);
    EXPECT_EQ(testsupport::FolderEntries(folder), left);
    EXPECT_FALSE(EmptyPackageFolder(dir.Path() + L"\\missing"));
}

TEST(PackageFolders, AMissingFolderIsCreatedWithTheProtectedList) {
    FixtureFacts editor = Editor();
    SetupPackage package = Record(editor);
    ASSERT_FALSE(Exists(package.msiFolder));
    ASSERT_TRUE(package.PrepareMsiFolder());
    EXPECT_TRUE(IsFolder(package.msiFolder));
    EXPECT_FALSE(ICBSFileUtilities::IsReparsePoint(package.msiFolder));
    // The base folder beside it stays open to everyone; the package folder
    // was never open (Wine shows this for a folder made with a list).
    EXPECT_TRUE(EveryoneAllowed(ExpectedBaseFolder()));
    EXPECT_FALSE(EveryoneAllowed(package.msiFolder));
    TempDir scratch;
    bool kept = testsupport::KeepsAccessListsAsGiven(scratch.Path());
    NoteWhenListsAreNotKept(kept);
    if (kept) ExpectProtectedList(package.msiFolder);
    // Preparing it again keeps what is inside.
    PutFile(package.msiFolder + L"\\editor.msi", "database");
    EXPECT_TRUE(package.PrepareMsiFolder());
    EXPECT_EQ(testsupport::ReadBytes(package.msiFolder + L"\\editor.msi"), "database");
    // A file in the folder's place makes way for the folder.
    PackageRecord otherFields = FieldsOf(editor, true);
    otherFields.packageCode = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2AFFFF}";
    SetupPackage other(otherFields, {});
    PutFile(other.msiFolder, "not a folder");
    EXPECT_TRUE(other.PrepareMsiFolder());
    EXPECT_TRUE(IsFolder(other.msiFolder));
}

TEST(PackageFolders, ALinkInPlaceOfThePackageFolderIsNeverFollowed) {
    TempDir dir;
    FixtureFacts editor = Editor();
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(FixtureMsi(L"editor").c_str(), (outside + L"\\planted.msi").c_str(), FALSE));
    PutFile(outside + L"\\precious.txt", "keep me");
    std::wstring folder = ExpectedMsiFolder(editor.packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    if (!filetest::MakeFolderLink(folder, outside)) GTEST_SKIP() << "no folder links on this system";
    ASSERT_TRUE(ICBSFileUtilities::IsReparsePoint(folder));

    SetupPackage package = Record(editor);
    // Nothing is taken from where the link points.
    EXPECT_TRUE(package.msiFileName.empty());
    bool prepared = package.PrepareMsiFolder();
    // Windows removes the link and makes the folder anew; a system that
    // cannot remove a link refuses the folder. Either way the place the link
    // pointed to is untouched.
    EXPECT_EQ(prepared, IsFolder(folder) && !ICBSFileUtilities::IsReparsePoint(folder));
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\precious.txt"), "keep me");
    EXPECT_TRUE(Exists(outside + L"\\planted.msi"));
}

TEST(PackageFolders, LinksAndFilesWithFurtherNamesInsideAreRemoved) {
    TempDir dir;
    FixtureFacts editor = Editor();
    // The folder of an installed product, whose own database is kept.
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    PutFile(outside + L"\\victim.msi", "someone else's file");
    std::wstring folder = MakePackageFolder(editor);
    // Writing the database would write into the other file through a second name.
    ASSERT_TRUE(::CreateHardLinkW((folder + L"\\editor.msi").c_str(), (outside + L"\\victim.msi").c_str(), nullptr));
    PutFile(folder + L"\\Transform_de.mst", "own file");

    SetupPackage package = Record(editor);
    EXPECT_FALSE(Exists(folder + L"\\editor.msi"));
    EXPECT_TRUE(package.msiFileName.empty());
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\victim.msi"), "someone else's file");
    EXPECT_EQ(testsupport::ReadBytes(folder + L"\\Transform_de.mst"), "own file");

    // An own database is taken.
    PutFile(folder + L"\\own.msi", "database");
    EXPECT_EQ(Record(editor).msiFileName, folder + L"\\own.msi");

    // A linked folder inside is never entered.
    PutFile(outside + L"\\inner.txt", "inner");
    if (!filetest::MakeFolderLink(folder + L"\\link", outside)) return;
    SetupPackage linked = Record(editor);
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\inner.txt"), "inner");
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\victim.msi"), "someone else's file");
    // Taken from the folder only when it could be secured, that is when the
    // link could be removed.
    EXPECT_EQ(linked.msiFileName.empty(), Exists(folder + L"\\link"));
}

TEST(PackageFolders, ACodeThatCannotNameAFolderHasNone) {
    FixtureFacts editor = Editor();
    std::wstring base = ExpectedBaseFolder();
    ::CreateDirectoryW(base.c_str(), nullptr);
    PutFile(base + L"\\keep.txt", "base content");
    for (const wchar_t* code : {L"", L".", L"..", L"..\\Other", L"a/b", L"C:x", L"*"}) {
        PackageRecord fields = FieldsOf(editor, true);
        fields.packageCode = code;
        SetupPackage package(fields, {});
        EXPECT_TRUE(package.msiFolder.empty()) << testing::PrintToString(std::wstring(code));
        EXPECT_FALSE(package.PrepareMsiFolder());
    }
    EXPECT_EQ(testsupport::ReadBytes(base + L"\\keep.txt"), "base content");
}

TEST(PackageFolders, TheBaseFolderIsNeverGrantedThroughALink) {
    TempDir dir;
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(CreateProtectedFolder(outside));
    PutFile(outside + L"\\precious.txt", "keep me");
    ASSERT_FALSE(EveryoneAllowed(outside));
    ASSERT_FALSE(Exists(ExpectedBaseFolder()));
    if (!filetest::MakeFolderLink(ExpectedBaseFolder(), outside)) GTEST_SKIP() << "no folder links on this system";

    const std::wstring& base = LauncherBaseFolder();
    EXPECT_EQ(base, ExpectedBaseFolder());
    EXPECT_FALSE(EveryoneAllowed(outside));
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\precious.txt"), "keep me");
    // Windows replaces the link by a folder of its own, open to everyone.
    if (!ICBSFileUtilities::IsReparsePoint(base)) {
        EXPECT_TRUE(IsFolder(base));
        EXPECT_TRUE(EveryoneAllowed(base));
    }
}

// The base folder's own list lets everyone add to it but not delete or
// rename what is in it (a package folder that others could move away and
// replace); everything below stays open to everyone through inheritance.
TEST(PackageFolders, EveryoneMayAddToTheBaseFolderButNotRearrangeIt) {
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    fw::LocalMemory descriptor = BaseFolderDescriptor();
    ASSERT_TRUE(descriptor);
    fw::LocalMemory expected = icbs::SecurityDescriptorFromSddl(
        L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x100027;;;WD)(A;OICIIO;FA;;;WD)");
    ASSERT_TRUE(expected);
    std::wstring sddl = icbs::SddlOf(descriptor.get(), parts);
    EXPECT_EQ(sddl, icbs::SddlOf(expected.get(), parts));
    EXPECT_EQ(sddl.rfind(L"O:BAD:P", 0), 0u) << testing::PrintToString(sddl);

    std::vector<testsupport::AceEntry> entries = testsupport::DaclEntriesOf(descriptor.get());
    std::vector<testsupport::AceEntry> everyone = testsupport::AllowedFor(entries, testsupport::SidText(WinWorldSid));
    ASSERT_EQ(everyone.size(), 2u);
    const BYTE inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    // On the folder itself: list, traverse, add files and folders, nothing more.
    EXPECT_EQ(everyone[0].flags, 0);
    EXPECT_EQ(everyone[0].mask, static_cast<DWORD>(FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY |
                                                   FILE_TRAVERSE | SYNCHRONIZE));
    for (DWORD right : {DWORD(DELETE), DWORD(FILE_DELETE_CHILD), DWORD(WRITE_DAC), DWORD(WRITE_OWNER),
                        DWORD(FILE_WRITE_ATTRIBUTES), DWORD(GENERIC_ALL), DWORD(GENERIC_WRITE)})
        EXPECT_EQ(everyone[0].mask & right, 0u) << right;
    // Below it: full control, inherit-only.
    EXPECT_EQ(everyone[1].flags, inherited | INHERIT_ONLY_ACE);
    EXPECT_EQ(everyone[1].mask, static_cast<DWORD>(FILE_ALL_ACCESS));
    for (WELL_KNOWN_SID_TYPE owner : {WinBuiltinAdministratorsSid, WinLocalSystemSid}) {
        std::vector<testsupport::AceEntry> full = testsupport::AllowedFor(entries, testsupport::SidText(owner));
        ASSERT_EQ(full.size(), 1u);
        EXPECT_EQ(full[0].flags, inherited);
        EXPECT_EQ(full[0].mask, static_cast<DWORD>(FILE_ALL_ACCESS));
    }
    EXPECT_EQ(entries.size(), 4u);

    // A base folder an earlier version opened to everyone in full is given
    // the list at the first use; a system that keeps lists shows it.
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    ASSERT_TRUE(ICBSFileUtilities::GrantEveryoneFullAccess(ExpectedBaseFolder()));
    const std::wstring& base = LauncherBaseFolder();
    ASSERT_EQ(base, ExpectedBaseFolder());
    TempDir scratch;
    bool kept = testsupport::KeepsAccessListsAsGiven(scratch.Path());
    NoteWhenListsAreNotKept(kept);
    if (kept) {
        testsupport::ObjectSecurity security = testsupport::ReadObjectSecurity(base);
        ASSERT_TRUE(security.read);
        EXPECT_EQ(security.owner, testsupport::SidText(WinBuiltinAdministratorsSid));
        EXPECT_TRUE(security.protectedList);
        EXPECT_EQ(security.entries, entries);
        EXPECT_TRUE(ICBSFileUtilities::HasFolderSecurity(base, ICBSFileUtilities::kOpenBaseFolderSddl));
    }
    // Everyone can still reach and fill it.
    EXPECT_TRUE(EveryoneAllowed(base));
}
