// Shows the open modes of a database, its commit when the owner is destroyed, and what a failed open leaves.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

using testsupport::ReadBytes;

TEST(MsiDatabaseOpen, DirectModeChangesAreCommittedWhenTheOwnerIsDestroyed) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        ICBSMSIDatabase database(path, false);
        ASSERT_TRUE(database);
        EXPECT_FALSE(database.CommitOnClose());
        ASSERT_TRUE(database.SetProperty(L"COMMITTED", L"Yes"));
        EXPECT_TRUE(database.CommitOnClose());
    }
    EXPECT_EQ(msitest::PropertyOf(path, L"COMMITTED"), L"Yes");
}

TEST(MsiDatabaseOpen, ReadingOnlyLeavesTheFileAsItWas) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::string before = ReadBytes(path);
    {
        ICBSMSIDatabase database(path, false);
        ASSERT_TRUE(database);
        EXPECT_FALSE(database.GetProperty(L"ProductName").empty());
    }
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(MsiDatabaseOpen, ReadOnlyModeNeverWritesTheFile) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::string before = ReadBytes(path);
    std::wstring name = msitest::PropertyOf(path, L"ProductName");
    {
        ICBSMSIDatabase database(path, false, true);
        ASSERT_TRUE(database);
        EXPECT_EQ(database.GetProperty(L"ProductName"), name);
        database.SetProperty(L"ProductName", L"Changed in memory");  // may or may not be refused
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(msitest::PropertyOf(path, L"ProductName"), name);
}

TEST(MsiDatabaseOpen, CreateModeMakesANewDatabaseThatIsAlwaysCommitted) {
    testsupport::TempDir folder;
    std::wstring path = folder.File(L"new.msi");
    {
        ICBSMSIDatabase database(path, true);
        ASSERT_TRUE(database);
        EXPECT_TRUE(database.CommitOnClose());
    }
    ASSERT_TRUE(testsupport::FileExists(path));
    fw::MsiHandle reopened;
    EXPECT_EQ(fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, reopened.put()),
              static_cast<UINT>(ERROR_SUCCESS));
}

TEST(MsiDatabaseOpen, CreateModeReplacesAnExistingPackage) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    { ICBSMSIDatabase database(path, true); }
    EXPECT_TRUE(msitest::RowsOf(path, L"SELECT * FROM `_Tables`").empty());
}

TEST(MsiDatabaseOpen, CommitWritesWithoutClosing) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    ICBSMSIDatabase database(path, false);
    ASSERT_TRUE(database.SetProperty(L"FIRST", L"1"));
    ASSERT_TRUE(database.Commit());
    EXPECT_FALSE(database.CommitOnClose());
    // A copy of the file as it is now holds the committed change.
    std::wstring snapshot = folder.File(L"snapshot.msi");
    testsupport::WriteBytes(snapshot, ReadBytes(path));
    EXPECT_EQ(msitest::PropertyOf(snapshot, L"FIRST"), L"1");
    EXPECT_TRUE(database.GetProperty(L"FIRST") == L"1");
}

TEST(MsiDatabaseOpen, CloseIsDoneOnceAndLeavesNoHandle) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    ICBSMSIDatabase database(path, false);
    ASSERT_TRUE(database.SetProperty(L"CLOSED", L"Yes"));
    database.Close();
    EXPECT_EQ(database.Handle(), 0u);
    EXPECT_EQ(msitest::PropertyOf(path, L"CLOSED"), L"Yes");
    database.Close();
    EXPECT_FALSE(database.SetProperty(L"AFTER", L"No"));
}

TEST(MsiDatabaseOpen, MissingOrInvalidFilesLeaveHandleZero) {
    testsupport::TempDir folder;
    std::wstring text = folder.File(L"text.msi");
    testsupport::WriteBytes(text, "not a database");
    for (const std::wstring& path : {folder.File(L"missing.msi"), text}) {
        ICBSMSIDatabase direct(path, false);
        EXPECT_EQ(direct.Handle(), 0u);
        ICBSMSIDatabase readOnly(path, false, true);
        EXPECT_EQ(readOnly.Handle(), 0u);
        EXPECT_EQ(direct.GetProperty(L"ProductName"), L"");
        EXPECT_FALSE(direct.SetProperty(L"X", L"1"));
        EXPECT_FALSE(direct.InsertRow(L"Property", L"X", L"1"));
    }
    EXPECT_FALSE(testsupport::FileExists(folder.File(L"missing.msi")));
    EXPECT_EQ(ReadBytes(text), "not a database");
}

// Windows Installer cannot be made to fail a commit on demand; the entry in
// the function table is replaced for the duration of the test.
UINT WINAPI FailingCommit(MSIHANDLE) { return ERROR_FUNCTION_FAILED; }

struct CommitFails {
    decltype(fw::Msi().MsiDatabaseCommit.fn) saved = fw::Msi().MsiDatabaseCommit.fn;
    CommitFails() { fw::Msi().MsiDatabaseCommit.fn = FailingCommit; }
    ~CommitFails() { fw::Msi().MsiDatabaseCommit.fn = saved; }
};

TEST(MsiDatabaseOpen, FailedCommitKeepsTheFlagAndCloseStillClosesTheHandles) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::string before = ReadBytes(path);
    MSIHANDLE handle = 0;
    {
        CommitFails failing;
        ICBSMSIDatabase database(path, false);
        ASSERT_TRUE(database);
        handle = database.Handle();
        ASSERT_TRUE(database.SetProperty(L"LOST", L"1"));
        EXPECT_FALSE(database.Commit());
        EXPECT_TRUE(database.CommitOnClose());
        database.Close();
        EXPECT_EQ(database.Handle(), 0u);
    }
    EXPECT_EQ(fw::Msi().MsiCloseHandle(handle), static_cast<UINT>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(msitest::PropertyOf(path, L"LOST"), L"<none>");
}

TEST(MsiDatabaseOpen, ReadOnlyChangesStayInMemoryAndTheHandleIsClosed) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::string before = ReadBytes(path);
    MSIHANDLE handle = 0;
    {
        ICBSMSIDatabase database(path, false, true);
        ASSERT_TRUE(database);
        handle = database.Handle();
        if (database.InsertRow(L"Property", L"READONLY", L"1")) {
            EXPECT_EQ(database.GetProperty(L"READONLY"), L"1");
        }
    }
    EXPECT_EQ(fw::Msi().MsiCloseHandle(handle), static_cast<UINT>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ReadBytes(path), before);
}

}  // namespace
