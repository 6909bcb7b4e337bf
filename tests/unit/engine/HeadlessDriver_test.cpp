// The quiet levels' run over the page table, against a recording step
// object: which steps are made and entered, the log lines of each and where
// they stand, the finish step after a failure (shown at /qb and /qr, passed
// at /qn), a cancel from a step, and the quit message. And which steps pass
// through by themselves at each level, Quick Install included.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/HeadlessDriver.h"

namespace {

using K = PageKind;
using Events = std::vector<std::wstring>;

// Records what the driver asks; a step's end and a failure recorded on a
// step are given per step kind.
class RecordingSteps : public StepWork {
public:
    explicit RecordingSteps(std::vector<PageKind> table) : table_(std::move(table)) {}

    std::map<PageKind, StepEnd> ends;
    std::map<PageKind, bool> fails;  // the step records a failure
    Events events;

    void Make(int step) override { events.push_back(L"make " + Name(step)); }
    StepEnd Enter(int step) override {
        events.push_back(L"enter " + Name(step));
        if (fails[table_[static_cast<size_t>(step)]]) pending_ = true;
        auto end = ends.find(table_[static_cast<size_t>(step)]);
        return end == ends.end() ? StepEnd::Next : end->second;
    }
    void Leave(int step) override { events.push_back(L"leave " + Name(step)); }
    void Cancel(int step) override { events.push_back(L"cancel " + Name(step)); }
    bool FailurePending() const override { return pending_; }
    void ReportFailure() override {
        events.push_back(L"report");
        pending_ = false;
    }
    void ShowFinish() override { events.push_back(L"show finish"); }
    void Log(const std::wstring& line) override { events.push_back(L"log " + line); }

private:
    std::wstring Name(int step) const { return StepName(table_[static_cast<size_t>(step)]); }

    std::vector<PageKind> table_;
    bool pending_ = false;
};

std::wstring Line(const std::wstring& what, const std::wstring& page) {
    return L"log ZEL (c): " + what + L" dialog " + page + L"\r\n";
}

// Every step made and left at once, in order, before the first is entered.
Events Made(const std::vector<std::wstring>& pages) {
    Events events;
    for (const std::wstring& page : pages) {
        events.push_back(L"make " + page);
        events.push_back(Line(L"Deactivating", page));
    }
    return events;
}

// A step passed with Next; announced: it writes its "Activating" line.
void Pass(Events& events, const std::wstring& page, bool announced = true) {
    if (announced) events.push_back(Line(L"Activating", page));
    events.push_back(L"enter " + page);
    events.push_back(L"leave " + page);
    events.push_back(Line(L"Deactivating", page));
}

Events Drive(RecordingSteps& steps, const std::vector<PageKind>& table, bool unattended) {
    HeadlessDriver(table, unattended).Run(steps);
    return steps.events;
}

}  // namespace

TEST(HeadlessDriver, AQuietSingleInstallPassesEveryStepAndEndsAtTheEmptyOne) {
    std::vector<PageKind> table = BuildPageTable(1, {}, false);
    RecordingSteps steps(table);
    Events expected = Made({L"Welcome", L"UnpackMSIFromEXE", L"Install (hidden)", L"Finish"});
    Pass(expected, L"Welcome");
    Pass(expected, L"UnpackMSIFromEXE", false);
    Pass(expected, L"Install (hidden)", false);
    EXPECT_EQ(Drive(steps, table, true), expected);
}

TEST(HeadlessDriver, AQuietServerBundleConfiguresAndPassesTheFinishStep) {
    std::vector<PageKind> table = BuildPageTable(3, {true, true, true}, false);
    RecordingSteps steps(table);
    Events expected = Made({L"Welcome", L"IncludedSubPackages", L"BackupSettings", L"UnpackMSIFromEXE",
                            L"ServiceConfiguration", L"ClusterConfiguration", L"Install (hidden)", L"Finish"});
    Pass(expected, L"Welcome");
    Pass(expected, L"IncludedSubPackages");
    Pass(expected, L"BackupSettings");
    Pass(expected, L"UnpackMSIFromEXE", false);
    Pass(expected, L"ServiceConfiguration");
    Pass(expected, L"ClusterConfiguration");
    Pass(expected, L"Install (hidden)", false);
    Pass(expected, L"Finish");
    EXPECT_EQ(Drive(steps, table, false), expected);
}

TEST(HeadlessDriver, AFailureShowsTheFinishStepAtBasicLevelsAndPassesItAtNone) {
    std::vector<PageKind> table = BuildPageTable(1, {}, false);
    Events before = Made({L"Welcome", L"UnpackMSIFromEXE", L"Install (hidden)", L"Finish"});
    Pass(before, L"Welcome");
    Pass(before, L"UnpackMSIFromEXE", false);
    before.push_back(L"report");

    RecordingSteps basic(table);
    basic.fails[K::Unpack] = true;
    Events shown = before;
    shown.push_back(L"show finish");  // the frame passes it, nothing follows
    EXPECT_EQ(Drive(basic, table, false), shown);

    RecordingSteps none(table);
    none.fails[K::Unpack] = true;
    Events passed = before;
    Pass(passed, L"Finish");
    EXPECT_EQ(Drive(none, table, true), passed);
}

TEST(HeadlessDriver, AStepThatHoldsWithAFailureGoesToTheFinishStep) {
    // A service without its password: the step does not let the run go on.
    std::vector<PageKind> table = BuildPageTable(1, {false, false, true}, false);
    RecordingSteps steps(table);
    steps.ends[K::ServiceConfiguration] = StepEnd::Stay;
    steps.fails[K::ServiceConfiguration] = true;
    Events expected = Made({L"Welcome", L"UnpackMSIFromEXE", L"ServiceConfiguration", L"Install (hidden)", L"Finish"});
    Pass(expected, L"Welcome");
    Pass(expected, L"UnpackMSIFromEXE", false);
    Pass(expected, L"ServiceConfiguration");
    expected.push_back(L"report");
    Pass(expected, L"Finish");
    EXPECT_EQ(Drive(steps, table, true), expected);
}

TEST(HeadlessDriver, ACancelFromTheFirstStepGoesToTheFinishStepOrEndsWithoutOne) {
    std::vector<PageKind> table = BuildPageTable(2, {}, false);
    RecordingSteps steps(table);
    steps.ends[K::Welcome] = StepEnd::Cancel;
    steps.fails[K::Welcome] = true;
    Events expected = Made({L"Welcome", L"UnpackMSIFromEXE", L"Install (hidden)", L"Finish"});
    expected.insert(expected.end(), {Line(L"Activating", L"Welcome"), L"enter Welcome", L"cancel Welcome",
                                     L"leave Welcome", Line(L"Deactivating", L"Welcome"), L"report"});
    // Not shown in a frame, also at the basic levels: a cancel is no jump.
    Pass(expected, L"Finish");
    EXPECT_EQ(Drive(steps, table, false), expected);

    std::vector<PageKind> finishOnly = {K::Finish};
    RecordingSteps alone(finishOnly);
    alone.ends[K::Finish] = StepEnd::Cancel;
    Events ended = Made({L"Finish"});
    ended.insert(ended.end(), {Line(L"Activating", L"Finish"), L"enter Finish", L"cancel Finish", L"leave Finish",
                               Line(L"Deactivating", L"Finish")});
    EXPECT_EQ(Drive(alone, finishOnly, true), ended);
}

TEST(HeadlessDriver, TheQuitMessageEndsTheRunWhereItCame) {
    std::vector<PageKind> table = BuildPageTable(2, {}, false);
    RecordingSteps steps(table);
    steps.ends[K::Unpack] = StepEnd::Stop;
    Events expected = Made({L"Welcome", L"UnpackMSIFromEXE", L"Install (hidden)", L"Finish"});
    Pass(expected, L"Welcome");
    expected.push_back(L"enter UnpackMSIFromEXE");
    EXPECT_EQ(Drive(steps, table, true), expected);
}

TEST(StepPassage, EveryLevelButFullPassesEveryStepAndQuickInstallAllButABundlesFinish) {
    const std::vector<PageKind> kinds = {K::Welcome, K::SubPackages, K::Backup, K::Unpack, K::ServiceConfiguration,
                                         K::ClusterConfiguration, K::Install, K::Finish};
    for (PageKind kind : kinds) {
        for (size_t packages : {1u, 2u, 3u}) {
            std::wstring name = StepName(kind);
            EXPECT_TRUE(PassesStepThrough(kind, false, false, packages)) << testing::PrintToString(name);
            EXPECT_TRUE(PassesStepThrough(kind, false, true, packages)) << testing::PrintToString(name);
            EXPECT_FALSE(PassesStepThrough(kind, true, false, packages)) << testing::PrintToString(name);
            bool waits = kind == K::Finish && packages >= 2;
            EXPECT_EQ(PassesStepThrough(kind, true, true, packages), !waits) << testing::PrintToString(name) << packages;
        }
    }
}
