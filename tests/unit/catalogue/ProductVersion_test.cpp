// Version texts: parsing, ordering and the display, installer and full forms
// of both numbering kinds.
#include <gtest/gtest.h>

#include "catalogue/ProductTable.h"
#include "catalogue/ProductVersion.h"

TEST(VersionText, Parsing) {
    EXPECT_EQ(ParseVersionText(L"2020.00.00"), (ProductVersion{2020, 0, 0, 0}));
    EXPECT_EQ(ParseVersionText(L"2020.1.2.3"), (ProductVersion{2020, 1, 2, 3}));
    EXPECT_EQ(ParseVersionText(L""), (ProductVersion{-1, 0, 0, 0}));
    EXPECT_EQ(ParseVersionText(L"5"), (ProductVersion{5, 0, 0, 0}));
    // A long third piece counts by its first two characters; the build stays the fourth piece.
    EXPECT_EQ(ParseVersionText(L"2021.3.0412"), (ProductVersion{2021, 3, 4, 0}));
    EXPECT_EQ(ParseVersionText(L"2021.3.0412.7"), (ProductVersion{2021, 3, 4, 7}));
}

TEST(VersionText, Ordering) {
    EXPECT_TRUE(IsOlder({2019, 9, 9, 9}, {2020, 0, 0, 0}));
    EXPECT_TRUE(IsOlder({2020, 0, 1, 0}, {2020, 1, 0, 0}));
    EXPECT_TRUE(IsOlder({2020, 1, 1, 0}, {2020, 1, 2, 0}));
    EXPECT_TRUE(IsOlder({2020, 1, 2, 0}, {2020, 1, 2, 1}));
    EXPECT_FALSE(IsOlder({2020, 1, 2, 1}, {2020, 1, 2, 1}));
    EXPECT_FALSE(IsOlder({2021, 0, 0, 0}, {2020, 5, 5, 5}));
}

TEST(VersionText, YearBasedForms) {
    ProductVersion v{2020, 1, 2, 0};
    EXPECT_EQ(DisplayVersionText(v, Numbering::YearBased), L"2020 rel. 1 sp2");
    EXPECT_EQ(InstallerVersionText(v, Numbering::YearBased), L"22.1.2.0");
    EXPECT_EQ(FullVersionText(v, Numbering::YearBased), L"2020.01.02.00");
    EXPECT_EQ(DisplayVersionText({2024, 0, 0, 0}, Numbering::YearBased), L"2024");
}

TEST(VersionText, BuildSuffixes) {
    EXPECT_EQ(DisplayVersionText({2020, 0, 0, 93}, Numbering::YearBased), L"2020 beta 3");
    EXPECT_EQ(DisplayVersionText({2020, 0, 0, 90}, Numbering::YearBased), L"2020 beta");
    EXPECT_EQ(DisplayVersionText({2020, 0, 0, 2}, Numbering::YearBased), L"2020 hf2");
    EXPECT_EQ(DisplayVersionText({5, 3, 1, 91}, Numbering::Plain), L"5.3 sp1 beta 1");
}

TEST(VersionText, PlainForms) {
    ProductVersion v{5, 3, 1, 0};
    EXPECT_EQ(DisplayVersionText(v, Numbering::Plain), L"5.3 sp1");
    EXPECT_EQ(InstallerVersionText(v, Numbering::Plain), L"5.3.1.0");
    EXPECT_EQ(FullVersionText(v, Numbering::Plain), L"5.3.1.0");
}

TEST(ProductTable, RowsAreConsistent) {
    std::vector<std::wstring> seen;
    for (const ProductRow& row : ProductTable()) {
        std::wstring id = row.productId;
        ASSERT_EQ(id.size(), 5u) << row.productId;
        EXPECT_EQ(id.substr(2, 2), L"::");
        EXPECT_EQ(std::count(seen.begin(), seen.end(), id), 0) << "duplicate " << row.productId;
        seen.push_back(id);
        EXPECT_EQ(FindProduct(id), &row);
        ASSERT_FALSE(row.upgradeCodes.empty()) << row.productId;
        for (size_t i = 0; i < row.upgradeCodes.size(); ++i) {
            EXPECT_EQ(std::wstring(row.upgradeCodes[i].code).size(), 38u);
            if (i > 0) {
                EXPECT_LT(row.upgradeCodes[i - 1].fromMajor, row.upgradeCodes[i].fromMajor) << row.productId;
            }
        }
    }
    EXPECT_EQ(FindProduct(L"dy::e"), nullptr);
    EXPECT_EQ(FindProduct(L""), nullptr);
}

TEST(ProductTable, ListsAndGroups) {
    EXPECT_EQ(DesktopProductIds().size(), 20u);
    EXPECT_EQ(AllProductIds().size(), 30u);
    for (const wchar_t* id : {L"DY::E", L"DY::P", L"DY::S", L"KS::Z", L"KS::S", L"QL::E", L"SD::Z"})
        EXPECT_NE(std::find(DesktopProductIds().begin(), DesktopProductIds().end(), id), DesktopProductIds().end()) << id;
    std::vector<int> groupA, groupB;
    for (const ProductRow& row : ProductTable()) {
        if (InGroupA(row)) groupA.push_back(row.id);
        if (InGroupB(row)) groupB.push_back(row.id);
    }
    EXPECT_EQ(groupA, (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 9}));
    EXPECT_EQ(groupB, (std::vector<int>{13, 14, 15, 16, 18, 19}));
}

TEST(ProductTable, BundlesAndRegistryNames) {
    EXPECT_EQ(ExpandProductId(L"TW::E").size(), 7u);
    EXPECT_EQ(ExpandProductId(L"TW::P").size(), 5u);
    for (const std::wstring& component : ExpandProductId(L"TW::E")) EXPECT_NE(FindProduct(component), nullptr);
    EXPECT_EQ(ExpandProductId(L"DY::E"), (std::vector<std::wstring>{L"DY::E"}));
    EXPECT_TRUE(ExpandProductId(L"").empty());
    EXPECT_EQ(RegistryNameOf(*FindProduct(L"SY::S")), L"SollenveyServer");
    EXPECT_EQ(RegistryNameOf(*FindProduct(L"DY::P")), L"Dralyn");
    EXPECT_EQ(RegistryNameOf(*FindProduct(L"SD::Z")), L"SollenveyDesigner");
}
