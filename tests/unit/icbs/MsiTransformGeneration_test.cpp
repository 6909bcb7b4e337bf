// Shows that generating a transform reports what the installer can do, and never changes either database.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

// Two copies of the package, the second with a changed product name.
struct Pair {
    testsupport::TempDir folder;
    std::wstring base = msitest::CopyFixture(folder, L"editor", L"base.msi");
    std::wstring other = msitest::CopyFixture(folder, L"editor", L"other.msi");
    Pair() {
        fw::MsiHandle database;
        EXPECT_EQ(fw::Msi().MsiOpenDatabaseW(other.c_str(), MSIDBOPEN_DIRECT, database.put()), ERROR_SUCCESS);
        EXPECT_TRUE(msitest::Execute(database.get(),
                                     L"UPDATE `Property` SET `Value`='Other Editor' WHERE `Property`='ProductName'"));
        EXPECT_EQ(fw::Msi().MsiDatabaseCommit(database.get()), ERROR_SUCCESS);
    }
};

// Whether this system's installer writes a transform with its summary,
// tried on copies of its own.
bool InstallerGeneratesTransforms() {
    Pair pair;
    std::wstring probe = pair.folder.File(L"probe.mst");
    fw::MsiHandle base, other;
    fw::Msi().MsiOpenDatabaseW(pair.base.c_str(), MSIDBOPEN_READONLY, base.put());
    fw::Msi().MsiOpenDatabaseW(pair.other.c_str(), MSIDBOPEN_READONLY, other.put());
    return fw::Msi().MsiDatabaseGenerateTransformW(other.get(), base.get(), probe.c_str(), 0, 0) == ERROR_SUCCESS &&
           fw::Msi().MsiCreateTransformSummaryInfoW(other.get(), base.get(), probe.c_str(), 32, 2048) ==
               ERROR_SUCCESS;
}

TEST(MsiTransformGeneration, TheResultIsWhatTheInstallerCanDo) {
    bool supported = InstallerGeneratesTransforms();
    Pair pair;
    std::string baseBefore = testsupport::ReadBytes(pair.base);
    std::string otherBefore = testsupport::ReadBytes(pair.other);
    std::wstring transform = pair.folder.File(L"changes.mst");
    bool generated = false;
    {
        ICBSMSIDatabase database(pair.base, false);
        generated = database.GenerateTransform(pair.other, transform);
        EXPECT_EQ(generated, supported);
        EXPECT_FALSE(database.CommitOnClose());
        EXPECT_FALSE(database.GetProperty(L"ProductName").empty());  // still usable
    }
    EXPECT_EQ(testsupport::ReadBytes(pair.base), baseBefore);
    EXPECT_EQ(testsupport::ReadBytes(pair.other), otherBefore);
    if (generated) {
        // The transform turns the base into the other database.
        std::wstring target = msitest::CopyFixture(pair.folder, L"editor", L"target.msi");
        {
            ICBSMSIDatabase database(target, false);
            ASSERT_TRUE(database.ApplyTransforms({transform}, pair.folder.Path(), pair.folder.Path()));
        }
        EXPECT_EQ(msitest::PropertyOf(target, L"ProductName"), msitest::PropertyOf(pair.other, L"ProductName"));
    }
}

TEST(MsiTransformGeneration, AMissingOtherDatabaseFails) {
    Pair pair;
    std::wstring transform = pair.folder.File(L"changes.mst");
    ICBSMSIDatabase database(pair.base, false);
    EXPECT_FALSE(database.GenerateTransform(pair.folder.File(L"missing.msi"), transform));
    EXPECT_FALSE(testsupport::FileExists(transform));
    EXPECT_FALSE(testsupport::FileExists(pair.folder.File(L"missing.msi")));
}

}  // namespace
