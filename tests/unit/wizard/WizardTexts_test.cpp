// Texts chosen by the sub-packages page and the already-installed dialog.
#include <gtest/gtest.h>

#include "wizard/AlreadyInstalledDialog.h"
#include "wizard/SubPackagesWizardPage.h"

TEST(SubPackagesDescription, ByMode) {
    EXPECT_EQ(SubPackagesWizardPage::DescriptionId(true, false, false), 41u);
    EXPECT_EQ(SubPackagesWizardPage::DescriptionId(true, true, true), 41u);
    EXPECT_EQ(SubPackagesWizardPage::DescriptionId(false, true, false), 40u);
    EXPECT_EQ(SubPackagesWizardPage::DescriptionId(false, false, false), 39u);
    EXPECT_EQ(SubPackagesWizardPage::DescriptionId(false, false, true), 42u);
}

TEST(AlreadyInstalledTexts, MainOrSubPackages) {
    AlreadyInstalledTexts main = ChooseAlreadyInstalledTexts(true, {});
    EXPECT_EQ(main.messageId, 1047u);
    EXPECT_TRUE(main.subPackageList.empty());
    AlreadyInstalledTexts subs = ChooseAlreadyInstalledTexts(false, {L"Morvex A", L"Morvex B"});
    EXPECT_EQ(subs.messageId, 1141u);
    EXPECT_EQ(subs.subPackageList, L"Morvex A\nMorvex B");
    EXPECT_EQ(ChooseAlreadyInstalledTexts(true, {L"Only"}).subPackageList, L"Only");
}
