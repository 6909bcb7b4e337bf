// Navigation through the wizard's steps for the page tables of one and of
// three packages: Next, Back to the first step and beyond it, Cancel from
// each step, and the finish step after a failure on each step.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/PageTable.h"
#include "engine/StepSequencer.h"

namespace {

int FinishOf(const std::vector<PageKind>& table) {
    auto at = std::find(table.begin(), table.end(), PageKind::Finish);
    return at == table.end() ? -1 : static_cast<int>(at - table.begin());
}

StepSequencer SequencerAt(const std::vector<PageKind>& table, int step) {
    StepSequencer steps(static_cast<int>(table.size()), FinishOf(table));
    steps.Start();
    while (steps.Current() < step) steps.Next(true);
    return steps;
}

std::vector<std::vector<PageKind>> Tables() {
    return {BuildPageTable(1, {}, false), BuildPageTable(3, {}, false), BuildPageTable(3, {}, true),
            BuildPageTable(1, {true, true, true}, false)};
}

}  // namespace

TEST(StepSequencer, NextWalksEveryStepAndAStepThatHoldsStays) {
    for (const auto& table : Tables()) {
        StepSequencer steps(static_cast<int>(table.size()), FinishOf(table));
        steps.Start();
        EXPECT_TRUE(steps.AtFirst());
        steps.Next(false);
        EXPECT_EQ(steps.Current(), 0) << "a step that does not let the run go on keeps it";
        for (int expected = 1; expected <= static_cast<int>(table.size()); ++expected) {
            steps.Next(true);
            EXPECT_EQ(steps.Current(), expected);
        }
    }
}

TEST(StepSequencer, BackReturnsStepByStepAndCancelsOnTheFirst) {
    for (const auto& table : Tables()) {
        StepSequencer steps = SequencerAt(table, static_cast<int>(table.size()) - 1);
        for (int expected = static_cast<int>(table.size()) - 2; expected >= 0; --expected) {
            ASSERT_TRUE(steps.Back());
            EXPECT_EQ(steps.Current(), expected);
        }
        EXPECT_TRUE(steps.AtFirst());
        EXPECT_FALSE(steps.Back()) << "Back on the first step is a cancel";
        EXPECT_EQ(steps.Current(), 0);
    }
}

TEST(StepSequencer, CancelGoesToTheFinishStepFromEveryOtherStep) {
    for (const auto& table : Tables()) {
        int finish = FinishOf(table);
        ASSERT_EQ(finish, static_cast<int>(table.size()) - 1) << "the finish step is the last one";
        for (int step = 0; step < static_cast<int>(table.size()); ++step) {
            StepSequencer steps = SequencerAt(table, step);
            EXPECT_EQ(steps.CancelEndsRun(), step == finish) << step;
            if (!steps.CancelEndsRun()) {
                steps.ToFinish();
                EXPECT_EQ(steps.Current(), finish);
            }
        }
    }
    StepSequencer without(1, -1);
    without.Start();
    EXPECT_TRUE(without.CancelEndsRun()) << "without a finish step Cancel ends the run";
}

TEST(StepSequencer, AFailureShowsTheFinishStepUnlessItWasPassed) {
    for (const auto& table : Tables()) {
        int finish = FinishOf(table);
        // A failure reported after the step was left (Next), on every step.
        for (int step = 0; step < static_cast<int>(table.size()); ++step) {
            StepSequencer steps = SequencerAt(table, step);
            steps.Next(true);
            bool toFinish = steps.JumpToFinishAfterFailure();
            EXPECT_EQ(toFinish, step + 1 <= finish) << step;
            EXPECT_EQ(steps.Current(), toFinish ? finish : static_cast<int>(table.size())) << step;
        }
    }
    StepSequencer single(1, 0);
    single.Start();
    EXPECT_FALSE(single.JumpToFinishAfterFailure()) << "a finish step that is the only step is no jump target";
    EXPECT_EQ(single.Current(), 1);
}
