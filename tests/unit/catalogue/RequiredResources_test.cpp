// The resources /v requires, in order, for single- and multi-language
// installers: every string the run reads from each package, its package and
// (multi-language) its transforms.
#include <gtest/gtest.h>

#include "catalogue/CatalogueResources.h"
#include "catalogue/SubPackageSelection.h"

TEST(RequiredResources, SingleLanguageTwoPackages) {
    auto list = RequiredResources(2, false, L"English");
    std::vector<std::wstring> names;
    for (const auto& r : list) {
        names.push_back(r.name);
        EXPECT_FALSE(r.language.has_value()) << r.name.c_str();
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"OS", L"MINIMUM_MSI", L"PACKAGE_COUNT", L"PRODUCT_NAME_0",
                                               L"PRODUCT_NAME_1", L"PRODUCT_CODE_0", L"PRODUCT_CODE_1",
                                               L"PACKAGE_CODE_0", L"PACKAGE_CODE_1", L"PRODUCT_ID_0", L"PRODUCT_ID_1",
                                               L"PRODUCT_PLATFORM_0", L"PRODUCT_PLATFORM_1", L"PRODUCT_VERSION_0",
                                               L"PRODUCT_VERSION_1", L"PACKAGE_0", L"PACKAGE_1"}));
}

TEST(RequiredResources, MultiLanguageAddsTransformsButNotFrench) {
    auto list = RequiredResources(1, true, L"German");
    ASSERT_EQ(list.size(), 13u);
    EXPECT_EQ(list[0], (RequiredResource{L"OS", L"German"}));
    EXPECT_EQ(list[6], (RequiredResource{L"PRODUCT_ID_0", L"German"}));
    EXPECT_EQ(list[7], (RequiredResource{L"PRODUCT_PLATFORM_0", L"German"}));
    EXPECT_EQ(list[8], (RequiredResource{L"PRODUCT_VERSION_0", L"German"}));
    EXPECT_EQ(list[9], (RequiredResource{L"PACKAGE_0", std::nullopt}));
    EXPECT_EQ(list[10], (RequiredResource{L"PACKAGE_0_1031", L"1031"}));
    EXPECT_EQ(list[11], (RequiredResource{L"PACKAGE_0_1034", L"1034"}));
    EXPECT_EQ(list[12], (RequiredResource{L"PACKAGE_0_1041", L"1041"}));
    EXPECT_EQ(CatalogueResources::LanguageFromText(L"German"), 1033);
    EXPECT_EQ(CatalogueResources::LanguageFromText(L"1036"), 1036);
}

TEST(RequiredResources, NoPackagesOnlyTheCommonThree) { EXPECT_EQ(RequiredResources(0, false, L"").size(), 3u); }

TEST(PackageCount, DecimalPrefixOrZero) {
    EXPECT_EQ(ParsePackageCount(L"3"), 3);
    EXPECT_EQ(ParsePackageCount(L"abc"), 0);
    EXPECT_EQ(ParsePackageCount(L""), 0);
    EXPECT_EQ(ParsePackageCount(L"-1"), -1);
}

TEST(SubPackagePatterns, SplitAtCommasDroppingEmptyPieces) {
    EXPECT_TRUE(SubPackagePatterns(L"").empty());
    EXPECT_TRUE(SubPackagePatterns(L",,").empty());
    EXPECT_EQ(SubPackagePatterns(L"Server,Tools"), (std::vector<std::wstring>{L"Server", L"Tools"}));
    EXPECT_EQ(SubPackagePatterns(L" a ,,b"), (std::vector<std::wstring>{L" a ", L"b"}));
}
