// When the welcome page offers Quick Install: the product groups, a
// predecessor from a bundle, and a new major version over a folder the user
// chose.
#include <gtest/gtest.h>

#include "catalogue/ProductTable.h"
#include "wizard/UpgradeDetection.h"

namespace {
QuickInstallFacts Facts(const wchar_t* id, bool fromBundle, bool sameMajor, bool customLocation) {
    return {FindProduct(id), fromBundle, sameMajor, customLocation};
}
}  // namespace

TEST(QuickInstallOffer, OnlyProductsOfTheTwoGroups) {
    for (const wchar_t* id : {L"DY::E", L"DY::S", L"KS::Z", L"SD::Z", L"VM::E", L"OR::E", L"BC::S", L"HB::S", L"BW::S"})
        EXPECT_TRUE(OffersQuickInstall(Facts(id, false, false, false))) << testing::PrintToString(std::wstring(id));
    // 6, 8, 10 to 12, 17 and 20 on belong to neither group.
    for (const wchar_t* id : {L"KS::S", L"VM::P", L"OR::P", L"LD::E", L"SY::S", L"LD::P", L"PK::L"})
        EXPECT_FALSE(OffersQuickInstall(Facts(id, false, true, false))) << testing::PrintToString(std::wstring(id));
    EXPECT_FALSE(OffersQuickInstall(QuickInstallFacts{}));
}

TEST(QuickInstallOffer, ABundlesInstallationOfTheSameMajorVersionIsNotRepeated) {
    EXPECT_FALSE(OffersQuickInstall(Facts(L"DY::E", true, true, false)));
    EXPECT_TRUE(OffersQuickInstall(Facts(L"DY::E", true, false, false)));
    // The servers of group B are repeated also then.
    EXPECT_TRUE(OffersQuickInstall(Facts(L"BC::S", true, true, false)));
}

TEST(QuickInstallOffer, ANewMajorVersionOnlyOverTheDefaultFolder) {
    EXPECT_FALSE(OffersQuickInstall(Facts(L"DY::E", false, false, true)));
    EXPECT_TRUE(OffersQuickInstall(Facts(L"DY::E", false, true, true)));
    EXPECT_FALSE(OffersQuickInstall(Facts(L"HB::S", false, false, true)));
    EXPECT_TRUE(OffersQuickInstall(Facts(L"HB::S", false, true, true)));
}
