// Shows that Wine's Windows Installer installs a fixture product with its language transform beside the package, as the launcher leaves it there, and registers the product under the name and texts of that language.
#include <gtest/gtest.h>

#include "tests/entry/EntryTestSupport.h"
#include "tests/support/LanguageTransforms.h"

namespace {

testsupport::DescribedTransform Described(const std::wstring& name) {
    for (const testsupport::DescribedTransform& transform : testsupport::ReadLanguageTransforms())
        if (transform.name == name) return transform;
    ADD_FAILURE() << "no transform " << name;
    return {};
}

// Unpacks the product and its transform into one folder, as the launcher
// does (Transform_de.mst beside the package), and installs from there.
void InstallInLanguage(const testsupport::DescribedTransform& transform) {
    testsupport::TempDir folder;
    std::wstring package = folder.File(transform.product + L".msi");
    std::wstring transformName = L"Transform_" + transform.suffix + L".mst";
    ASSERT_TRUE(::CopyFileW(entrytest::FixturePath(transform.product).c_str(), package.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(transform.Path().c_str(), folder.File(transformName).c_str(), FALSE));
    ASSERT_EQ(entrytest::Install(package, L"TRANSFORMS=" + transformName), static_cast<UINT>(ERROR_SUCCESS));

    std::wstring code = entrytest::FixtureProperty(transform.product, L"ProductCode");
    std::wstring name = transform.ValueOf(L"Property", L"ProductName", L"Value").value_or(L"?");
    std::wstring comments = transform.ValueOf(L"Property", L"ARPCOMMENTS", L"Value").value_or(L"?");
    std::wstring language = transform.ValueOf(L"Property", L"ProductLanguage", L"Value").value_or(L"?");
    EXPECT_NE(name, entrytest::FixtureProperty(transform.product, L"ProductName"));
    EXPECT_EQ(entrytest::ProductInfo(code, L"ProductName"), name);
    EXPECT_EQ(entrytest::ProductInfo(code, L"Language"), language);
    std::wstring key = entrytest::UninstallKeyPath(code);
    EXPECT_EQ(entrytest::StringValue(key, KEY_WOW64_32KEY, L"DisplayName"), name);
    EXPECT_EQ(entrytest::StringValue(key, KEY_WOW64_32KEY, L"Comments"), comments);
}

TEST(LanguageInstall, GermanTransformNamesTheInstalledProduct) { InstallInLanguage(Described(L"editor_de")); }

TEST(LanguageInstall, JapaneseTransformNamesTheInstalledProduct) { InstallInLanguage(Described(L"brimcart_ja")); }

}  // namespace
