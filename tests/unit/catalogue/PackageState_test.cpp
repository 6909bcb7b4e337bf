// The decisions behind a package's catalogue side: the products a product
// id stands for, the setup-key names and the predecessor floors, the folder
// names a package code may give, and the upgrade code of each version.
#include <gtest/gtest.h>

#include "catalogue/PackageFolders.h"
#include "catalogue/RelatedProduct.h"

TEST(RelatedProducts, ABundleStandsForItsComponents) {
    auto enterprise = ResolveRelatedProducts(L"TW::E", L"2024.01.00", true, L"de");
    std::vector<std::wstring> expected = ExpandProductId(L"TW::E");
    ASSERT_EQ(enterprise.size(), 7u);
    for (size_t i = 0; i < enterprise.size(); ++i) {
        EXPECT_EQ(enterprise[i]->ProductId(), expected[i]);
        EXPECT_EQ(enterprise[i]->version, (ProductVersion{2024, 1, 0, 0}));
        EXPECT_TRUE(enterprise[i]->is64);
        EXPECT_TRUE(enterprise[i]->fromBundle);
        EXPECT_EQ(enterprise[i]->language, L"de");
    }
    EXPECT_EQ(ResolveRelatedProducts(L"TW::P", L"2024.00.00", false, L"").size(), 5u);

    auto single = ResolveRelatedProducts(L"SD::Z", L"5.3.1", false, L"fr");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_FALSE(single[0]->fromBundle);
    EXPECT_EQ(single[0]->RegistryName(), L"SollenveyDesigner");
    EXPECT_EQ(single[0]->DisplayName(), L"Morvex Sollenvey Designer");
    EXPECT_EQ(single[0]->DisplayVersion(), L"5.3 sp1");
    EXPECT_EQ(single[0]->InstallerVersion(), L"5.3.1.0");
    EXPECT_EQ(single[0]->FullVersion(), L"5.3.1.0");
}

TEST(RelatedProducts, WhatCannotBeResolvedGivesNothing) {
    EXPECT_TRUE(ResolveRelatedProducts(L"", L"2024.00.00", false, L"").empty());
    EXPECT_TRUE(ResolveRelatedProducts(L"ZZ::Z", L"2024.00.00", false, L"").empty());
    EXPECT_TRUE(ResolveRelatedProducts(L"dy::e", L"2024.00.00", false, L"").empty());
    // No version: not even a bundle's first component.
    EXPECT_TRUE(ResolveRelatedProducts(L"TW::E", L"", false, L"").empty());
    EXPECT_TRUE(ResolveRelatedProducts(L"DY::E", L"", false, L"").empty());
    EXPECT_EQ(ResolveRelatedProduct(L"KS::Z", L"", false, L"", false), nullptr);
}

TEST(RelatedProducts, YearBasedVersionTexts) {
    auto product = ResolveRelatedProduct(L"KS::Z", L"2020.1.2", false, L"", false);
    ASSERT_TRUE(product);
    EXPECT_EQ(product->DisplayVersion(), L"2020 rel. 1 sp2");
    EXPECT_EQ(product->InstallerVersion(), L"22.1.2.0");
    EXPECT_EQ(product->FullVersion(), L"2020.01.02.00");
    product->version.build = 93;
    EXPECT_EQ(product->DisplayVersion(), L"2020 rel. 1 sp2 beta 3");
}

TEST(RelatedProducts, SetupKeysAndFloors) {
    EXPECT_EQ(SetupKeyPath(L"Dralyn", 2024, false), L"SOFTWARE\\Morvex\\Dralyn\\Installation_v2024\\Setup");
    EXPECT_EQ(SetupKeyPath(L"Dralyn", 2024, true), L"SOFTWARE\\Morvex\\Dralyn\\Installation_v2024_x64\\Setup");
    auto server = ResolveRelatedProduct(L"BC::S", L"2023.00.00", true, L"", false);
    ASSERT_TRUE(server);
    EXPECT_EQ(server->SetupKeyPath(), L"SOFTWARE\\Morvex\\BrimcartServer\\Installation_v2023_x64\\Setup");
    EXPECT_EQ(PredecessorFloor(Numbering::YearBased), 2018);
    EXPECT_EQ(PredecessorFloor(Numbering::Plain), 3);
}

TEST(RelatedProducts, PackageCodesAsFolderNames) {
    EXPECT_TRUE(IsUsableFolderName(L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}"));
    EXPECT_TRUE(IsUsableFolderName(L"A package"));
    for (const wchar_t* bad : {L"", L".", L"..", L"..\\x", L"a/b", L"c:", L"a*", L"a?", L"\"", L"<", L">", L"|"})
        EXPECT_FALSE(IsUsableFolderName(bad)) << testing::PrintToString(std::wstring(bad));
}

TEST(RelatedProducts, UpgradeCodesPerVersion) {
    const ProductRow& dralyn = *FindProduct(L"DY::E");
    ASSERT_GE(dralyn.upgradeCodes.size(), 2u);
    const VersionUpgradeCode& first = dralyn.upgradeCodes[0];
    const VersionUpgradeCode& second = dralyn.upgradeCodes[1];
    EXPECT_EQ(UpgradeCodeFor(dralyn, first.fromMajor - 1), nullptr);
    EXPECT_STREQ(UpgradeCodeFor(dralyn, first.fromMajor), first.code);
    EXPECT_STREQ(UpgradeCodeFor(dralyn, second.fromMajor - 1), first.code);
    EXPECT_STREQ(UpgradeCodeFor(dralyn, second.fromMajor), second.code);
    EXPECT_STREQ(UpgradeCodeFor(dralyn, second.fromMajor + 10), second.code);
    EXPECT_STRNE(first.code, second.code);
}
