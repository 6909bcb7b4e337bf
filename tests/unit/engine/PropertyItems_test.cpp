// The property string of a Windows Installer call: its items, their order,
// and the composed texts.
#include <gtest/gtest.h>

#include "engine/PropertyItems.h"

TEST(PropertyItems, ItemsAreQuotedWithATrailingBlank) {
    EXPECT_EQ(items::Sub(), L"HAS_SUB_PACKAGES=\"Yes\" ");
    EXPECT_EQ(items::Language(L"de"), L"INSTALLER_LANGUAGE=\"de\" ");
    EXPECT_EQ(items::Transform(L"Transform_de.mst"), L"TRANSFORMS=\"Transform_de.mst\" ");
    EXPECT_EQ(items::UninstallAll(),
              L"HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ");
    EXPECT_EQ(items::Rollback(), L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ");
    EXPECT_EQ(items::Quick({L"DY::E", L"", L"KS::Z"}),
              L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" DO_QUICK_INSTALL=\"DY::E,,KS::Z\" ");
}

// A quote inside a value is doubled, so the value stays one property; text
// without quotes is unchanged.
TEST(PropertyItems, QuotesInsideAValueAreDoubled) {
    EXPECT_EQ(items::QuotedValue(L"C:\\Program Files\\X"), L"\"C:\\Program Files\\X\"");
    EXPECT_EQ(items::QuotedValue(L""), L"\"\"");
    EXPECT_EQ(items::Item(L"INSTALLDIR", L"x\" INSTALLDIR=\"C:\\Windows"),
              L"INSTALLDIR=\"x\"\" INSTALLDIR=\"\"C:\\Windows\" ");
    EXPECT_EQ(items::QuotedValue(L"\"\""), L"\"\"\"\"\"\"");
}

TEST(InstallProperties, OrderOfThePieces) {
    InstallCallInputs in;
    in.uninstall = true;
    in.hasCatalogueProperties = true;
    in.catalogueProperties = L"REBOOT=ReallySuppress";
    in.commandLineProperties = {L"A=1", L"B=\"x y\""};
    in.extraProperties = items::Rollback();
    EXPECT_EQ(ComposeInstallProperties(in),
              L"REMOVE=ALL INSTALLEDFROMLAUNCHER=Yes REBOOT=ReallySuppress A=1 B=\"x y\" "
              L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ");
}

TEST(InstallProperties, AdministrativeWinsOverUninstall) {
    InstallCallInputs in;
    in.administrative = true;
    in.uninstall = true;
    EXPECT_EQ(ComposeInstallProperties(in), L"ACTION=ADMIN INSTALLEDFROMLAUNCHER=Yes ");
}

TEST(InstallProperties, EmptyCataloguePropertiesStillGiveTheBlank) {
    InstallCallInputs in;
    in.hasCatalogueProperties = true;
    EXPECT_EQ(ComposeInstallProperties(in), L"INSTALLEDFROMLAUNCHER=Yes  ");
    in.hasCatalogueProperties = false;
    EXPECT_EQ(ComposeInstallProperties(in), L"INSTALLEDFROMLAUNCHER=Yes ");
}
