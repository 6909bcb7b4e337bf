// Shows that a table exported to a text archive file and imported again gives the same rows.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

TEST(MsiDatabaseImportExport, ExportWritesTheTableAsText) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::vector<msitest::Row> rows = msitest::RowsOf(path, L"SELECT `Property`, `Value` FROM `Property`");
    ICBSMSIDatabase database(path, false);
    ASSERT_TRUE(database.ExportTable(L"Property", folder.Path(), L"Property.idt"));
    std::vector<std::wstring> lines =
        testsupport::Lines(fw::FromCodePage(testsupport::ReadBytes(folder.File(L"Property.idt")), CP_ACP));
    ASSERT_GE(lines.size(), 3u + rows.size());
    EXPECT_EQ(lines[0], L"Property\tValue");
    EXPECT_EQ(lines[2], L"Property\tProperty");
    for (const msitest::Row& row : rows)
        EXPECT_NE(std::find(lines.begin(), lines.end(), row[0] + L"\t" + row[1]), lines.end());
    EXPECT_FALSE(database.ExportTable(L"NoSuchTable", folder.Path(), L"None.idt"));
}

TEST(MsiDatabaseImportExport, ImportIntoANewDatabaseIsCommittedOnClose) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::wstring created = folder.File(L"created.msi");
    {
        ICBSMSIDatabase source(path, false, true);
        ASSERT_TRUE(source.ExportTable(L"Property", folder.Path(), L"Property.idt"));
        ICBSMSIDatabase target(created, true);
        ASSERT_TRUE(target.ImportTable(folder.Path(), L"Property.idt"));
    }
    EXPECT_EQ(msitest::SortedTable(created, L"Property"), msitest::SortedTable(path, L"Property"));
}

TEST(MsiDatabaseImportExport, ImportReplacesTheTableOfAPackage) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        ICBSMSIDatabase database(path, false);
        ASSERT_TRUE(database.ExportTable(L"Property", folder.Path(), L"Property.idt"));
        std::string text = testsupport::ReadBytes(folder.File(L"Property.idt"));
        testsupport::WriteBytes(folder.File(L"Property.idt"), text + "IMPORTED\tYes\r\n");
        ASSERT_TRUE(database.ImportTable(folder.Path(), L"Property.idt"));
        EXPECT_TRUE(database.CommitOnClose());
    }
    EXPECT_EQ(msitest::PropertyOf(path, L"IMPORTED"), L"Yes");
    EXPECT_NE(msitest::PropertyOf(path, L"ProductName"), L"<none>");
}

TEST(MsiDatabaseImportExport, ImportOfAMissingOrBrokenFileFails) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    testsupport::WriteBytes(folder.File(L"Broken.idt"), "no header here");
    ICBSMSIDatabase database(path, false);
    EXPECT_FALSE(database.ImportTable(folder.Path(), L"Missing.idt"));
    EXPECT_FALSE(database.ImportTable(folder.Path(), L"Broken.idt"));
    EXPECT_FALSE(database.CommitOnClose());
}

}  // namespace
