// A run below the full level answers for itself: nobody is asked, and an
// answer it gives all the same lets everything foreign go, as a quiet run
// always has.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "engine/HeadlessObserver.h"

using Indices = std::vector<size_t>;

namespace {
ForeignFacts FactsFor(const SessionObserver& observer, std::vector<bool> marks) {
    ForeignFacts facts;
    facts.fromOtherInstaller = std::move(marks);
    facts.fullUi = observer.Attended();
    return facts;
}
}  // namespace

TEST(HeadlessObserver, NobodyIsAskedAndEverythingForeignGoesQuietly) {
    HeadlessObserver quiet;
    for (const auto& marks : {std::vector<bool>{true}, std::vector<bool>{true, false, true}}) {
        ForeignFacts facts = FactsFor(quiet, marks);
        EXPECT_EQ(QuestionFor(facts), ForeignQuestion::None);
        ForeignRemovalPlan plan = PlanForeignRemoval(facts, quiet.AnswerForeignRemoval(QuestionFor(facts)));
        EXPECT_TRUE(plan.proceed);
        EXPECT_EQ(plan.uiLevel, static_cast<DWORD>(INSTALLUILEVEL_NONE));
        EXPECT_EQ(plan.remove, marks.size() == 1 ? Indices{0} : (Indices{2, 0}));
    }
}

TEST(HeadlessObserver, EachQuestionIsAnsweredOkWithTheSubPackages) {
    // Were it asked, its answer would be the one that removes the most: OK
    // to the box, OK with the sub-packages to the dialog.
    HeadlessObserver quiet;
    ForeignFacts one;
    one.fromOtherInstaller = {true};
    one.fullUi = true;
    ForeignFacts several;
    several.fromOtherInstaller = {true, true, false, true};
    several.fullUi = true;
    for (ForeignQuestion question : {ForeignQuestion::None, ForeignQuestion::MessageBox, ForeignQuestion::Dialog}) {
        SCOPED_TRACE(static_cast<int>(question));
        ForeignAnswer answer = quiet.AnswerForeignRemoval(question);
        EXPECT_TRUE(answer.ok);
        EXPECT_TRUE(answer.removeSubPackages);
        EXPECT_EQ(PlanForeignRemoval(one, answer).remove, (Indices{0}));
        EXPECT_EQ(PlanForeignRemoval(several, answer).remove, (Indices{3, 1, 0}));
    }
}
