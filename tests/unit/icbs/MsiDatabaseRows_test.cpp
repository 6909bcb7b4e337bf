// Shows that the per-table inserts store their values in each standard table's column order, and the deletes by key.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

#include <functional>

namespace {

using msitest::Row;
using Values = std::vector<MsiValue>;

std::wstring TextOf(const MsiValue& value) {
    if (value.IsInteger()) return std::to_wstring(value.Integer());
    return value.Text();
}

// Standard tables that the fixture package does not have, created before
// the inserts with their standard columns.
const wchar_t* const kMissingTables[] = {
    L"CREATE TABLE `MsiAssembly` (`Component_` CHAR(72) NOT NULL, `Feature_` CHAR(38) NOT NULL, `File_Manifest` "
    L"CHAR(72), `File_Application` CHAR(72), `Attributes` SHORT PRIMARY KEY `Component_`)",
    L"CREATE TABLE `MsiAssemblyName` (`Component_` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL, `Value` CHAR(255) "
    L"NOT NULL PRIMARY KEY `Component_`, `Name`)",
    L"CREATE TABLE `DuplicateFile` (`FileKey` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, `File_` CHAR(72) "
    L"NOT NULL, `DestName` CHAR(255) LOCALIZABLE, `DestFolder` CHAR(72) PRIMARY KEY `FileKey`)",
    L"CREATE TABLE `ActionText` (`Action` CHAR(72) NOT NULL, `Description` CHAR(64) LOCALIZABLE, `Template` "
    L"CHAR(128) LOCALIZABLE PRIMARY KEY `Action`)",
    L"CREATE TABLE `MorvexOption` (`Option` CHAR(72) NOT NULL, `Value` LONGCHAR PRIMARY KEY `Option`)",
    L"CREATE TABLE `CheckBox` (`Property` CHAR(72) NOT NULL, `Value` CHAR(64) PRIMARY KEY `Property`)",
    L"CREATE TABLE `Class` (`CLSID` CHAR(38) NOT NULL, `Context` CHAR(32) NOT NULL, `Component_` CHAR(72) NOT "
    L"NULL, `ProgId_Default` CHAR(255), `Description` CHAR(255) LOCALIZABLE, `AppId_` CHAR(38), `FileTypeMask` "
    L"CHAR(255), `Icon_` CHAR(72), `IconIndex` SHORT, `DefInprocHandler` CHAR(32), `Argument` CHAR(255), "
    L"`Feature_` CHAR(38) NOT NULL, `Attributes` SHORT PRIMARY KEY `CLSID`, `Context`, `Component_`)",
    L"CREATE TABLE `ComboBox` (`Property` CHAR(72) NOT NULL, `Order` SHORT NOT NULL, `Value` CHAR(64) NOT NULL, "
    L"`Text` CHAR(64) LOCALIZABLE PRIMARY KEY `Property`, `Order`)",
    L"CREATE TABLE `CompLocator` (`Signature_` CHAR(72) NOT NULL, `ComponentId` CHAR(38) NOT NULL, `Type` SHORT "
    L"PRIMARY KEY `Signature_`)",
    L"CREATE TABLE `Condition` (`Feature_` CHAR(38) NOT NULL, `Level` SHORT NOT NULL, `Condition` CHAR(255) "
    L"PRIMARY KEY `Feature_`, `Level`)",
    L"CREATE TABLE `ControlCondition` (`Dialog_` CHAR(72) NOT NULL, `Control_` CHAR(50) NOT NULL, `Action` "
    L"CHAR(50) NOT NULL, `Condition` CHAR(255) NOT NULL PRIMARY KEY `Dialog_`, `Control_`, `Action`, `Condition`)",
    L"CREATE TABLE `ControlEvent` (`Dialog_` CHAR(72) NOT NULL, `Control_` CHAR(50) NOT NULL, `Event` CHAR(50) "
    L"NOT NULL, `Argument` CHAR(255) NOT NULL, `Condition` CHAR(255), `Ordering` SHORT PRIMARY KEY `Dialog_`, "
    L"`Control_`, `Event`, `Argument`, `Condition`)",
    L"CREATE TABLE `Control` (`Dialog_` CHAR(72) NOT NULL, `Control` CHAR(50) NOT NULL, `Type` CHAR(20) NOT NULL, "
    L"`X` SHORT NOT NULL, `Y` SHORT NOT NULL, `Width` SHORT NOT NULL, `Height` SHORT NOT NULL, `Attributes` LONG, "
    L"`Property` CHAR(72), `Text` LONGCHAR LOCALIZABLE, `Control_Next` CHAR(50), `Help` CHAR(50) LOCALIZABLE "
    L"PRIMARY KEY `Dialog_`, `Control`)",
    L"CREATE TABLE `Dialog` (`Dialog` CHAR(72) NOT NULL, `HCentering` SHORT NOT NULL, `VCentering` SHORT NOT NULL, "
    L"`Width` SHORT NOT NULL, `Height` SHORT NOT NULL, `Attributes` LONG, `Title` CHAR(128) LOCALIZABLE, "
    L"`Control_First` CHAR(50) NOT NULL, `Control_Default` CHAR(50), `Control_Cancel` CHAR(50) PRIMARY KEY "
    L"`Dialog`)",
    L"CREATE TABLE `DrLocator` (`Signature_` CHAR(72) NOT NULL, `Parent` CHAR(72), `Path` CHAR(255), `Depth` "
    L"SHORT PRIMARY KEY `Signature_`, `Parent`, `Path`)",
    L"CREATE TABLE `EventMapping` (`Dialog_` CHAR(72) NOT NULL, `Control_` CHAR(50) NOT NULL, `Event` CHAR(50) "
    L"NOT NULL, `Attribute` CHAR(50) NOT NULL PRIMARY KEY `Dialog_`, `Control_`, `Event`)",
    L"CREATE TABLE `MoveFile` (`FileKey` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, `SourceName` "
    L"CHAR(255) LOCALIZABLE, `DestName` CHAR(255) LOCALIZABLE, `SourceFolder` CHAR(72), `DestFolder` CHAR(72) NOT "
    L"NULL, `Options` SHORT NOT NULL PRIMARY KEY `FileKey`)",
    L"CREATE TABLE `RadioButton` (`Property` CHAR(72) NOT NULL, `Order` SHORT NOT NULL, `Value` CHAR(64) NOT "
    L"NULL, `X` SHORT NOT NULL, `Y` SHORT NOT NULL, `Width` SHORT NOT NULL, `Height` SHORT NOT NULL, `Text` "
    L"CHAR(64) LOCALIZABLE, `Help` CHAR(50) LOCALIZABLE PRIMARY KEY `Property`, `Order`)",
    L"CREATE TABLE `RemoveRegistry` (`RemoveRegistry` CHAR(72) NOT NULL, `Root` SHORT NOT NULL, `Key` CHAR(255) "
    L"NOT NULL LOCALIZABLE, `Name` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY "
    L"`RemoveRegistry`)",
    L"CREATE TABLE `AdvtUISequence` (`Action` CHAR(72) NOT NULL, `Condition` CHAR(255), `Sequence` SHORT "
    L"PRIMARY KEY `Action`)",
};

// A package copy with every standard table present.
struct FullPackage {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    FullPackage() {
        fw::MsiHandle database;
        EXPECT_EQ(fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_DIRECT, database.put()), ERROR_SUCCESS);
        for (const wchar_t* create : kMissingTables) EXPECT_TRUE(msitest::Execute(database.get(), create)) << create;
        EXPECT_EQ(fw::Msi().MsiDatabaseCommit(database.get()), ERROR_SUCCESS);
    }
};

struct TableCase {
    const wchar_t* table;
    Values values;
    std::function<bool(ICBSMSIDatabase&, const Values&)> insert;
};

std::vector<TableCase> Cases() {
    using D = ICBSMSIDatabase;
    using V = const Values&;
    return {
        {L"MsiAssembly", {L"AsmComp", L"Main", L"AsmManifest", nullptr, 1},
         [](D& d, V v) { return d.InsertMsiAssembly(v[0], v[1], v[2], v[3], v[4]); }},
        {L"MsiAssemblyName", {L"AsmComp", L"version", L"1.0.0.0"},
         [](D& d, V v) { return d.InsertMsiAssemblyName(v[0], v[1], v[2]); }},
        {L"Component", {L"ExtraComp", L"{11111111-2222-3333-4444-555555555555}", L"INSTALLDIR", 4, L"NOT X", nullptr},
         [](D& d, V v) { return d.InsertComponent(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {L"CustomAction", {L"SetThing", 51, L"THING", L"[INSTALLDIR]"},
         [](D& d, V v) { return d.InsertCustomAction(v[0], v[1], v[2], v[3]); }},
        {L"Directory", {L"ExtraDir", L"INSTALLDIR", L"extra|Extra Folder"},
         [](D& d, V v) { return d.InsertDirectory(v[0], v[1], v[2]); }},
        {L"DuplicateFile", {L"DupKey", L"MainFiles", L"Readme", L"copy.txt", L"ExtraDir"},
         [](D& d, V v) { return d.InsertDuplicateFile(v[0], v[1], v[2], v[3], v[4]); }},
        {L"Feature", {L"Extra", L"Main", L"Extra feature", L"More things", 2, 3, L"INSTALLDIR", 16},
         [](D& d, V v) { return d.InsertFeature(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); }},
        {L"FeatureComponents", {L"Extra", L"ExtraComp"},
         [](D& d, V v) { return d.InsertFeatureComponents(v[0], v[1]); }},
        {L"File", {L"ExtraFile", L"ExtraComp", L"extra.txt", 1234, L"1.2.3.4", L"1033", 8192, 7},
         [](D& d, V v) { return d.InsertFile(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); }},
        {L"ServiceControl", {L"CtlKey", L"MorvexSvc", 161, L"-x", 1, L"ExtraComp"},
         [](D& d, V v) { return d.InsertServiceControl(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {L"ServiceInstall",
         {L"SvcKey", L"MorvexSvc", L"Morvex Service", 16, 2, 1, L"Group", L"Dep[~]", L".\\Admin", L"secret",
          L"--run", L"ExtraComp", L"Runs things"},
         [](D& d, V v) {
             return d.InsertServiceInstall(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11],
                                           v[12]);
         }},
        {L"ActionText", {L"InstallFiles", L"Copying new files", L"File: [1]"},
         [](D& d, V v) { return d.InsertActionText(v[0], v[1], v[2]); }},
        {L"MorvexOption", {L"DesktopShortcut", L"1"}, [](D& d, V v) { return d.InsertMorvexOption(v[0], v[1]); }},
        {L"AppSearch", {L"OLDPATH", L"OldSig"}, [](D& d, V v) { return d.InsertAppSearch(v[0], v[1]); }},
        {L"CheckBox", {L"AGREE", L"1"}, [](D& d, V v) { return d.InsertCheckBox(v[0], v[1]); }},
        {L"Class",
         {L"{22222222-3333-4444-5555-666666666666}", L"InprocServer32", L"ExtraComp", L"Morvex.Thing", L"A thing",
          nullptr, nullptr, nullptr, 2, L"ole32.dll", L"/x", L"Extra", 0},
         [](D& d, V v) {
             return d.InsertClass(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12]);
         }},
        {L"ComboBox", {L"PORT", 1, L"8080", L"Port 8080"},
         [](D& d, V v) { return d.InsertComboBox(v[0], v[1], v[2], v[3]); }},
        {L"CompLocator", {L"CompSig", L"{33333333-4444-5555-6666-777777777777}", 1},
         [](D& d, V v) { return d.InsertCompLocator(v[0], v[1], v[2]); }},
        {L"Condition", {L"Extra", 0, L"NOT ADVANCED"}, [](D& d, V v) { return d.InsertCondition(v[0], v[1], v[2]); }},
        {L"ControlCondition", {L"SetupDlg", L"NextButton", L"Disable", L"NOT AGREE"},
         [](D& d, V v) { return d.InsertControlCondition(v[0], v[1], v[2], v[3]); }},
        {L"ControlEvent", {L"SetupDlg", L"NextButton", L"NewDialog", L"NextDlg", L"1", 2},
         [](D& d, V v) { return d.InsertControlEvent(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {L"Control",
         {L"SetupDlg", L"NextButton", L"PushButton", 236, 243, 56, 17, 3, nullptr, L"&Next", L"CancelButton", nullptr},
         [](D& d, V v) {
             return d.InsertControl(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]);
         }},
        {L"CreateFolder", {L"ExtraDir", L"ExtraComp"}, [](D& d, V v) { return d.InsertCreateFolder(v[0], v[1]); }},
        {L"Dialog",
         {L"SetupDlg", 50, 50, 370, 270, 3, L"[ProductName] Setup", L"NextButton", L"NextButton", L"CancelButton"},
         [](D& d, V v) { return d.InsertDialog(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]); }},
        {L"DrLocator", {L"DirSig", nullptr, L"[ProgramFilesFolder]Morvex", 2},
         [](D& d, V v) { return d.InsertDrLocator(v[0], v[1], v[2], v[3]); }},
        {L"Error", {25001, L"Something failed: [2]"}, [](D& d, V v) { return d.InsertError(v[0], v[1]); }},
        {L"EventMapping", {L"SetupDlg", L"Progress", L"SetProgress", L"Progress"},
         [](D& d, V v) { return d.InsertEventMapping(v[0], v[1], v[2], v[3]); }},
        {L"LaunchCondition", {L"VersionNT >= 601", L"Needs Windows 7"},
         [](D& d, V v) { return d.InsertLaunchCondition(v[0], v[1]); }},
        {L"Media", {5, 99, L"Disk 5", L"extra.cab", L"DISK5", nullptr},
         [](D& d, V v) { return d.InsertMedia(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {L"MoveFile", {L"MoveKey", L"ExtraComp", L"*.log", nullptr, L"OLDDIR", L"ExtraDir", 1},
         [](D& d, V v) { return d.InsertMoveFile(v[0], v[1], v[2], v[3], v[4], v[5], v[6]); }},
        {L"RadioButton", {L"MODE", 1, L"Server", 10, 20, 100, 15, L"&Server", nullptr},
         [](D& d, V v) { return d.InsertRadioButton(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]); }},
        {L"RegLocator", {L"RegSig", 2, L"Software\\Morvex", L"Path", 0},
         [](D& d, V v) { return d.InsertRegLocator(v[0], v[1], v[2], v[3], v[4]); }},
        {L"Registry", {L"RegKey", 2, L"Software\\Morvex\\Extra", L"Value", L"#5", L"ExtraComp"},
         [](D& d, V v) { return d.InsertRegistry(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {L"RemoveRegistry", {L"RemKey", 2, L"Software\\Morvex\\Old", L"-", L"ExtraComp"},
         [](D& d, V v) { return d.InsertRemoveRegistry(v[0], v[1], v[2], v[3], v[4]); }},
        {L"Shortcut",
         {L"Short", L"ExtraDir", L"EDITOR|Editor", L"ExtraComp", L"[#ExtraFile]", L"/open", L"Starts it", nullptr,
          nullptr, nullptr, 1, L"INSTALLDIR"},
         [](D& d, V v) {
             return d.InsertShortcut(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]);
         }},
        {L"Upgrade", {L"{44444444-5555-6666-7777-888888888888}", L"1.0.0", L"2.0.0", nullptr, 256, L"ALL", L"OLDER"},
         [](D& d, V v) { return d.InsertUpgrade(v[0], v[1], v[2], v[3], v[4], v[5], v[6]); }},
    };
}

// The row whose first field is key, from the file.
Row FindRow(const std::wstring& path, const std::wstring& table, const std::wstring& key) {
    for (const Row& row : msitest::RowsOf(path, L"SELECT * FROM `" + table + L"`"))
        if (!row.empty() && row[0] == key) return row;
    return {};
}

TEST(MsiDatabaseRows, EveryStandardTableInsertStoresItsValuesInColumnOrder) {
    FullPackage package;
    std::vector<TableCase> cases = Cases();
    {
        ICBSMSIDatabase database(package.path, false);
        for (const TableCase& c : cases) EXPECT_TRUE(c.insert(database, c.values)) << fw::ToCodePage(c.table, CP_UTF8);
    }
    for (const TableCase& c : cases) {
        SCOPED_TRACE(fw::ToCodePage(c.table, CP_UTF8));
        Row row = FindRow(package.path, c.table, TextOf(c.values[0]));
        ASSERT_GE(row.size(), c.values.size());
        for (size_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(row[i], TextOf(c.values[i])) << "column " << i + 1;
        // Columns beyond the standard ones (newer schemas) stay null.
        for (size_t i = c.values.size(); i < row.size(); ++i) EXPECT_EQ(row[i], L"") << "column " << i + 1;
    }
}

TEST(MsiDatabaseRows, InsertOfADuplicateKeyFailsAndAMissingTableToo) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    ICBSMSIDatabase database(path, false);
    ASSERT_TRUE(database.InsertDirectory(L"Twice", L"INSTALLDIR", L"twice"));
    EXPECT_FALSE(database.InsertDirectory(L"Twice", L"INSTALLDIR", L"again"));
    EXPECT_FALSE(database.InsertDialog(L"NoTable", 50, 50, 10, 10, 0, L"", L"A", L"A", L"A"));
}

TEST(MsiDatabaseRows, ServiceInstallWithoutKeyIsKeyedByTheServiceName) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        ICBSMSIDatabase database(path, false);
        EXPECT_TRUE(database.InsertServiceInstall(L"", L"EmptyKeySvc", L"Shown", 16, 2, 1, nullptr, nullptr, nullptr,
                                                  nullptr, nullptr, L"MainFiles", nullptr));
        EXPECT_TRUE(database.InsertServiceInstall(nullptr, L"NullKeySvc", L"Shown", 16, 3, 0, nullptr, nullptr,
                                                  nullptr, nullptr, nullptr, L"MainFiles", nullptr));
    }
    std::vector<Row> rows = msitest::RowsOf(path, L"SELECT `ServiceInstall`, `Name` FROM `ServiceInstall`");
    ASSERT_EQ(rows.size(), 2u);
    for (const Row& row : rows) EXPECT_EQ(row[0], row[1]);
}

TEST(MsiDatabaseRows, SignatureInsertFillsNameAndFileNameOnly) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        ICBSMSIDatabase database(path, false);
        EXPECT_TRUE(database.InsertSignature(L"EditorSig", L"editor.exe"));
    }
    std::vector<Row> rows = msitest::RowsOf(path, L"SELECT * FROM `Signature`");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], L"EditorSig");
    EXPECT_EQ(rows[0][1], L"editor.exe");
    for (size_t i = 2; i < rows[0].size(); ++i) EXPECT_EQ(rows[0][i], L"");
}

TEST(MsiDatabaseRows, InsertRowTakesValuesInColumnOrderWithNullsForTheRest) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    {
        ICBSMSIDatabase database(path, false);
        EXPECT_TRUE(database.InsertRow(L"CustomAction", L"Short", 51, L"PROP"));
        EXPECT_FALSE(database.InsertRow(L"Property", L"A", L"B", L"C"));  // more values than columns
        EXPECT_FALSE(database.InsertRow(L"Binary", L"NoStream"));         // stream column: SetStream's job
        EXPECT_FALSE(database.InsertRow(L"NoSuchTable", L"x"));
    }
    Row row = FindRow(path, L"CustomAction", L"Short");
    ASSERT_GE(row.size(), 4u);
    EXPECT_EQ(row[1], L"51");
    EXPECT_EQ(row[2], L"PROP");
    EXPECT_EQ(row[3], L"");
    EXPECT_EQ(msitest::PropertyOf(path, L"A"), L"<none>");
    EXPECT_TRUE(FindRow(path, L"Binary", L"NoStream").empty());
}

TEST(MsiDatabaseRows, DeletesRemoveOnlyTheRowsOfTheirKey) {
    FullPackage package;
    {
        ICBSMSIDatabase database(package.path, false);
        for (const wchar_t* dialog : {L"FirstDlg", L"SecondDlg"}) {
            ASSERT_TRUE(database.InsertDialog(dialog, 50, 50, 370, 270, 3, L"T", L"Next", L"Next", L"Next"));
            ASSERT_TRUE(database.InsertControl(dialog, L"Next", L"PushButton", 1, 2, 3, 4, 3, nullptr, L"N", nullptr,
                                               nullptr));
            ASSERT_TRUE(database.InsertControl(dialog, L"Back", L"PushButton", 1, 2, 3, 4, 3, nullptr, L"B", nullptr,
                                               nullptr));
            ASSERT_TRUE(database.InsertControlEvent(dialog, L"Next", L"EndDialog", L"Return", L"1", 1));
            ASSERT_TRUE(database.InsertControlCondition(dialog, L"Next", L"Disable", L"NOT AGREE"));
        }
        ASSERT_TRUE(database.InsertActionText(L"FirstAction", L"One", nullptr));
        ASSERT_TRUE(database.InsertActionText(L"SecondAction", L"Two", nullptr));
        ASSERT_TRUE(database.InsertError(25001, L"first"));
        ASSERT_TRUE(database.InsertError(25002, L"second"));

        EXPECT_TRUE(database.DeleteControlConditions(L"FirstDlg"));
        EXPECT_TRUE(database.DeleteControlEvents(L"FirstDlg"));
        EXPECT_TRUE(database.DeleteControls(L"FirstDlg"));
        EXPECT_TRUE(database.DeleteDialog(L"FirstDlg"));
        EXPECT_TRUE(database.DeleteActionText(L"FirstAction"));
        EXPECT_TRUE(database.DeleteError(L"25001"));
    }
    auto keys = [&](const std::wstring& table) {
        std::vector<std::wstring> found;
        for (const Row& row : msitest::RowsOf(package.path, L"SELECT * FROM `" + table + L"`")) found.push_back(row[0]);
        return found;
    };
    using List = std::vector<std::wstring>;
    EXPECT_EQ(keys(L"Dialog"), List({L"SecondDlg"}));
    EXPECT_EQ(keys(L"Control"), List({L"SecondDlg", L"SecondDlg"}));
    EXPECT_EQ(keys(L"ControlEvent"), List({L"SecondDlg"}));
    EXPECT_EQ(keys(L"ControlCondition"), List({L"SecondDlg"}));
    EXPECT_EQ(keys(L"ActionText"), List({L"SecondAction"}));
    EXPECT_EQ(keys(L"Error"), List({L"25002"}));
}

TEST(MsiDatabaseRows, DeleteRowsWithAMalformedConditionFails) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    ICBSMSIDatabase database(path, false);
    EXPECT_FALSE(database.DeleteRows(L"Property", L"Property = = ?", L"%s", L"ProductName"));
    EXPECT_FALSE(database.DeleteRows(L"NoSuchTable", L"`A`=?", L"%s", L"x"));
    EXPECT_FALSE(database.CommitOnClose());
    EXPECT_TRUE(database.DeleteRows(L"Property", L"`Property`=?", L"%s", L"NoSuchProperty"));
}

TEST(MsiDatabaseRows, RemovingAnActionTriesAllSixSequences) {
    const std::wstring action = L"CostInitialize";
    auto sequencesWithAction = [&](const std::wstring& path) {
        int count = 0;
        for (const wchar_t* table : {L"AdminUISequence", L"AdminExecuteSequence", L"InstallUISequence",
                                     L"InstallExecuteSequence", L"AdvtUISequence", L"AdvtExecuteSequence"})
            count += static_cast<int>(
                msitest::RowsOf(path, std::wstring(L"SELECT * FROM `") + table + L"` WHERE `Action`='" + action + L"'")
                    .size());
        return count;
    };
    // The package as built lacks AdvtUISequence: that delete fails, the
    // others are done all the same.
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    ASSERT_GT(sequencesWithAction(path), 0);
    {
        ICBSMSIDatabase database(path, false);
        EXPECT_FALSE(database.RemoveActionFromSequences(action));
    }
    EXPECT_EQ(sequencesWithAction(path), 0);

    FullPackage full;
    {
        ICBSMSIDatabase database(full.path, false);
        ASSERT_TRUE(database.InsertRow(L"AdvtUISequence", action, nullptr, 800));
        EXPECT_TRUE(database.RemoveActionFromSequences(action));
    }
    EXPECT_EQ(sequencesWithAction(full.path), 0);
}

TEST(MsiDatabaseRows, ComponentAttributesComeFromTheComponentRow) {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
    std::vector<Row> components = msitest::RowsOf(path, L"SELECT `Component`, `Attributes` FROM `Component`");
    ASSERT_FALSE(components.empty());
    ICBSMSIDatabase database(path, false);
    EXPECT_EQ(std::to_wstring(database.GetComponentAttributes(components[0][0])), components[0][1]);
    ASSERT_TRUE(database.InsertComponent(L"Quoted", nullptr, L"INSTALLDIR", 260, nullptr, nullptr));
    EXPECT_EQ(database.GetComponentAttributes(L"Quoted"), 260);
    EXPECT_EQ(database.GetComponentAttributes(L"NoSuchComponent"), 0);
    EXPECT_EQ(database.GetComponentAttributes(L"x' OR '1'='1"), 0);
}

}  // namespace
