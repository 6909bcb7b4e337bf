// A package record finds out at once, through Windows Installer, whether its
// product is installed and by which package, where its database folder is and
// which database it keeps (only for an installed product), and removes the product with that database or the
// one in the registered install source (real packages, Wine's installer).
#include <gtest/gtest.h>

#include "catalogue/SetupPackage.h"
#include "engine/Outcome.h"
#include "execution/PackageRemoval.h"
#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;
using testsupport::TempDir;

namespace {
SetupPackage MainPackage(const FixtureFacts& facts) { return SetupPackage(FieldsOf(facts, true), {}); }
}  // namespace

TEST(PackageState, AProductNotOnTheMachineIsNotInstalled) {
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    ASSERT_FALSE(ProductInstalled(editor.productCode));
    SetupPackage package = MainPackage(editor);
    EXPECT_FALSE(package.isInstalled);
    EXPECT_FALSE(package.fromOtherInstaller);
    EXPECT_FALSE(package.IsInstalled());
    EXPECT_EQ(package.msiFolder, ExpectedMsiFolder(editor.packageCode));
    EXPECT_TRUE(package.msiFileName.empty());
    // The base folder is there and open to everyone.
    EXPECT_TRUE(IsFolder(ExpectedBaseFolder()));
    EXPECT_TRUE(EveryoneAllowed(ExpectedBaseFolder()));
    // No record of an empty product code is ever installed.
    PackageRecord noCode = FieldsOf(editor, true);
    noCode.productCode.clear();
    EXPECT_FALSE(SetupPackage(noCode, {}).IsInstalled());
}

TEST(PackageState, AProductInstalledByThisPackageIsInstalled) {
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    SetupPackage package = MainPackage(editor);
    EXPECT_TRUE(package.isInstalled);
    EXPECT_FALSE(package.fromOtherInstaller);
    EXPECT_TRUE(package.IsInstalled());

    // The installed version as Windows Installer records it ("1.2.0").
    ProductVersion version = ParseVersionText(editor.version);
    EXPECT_EQ(SetupPackage::InstalledVersionMajor(editor.productCode), version.major);
    EXPECT_EQ(SetupPackage::InstalledVersionMinor(editor.productCode), version.minor);
    EXPECT_EQ(SetupPackage::InstalledVersionMajor(L"{00000000-0000-0000-0000-000000000000}"), 0);
    // The product a component belongs to.
    ASSERT_FALSE(editor.componentCode.empty());
    EXPECT_EQ(SetupPackage::ProductOfComponent(editor.componentCode), editor.productCode);
    EXPECT_FALSE(SetupPackage::ProductOfComponent(L"{00000000-0000-0000-0000-00000000000A}").has_value());
}

TEST(PackageState, TheSameProductFromAnotherPackageCountsAsNotInstalled) {
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    FixtureFacts other = FactsOf(FixtureMsi(L"editor_other"));
    ASSERT_EQ(other.productCode, editor.productCode);
    ASSERT_FALSE(fw::EqualsNoCase(other.packageCode, editor.packageCode));
    ASSERT_EQ(Install(FixtureMsi(L"editor_other")), 0u);
    SetupPackage package = MainPackage(editor);
    EXPECT_TRUE(package.isInstalled);
    EXPECT_TRUE(package.fromOtherInstaller);
    EXPECT_FALSE(package.IsInstalled());
    // The package that did install it is installed in every sense.
    SetupPackage installer = MainPackage(other);
    EXPECT_FALSE(installer.fromOtherInstaller);
    EXPECT_TRUE(installer.IsInstalled());
}

TEST(PackageState, TheKeptDatabaseIsTheOnlyMsiFileInThePackageFolder) {
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    std::wstring folder = ExpectedMsiFolder(editor.packageCode);
    ASSERT_TRUE(::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr) || IsFolder(ExpectedBaseFolder()));
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    PutFile(folder + L"\\Editor.msi", "one");
    // Only an installed product keeps a database.
    EXPECT_TRUE(MainPackage(editor).msiFileName.empty());
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    EXPECT_EQ(MainPackage(editor).msiFileName, folder + L"\\Editor.msi");
    ASSERT_TRUE(::DeleteFileW((folder + L"\\Editor.msi").c_str()));

    PutFile(folder + L"\\Transform_de.mst", "not a database");
    EXPECT_TRUE(MainPackage(editor).msiFileName.empty());

    PutFile(folder + L"\\Editor.msi", "one");
    EXPECT_EQ(MainPackage(editor).msiFileName, folder + L"\\Editor.msi");

    PutFile(folder + L"\\Second.msi", "two");
    EXPECT_TRUE(MainPackage(editor).msiFileName.empty());
}

TEST(PackageState, UninstallUsesTheKeptDatabaseAndHandsTheLogOver) {
    TempDir dir;
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    std::wstring source = InstallFromCopy(FixtureMsi(L"editor"), dir.Path() + L"\\source");
    // Only the kept database can do it: the install source is gone.
    ASSERT_TRUE(::DeleteFileW(source.c_str()));
    std::wstring folder = ExpectedMsiFolder(editor.packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(FixtureMsi(L"editor").c_str(), (folder + L"\\editor.msi").c_str(), FALSE));

    std::wstring log = dir.File(L"setup.log");
    CSetupApp app(L"setup.exe /qn /L*v \"" + log + L"\"");
    SetupPackage package(FieldsOf(editor, true), {});
    ASSERT_TRUE(package.isInstalled);
    ASSERT_EQ(package.msiFileName, folder + L"\\editor.msi");
    EXPECT_EQ(UninstallPackage(package, INSTALLUILEVEL_NONE, &app), 0u);
    EXPECT_FALSE(package.isInstalled);
    EXPECT_FALSE(ProductInstalled(editor.productCode));
    // Windows Installer's part of the log came in after the launcher's lines,
    // in the log's own encoding, and the launcher's log is open again.
    WriteLog(1, L"ZEL (c): after the removal\r\n");
    app.Log().HandToInstaller();
    std::wstring text = testsupport::ReadUtf16(log);
    size_t removal = text.find(L"REMOVE = ALL");
    ASSERT_NE(removal, std::wstring::npos);
    EXPECT_NE(text.find(L"ZEL (c): after the removal\r\n", removal), std::wstring::npos);
}

TEST(PackageState, WithoutASingleKeptDatabaseUninstallUsesTheInstallSource) {
    TempDir dir;
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    InstallFromCopy(FixtureMsi(L"editor"), dir.Path() + L"\\source");
    std::wstring folder = ExpectedMsiFolder(editor.packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    PutFile(folder + L"\\one.msi", "not a database");
    PutFile(folder + L"\\two.msi", "not a database");
    SetupPackage package = MainPackage(editor);
    ASSERT_TRUE(package.msiFileName.empty());
    EXPECT_EQ(UninstallPackage(package, INSTALLUILEVEL_NONE, nullptr), 0u);
    EXPECT_FALSE(package.isInstalled);
    EXPECT_FALSE(ProductInstalled(editor.productCode));
}

TEST(PackageState, NoSingleDatabaseAnywhereGivesNineAndKeepsTheProduct) {
    TempDir dir;
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    std::wstring source = InstallFromCopy(FixtureMsi(L"editor"), dir.Path() + L"\\source");
    // A second database beside it: the install source holds no single one.
    ASSERT_TRUE(::CopyFileW(source.c_str(), (dir.Path() + L"\\source\\copy.msi").c_str(), FALSE));
    SetupPackage package = MainPackage(editor);
    ASSERT_TRUE(package.msiFileName.empty());
    EXPECT_EQ(UninstallPackage(package, INSTALLUILEVEL_NONE, nullptr), static_cast<UINT>(outcome::kNoMsiFile));
    EXPECT_TRUE(package.isInstalled);
    EXPECT_TRUE(ProductInstalled(editor.productCode));
    // A database that does not exist fails in Windows Installer; the state stays.
    EXPECT_NE(UninstallWithDatabase(package, dir.File(L"missing.msi"), INSTALLUILEVEL_NONE, nullptr), 0u);
    EXPECT_TRUE(package.isInstalled);
}
