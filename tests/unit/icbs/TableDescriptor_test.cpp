// Shows how a table's insert and key-select statements are composed from its columns and their installer types.
#include "icbs/TableDescriptor.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

TEST(MsiTableDescriptor, InsertListsEveryColumnAndBindsByTypeLetter) {
    TableDescriptor file(L"File", {L"File", L"Component_", L"FileName", L"FileSize", L"Version", L"Attributes"},
                         {L"s72", L"S72", L"l255", L"i4", L"L20", L"I2"});
    EXPECT_EQ(file.InsertStatement(),
              L"INSERT INTO `File` (`File`.`File`,`File`.`Component_`,`File`.`FileName`,`File`.`FileSize`,"
              L"`File`.`Version`,`File`.`Attributes`) VALUES (?,?,?,?,?,?)");
    EXPECT_EQ(file.InsertParameterTypes(), L"%s%s%s%d%s%d");
    EXPECT_EQ(file.InsertParameterCount(), 6u);
    EXPECT_FALSE(file.HasStreamColumn());
}

TEST(MsiTableDescriptor, StreamColumnsAddNoValueAndMarkTheTable) {
    TableDescriptor binary(L"Binary", {L"Name", L"Data"}, {L"s72", L"v0"});
    EXPECT_EQ(binary.InsertStatement(), L"INSERT INTO `Binary` (`Binary`.`Name`,`Binary`.`Data`) VALUES (?)");
    EXPECT_EQ(binary.InsertParameterTypes(), L"%s");
    EXPECT_TRUE(binary.HasStreamColumn());
}

TEST(MsiTableDescriptor, KeySelectUsesTheLeadingColumns) {
    TableDescriptor control(L"Control", {L"Dialog_", L"Control", L"Type"}, {L"s72", L"s50", L"s20"});
    EXPECT_EQ(control.KeySelect(1), L"SELECT * FROM Control WHERE Dialog_=?");
    EXPECT_EQ(control.KeySelect(2), L"SELECT * FROM Control WHERE Dialog_=? AND Control=?");
    EXPECT_EQ(&control.KeySelect(2), &control.KeySelect(2));  // cached
    EXPECT_EQ(control.KeySelect(4), L"");
    EXPECT_EQ(control.KeySelect(0), L"");
}

TEST(MsiTableDescriptor, LoadReadsTheColumnsOfARealTable) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    fw::MsiHandle database;
    ASSERT_EQ(fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, database.put()), ERROR_SUCCESS);
    // The expected column names, independently from the _Columns table.
    std::vector<msitest::Row> columns =
        msitest::Rows(database.get(), L"SELECT `Name` FROM `_Columns` WHERE `Table`='Media' ORDER BY `Number`");
    std::unique_ptr<TableDescriptor> media = TableDescriptor::Load(database.get(), L"Media");
    ASSERT_TRUE(media);
    ASSERT_EQ(media->ColumnNames().size(), columns.size());
    for (size_t i = 0; i < columns.size(); ++i) EXPECT_EQ(media->ColumnNames()[i], columns[i][0]);
    EXPECT_EQ(media->InsertParameterCount(), columns.size());
    EXPECT_EQ(media->ColumnTypes()[0].substr(0, 1), L"i");  // DiskId

    EXPECT_FALSE(TableDescriptor::Load(database.get(), L"NoSuchTable"));
}

}  // namespace
