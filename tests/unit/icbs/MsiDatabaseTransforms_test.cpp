// Shows that transforms are applied in order and that the files they add (or their cabinets) are copied beside the database.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

using msitest::Row;

std::wstring Transform(const std::wstring& name) {
    return testsupport::FixtureDir() + L"\\transforms\\" + name + L".mst";
}

// The package in folder "target" and an empty folder "source" beside it.
struct Layout {
    testsupport::TempDir folder;
    std::wstring target = folder.File(L"target");
    std::wstring source = folder.File(L"source");
    std::wstring path;
    Layout() {
        ::CreateDirectoryW(target.c_str(), nullptr);
        ::CreateDirectoryW(source.c_str(), nullptr);
        path = target + L"\\package.msi";
        std::wstring fixture = testsupport::FixtureDir() + L"\\editor.msi";
        EXPECT_TRUE(::CopyFileW(fixture.c_str(), path.c_str(), FALSE));
    }
    bool Apply(const std::vector<std::wstring>& transforms) {
        ICBSMSIDatabase database(path, false);
        EXPECT_TRUE(database);
        return database.ApplyTransforms(transforms, source, target);
    }
};

// A table after the transforms were applied to a fresh copy with msi.dll
// directly: what the operation must produce.
std::vector<Row> ExpectedTable(const std::vector<std::wstring>& transforms, const std::wstring& table) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        fw::MsiHandle database;
        EXPECT_EQ(fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_DIRECT, database.put()), ERROR_SUCCESS);
        for (const std::wstring& transform : transforms)
            EXPECT_EQ(fw::Msi().MsiDatabaseApplyTransformW(database.get(), transform.c_str(), 0), ERROR_SUCCESS);
        EXPECT_EQ(fw::Msi().MsiDatabaseCommit(database.get()), ERROR_SUCCESS);
    }
    return msitest::SortedTable(path, table);
}

TEST(MsiDatabaseTransforms, ATransformChangesAddsAndRemovesRowsAndIsCommitted) {
    Layout layout;
    std::vector<Row> original = msitest::SortedTable(layout.path, L"Property");
    EXPECT_TRUE(layout.Apply({Transform(L"property")}));
    std::vector<Row> changed = msitest::SortedTable(layout.path, L"Property");
    EXPECT_NE(changed, original);
    EXPECT_EQ(changed, ExpectedTable({Transform(L"property")}, L"Property"));
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"ProductName"), L"Transformed Editor");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"TRANSFORMED"), L"Yes");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"ALLUSERS"), L"<none>");
}

TEST(MsiDatabaseTransforms, EarlierChangesAreKeptAndTheDatabaseStaysUsable) {
    Layout layout;
    {
        ICBSMSIDatabase database(layout.path, false);
        ASSERT_TRUE(database.SetProperty(L"BEFORE", L"kept"));
        ASSERT_TRUE(database.ApplyTransforms({Transform(L"property")}, layout.source, layout.target));
        EXPECT_EQ(database.GetProperty(L"ProductName"), L"Transformed Editor");
        EXPECT_EQ(database.GetProperty(L"BEFORE"), L"kept");
        EXPECT_TRUE(database.SetProperty(L"AFTER", L"kept too"));
    }
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"BEFORE"), L"kept");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"AFTER"), L"kept too");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"TRANSFORMED"), L"Yes");
}

TEST(MsiDatabaseTransforms, TransformsApplyInTheOrderOfTheList) {
    Layout layout;
    EXPECT_TRUE(layout.Apply({Transform(L"property"), Transform(L"second")}));
    EXPECT_EQ(msitest::SortedTable(layout.path, L"Property"),
              ExpectedTable({Transform(L"property"), Transform(L"second")}, L"Property"));
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"ProductName"), L"Second Editor");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"TRANSFORMED"), L"Yes");
}

TEST(MsiDatabaseTransforms, LeadingAtOrBarIsDropped) {
    Layout layout;
    EXPECT_TRUE(layout.Apply({L"@" + Transform(L"property"), L"|" + Transform(L"second")}));
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"TRANSFORMED"), L"Yes");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"SECOND"), L"Yes");
}

TEST(MsiDatabaseTransforms, AStoredTransformIsRefusedAndEarlierOnesStayApplied) {
    Layout layout;
    EXPECT_FALSE(layout.Apply({Transform(L"property"), L":Embedded", Transform(L"second")}));
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"TRANSFORMED"), L"Yes");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"SECOND"), L"<none>");
}

TEST(MsiDatabaseTransforms, AMissingTransformStopsTheList) {
    Layout layout;
    std::string before = testsupport::ReadBytes(layout.path);
    EXPECT_FALSE(layout.Apply({layout.folder.File(L"missing.mst"), Transform(L"property")}));
    EXPECT_EQ(testsupport::ReadBytes(layout.path), before);

    EXPECT_FALSE(layout.Apply({Transform(L"property"), layout.folder.File(L"missing.mst"), Transform(L"second")}));
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"TRANSFORMED"), L"Yes");
    EXPECT_EQ(msitest::PropertyOf(layout.path, L"SECOND"), L"<none>");
}

TEST(MsiDatabaseTransforms, FilesThatAreNoTransformsFail) {
    Layout layout;
    std::string before = testsupport::ReadBytes(layout.path);
    std::wstring text = testsupport::SourceDir() + L"\\tests\\fixtures\\placeholder.mst";
    std::wstring package = msitest::CopyFixture(layout.folder, L"tools", L"tools.msi");
    EXPECT_FALSE(layout.Apply({text}));
    EXPECT_FALSE(layout.Apply({package}));
    EXPECT_EQ(testsupport::ReadBytes(layout.path), before);
}

TEST(MsiDatabaseTransforms, AnEmptyListSucceedsAndChangesNothing) {
    Layout layout;
    std::string before = testsupport::ReadBytes(layout.path);
    EXPECT_TRUE(layout.Apply({}));
    EXPECT_EQ(testsupport::ReadBytes(layout.path), before);
}

TEST(MsiDatabaseTransforms, AClosedDatabaseStaysClosed) {
    Layout layout;
    std::string before = testsupport::ReadBytes(layout.path);
    ICBSMSIDatabase database(layout.path, false);
    database.Close();
    EXPECT_FALSE(database.ApplyTransforms({Transform(L"property")}, layout.source, layout.target));
    EXPECT_EQ(database.Handle(), 0u);
    EXPECT_EQ(testsupport::ReadBytes(layout.path), before);
}

TEST(MsiDatabaseTransforms, AnAddedUncompressedFileIsCopiedFromTheSourceFolder) {
    Layout layout;
    testsupport::WriteBytes(layout.source + L"\\added.txt", "added by a transform");
    EXPECT_TRUE(layout.Apply({Transform(L"uncompressed")}));
    EXPECT_EQ(testsupport::ReadBytes(layout.target + L"\\added.txt"), "added by a transform");
    EXPECT_EQ(msitest::RowsOf(layout.path, L"SELECT `File` FROM `File` WHERE `File`='Added'").size(), 1u);
}

TEST(MsiDatabaseTransforms, AMissingOrAlreadyPresentFileFailsButTheTransformStays) {
    Layout missing;
    EXPECT_FALSE(missing.Apply({Transform(L"uncompressed")}));
    EXPECT_EQ(msitest::RowsOf(missing.path, L"SELECT `File` FROM `File` WHERE `File`='Added'").size(), 1u);

    Layout present;
    testsupport::WriteBytes(present.source + L"\\added.txt", "new");
    testsupport::WriteBytes(present.target + L"\\added.txt", "old");
    EXPECT_FALSE(present.Apply({Transform(L"uncompressed")}));
    EXPECT_EQ(testsupport::ReadBytes(present.target + L"\\added.txt"), "old");
    EXPECT_EQ(msitest::RowsOf(present.path, L"SELECT `File` FROM `File` WHERE `File`='Added'").size(), 1u);
}

TEST(MsiDatabaseTransforms, AnAddedCompressedFileBringsItsCabinet) {
    Layout layout;
    testsupport::WriteBytes(layout.source + L"\\extra.cab", "cabinet bytes");
    testsupport::WriteBytes(layout.source + L"\\packed.txt", "not copied");
    EXPECT_TRUE(layout.Apply({Transform(L"cabinet")}));
    EXPECT_EQ(testsupport::ReadBytes(layout.target + L"\\extra.cab"), "cabinet bytes");
    EXPECT_FALSE(testsupport::FileExists(layout.target + L"\\packed.txt"));
}

TEST(MsiDatabaseTransforms, TwoFilesInOneCabinetCopyItTwiceAndTheSecondCopyFails) {
    Layout layout;
    testsupport::WriteBytes(layout.source + L"\\extra.cab", "cabinet bytes");
    EXPECT_FALSE(layout.Apply({Transform(L"twofiles")}));
    EXPECT_EQ(testsupport::ReadBytes(layout.target + L"\\extra.cab"), "cabinet bytes");
}

TEST(MsiDatabaseTransforms, ACompressedFileWithoutMediaRowCopiesNothing) {
    Layout layout;
    testsupport::WriteBytes(layout.source + L"\\orphan.txt", "orphan");
    EXPECT_TRUE(layout.Apply({Transform(L"nomedia")}));
    EXPECT_FALSE(testsupport::FileExists(layout.target + L"\\orphan.txt"));
}

TEST(MsiDatabaseTransforms, AFileWithNeitherCompressionBitFailsWithoutACopy) {
    Layout layout;
    testsupport::WriteBytes(layout.source + L"\\plain.txt", "plain");
    EXPECT_FALSE(layout.Apply({Transform(L"neither")}));
    EXPECT_FALSE(testsupport::FileExists(layout.target + L"\\plain.txt"));
    EXPECT_EQ(msitest::RowsOf(layout.path, L"SELECT `File` FROM `File` WHERE `File`='Plain'").size(), 1u);
}

}  // namespace
