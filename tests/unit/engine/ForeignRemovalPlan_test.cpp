// Which foreign installations are removed, after which question, with which installer UI level.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "engine/ForeignRemovalPlan.h"

using Indices = std::vector<size_t>;

namespace {
ForeignFacts Facts(std::vector<bool> marks, bool fullUi = true, bool quickInstallEmpty = true) {
    ForeignFacts facts;
    facts.fromOtherInstaller = std::move(marks);
    facts.fullUi = fullUi;
    facts.quickInstallEmpty = quickInstallEmpty;
    return facts;
}
const ForeignAnswer kOk{true, true};
const ForeignAnswer kOkWithoutSubPackages{true, false};
const ForeignAnswer kCancel{false, true};
}  // namespace

TEST(ForeignRemovalPlan, NothingMarkedAsksNothingAndRemovesNothing) {
    for (bool fullUi : {true, false}) {
        for (const auto& marks : {std::vector<bool>{false}, std::vector<bool>{false, false, false}}) {
            ForeignFacts facts = Facts(marks, fullUi);
            EXPECT_FALSE(AnyForeign(facts));
            EXPECT_EQ(QuestionFor(facts), ForeignQuestion::None);
            // Even a "Cancel" that nobody was asked for does not stop the run.
            ForeignRemovalPlan plan = PlanForeignRemoval(facts, kCancel);
            EXPECT_TRUE(plan.proceed);
            EXPECT_TRUE(plan.remove.empty());
        }
    }
}

TEST(ForeignRemovalPlan, WhoIsAsked) {
    // Full UI of its own: a message box for a single package, the dialog for more.
    EXPECT_EQ(QuestionFor(Facts({true})), ForeignQuestion::MessageBox);
    EXPECT_EQ(QuestionFor(Facts({true, false})), ForeignQuestion::Dialog);
    EXPECT_EQ(QuestionFor(Facts({false, true})), ForeignQuestion::Dialog);
    EXPECT_EQ(QuestionFor(Facts({true, true, true})), ForeignQuestion::Dialog);
    // Hidden runs and Quick Install ask nobody.
    EXPECT_EQ(QuestionFor(Facts({true}, false)), ForeignQuestion::None);
    EXPECT_EQ(QuestionFor(Facts({true, true}, false)), ForeignQuestion::None);
    EXPECT_EQ(QuestionFor(Facts({true}, true, false)), ForeignQuestion::None);
    EXPECT_EQ(QuestionFor(Facts({true, true}, true, false)), ForeignQuestion::None);
}

TEST(ForeignRemovalPlan, WithoutQuestionEverythingMarkedGoesQuietlyLastFirst) {
    for (bool fullUi : {true, false}) {
        // Full UI with a Quick Install list asks nobody either.
        ForeignFacts facts = Facts({true, false, true, true}, fullUi, fullUi ? false : true);
        // The answer plays no part when nobody was asked.
        for (const ForeignAnswer& answer : {kOk, kCancel, kOkWithoutSubPackages}) {
            ForeignRemovalPlan plan = PlanForeignRemoval(facts, answer);
            EXPECT_TRUE(plan.proceed);
            EXPECT_EQ(plan.remove, (Indices{3, 2, 0}));
            EXPECT_EQ(plan.uiLevel, static_cast<DWORD>(INSTALLUILEVEL_NONE));
        }
    }
    EXPECT_EQ(PlanForeignRemoval(Facts({false, true}, false), kOk).remove, (Indices{1}));
    EXPECT_EQ(PlanForeignRemoval(Facts({true}, false), kOk).remove, (Indices{0}));
}

TEST(ForeignRemovalPlan, MessageBoxForOnePackage) {
    ForeignRemovalPlan ok = PlanForeignRemoval(Facts({true}), kOk);
    EXPECT_TRUE(ok.proceed);
    EXPECT_EQ(ok.remove, (Indices{0}));
    EXPECT_EQ(ok.uiLevel, static_cast<DWORD>(INSTALLUILEVEL_PROGRESSONLY));
    ForeignRemovalPlan cancel = PlanForeignRemoval(Facts({true}), kCancel);
    EXPECT_FALSE(cancel.proceed);
    EXPECT_TRUE(cancel.remove.empty());
}

TEST(ForeignRemovalPlan, DialogAnswers) {
    // Main and sub-packages marked.
    ForeignFacts both = Facts({true, true, false, true});
    EXPECT_EQ(PlanForeignRemoval(both, kOk).remove, (Indices{3, 1, 0}));
    EXPECT_EQ(PlanForeignRemoval(both, kOk).uiLevel, static_cast<DWORD>(INSTALLUILEVEL_PROGRESSONLY));
    EXPECT_EQ(PlanForeignRemoval(both, kOkWithoutSubPackages).remove, (Indices{0}));
    EXPECT_FALSE(PlanForeignRemoval(both, kCancel).proceed);
    EXPECT_TRUE(PlanForeignRemoval(both, kCancel).remove.empty());
    // Main only: the box plays no part.
    ForeignFacts mainOnly = Facts({true, false, false});
    EXPECT_EQ(PlanForeignRemoval(mainOnly, kOk).remove, (Indices{0}));
    EXPECT_EQ(PlanForeignRemoval(mainOnly, kOkWithoutSubPackages).remove, (Indices{0}));
    // Sub-packages only: the main product is never removed, and an unchecked
    // box leaves nothing to do, which lets the run go on.
    ForeignFacts subsOnly = Facts({false, true, true});
    EXPECT_EQ(PlanForeignRemoval(subsOnly, kOk).remove, (Indices{2, 1}));
    ForeignRemovalPlan nothing = PlanForeignRemoval(subsOnly, kOkWithoutSubPackages);
    EXPECT_TRUE(nothing.proceed);
    EXPECT_TRUE(nothing.remove.empty());
    EXPECT_FALSE(PlanForeignRemoval(subsOnly, kCancel).proceed);
}

TEST(ForeignRemovalPlan, WhichResultsLeaveTheProductRemoved) {
    EXPECT_TRUE(ForeignRemovalSucceeded(ERROR_SUCCESS));
    // A removal that asks for a restart has still removed the product.
    EXPECT_TRUE(ForeignRemovalSucceeded(ERROR_SUCCESS_REBOOT_REQUIRED));
    EXPECT_TRUE(ForeignRemovalSucceeded(ERROR_SUCCESS_REBOOT_INITIATED));
    EXPECT_FALSE(ForeignRemovalSucceeded(ERROR_INSTALL_FAILURE));
    EXPECT_FALSE(ForeignRemovalSucceeded(ERROR_INSTALL_USEREXIT));
    EXPECT_FALSE(ForeignRemovalSucceeded(9));  // no database in the install source
}

TEST(ForeignRemovalPlan, ANewerInstallationIsReplacedQuietlyOnlyWhenAllowed) {
    EXPECT_TRUE(IsNewerVersion(L"1.0.1", L"1.0.0"));
    EXPECT_TRUE(IsNewerVersion(L"1.10.0", L"1.9.9"));
    EXPECT_TRUE(IsNewerVersion(L"2", L"1.99.99.99"));
    EXPECT_TRUE(IsNewerVersion(L"1.0.0.1", L"1.0.0"));
    EXPECT_FALSE(IsNewerVersion(L"1.0.0", L"1.0.0.0"));
    EXPECT_FALSE(IsNewerVersion(L"1.0.0", L"1.0.1"));
    EXPECT_FALSE(IsNewerVersion(L"", L"1.0.0")) << "an unknown installed version is no downgrade";
    EXPECT_FALSE(IsNewerVersion(L"x.5", L"1.0"));
    // Nobody asked (below the full wizard, or a Quick Install): refused
    // unless the command line allows it; asked: the user decides.
    EXPECT_FALSE(DowngradeAllowed(ForeignQuestion::None, false));
    EXPECT_TRUE(DowngradeAllowed(ForeignQuestion::None, true));
    EXPECT_TRUE(DowngradeAllowed(ForeignQuestion::MessageBox, false));
    EXPECT_TRUE(DowngradeAllowed(ForeignQuestion::Dialog, false));
}
