// Shows reading and writing the Property table: insert, update, empty value, removal, and absent rows.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

struct Package {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
};

TEST(MsiDatabaseProperties, GetPropertyReadsTheValueOrNothing) {
    Package package;
    std::wstring expected = msitest::PropertyOf(package.path, L"ProductName");
    ASSERT_NE(expected, L"<none>");
    ICBSMSIDatabase database(package.path, false);
    EXPECT_EQ(database.GetProperty(L"ProductName"), expected);
    EXPECT_EQ(database.GetProperty(L"NO_SUCH_PROPERTY"), L"");
}

TEST(MsiDatabaseProperties, SetPropertyInsertsAndUpdates) {
    Package package;
    {
        ICBSMSIDatabase database(package.path, false);
        EXPECT_TRUE(database.SetProperty(L"NEWPROP", L"first"));
        EXPECT_TRUE(database.SetProperty(L"ProductName", L"Renamed Product"));
        EXPECT_EQ(database.GetProperty(L"NEWPROP"), L"first");
        EXPECT_TRUE(database.SetProperty(L"NEWPROP", L"second"));
    }
    EXPECT_EQ(msitest::PropertyOf(package.path, L"NEWPROP"), L"second");
    EXPECT_EQ(msitest::PropertyOf(package.path, L"ProductName"), L"Renamed Product");
}

TEST(MsiDatabaseProperties, EmptyValueIsStoredAndNoValueRemovesTheRow) {
    Package package;
    {
        ICBSMSIDatabase database(package.path, false);
        EXPECT_TRUE(database.SetProperty(L"Manufacturer", std::wstring()));
        EXPECT_TRUE(database.SetProperty(L"ProductLanguage", std::nullopt));
    }
    EXPECT_EQ(msitest::PropertyOf(package.path, L"Manufacturer"), L"");
    EXPECT_EQ(msitest::PropertyOf(package.path, L"ProductLanguage"), L"<none>");
}

TEST(MsiDatabaseProperties, NothingToStoreForAMissingRowChangesNothing) {
    Package package;
    std::string before = testsupport::ReadBytes(package.path);
    {
        ICBSMSIDatabase database(package.path, false);
        EXPECT_TRUE(database.SetProperty(L"ABSENT", std::wstring()));
        EXPECT_TRUE(database.SetProperty(L"ABSENT", std::nullopt));
        EXPECT_FALSE(database.CommitOnClose());
    }
    EXPECT_EQ(testsupport::ReadBytes(package.path), before);
}

TEST(MsiDatabaseProperties, NamesAreBoundNotFormattedIntoTheQuery) {
    Package package;
    const std::wstring name = L"QUOTE'S";
    {
        ICBSMSIDatabase database(package.path, false);
        EXPECT_TRUE(database.SetProperty(name, L"kept"));
        EXPECT_EQ(database.GetProperty(name), L"kept");
    }
    std::vector<msitest::Row> rows = msitest::RowsOf(package.path, L"SELECT `Property`, `Value` FROM `Property`");
    bool found = false;
    for (const msitest::Row& row : rows) found = found || (row[0] == name && row[1] == L"kept");
    EXPECT_TRUE(found);
}

}  // namespace
