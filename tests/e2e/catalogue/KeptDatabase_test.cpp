// A database found in a package folder is used only for the maintenance of a product this installer installed: one planted before the first run is never installed (the launcher unpacks its own), and a kept database still gets the chosen language's transform beside it.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/LanguageTransforms.h"

using namespace statetest;

namespace {

std::wstring ProductInfo(const std::wstring& productCode, const wchar_t* property) {
    wchar_t value[256] = {};
    DWORD size = 256;
    if (fw::Msi().MsiGetProductInfoW(productCode.c_str(), property, value, &size) != ERROR_SUCCESS) return L"<none>";
    return value;
}

testsupport::DescribedTransform GermanEditor() {
    for (const testsupport::DescribedTransform& transform : testsupport::ReadLanguageTransforms())
        if (transform.name == L"editor_de") return transform;
    ADD_FAILURE() << "no transform editor_de";
    return {};
}

}  // namespace

TEST(KeptDatabase, ADatabasePlantedBeforeTheFirstRunIsNeverInstalled) {
    FixtureFacts editor = FactsOf(FixtureMsi(L"editor"));
    FixtureFacts planted = FactsOf(FixtureMsi(L"editor_other"));
    ASSERT_FALSE(fw::EqualsNoCase(planted.packageCode, editor.packageCode));
    // Anyone may make the folder of a public package code and fill it.
    std::wstring folder = ExpectedMsiFolder(editor.packageCode);
    ::CreateDirectoryW(ExpectedBaseFolder().c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(FixtureMsi(L"editor_other").c_str(), (folder + L"\\editor.msi").c_str(), FALSE));
    PutFile(folder + L"\\Transform_de.mst", "planted");
    PutFile(folder + L"\\planted.txt", "planted");

    LauncherRun run = RunLauncher(L"multi", L"/qn lang=German /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Extracting resource: PACKAGE_0\r\n"));
    // The launcher's own package, in German through its own transform.
    EXPECT_TRUE(fw::EqualsNoCase(ProductInfo(editor.productCode, INSTALLPROPERTY_PACKAGECODE), editor.packageCode))
        << ProductInfo(editor.productCode, INSTALLPROPERTY_PACKAGECODE);
    EXPECT_EQ(ProductInfo(editor.productCode, INSTALLPROPERTY_PRODUCTNAME),
              GermanEditor().ValueOf(L"Property", L"ProductName", L"Value").value_or(L"?"));
    EXPECT_NE(testsupport::ReadBytes(folder + L"\\Transform_de.mst"), "planted");
    EXPECT_FALSE(Exists(folder + L"\\planted.txt"));
    // The planted folder was set aside and removed, and the folder made anew
    // with the protected list (Wine shows that Everyone has no entry).
    EXPECT_EQ(testsupport::FolderEntries(ExpectedBaseFolder()), std::vector<std::wstring>{editor.packageCode});
    EXPECT_FALSE(EveryoneAllowed(folder));
}
