// The wizard's page table for one, two, three and more packages, for the
// server flags, and for an uninstall; and the finish page's texts.
#include <gtest/gtest.h>

#include "engine/PageTable.h"
#include "wizard/FinishWizardPage.h"

using K = PageKind;
using Pages = std::vector<PageKind>;

TEST(PageTable, ByPackageCount) {
    WizardFlags none;
    EXPECT_EQ(BuildPageTable(1, none, false), (Pages{K::Welcome, K::Unpack, K::Install, K::Empty, K::Finish}));
    EXPECT_EQ(BuildPageTable(2, none, false), (Pages{K::Welcome, K::Unpack, K::Install, K::Finish}));
    EXPECT_EQ(BuildPageTable(3, none, false), (Pages{K::Welcome, K::SubPackages, K::Unpack, K::Install, K::Finish}));
    EXPECT_EQ(BuildPageTable(7, none, true), (Pages{K::Welcome, K::SubPackages, K::Unpack, K::Install, K::Finish}));
}

TEST(PageTable, ServerPagesAndUninstall) {
    WizardFlags all{true, true, true};
    EXPECT_EQ(BuildPageTable(1, all, false),
              (Pages{K::Welcome, K::Backup, K::Unpack, K::ServiceConfiguration, K::ClusterConfiguration, K::Install,
                     K::Empty, K::Finish}));
    // Uninstalling never configures services or clusters; the backup page stays.
    EXPECT_EQ(BuildPageTable(1, all, true), (Pages{K::Welcome, K::Backup, K::Unpack, K::Install, K::Empty, K::Finish}));
    EXPECT_EQ(BuildPageTable(2, WizardFlags{false, false, true}, false),
              (Pages{K::Welcome, K::Unpack, K::ServiceConfiguration, K::Install, K::Finish}));
}

TEST(WizardFlags, FromPackageNames) {
    WizardFlags cluster = ComputeWizardFlags({{L"Morvex Brimcart Server 2024 Advanced Edition", true}});
    EXPECT_TRUE(cluster.cluster);
    EXPECT_TRUE(cluster.service);
    EXPECT_FALSE(cluster.backup);
    EXPECT_FALSE(ComputeWizardFlags({{L"Morvex Brimcart Server 2024", false}}).cluster);
    EXPECT_TRUE(ComputeWizardFlags({{L"Morvex Sollenvey Server 5.3", false}}).backup);
    // The mobile-solutions server ends the walk: a later workflow server sets no cluster flag.
    WizardFlags stopped = ComputeWizardFlags(
        {{L"Morvex Sollenvey Server 5.3", false}, {L"Morvex Brimcart Server 2024 Advanced Edition", false}});
    EXPECT_TRUE(stopped.backup);
    EXPECT_FALSE(stopped.cluster);
    WizardFlags after = ComputeWizardFlags(
        {{L"Morvex Brimcart Server 2024 Advanced Edition", false}, {L"Morvex Sollenvey Server 5.3", false}});
    EXPECT_TRUE(after.backup && after.cluster);
    // The service flag looks at every package.
    EXPECT_TRUE(ComputeWizardFlags({{L"Morvex Sollenvey Server", false}, {L"x", true}}).service);
}

TEST(FinishTexts, ByOperationAndResult) {
    auto same = [](FinishTexts a, FinishTexts b) { return a.heading == b.heading && a.message == b.message && a.note == b.note; };
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Install, true), {28, 30, 0}));
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Install, false), {29, 31, 32}));
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Uninstall, true), {28, 43, 0}));
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Uninstall, false), {29, 46, 1046}));
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Repair, false), {29, 48, 0}));
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Modify, true), {28, 45, 0}));
    EXPECT_TRUE(same(ChooseFinishTexts(FinishOperation::Modify, false), {29, 47, 0}));
}
