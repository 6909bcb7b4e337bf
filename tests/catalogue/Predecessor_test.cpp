// The search for an older installation and the check for an installed
// version read the setup keys that the maker's installations leave, from the
// own major version down to the floor, in the product's registry view: keys
// written by the test, and keys written by installed fixture packages.
#include <gtest/gtest.h>

#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"
#include "framework/SystemApi.h"
#include "icbs/RegistryKey.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;

namespace {

struct Installation {
    std::wstring version;
    std::wstring productId;
    std::wstring language;
    std::wstring applicationPath;
    DWORD bundle = 0;
};

void Record(const std::wstring& registryName, int major, bool is64, const Installation& installation,
            REGSAM view = 0) {
    if (view == 0) view = is64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    RegistryKey key(L"HKEY_LOCAL_MACHINE\\" + SetupKeyPath(registryName, major, is64), false, true, view);
    ASSERT_TRUE(key.IsOpen());
    if (!installation.version.empty()) key.SetString(L"Version", installation.version);
    if (!installation.productId.empty()) key.SetString(L"ProductId", installation.productId);
    key.SetString(L"Language", installation.language);
    key.SetString(L"ApplicationPath", installation.applicationPath);
    key.SetDword(L"InstalledFromTarnwell", installation.bundle);
}

std::unique_ptr<RelatedProduct> Product(const wchar_t* id, const wchar_t* version, bool is64 = false,
                                        bool bundle = false) {
    auto product = ResolveRelatedProduct(id, version, is64, L"en", bundle);
    EXPECT_TRUE(product) << id;
    return product;
}

}  // namespace

TEST(Predecessor, TheSearchGoesDownFromTheOwnMajorVersionAndSkipsWhatDoesNotFit) {
    Record(L"Kestrane", 2024, false, {L"", L"KS::Z", L"de"});            // no version
    Record(L"Kestrane", 2023, false, {L"2023.00.00", L"KS::Z", L"de", L"", 1});  // from a bundle
    Record(L"Kestrane", 2022, false, {L"2022.02.01", L"", L"es"});       // no product id: the own one
    Record(L"Kestrane", 2021, false, {L"2021.00.00", L"KS::Z", L"fr"});
    auto found = Product(L"KS::Z", L"2024.00.00")->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->ProductId(), L"KS::Z");
    EXPECT_EQ(found->version, (ProductVersion{2022, 2, 1, 0}));
    EXPECT_EQ(found->language, L"es");
    EXPECT_FALSE(found->fromBundle);
    EXPECT_EQ(found->DisplayVersion(), L"2022 rel. 2 sp1");

    // A bundle's component finds only what a bundle installed.
    auto inBundle = Product(L"KS::Z", L"2024.00.00", false, true)->FindInstalledPredecessor();
    ASSERT_TRUE(inBundle);
    EXPECT_EQ(inBundle->version.major, 2023);
    EXPECT_TRUE(inBundle->fromBundle);
}

TEST(Predecessor, TheFirstVersionFoundDecides) {
    Record(L"Kestrane", 2024, false, {L"2024.01.00", L"KS::Z", L"de"});
    Record(L"Kestrane", 2022, false, {L"2022.00.00", L"KS::Z", L"de"});
    // The same or a newer version of the own major: no predecessor, even
    // though an older major version is installed as well.
    EXPECT_FALSE(Product(L"KS::Z", L"2024.01.00")->FindInstalledPredecessor());
    EXPECT_FALSE(Product(L"KS::Z", L"2024.00.00")->FindInstalledPredecessor());
    // An older release of the own major version is one.
    auto found = Product(L"KS::Z", L"2024.02.00")->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->version, (ProductVersion{2024, 1, 0, 0}));
}

TEST(Predecessor, TheSearchStopsAtTheFloorOfTheNumberingKind) {
    // Year-based products are searched down to 2018, plain ones down to 3.
    Record(L"Kestrane", 2017, false, {L"2017.00.00", L"KS::Z", L"de"});
    EXPECT_FALSE(Product(L"KS::Z", L"2020.00.00")->FindInstalledPredecessor());
    Record(L"Kestrane", 2018, false, {L"2018.00.00", L"KS::Z", L"de"});
    EXPECT_TRUE(Product(L"KS::Z", L"2020.00.00")->FindInstalledPredecessor());

    Record(L"SollenveyDesigner", 2, false, {L"2.5", L"SD::Z", L""});
    EXPECT_FALSE(Product(L"SD::Z", L"5.0")->FindInstalledPredecessor());
    Record(L"SollenveyDesigner", 3, false, {L"3.1", L"SD::Z", L""});
    auto found = Product(L"SD::Z", L"5.0")->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->DisplayVersion(), L"3.1");
}

TEST(Predecessor, AnInstallationOfAnUnknownProductIsNoPredecessor) {
    Record(L"Kestrane", 2023, false, {L"2023.00.00", L"XX::Q", L"de"});
    Record(L"Kestrane", 2021, false, {L"2021.00.00", L"KS::S", L"it"});
    auto found = Product(L"KS::Z", L"2024.00.00")->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    // Another product of the table under the same registry name is found as itself.
    EXPECT_EQ(found->ProductId(), L"KS::S");
    EXPECT_EQ(found->version.major, 2021);
}

TEST(Predecessor, TheApplicationPathIsCheckedForAFile) {
    testsupport::TempDir dir;
    std::wstring application = dir.File(L"app.exe");
    PutFile(application, "MZ");
    Record(L"Dralyn", 2022, false, {L"2022.00.00", L"DY::E", L"en", application});
    auto found = Product(L"DY::E", L"2024.00.00")->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->applicationPath, application);
    EXPECT_TRUE(found->applicationExists);

    Record(L"Dralyn", 2023, false, {L"2023.00.00", L"DY::E", L"en", dir.File(L"gone.exe")});
    found = Product(L"DY::E", L"2024.00.00")->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->version.major, 2023);
    EXPECT_FALSE(found->applicationExists);
    // A folder is not the application file.
    Record(L"Dralyn", 2023, false, {L"2023.00.00", L"DY::E", L"en", dir.Path()});
    EXPECT_FALSE(Product(L"DY::E", L"2024.00.00")->FindInstalledPredecessor()->applicationExists);
}

TEST(Predecessor, ASixtyFourBitProductIsLookedUpInTheSixtyFourBitView) {
    // The 64-bit product's key, but in the 32-bit view only: not its own.
    Record(L"Kestrane", 2022, true, {L"2022.00.00", L"KS::Z", L"de"}, KEY_WOW64_32KEY);
    EXPECT_FALSE(Product(L"KS::Z", L"2024.00.00", true)->FindInstalledPredecessor());
    EXPECT_FALSE(Product(L"KS::Z", L"2022.00.00", true)->IsVersionInstalled());
    Record(L"Kestrane", 2021, true, {L"2021.00.00", L"KS::Z", L"ja"}, KEY_WOW64_64KEY);
    auto found = Product(L"KS::Z", L"2024.00.00", true)->FindInstalledPredecessor();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->version.major, 2021);
    EXPECT_TRUE(found->is64);
    EXPECT_TRUE(Product(L"KS::Z", L"2021.00.00", true)->IsVersionInstalled());
}

TEST(Predecessor, IsVersionInstalledComparesVersionAndProductId) {
    Record(L"Kestrane", 2024, false, {L"2024.01.00", L"KS::Z", L"de"});
    EXPECT_TRUE(Product(L"KS::Z", L"2024.01.00")->IsVersionInstalled());
    // The same version written in the full form.
    EXPECT_TRUE(Product(L"KS::Z", L"2024.1.0.0")->IsVersionInstalled());
    EXPECT_FALSE(Product(L"KS::Z", L"2024.02.00")->IsVersionInstalled());
    EXPECT_FALSE(Product(L"KS::S", L"2024.01.00")->IsVersionInstalled());
    EXPECT_FALSE(Product(L"KS::Z", L"2023.01.00")->IsVersionInstalled());
}

TEST(Predecessor, InstalledFixturePackagesAreFoundThroughTheirSetupKeys) {
    ASSERT_EQ(Install(FixtureMsi(L"kestrane2021")), 0u);
    ASSERT_EQ(Install(FixtureMsi(L"kestrane2019bundle")), 0u);
    ASSERT_EQ(Install(FixtureMsi(L"kestrane2022x64")), 0u);

    auto plain = Product(L"KS::Z", L"2024.00.00")->FindInstalledPredecessor();
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->FullVersion(), L"2021.01.00.00");
    EXPECT_EQ(plain->language, L"de");
    EXPECT_TRUE(plain->applicationExists) << plain->applicationPath;
    EXPECT_TRUE(testsupport::Contains(plain->applicationPath, L"\\Morvex\\Kestrane2021\\application.txt"));

    auto bundled = Product(L"KS::Z", L"2024.00.00", false, true)->FindInstalledPredecessor();
    ASSERT_TRUE(bundled);
    EXPECT_EQ(bundled->FullVersion(), L"2019.00.02.00");
    EXPECT_EQ(bundled->language, L"fr");

    auto wide = Product(L"KS::Z", L"2024.00.00", true)->FindInstalledPredecessor();
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->FullVersion(), L"2022.00.00.00");
    EXPECT_EQ(wide->ProductId(), L"KS::Z");
    EXPECT_EQ(wide->language, L"ja");
    EXPECT_TRUE(wide->applicationExists) << wide->applicationPath;
    EXPECT_TRUE(Product(L"KS::Z", L"2021.01.00")->IsVersionInstalled());

    // A package of the bundle asks its components in order: Dralyn has no
    // installation, Kestrane (the second component) has one from a bundle.
    FixtureFacts facts = FactsOf(FixtureMsi(L"editor"));
    PackageRecord fields = FieldsOf(facts, true, L"TW::E");
    fields.versionText = L"2024.00.00";
    SetupPackage bundle(fields, {});
    ASSERT_EQ(bundle.RelatedCount(), 7u);
    auto viaBundle = bundle.FindInstalledPredecessor();
    ASSERT_TRUE(viaBundle);
    EXPECT_EQ(viaBundle->ProductId(), L"KS::Z");
    EXPECT_EQ(viaBundle->version.major, 2019);

    // A package whose own product is installed by it looks for no predecessor.
    FixtureFacts installed = FactsOf(FixtureMsi(L"kestrane2021"));
    PackageRecord own = FieldsOf(installed, true, L"KS::Z");
    own.versionText = L"2024.00.00";
    EXPECT_FALSE(SetupPackage(own, {}).FindInstalledPredecessor());

    // Removing the product removes its keys.
    fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ASSERT_EQ(fw::Msi().MsiInstallProductW(FixtureMsi(L"kestrane2021").c_str(), L"REMOVE=ALL"), 0u);
    EXPECT_FALSE(Product(L"KS::Z", L"2021.01.00")->IsVersionInstalled());
    EXPECT_FALSE(Product(L"KS::Z", L"2024.00.00")->FindInstalledPredecessor());
}
