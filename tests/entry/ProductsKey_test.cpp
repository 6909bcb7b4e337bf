// Shows that the installer's own product key is changed along with the uninstall entry only on Windows older than 6.1, both with the decision given and in a child that runs the steps as the launcher does under the Windows version set for it in this prefix.
#include <gtest/gtest.h>

#include <memory>

#include "catalogue/SetupPackage.h"
#include "execution/CustomInstallerRegistry.h"
#include "execution/PackedProductCode.h"
#include "launcher/SetupApp.h"
#include "tests/entry/EntryTestSupport.h"

namespace {

using entrytest::StringValue;

const wchar_t kProducts[] = L"Software\\Classes\\Installer\\Products";

// The installer's product key of an installed product, found by its name
// among all product keys (without packing the code).
std::wstring FindProductKey(const std::wstring& productName) {
    fw::RegKeyHandle products;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProducts, 0, KEY_READ | KEY_WOW64_64KEY, products.put()) != ERROR_SUCCESS)
        return L"";
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (::RegEnumKeyExW(products.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return L"";
        std::wstring path = std::wstring(kProducts) + L"\\" + name;
        if (StringValue(path, KEY_WOW64_64KEY, L"ProductName") == productName) return name;
    }
}

struct Product {
    std::wstring fixture;
    std::wstring code = entrytest::FixtureProperty(fixture, L"ProductCode");
    std::wstring installedName = entrytest::FixtureProperty(fixture, L"ProductName");
    std::wstring keyPath;  // the product key, found after the install

    explicit Product(const std::wstring& name) : fixture(name) {
        EXPECT_EQ(entrytest::Install(entrytest::FixturePath(fixture)), static_cast<UINT>(ERROR_SUCCESS));
        std::wstring key = FindProductKey(installedName);
        EXPECT_FALSE(key.empty());
        keyPath = std::wstring(kProducts) + L"\\" + key;
    }
    std::optional<std::wstring> ProductName() const { return StringValue(keyPath, KEY_WOW64_64KEY, L"ProductName"); }
};

// The steps with the decision given, as the application would give it.
struct StepRunner {
    testsupport::TempDir folder;
    std::wstring launcherPath = folder.File(L"setup.exe");
    std::wstring logPath = folder.File(L"setup.log");
    std::unique_ptr<CSetupApp> app;
    std::unique_ptr<SetupPackage> package;

    StepRunner(const Product& product, bool is64) {
        testsupport::WriteBytes(launcherPath, "MZ launcher");
        app = std::make_unique<CSetupApp>(L"setup.exe /L*v \"" + logPath + L"\"", launcherPath);
        PackageRecord fields;
        fields.name = L"Morvex Bundle, as the catalogue names it";
        fields.productCode = product.code;
        fields.is64 = is64;
        fields.isMain = true;
        package = std::make_unique<SetupPackage>(std::move(fields), app->DetectionContextFor(true));
        package->msiFolder = folder.File(L"package");
    }
    void Run(int step, bool oldSystem) {
        CustomInstallerFacts facts;
        facts.launcherFile = app->LauncherFile();
        facts.launcherPath = launcherPath;
        facts.oldSystem = oldSystem;
        CustomInstallerRegistry(step, *package, facts);
    }
    bool Logged(const std::wstring& line) const {
        for (const std::wstring& each : testsupport::Lines(testsupport::ReadUtf16(logPath)))
            if (each == line) return true;
        return false;
    }
};

// Runs the child under the prefix's settings for it; its exit code.
DWORD RunChild(int step, const Product& product, bool is64, const std::wstring& msiFolder, const std::wstring& name,
               const std::wstring& log) {
    std::wstring arguments = std::to_wstring(step) + L" " + product.code + (is64 ? L" 1 \"" : L" 0 \"") + msiFolder +
                             L"\" \"" + name + L"\" \"" + log + L"\"";
    testsupport::RunResult result =
        testsupport::Run(testsupport::BuildDir() + L"\\tests\\uninstall_entry_child.exe", arguments, 60000);
    EXPECT_FALSE(result.timedOut);
    return result.exitCode;
}

TEST(ProductsKey, ThePackedCodeNamesTheInstallersProductKey) {
    for (const wchar_t* fixture : {L"bundle32", L"bundle64"}) {
        Product product(fixture);
        EXPECT_EQ(std::wstring(kProducts) + L"\\" + PackProductCode(product.code), product.keyPath) << fixture;
    }
}

TEST(ProductsKey, FromWindows7OnTheProductKeyIsNeverTouched) {
    Product product(L"bundle32");
    StepRunner runner(product, false);
    for (int step : {0, 2, 3, 1}) {
        runner.Run(step, false);
        EXPECT_EQ(product.ProductName(), product.installedName) << step;
    }
    EXPECT_FALSE(runner.Logged(L"ZEL (c): before write product name - custom installer registry"));
}

TEST(ProductsKey, OnOlderWindowsTheProductNameFollowsTheSteps) {
    Product product(L"bundle64");
    StepRunner runner(product, true);
    runner.Run(kPerformCustomInstaller, true);
    EXPECT_EQ(product.ProductName(), L"");
    runner.Run(kPrepareRemoveCustomInstaller, true);
    EXPECT_EQ(product.ProductName(), runner.package->name);
    EXPECT_TRUE(runner.Logged(L"ZEL (c): before write product name - custom installer registry"));
    EXPECT_TRUE(runner.Logged(L"ZEL (c): after write product name - custom installer registry"));
    runner.Run(kRollBackPrepareRemoveCustomInstaller, true);
    EXPECT_EQ(product.ProductName(), L"");
    runner.Run(kPrepareRemoveCustomInstaller, true);
    runner.Run(kRedoCustomInstaller, true);
    EXPECT_EQ(product.ProductName(), L"");
}

// End to end: the launcher's facts come from the running process, and the
// prefix reports Windows Vista (6.0) to the child.
TEST(ProductsKey, ALauncherOnWindowsVistaChangesTheProductKey) {
    testsupport::SetWindowsVersionFor(L"uninstall_entry_child.exe", L"vista");
    Product product(L"bundle64");
    testsupport::TempDir folder;
    std::wstring msiFolder = folder.File(L"Kept Packages\\") + product.code;
    std::wstring log = folder.File(L"child.log");
    ASSERT_EQ(RunChild(kPerformCustomInstaller, product, true, msiFolder, L"Bundle Catalogue Name", log), 0u);
    EXPECT_EQ(product.ProductName(), L"");

    // The copy is the child's own file, under its own name, and the entry
    // starts it (quoted: the folder holds a blank) without a language.
    std::wstring child = testsupport::BuildDir() + L"\\tests\\uninstall_entry_child.exe";
    std::wstring copy = msiFolder + L"\\uninstall_entry_child.exe";
    EXPECT_EQ(testsupport::ReadBytes(copy), testsupport::ReadBytes(child));
    std::wstring key = entrytest::UninstallKeyPath(product.code);
    EXPECT_EQ(StringValue(key, KEY_WOW64_64KEY, L"UninstallString"), L"\"" + copy + L"\" /x");
    EXPECT_EQ(StringValue(key, KEY_WOW64_64KEY, L"ModifyPath"), L"\"" + copy + L"\"");

    ASSERT_EQ(RunChild(kPrepareRemoveCustomInstaller, product, true, msiFolder, L"Bundle Catalogue Name", log), 0u);
    EXPECT_EQ(product.ProductName(), L"Bundle Catalogue Name");
}

TEST(ProductsKey, ALauncherOnWindows7LeavesTheProductKey) {
    testsupport::SetWindowsVersionFor(L"uninstall_entry_child.exe", L"win7");
    Product product(L"bundle32");
    testsupport::TempDir folder;
    std::wstring msiFolder = folder.File(L"packages\\") + product.code;
    std::wstring log = folder.File(L"child.log");
    ASSERT_EQ(RunChild(kPerformCustomInstaller, product, false, msiFolder, L"Bundle Catalogue Name", log), 0u);
    ASSERT_EQ(RunChild(kPrepareRemoveCustomInstaller, product, false, msiFolder, L"Bundle Catalogue Name", log), 0u);
    EXPECT_EQ(product.ProductName(), product.installedName);
    // The steps did run: the 32-bit entry points at the child's copy.
    std::wstring copy = msiFolder + L"\\uninstall_entry_child.exe";
    EXPECT_EQ(StringValue(entrytest::UninstallKeyPath(product.code), KEY_WOW64_32KEY, L"UninstallString"),
              copy + L" /x");
    EXPECT_TRUE(testsupport::FileExists(copy));
}

}  // namespace
