// Shows that statements bind their parameters as the type string says, in both forms, and report failures by code.
#include "icbs/MsiDatabaseQuery.h"
#include "icbs/MsiDatabaseSQLStatement.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

using msitest::Row;

struct OpenPackage {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    fw::MsiHandle database;
    OpenPackage() { fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_DIRECT, database.put()); }
};

TEST(MsiStatementBinding, SpecifiersFillRecordFieldsInOrder) {
    fw::MsiHandle record;
    ASSERT_EQ(BindMsiParameters(L"%s%d%s", {L"text", 42, 7}, record), ERROR_SUCCESS);
    ASSERT_TRUE(record);
    EXPECT_EQ(fw::Msi().MsiRecordGetFieldCount(record.get()), 3u);
    EXPECT_EQ(msitest::Field(record.get(), 1), L"text");
    EXPECT_EQ(fw::Msi().MsiRecordGetInteger(record.get(), 2), 42);
    EXPECT_EQ(msitest::Field(record.get(), 3), L"7");  // an integer bound as text
}

TEST(MsiStatementBinding, DecimalTextsBindAsIntegersAndNullsStayNull) {
    fw::MsiHandle record;
    ASSERT_EQ(BindMsiParameters(L"%d%d%s", {L"-17", nullptr, nullptr}, record), ERROR_SUCCESS);
    EXPECT_EQ(fw::Msi().MsiRecordGetInteger(record.get(), 1), -17);
    EXPECT_TRUE(fw::Msi().MsiRecordIsNull(record.get(), 2));
    EXPECT_TRUE(fw::Msi().MsiRecordIsNull(record.get(), 3));
}

TEST(MsiStatementBinding, OtherLettersTakeNoValueAndKeepTheField) {
    fw::MsiHandle record;
    ASSERT_EQ(BindMsiParameters(L"%x%s", {L"only"}, record), ERROR_SUCCESS);
    // Two specifiers make a two-field record; the value lands in field 1.
    EXPECT_EQ(fw::Msi().MsiRecordGetFieldCount(record.get()), 2u);
    EXPECT_EQ(msitest::Field(record.get(), 1), L"only");
}

TEST(MsiStatementBinding, MissingExtraAndMalformedValuesAreRefused) {
    fw::MsiHandle record;
    EXPECT_EQ(BindMsiParameters(L"%s%s", {L"one"}, record), static_cast<UINT>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(BindMsiParameters(L"%s", {L"one", L"two"}, record), static_cast<UINT>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(BindMsiParameters(L"%d", {L"12abc"}, record), static_cast<UINT>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(BindMsiParameters(nullptr, {L"one"}, record), static_cast<UINT>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(BindMsiParameters(L"", {}, record), static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_FALSE(record);
}

TEST(MsiStatementBinding, QueryWithTextParameterFindsTheRow) {
    OpenPackage package;
    std::vector<Row> expected =
        msitest::Rows(package.database.get(), L"SELECT `Value` FROM `Property` WHERE `Property`='ProductName'");
    ASSERT_EQ(expected.size(), 1u);
    ICBSMSIDatabaseQuery query(package.database.get(), L"SELECT Property, Value FROM Property WHERE Property=?",
                               L"%s", L"ProductName");
    ASSERT_TRUE(query.Succeeded());
    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(query.GetString(1), L"ProductName");
    EXPECT_EQ(query.GetString(2), expected[0][0]);
    EXPECT_FALSE(query.Fetch());
}

TEST(MsiStatementBinding, QueryWithIntegerParameterAndBothForms) {
    OpenPackage package;
    std::vector<Row> files = msitest::Rows(package.database.get(), L"SELECT `File`, `Sequence` FROM `File`");
    ASSERT_FALSE(files.empty());
    int sequence = std::stoi(files[0][1]);
    ICBSMSIDatabaseQuery byValue(package.database.get(), L"SELECT File, Sequence FROM File WHERE Sequence=?", L"%d",
                                 sequence);
    ASSERT_TRUE(byValue.Fetch());
    EXPECT_EQ(byValue.GetString(1), files[0][0]);
    EXPECT_EQ(byValue.GetInteger(2), sequence);

    ICBSMSIDatabaseQuery byTexts(package.database.get(),
                                 L"SELECT File FROM File WHERE Sequence=? AND File=?", L"%d%s",
                                 std::vector<std::wstring>{files[0][1], files[0][0]});
    ASSERT_TRUE(byTexts.Succeeded());
    ASSERT_TRUE(byTexts.Fetch());
    EXPECT_EQ(byTexts.GetString(1), files[0][0]);
}

TEST(MsiStatementBinding, ListFormNeedsOneValuePerSpecifier) {
    OpenPackage package;
    ICBSMSIDatabaseQuery tooFew(package.database.get(), L"SELECT File FROM File WHERE Sequence=? AND File=?",
                                L"%d%s", std::vector<std::wstring>{L"1"});
    EXPECT_EQ(tooFew.Result(), static_cast<UINT>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(tooFew.Fetch());
    ICBSMSIDatabaseQuery none(package.database.get(), L"SELECT File FROM File", L"", std::vector<std::wstring>{});
    EXPECT_EQ(none.Result(), static_cast<UINT>(ERROR_INVALID_PARAMETER));
}

TEST(MsiStatementBinding, ExecuteAgainRebindsTheValues) {
    OpenPackage package;
    ICBSMSIDatabaseQuery query(package.database.get(), L"SELECT Value FROM Property WHERE Property=?", L"%s",
                               L"Manufacturer");
    ASSERT_TRUE(query.Fetch());
    std::wstring manufacturer = query.GetString(1);
    ASSERT_EQ(query.Execute(L"%s", {L"ProductLanguage"}), static_cast<UINT>(ERROR_SUCCESS));
    ASSERT_TRUE(query.Fetch());
    std::vector<Row> expected =
        msitest::Rows(package.database.get(), L"SELECT `Value` FROM `Property` WHERE `Property`='ProductLanguage'");
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_EQ(query.GetString(1), expected[0][0]);
    EXPECT_NE(query.GetString(1), manufacturer);
}

TEST(MsiStatementBinding, BadSqlAndNoDatabaseReportCodes) {
    OpenPackage package;
    ICBSMSIDatabaseSQLStatement bad(package.database.get(), L"SELECT FROM WHERE nothing");
    EXPECT_FALSE(bad.Succeeded());
    EXPECT_NE(bad.Result(), static_cast<UINT>(ERROR_SUCCESS));

    ICBSMSIDatabaseSQLStatement missingTable(package.database.get(), L"SELECT * FROM `NoSuchTable`");
    EXPECT_FALSE(missingTable.Succeeded());

    ICBSMSIDatabaseQuery noDatabase(0, L"SELECT * FROM Property");
    EXPECT_EQ(noDatabase.Result(), static_cast<UINT>(ERROR_BADDB));
    EXPECT_FALSE(noDatabase.Fetch());
    EXPECT_EQ(noDatabase.GetInteger(1), 0);
    EXPECT_EQ(noDatabase.GetString(1), L"");
}

TEST(MsiStatementBinding, RowWithoutFetchAndAfterTheLastRow) {
    OpenPackage package;
    ICBSMSIDatabaseQuery query(package.database.get(), L"SELECT Property FROM Property WHERE Property=?", L"%s",
                               L"NoSuchProperty");
    ASSERT_TRUE(query.Succeeded());
    EXPECT_EQ(query.GetInteger(1), 0);
    EXPECT_FALSE(query.Fetch());
    EXPECT_EQ(query.Row(), 0u);
    EXPECT_EQ(query.ModifyRow(MSIMODIFY_DELETE), static_cast<UINT>(ERROR_INVALID_HANDLE));
}

TEST(MsiStatementBinding, OwnedDatabaseIsClosedWithTheStatement) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    MSIHANDLE database = 0;
    ASSERT_EQ(fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, &database), ERROR_SUCCESS);
    {
        ICBSMSIDatabaseQuery query(database, L"SELECT * FROM Property");
        query.OwnDatabase();
        EXPECT_TRUE(query.Fetch());
    }
    EXPECT_EQ(fw::Msi().MsiCloseHandle(database), static_cast<UINT>(ERROR_INVALID_HANDLE));
}

}  // namespace
