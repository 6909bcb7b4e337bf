// Shows that the transforms named with TRANSFORMS= are applied by the launcher to the unpacked package database, in order and with their log lines, and that the files they add come from the current folder.
#include "execution/CommandLineTransforms.h"
#include "execution/PrepareDatabase.h"

#include <memory>

#include "catalogue/SetupPackage.h"
#include "icbs/ICBSFileUtilities.h"
#include "launcher/SetupApp.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

using msitest::Row;

std::wstring FixtureTransform(const std::wstring& name) {
    return testsupport::FixtureDir() + L"\\transforms\\" + name + L".mst";
}

// The launcher started from folder "start" (its current folder, holding
// the transforms and the files they add) with the given arguments, and the
// editor package unpacked into folder "package".
class LauncherRun {
public:
    explicit LauncherRun(const std::wstring& arguments, const std::wstring& databaseName = L"editor.msi") {
        ::CreateDirectoryW(packageFolder.c_str(), nullptr);
        ::CreateDirectoryW(startFolder.c_str(), nullptr);
        std::wstring fixture = testsupport::FixtureDir() + L"\\editor.msi";
        EXPECT_TRUE(::CopyFileW(fixture.c_str(), (packageFolder + L"\\editor.msi").c_str(), FALSE));
        previousFolder_ = ICBSFileUtilities::GetCurrentFolder();
        ::SetCurrentDirectoryW(startFolder.c_str());
        app_ = std::make_unique<CSetupApp>(L"setup.exe /L*v \"" + logPath + L"\" " + arguments);
        PackageRecord fields;
        fields.name = L"Morvex Test Editor 2024";
        fields.productCode = msitest::PropertyOf(fixture, L"ProductCode");
        fields.isMain = true;
        package = std::make_unique<SetupPackage>(std::move(fields), app_->DetectionContextFor(true));
        package->msiFolder = packageFolder;
        package->msiFileName = packageFolder + L"\\" + databaseName;
    }
    ~LauncherRun() { ::SetCurrentDirectoryW(previousFolder_.c_str()); }

    // The step before an installer call, with this run's command line.
    void Prepare() { PrepareDatabase(*package, app_->CommandLine().uiLevel, app_->CommandLine().transforms); }

    // Puts a fixture transform into the start folder under its own name.
    void Offer(const std::wstring& transform) {
        std::wstring target = startFolder + L"\\" + transform + L".mst";
        EXPECT_TRUE(::CopyFileW(FixtureTransform(transform).c_str(), target.c_str(), FALSE));
    }
    CSetupApp& App() { return *app_; }
    std::wstring Database() const { return package->msiFileName; }
    std::vector<std::wstring> LogLines() const { return testsupport::Lines(testsupport::ReadUtf16(logPath)); }
    int CountLines(const std::wstring& line) const {
        int count = 0;
        for (const std::wstring& each : LogLines()) count += each == line ? 1 : 0;
        return count;
    }
    int CountLinesStartingWith(const std::wstring& start) const {
        int count = 0;
        for (const std::wstring& each : LogLines()) count += each.rfind(start, 0) == 0 ? 1 : 0;
        return count;
    }

    testsupport::TempDir folder;
    std::wstring packageFolder = folder.File(L"package");
    std::wstring startFolder = folder.File(L"start");
    std::wstring logPath = folder.File(L"setup.log");
    std::unique_ptr<SetupPackage> package;

private:
    std::wstring previousFolder_;
    std::unique_ptr<CSetupApp> app_;
};

// The Property table after the fixture transforms were applied to a fresh
// copy through msi.dll directly.
std::vector<Row> ExpectedProperties(const std::vector<std::wstring>& transforms) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        fw::MsiHandle database;
        EXPECT_EQ(fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_DIRECT, database.put()), ERROR_SUCCESS);
        for (const std::wstring& transform : transforms)
            EXPECT_EQ(fw::Msi().MsiDatabaseApplyTransformW(database.get(), FixtureTransform(transform).c_str(), 0),
                      ERROR_SUCCESS);
        EXPECT_EQ(fw::Msi().MsiDatabaseCommit(database.get()), ERROR_SUCCESS);
    }
    std::vector<Row> rows = msitest::RowsOf(path, L"SELECT * FROM `Property`");
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<Row> PropertiesOf(const std::wstring& path) {
    std::vector<Row> rows = msitest::RowsOf(path, L"SELECT * FROM `Property`");
    std::sort(rows.begin(), rows.end());
    return rows;
}

const wchar_t kApplying[] = L"ZEL (c): Applying transformations: ";
const wchar_t kApplied[] = L"ZEL (c): Transformations successfully applied";
const wchar_t kFailed[] = L"ZEL (c): Transformations failed";

TEST(CommandLineTransforms, TheListSplitsAtSemicolonsAndKeepsItsOrder) {
    EXPECT_EQ(SplitTransformList(L"a.mst"), std::vector<std::wstring>{L"a.mst"});
    EXPECT_EQ(SplitTransformList(L"b.mst;a.mst"), (std::vector<std::wstring>{L"b.mst", L"a.mst"}));
    EXPECT_EQ(SplitTransformList(L"@C:\\x y\\a.mst;|b.mst;:Embedded"),
              (std::vector<std::wstring>{L"@C:\\x y\\a.mst", L"|b.mst", L":Embedded"}));
    EXPECT_EQ(SplitTransformList(L";a.mst;;b.mst;"), (std::vector<std::wstring>{L"a.mst", L"b.mst"}));
    EXPECT_TRUE(SplitTransformList(L"").empty());
}

TEST(CommandLineTransforms, AddedFilesGoToTheFolderOfTheDatabase) {
    EXPECT_EQ(FolderOfFile(L"C:\\ProgramData\\Morvex\\{X}\\editor.msi"), L"C:\\ProgramData\\Morvex\\{X}");
    EXPECT_EQ(FolderOfFile(L"C:/data/pkg/editor.msi"), L"C:/data/pkg");
    EXPECT_EQ(FolderOfFile(L"C:\\data/pkg\\editor.msi"), L"C:\\data/pkg");
    EXPECT_EQ(FolderOfFile(L"editor.msi"), L".");
}

TEST(CommandLineTransforms, WithoutTransformsTheDatabaseIsNeverOpened) {
    // A database that cannot be opened shows whether an open was tried.
    LauncherRun run(L"/qn", L"missing.msi");
    run.Prepare();
    EXPECT_EQ(run.CountLinesStartingWith(L"ZEL (c): Cannot open"), 0);
    EXPECT_EQ(run.CountLinesStartingWith(kApplying), 0);

    LauncherRun tried(L"/qn TRANSFORMS=property.mst", L"missing.msi");
    tried.Offer(L"property");
    tried.Prepare();
    EXPECT_EQ(tried.CountLines(L"ZEL (c): Cannot open MIS database file " + tried.Database() +
                               L". No transformations applied."),
              1);
    EXPECT_EQ(tried.CountLinesStartingWith(kApplying), 0);
}

TEST(CommandLineTransforms, TwoTransformsApplyInOrderWithOneLogLine) {
    LauncherRun run(L"/qn TRANSFORMS=property.mst;second.mst");
    run.Offer(L"property");
    run.Offer(L"second");
    run.Prepare();
    EXPECT_EQ(run.CountLinesStartingWith(kApplying), 1);
    EXPECT_EQ(run.CountLines(kApplying + std::wstring(L"property.mst;second.mst")), 1);
    EXPECT_EQ(run.CountLines(kApplied), 1);
    EXPECT_EQ(run.CountLines(kFailed), 0);
    // Committed on disk, the second transform's name last.
    EXPECT_EQ(PropertiesOf(run.Database()), ExpectedProperties({L"property", L"second"}));
    EXPECT_EQ(msitest::PropertyOf(run.Database(), L"ProductName"), L"Second Editor");
}

TEST(CommandLineTransforms, ALeadingAtOrBarIsRemoved) {
    LauncherRun run(L"/qn TRANSFORMS=@property.mst;|second.mst");
    run.Offer(L"property");
    run.Offer(L"second");
    ApplyCommandLineTransforms(*run.package, run.App().CommandLine().transforms);
    EXPECT_EQ(run.CountLines(kApplying + std::wstring(L"@property.mst;|second.mst")), 1);
    EXPECT_EQ(run.CountLines(kApplied), 1);
    EXPECT_EQ(PropertiesOf(run.Database()), ExpectedProperties({L"property", L"second"}));
}

TEST(CommandLineTransforms, AStoredTransformFailsAfterTheFirstWasCommitted) {
    LauncherRun run(L"/qn TRANSFORMS=property.mst;:Embedded;second.mst");
    run.Offer(L"property");
    run.Offer(L"second");
    run.Prepare();
    EXPECT_EQ(run.CountLines(kFailed), 1);
    EXPECT_EQ(run.CountLines(kApplied), 0);
    EXPECT_EQ(PropertiesOf(run.Database()), ExpectedProperties({L"property"}));
    EXPECT_EQ(msitest::PropertyOf(run.Database(), L"SECOND"), L"<none>");
}

TEST(CommandLineTransforms, AnAddedUncompressedFileIsCopiedBesideTheDatabase) {
    LauncherRun run(L"/qn TRANSFORMS=uncompressed.mst");
    run.Offer(L"uncompressed");
    testsupport::WriteBytes(run.startFolder + L"\\added.txt", "a file that the transform adds");
    run.Prepare();
    EXPECT_EQ(run.CountLines(kApplied), 1);
    EXPECT_EQ(testsupport::ReadBytes(run.packageFolder + L"\\added.txt"), "a file that the transform adds");
    EXPECT_TRUE(testsupport::FileExists(run.startFolder + L"\\added.txt"));
    EXPECT_EQ(msitest::RowsOf(run.Database(), L"SELECT `File` FROM `File` WHERE `File`='Added'").size(), 1u);
}

TEST(CommandLineTransforms, AnAddedFileIsCopiedUnderItsLongName) {
    // The File row names it "ADDEDL~1.TXT|Added long name.txt".
    LauncherRun run(L"/qn TRANSFORMS=longname.mst");
    run.Offer(L"longname");
    testsupport::WriteBytes(run.startFolder + L"\\Added long name.txt", "a file with a long name");
    run.Prepare();
    EXPECT_EQ(run.CountLines(kApplied), 1);
    EXPECT_EQ(run.CountLines(kFailed), 0);
    EXPECT_EQ(testsupport::ReadBytes(run.packageFolder + L"\\Added long name.txt"), "a file with a long name");
    EXPECT_EQ(ICBSFileUtilities::ListFiles(run.packageFolder, L"*.txt").size(), 1u) << "no file under another name";
}

TEST(CommandLineTransforms, TwoFilesInOneExternalCabinetCopyItOnceAndFail) {
    LauncherRun run(L"/qn TRANSFORMS=twofiles.mst");
    run.Offer(L"twofiles");
    testsupport::WriteBytes(run.startFolder + L"\\extra.cab", "the cabinet of both files");
    run.Prepare();
    EXPECT_EQ(run.CountLines(kFailed), 1);
    EXPECT_EQ(testsupport::ReadBytes(run.packageFolder + L"\\extra.cab"), "the cabinet of both files");
    EXPECT_EQ(ICBSFileUtilities::ListFiles(run.packageFolder, L"*.cab").size(), 1u);
    EXPECT_EQ(msitest::RowsOf(run.Database(), L"SELECT `File` FROM `File` WHERE `Sequence` > 1").size(), 2u);
}

TEST(CommandLineTransforms, AnAddedFileWithNeitherCompressionBitFails) {
    LauncherRun run(L"/qn TRANSFORMS=neither.mst");
    run.Offer(L"neither");
    testsupport::WriteBytes(run.startFolder + L"\\plain.txt", "plain");
    run.Prepare();
    EXPECT_EQ(run.CountLines(kFailed), 1);
    EXPECT_FALSE(testsupport::FileExists(run.packageFolder + L"\\plain.txt"));
}

TEST(CommandLineTransforms, AMissingAddedFileFailsButTheTransformStays) {
    LauncherRun run(L"/qn TRANSFORMS=uncompressed.mst");
    run.Offer(L"uncompressed");
    run.Prepare();
    EXPECT_EQ(run.CountLines(kFailed), 1);
    EXPECT_EQ(msitest::RowsOf(run.Database(), L"SELECT `File` FROM `File` WHERE `File`='Added'").size(), 1u);
}

TEST(PrepareDatabase, SetsTheInterfaceLevelAndHandsTheLogToTheInstaller) {
    for (const wchar_t* level : {L"/qn", L"/qb"}) {
        LauncherRun run(level);
        ASSERT_TRUE(run.App().Log().IsOpen());
        run.Prepare();
        EXPECT_FALSE(run.App().Log().IsOpen());
        INSTALLUILEVEL now = fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NOCHANGE, nullptr);
        EXPECT_EQ(static_cast<DWORD>(now), run.App().CommandLine().uiLevel) << level;
        ReopenLog();
        EXPECT_TRUE(run.App().Log().IsOpen());
    }
}

}  // namespace
