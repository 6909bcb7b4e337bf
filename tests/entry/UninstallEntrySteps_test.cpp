// Shows each step of a bundle's uninstall entry on products installed by Wine's Windows Installer: the kept launcher copy, and the values written in the 32-bit or 64-bit registry view, with and without a chosen language.
#include <gtest/gtest.h>

#include <memory>

#include "catalogue/SetupPackage.h"
#include "execution/CustomInstallerRegistry.h"
#include "launcher/LauncherFile.h"
#include "launcher/SetupApp.h"
#include "tests/entry/EntryTestSupport.h"
#include "tests/support/AccessEntries.h"

namespace {

using entrytest::DwordValue;
using entrytest::KeyExists;
using entrytest::StringValue;

// One bundle fixture installed in this prefix, a launcher started from a
// download folder, and the package folder that keeps the launcher copy.
class InstalledBundle {
public:
    InstalledBundle(const std::wstring& fixture, bool is64, const std::wstring& packageFolderName,
                    bool install = true)
        : is64_(is64) {
        code = entrytest::FixtureProperty(fixture, L"ProductCode");
        installedName = entrytest::FixtureProperty(fixture, L"ProductName");
        if (install) {
            EXPECT_EQ(entrytest::Install(entrytest::FixturePath(fixture)), static_cast<UINT>(ERROR_SUCCESS));
            icon = entrytest::ProductInfo(code, L"ProductIcon");
        }
        ::CreateDirectoryW(folder.File(L"Downloads").c_str(), nullptr);
        testsupport::WriteBytes(launcherPath, launcherBytes);
        app = std::make_unique<CSetupApp>(L"setup.exe /L*v \"" + logPath + L"\"", launcherPath);
        PackageRecord fields;
        fields.name = L"Morvex Bundle (catalogue name)";
        fields.productCode = code;
        fields.is64 = is64;
        fields.isMain = true;
        package = std::make_unique<SetupPackage>(std::move(fields), app->DetectionContextFor(true));
        package->msiFolder = folder.File(packageFolderName) + L"\\" + code;
        copyPath = package->msiFolder + L"\\setup.exe";
    }

    CustomInstallerFacts Facts(const std::wstring& languageArgument = std::wstring()) const {
        CustomInstallerFacts facts;
        facts.launcherFile = app->LauncherFile();
        facts.launcherPath = launcherPath;
        facts.languageArgument = languageArgument;
        facts.oldSystem = false;
        return facts;
    }
    void Run(int step, const std::wstring& languageArgument = std::wstring()) {
        CustomInstallerRegistry(step, *package, Facts(languageArgument));
    }

    std::wstring Key() const { return entrytest::UninstallKeyPath(code); }
    REGSAM View() const { return is64_ ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }
    REGSAM OtherView() const { return is64_ ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }
    std::optional<std::wstring> Value(const std::wstring& name) const { return StringValue(Key(), View(), name); }
    std::vector<std::wstring> LogLines() const { return testsupport::Lines(testsupport::ReadUtf16(logPath)); }
    // Indexes of the log lines equal to line.
    std::vector<size_t> LinesAt(const std::wstring& line) const {
        std::vector<size_t> at;
        std::vector<std::wstring> lines = LogLines();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == line) at.push_back(i);
        return at;
    }

    testsupport::TempDir folder;
    std::wstring code;
    std::wstring installedName;
    std::wstring icon;
    std::wstring launcherPath = folder.File(L"Downloads\\setup.exe");
    std::string launcherBytes = "MZ launcher " + std::to_string(::GetTickCount());
    std::wstring logPath = folder.File(L"setup.log");
    std::unique_ptr<CSetupApp> app;
    std::unique_ptr<SetupPackage> package;
    std::wstring copyPath;

private:
    bool is64_;
};

const wchar_t kPerform[] = L"ZEL (c): perform custom installer registry";
const wchar_t kRedo[] = L"ZEL (c): redo-after modify or re-install custom installer registry";
const wchar_t kPrepare[] = L"ZEL (c): prepare-remove custom installer registry";
const wchar_t kRollBack[] = L"ZEL (c): roll-back prepare-remove custom installer registry";

TEST(UninstallEntry, PerformPointsA32BitEntryAtTheNewCopyWithoutLanguage) {
    // The package folder holds a blank, as "C:\ProgramData\Morvex Packages" would.
    InstalledBundle bundle(L"bundle32", false, L"Kept Packages");
    ASSERT_EQ(bundle.Value(L"DisplayName"), bundle.installedName);  // Windows Installer's own entry
    ASSERT_NE(bundle.icon, L"<none>");
    ASSERT_NE(bundle.icon.find(L"BundleIcon.ico"), std::wstring::npos);

    ASSERT_FALSE(testsupport::FileExists(bundle.package->msiFolder));
    bundle.Run(kPerformCustomInstaller);

    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), bundle.launcherBytes);
    // The missing package folder was made with the protected list, not by
    // the copy (Wine shows that Everyone has no entry).
    EXPECT_TRUE(testsupport::AllowedFor(testsupport::ReadDaclEntries(bundle.package->msiFolder),
                                        testsupport::SidText(WinWorldSid))
                    .empty());
    std::wstring quoted = L"\"" + bundle.copyPath + L"\"";
    EXPECT_EQ(bundle.Value(L"ModifyPath"), quoted);
    EXPECT_EQ(bundle.Value(L"UninstallString"), quoted + L" /x");
    EXPECT_EQ(DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller"), 0u);
    EXPECT_EQ(bundle.Value(L"DisplayIcon"), bundle.icon);
    EXPECT_EQ(bundle.Value(L"DisplayName"), bundle.installedName);
    for (const wchar_t* name : {L"ModifyPath", L"UninstallString", L"DisplayIcon"})
        EXPECT_EQ(entrytest::ValueType(bundle.Key(), bundle.View(), name), static_cast<DWORD>(REG_SZ)) << name;
    // Only the product's own view holds the entry; none was created elsewhere.
    EXPECT_FALSE(KeyExists(bundle.Key(), bundle.OtherView()));

    std::vector<size_t> perform = bundle.LinesAt(kPerform), redo = bundle.LinesAt(kRedo);
    ASSERT_EQ(perform.size(), 1u);
    ASSERT_EQ(redo.size(), 1u);
    EXPECT_LT(perform[0], redo[0]);
}

TEST(UninstallEntry, PerformPointsA64BitEntryInThe64BitViewWithLanguage) {
    InstalledBundle bundle(L"bundle64", true, L"packages");
    ASSERT_TRUE(KeyExists(bundle.Key(), KEY_WOW64_64KEY));

    bundle.Run(kPerformCustomInstaller, L" lang=German");

    EXPECT_EQ(bundle.Value(L"ModifyPath"), bundle.copyPath + L" lang=German");
    EXPECT_EQ(bundle.Value(L"UninstallString"), bundle.copyPath + L" /x lang=German");
    EXPECT_EQ(DwordValue(bundle.Key(), KEY_WOW64_64KEY, L"WindowsInstaller"), 0u);
    EXPECT_EQ(bundle.Value(L"DisplayIcon"), bundle.icon);
    EXPECT_FALSE(KeyExists(bundle.Key(), KEY_WOW64_32KEY));
    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), bundle.launcherBytes);
}

TEST(UninstallEntry, RedoKeepsAnExistingCopyAndPerformReplacesIt) {
    InstalledBundle bundle(L"bundle32", false, L"packages");
    bundle.Run(kRedoCustomInstaller);  // no copy yet: redo makes one
    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), bundle.launcherBytes);
    EXPECT_EQ(bundle.LinesAt(kPerform).size(), 0u);
    EXPECT_EQ(bundle.LinesAt(kRedo).size(), 1u);

    testsupport::WriteBytes(bundle.copyPath, "the copy an earlier version kept");
    bundle.Run(kRedoCustomInstaller, L" lang=French");
    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), "the copy an earlier version kept");
    EXPECT_EQ(bundle.Value(L"UninstallString"), bundle.copyPath + L" /x lang=French");

    bundle.Run(kPerformCustomInstaller);
    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), bundle.launcherBytes);
    EXPECT_EQ(bundle.Value(L"UninstallString"), bundle.copyPath + L" /x");
}

TEST(UninstallEntry, PrepareRemoveHandsTheEntryBackAndRollBackTakesItAgain) {
    InstalledBundle bundle(L"bundle64", true, L"Kept Packages");
    bundle.Run(kPerformCustomInstaller, L" lang=Spanish");
    std::optional<std::wstring> modify = bundle.Value(L"ModifyPath");
    std::optional<std::wstring> uninstall = bundle.Value(L"UninstallString");
    ASSERT_TRUE(modify && uninstall);

    bundle.Run(kPrepareRemoveCustomInstaller);
    EXPECT_EQ(DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller"), 1u);
    EXPECT_FALSE(bundle.Value(L"DisplayIcon"));
    EXPECT_EQ(bundle.Value(L"ModifyPath"), modify);
    EXPECT_EQ(bundle.Value(L"UninstallString"), uninstall);
    std::vector<size_t> prepare = bundle.LinesAt(kPrepare);
    std::vector<size_t> before = bundle.LinesAt(L"ZEL (c): before delete value - custom installer registry");
    std::vector<size_t> after = bundle.LinesAt(L"ZEL (c): after delete value - custom installer registry");
    ASSERT_EQ(prepare.size(), 1u);
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_LT(prepare[0], before[0]);
    EXPECT_LT(before[0], after[0]);

    bundle.Run(kRollBackPrepareRemoveCustomInstaller);
    EXPECT_EQ(bundle.LinesAt(kRollBack).size(), 1u);
    EXPECT_EQ(DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller"), 0u);
    EXPECT_EQ(bundle.Value(L"DisplayIcon"), bundle.icon);
    EXPECT_EQ(bundle.Value(L"ModifyPath"), modify);
    EXPECT_EQ(bundle.Value(L"UninstallString"), uninstall);
}

// The point of prepare-remove: Windows Installer then removes the product
// and its entry as its own.
TEST(UninstallEntry, AfterPrepareRemoveTheInstallerRemovesProductAndEntry) {
    InstalledBundle bundle(L"bundle32", false, L"packages");
    bundle.Run(kPerformCustomInstaller);
    bundle.Run(kPrepareRemoveCustomInstaller);
    EXPECT_EQ(entrytest::Install(entrytest::FixturePath(L"bundle32"), L"REMOVE=ALL"),
              static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_FALSE(KeyExists(bundle.Key(), KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyExists(bundle.Key(), KEY_WOW64_64KEY));
    EXPECT_EQ(entrytest::ProductInfo(bundle.code, L"ProductName"), L"<none>");
}

TEST(UninstallEntry, AProductThatIsNotInstalledGetsNoEntry) {
    InstalledBundle bundle(L"bundle64", true, L"packages", false);
    for (int step : {0, 1, 2, 3}) bundle.Run(step, L" lang=German");
    EXPECT_FALSE(KeyExists(bundle.Key(), KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyExists(bundle.Key(), KEY_WOW64_64KEY));
    // The copy is made all the same, and each step logs its line.
    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), bundle.launcherBytes);
    EXPECT_EQ(bundle.LinesAt(kRedo).size(), 2u);
    EXPECT_EQ(bundle.LinesAt(kPrepare).size(), 1u);
    EXPECT_EQ(bundle.LinesAt(kRollBack).size(), 1u);
}

// A catalogue without a product code (or with a path for one) must not
// write into the list's own key, nor into another product's entry.
TEST(UninstallEntry, APackageWithoutAUsableProductCodeWritesNoEntry) {
    InstalledBundle bundle(L"bundle32", false, L"packages");
    std::wstring list = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    const wchar_t* const names[] = {L"WindowsInstaller", L"ModifyPath", L"UninstallString", L"DisplayIcon"};
    std::vector<std::optional<std::wstring>> entryBefore;
    for (const wchar_t* name : names) entryBefore.push_back(bundle.Value(name));
    std::optional<DWORD> flagBefore = DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller");
    ASSERT_TRUE(flagBefore);

    for (const std::wstring& code : {std::wstring(), L"..\\" + bundle.code, L"x\\..\\" + bundle.code}) {
        bundle.package->productCode = code;
        for (int step : {0, 2, 3}) bundle.Run(step);
    }
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        for (const wchar_t* name : names)
            EXPECT_EQ(entrytest::ValueType(list, view, name), static_cast<DWORD>(REG_NONE)) << name;
    }
    for (size_t i = 0; i < entryBefore.size(); ++i) EXPECT_EQ(bundle.Value(names[i]), entryBefore[i]) << names[i];
    EXPECT_EQ(DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller"), flagBefore);
}

TEST(UninstallEntry, OtherStepCodesDoNothing) {
    InstalledBundle bundle(L"bundle32", false, L"packages");
    std::wstring before = testsupport::ReadUtf16(bundle.logPath);
    std::optional<std::wstring> uninstall = bundle.Value(L"UninstallString");
    ASSERT_TRUE(uninstall);
    for (int step : {-1, 4, 7}) bundle.Run(step);
    EXPECT_EQ(testsupport::ReadUtf16(bundle.logPath), before);
    EXPECT_FALSE(testsupport::FileExists(bundle.copyPath));
    EXPECT_EQ(bundle.Value(L"UninstallString"), uninstall);
    EXPECT_EQ(DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller"), 1u);
}

// Without the launcher copy the entry could neither change nor remove the
// bundle: it stays exactly as Windows Installer wrote it.
TEST(UninstallEntry, ACopyThatCannotBeMadeIsLoggedAndTheEntryLeftToWindowsInstaller) {
    InstalledBundle bundle(L"bundle32", false, L"packages");
    const wchar_t* const names[] = {L"ModifyPath", L"UninstallString", L"DisplayIcon", L"DisplayName"};
    std::vector<std::optional<std::wstring>> written;
    for (const wchar_t* name : names) written.push_back(bundle.Value(name));
    std::optional<DWORD> flag = DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller");
    ASSERT_EQ(flag, 1u);
    ASSERT_TRUE(written[1]);
    ASSERT_EQ(written[1]->find(bundle.copyPath), std::wstring::npos);

    CustomInstallerFacts facts = bundle.Facts();
    facts.launcherFile = INVALID_HANDLE_VALUE;  // the launcher's file could not be held at start-up
    for (int step : {kPerformCustomInstaller, kRedoCustomInstaller}) {
        CustomInstallerRegistry(step, *bundle.package, facts);
        EXPECT_FALSE(testsupport::FileExists(bundle.copyPath)) << step;
        for (size_t i = 0; i < written.size(); ++i) EXPECT_EQ(bundle.Value(names[i]), written[i]) << names[i];
        EXPECT_EQ(DwordValue(bundle.Key(), bundle.View(), L"WindowsInstaller"), flag) << step;
    }
    std::wstring log = testsupport::ReadUtf16(bundle.logPath);
    EXPECT_TRUE(testsupport::Contains(log, L"ZEL (c): Failed to copy the launcher to " + bundle.copyPath));
    EXPECT_TRUE(testsupport::Contains(log, L"ZEL (c): No launcher copy at " + bundle.copyPath +
                                               L"; the uninstall entry is left to Windows Installer\r\n"));
}

}  // namespace

namespace {

// Modify or repair from the list of installed programs starts the kept copy
// itself; it stays as it is.
TEST(UninstallEntry, ALauncherStartedFromItsKeptCopyKeepsIt) {
    InstalledBundle bundle(L"bundle32", false, L"Kept Packages");
    ::CreateDirectoryW(bundle.folder.File(L"Kept Packages").c_str(), nullptr);
    ::CreateDirectoryW(bundle.package->msiFolder.c_str(), nullptr);
    testsupport::WriteBytes(bundle.copyPath, "MZ the kept copy");
    fw::FileHandle running = OpenLauncherFile(bundle.copyPath);
    ASSERT_TRUE(running);
    CustomInstallerFacts facts = bundle.Facts();
    facts.launcherFile = running.get();
    facts.launcherPath = bundle.copyPath;

    CustomInstallerRegistry(kPerformCustomInstaller, *bundle.package, facts);
    EXPECT_EQ(testsupport::ReadBytes(bundle.copyPath), "MZ the kept copy");
    EXPECT_FALSE(testsupport::Contains(testsupport::ReadUtf16(bundle.logPath), L"Failed to copy"));
    EXPECT_EQ(bundle.Value(L"UninstallString"), L"\"" + bundle.copyPath + L"\" /x");
}

}  // namespace
