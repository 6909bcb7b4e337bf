// Shows that summary information is read, changed and written back when the database is closed.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

constexpr UINT kTitle = 2, kTemplate = 7, kWordCount = 15;

// A summary property of a database file, read with msi.dll directly.
struct RawSummary {
    std::wstring text;
    int integer = 0;
};
RawSummary SummaryOf(const std::wstring& path, UINT property) {
    RawSummary result;
    fw::MsiHandle summary;
    if (fw::Msi().MsiGetSummaryInformationW(0, path.c_str(), 0, summary.put()) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot read summary";
        return result;
    }
    UINT type = 0;
    wchar_t buffer[512] = {};
    DWORD size = 512;
    fw::Msi().MsiSummaryInfoGetPropertyW(summary.get(), property, &type, &result.integer, nullptr, buffer, &size);
    result.text = buffer;
    return result;
}

TEST(MsiDatabaseSummary, GettersReadTheStoredProperties) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    RawSummary title = SummaryOf(path, kTitle), words = SummaryOf(path, kWordCount);
    ICBSMSIDatabase database(path, false);
    EXPECT_EQ(database.GetSummaryString(kTitle), title.text);
    EXPECT_EQ(database.GetSummaryInteger(kWordCount), words.integer);
    EXPECT_EQ(database.GetSummaryString(kWordCount), std::to_wstring(words.integer));
    EXPECT_FALSE(database.GetSummaryInteger(kTitle).has_value());
}

TEST(MsiDatabaseSummary, TemplateAndWordCountBitsAreWrittenOnClose) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    int before = SummaryOf(path, kWordCount).integer;
    {
        ICBSMSIDatabase database(path, false);
        ASSERT_TRUE(database.SetSummaryTemplate(L"Intel;1031"));
        // Every bit turned the other way round.
        ASSERT_TRUE(database.SetShortFileNames(!(before & 1)));
        ASSERT_TRUE(database.SetCompressed(!(before & 2)));
        ASSERT_TRUE(database.SetAdministrativeImage(!(before & 4)));
        ASSERT_TRUE(database.SetNoElevationNeeded(!(before & 8)));
        EXPECT_EQ(database.GetSummaryString(kTemplate), L"Intel;1031");
        EXPECT_EQ(database.GetSummaryInteger(kWordCount), before ^ 15);
    }
    EXPECT_EQ(SummaryOf(path, kTemplate).text, L"Intel;1031");
    EXPECT_EQ(SummaryOf(path, kWordCount).integer, before ^ 15);
}

TEST(MsiDatabaseSummary, SettingABitTwiceKeepsTheOthers) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    int before = SummaryOf(path, kWordCount).integer;
    {
        ICBSMSIDatabase database(path, false);
        ASSERT_TRUE(database.SetCompressed(true));
        ASSERT_TRUE(database.SetCompressed(true));
        ASSERT_TRUE(database.SetAdministrativeImage(false));
    }
    EXPECT_EQ(SummaryOf(path, kWordCount).integer, (before | 2) & ~4);
}

TEST(MsiDatabaseSummary, NoDatabaseNoSummary) {
    testsupport::TempDir folder;
    ICBSMSIDatabase database(folder.File(L"missing.msi"), false);
    EXPECT_FALSE(database.SetSummaryTemplate(L"Intel;1033"));
    EXPECT_FALSE(database.SetCompressed(true));
    EXPECT_EQ(database.GetSummaryString(kTitle), L"");
    EXPECT_FALSE(database.GetSummaryInteger(kWordCount).has_value());
}

}  // namespace
