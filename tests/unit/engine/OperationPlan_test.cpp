// The plan of each operation for one and three packages from a table of
// facts, and the plan carried out against a recording effects object that
// answers with given results: the calls in order, the rollbacks, and which
// result the run ends with.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "engine/Applier.h"
#include "engine/OperationPlan.h"

namespace {

// Records every effect as a line and answers the calls in turn (0 when the
// answers run out); the installed packages are a set the removals change.
struct RecordingEffects : InstallerEffects {
    std::set<size_t> installed;
    std::deque<DWORD> answers;
    std::vector<std::wstring> done;

    bool IsInstalled(size_t package) override { return installed.count(package) != 0; }
    void PrepareEntry(size_t package) override { done.push_back(L"entry " + std::to_wstring(package)); }
    DWORD Call(const PlannedCall& call) override {
        done.push_back(Name(call.kind) + L" " + std::to_wstring(call.package));
        if (answers.empty()) return 0;
        DWORD answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Removed(size_t package) override { installed.erase(package); }
    void Failed(DWORD result) override { done.push_back(L"failed " + std::to_wstring(result)); }
    void RollBack(size_t package, CallKind undone) override {
        done.push_back(L"undo " + Name(undone) + L" " + std::to_wstring(package));
    }
    static std::wstring Name(CallKind kind) {
        switch (kind) {
        case CallKind::Install: return L"install";
        case CallKind::Modify: return L"modify";
        case CallKind::Reinstall: return L"reinstall";
        case CallKind::Uninstall: return L"uninstall";
        case CallKind::Extract: return L"extract";
        }
        return L"?";
    }
};

// Facts in catalogue order, one letter per package: S selected, I selected
// and installed, i installed but not selected, - neither.
std::vector<PlanFacts> Table(const std::string& letters) {
    std::vector<PlanFacts> facts;
    for (char letter : letters)
        facts.push_back({letter == 'S' || letter == 'I', facts.empty(), letter == 'I' || letter == 'i'});
    return facts;
}

// The plan's calls as "<package><kind letter>" ("2u 1u 0u").
std::wstring Calls(const OperationPlan& plan) {
    std::wstring text;
    for (const PlannedCall& call : plan.calls) {
        if (!text.empty()) text += L' ';
        text += std::to_wstring(call.package) + RecordingEffects::Name(call.kind).substr(0, 1);
        if (call.prepareEntry) text += L'+';
    }
    return text;
}

}  // namespace

TEST(OperationPlan, EachOperationForOneAndThreePackages) {
    struct Case {
        RunMode operation;
        const char* facts;
        const wchar_t* calls;
        OnFailure onFailure;
    };
    const Case cases[] = {
        {RunMode::Install, "S", L"0i", OnFailure::RollBackInstalls},
        {RunMode::Install, "SSS", L"0i 1i 2i", OnFailure::RollBackInstalls},
        {RunMode::Install, "S-S", L"0i 2i", OnFailure::RollBackInstalls},
        {RunMode::Modify, "I", L"0m", OnFailure::StopOnUserExit},
        {RunMode::Modify, "ISI", L"0m 1m 2m", OnFailure::StopOnUserExit},
        {RunMode::Repair, "I", L"0r", OnFailure::GoOn},
        {RunMode::Repair, "I-I", L"0r 2r", OnFailure::GoOn},
        // A removal goes from the last to the first; a sub-package's entry
        // is handed back first. Whether each is installed is asked then.
        {RunMode::Uninstall, "I", L"0u", OnFailure::RollBackRemovals},
        {RunMode::Uninstall, "ISI", L"2u+ 1u+ 0u", OnFailure::RollBackRemovals},
        {RunMode::Uninstall, "-I-", L"1u+", OnFailure::RollBackRemovals},
        {RunMode::Extract, "S", L"0e", OnFailure::GoOn},
        {RunMode::Extract, "SS-", L"0e 1e", OnFailure::GoOn},
    };
    for (const Case& c : cases) {
        OperationPlan plan = PlanOperation(c.operation, Table(c.facts));
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.operation) << " " << c.facts);
        EXPECT_FALSE(plan.notInstalled);
        EXPECT_EQ(Calls(plan), c.calls);
        EXPECT_EQ(plan.onFailure, c.onFailure);
        for (const PlannedCall& call : plan.calls) EXPECT_EQ(call.onlyIfInstalled, c.operation == RunMode::Uninstall);
    }
}

TEST(OperationPlan, NothingToRepairOrRemoveMakesNoCall) {
    for (RunMode operation : {RunMode::Repair, RunMode::Uninstall}) {
        for (const char* facts : {"S", "SSS", "-i-", "Sii"}) {
            OperationPlan plan = PlanOperation(operation, Table(facts));
            EXPECT_TRUE(plan.notInstalled) << facts;
            EXPECT_TRUE(plan.calls.empty()) << facts;
        }
    }
    // A selected main product that is missing stops a removal, not a repair.
    EXPECT_TRUE(PlanOperation(RunMode::Uninstall, Table("SI")).notInstalled);
    EXPECT_EQ(Calls(PlanOperation(RunMode::Repair, Table("SI"))), L"0r 1r");
    // Install and modify never end as "not installed".
    EXPECT_FALSE(PlanOperation(RunMode::Install, Table("S")).notInstalled);
    EXPECT_FALSE(PlanOperation(RunMode::Modify, Table("S")).notInstalled);
}

TEST(OperationPlan, AModificationThatAddsASubPackageAsksForTheAgreementInEveryCall) {
    for (const char* facts : {"IS", "SIS"}) {
        OperationPlan plan = PlanOperation(RunMode::Modify, Table(facts));
        for (const PlannedCall& call : plan.calls) EXPECT_TRUE(call.agreement) << facts;
    }
    // A main package that is not there yet, or a new one not selected, adds none.
    for (const char* facts : {"II", "SI", "I-"}) {
        OperationPlan plan = PlanOperation(RunMode::Modify, Table(facts));
        for (const PlannedCall& call : plan.calls) EXPECT_FALSE(call.agreement) << facts;
    }
    EXPECT_FALSE(PlanOperation(RunMode::Install, Table("SS")).calls[1].agreement);
}

TEST(Applier, AFailedInstallationRemovesWhatTheRunInstalledNearestFirst) {
    RecordingEffects effects;
    effects.installed = {1};  // the tools were there before the run
    effects.answers = {0, 0, 1603};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Install, Table("SSS")), effects), 1603u);
    EXPECT_EQ(effects.done, (std::vector<std::wstring>{L"install 0", L"install 1", L"install 2", L"failed 1603",
                                                       L"undo install 0"}));
    // One package: nothing to undo after its own failure.
    RecordingEffects single;
    single.answers = {1603};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Install, Table("S")), single), 1603u);
    EXPECT_EQ(single.done, (std::vector<std::wstring>{L"install 0", L"failed 1603"}));
}

TEST(Applier, AFailedRemovalInstallsAgainWhatTheRunRemovedInCatalogueOrder) {
    RecordingEffects effects;
    effects.installed = {0, 2, 3};  // 1 is selected but no longer there
    effects.answers = {0, 0, 1603};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Uninstall, Table("ISII")), effects), 1603u);
    EXPECT_EQ(effects.done,
              (std::vector<std::wstring>{L"entry 3", L"uninstall 3", L"entry 2", L"uninstall 2", L"uninstall 0",
                                         L"failed 1603", L"undo uninstall 2", L"undo uninstall 3"}));
    EXPECT_EQ(effects.installed, (std::set<size_t>{0})) << "the removed ones count as removed";
    // A package removed by an earlier removal of this run is skipped.
    RecordingEffects gone;
    gone.installed = {0, 1};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Uninstall, Table("II")), gone), 0u);
    EXPECT_EQ(gone.done, (std::vector<std::wstring>{L"entry 1", L"uninstall 1", L"uninstall 0"}));
    EXPECT_TRUE(gone.installed.empty());
}

TEST(Applier, RestartsAreSuccessesAndTheStrongerWins) {
    struct Case {
        std::deque<DWORD> answers;
        DWORD result;
    };
    const Case cases[] = {
        {{0, 3010, 0}, 3010}, {{0, 1641, 0}, 1641}, {{1641, 3010, 0}, 1641}, {{3010, 1641, 0}, 1641}, {{0, 0, 0}, 0},
    };
    for (RunMode operation : {RunMode::Install, RunMode::Modify, RunMode::Repair, RunMode::Uninstall}) {
        for (const Case& c : cases) {
            RecordingEffects effects;
            effects.installed = {0, 1, 2};
            effects.answers = c.answers;
            EXPECT_EQ(ApplyPlan(PlanOperation(operation, Table("III")), effects), c.result);
            // The chain goes on: three calls, nothing failed or undone.
            size_t calls = 0;
            for (const std::wstring& line : effects.done) {
                EXPECT_NE(line.rfind(L"failed", 0), 0u) << line;
                EXPECT_NE(line.rfind(L"undo", 0), 0u) << line;
                if (line.rfind(L"entry", 0) != 0) ++calls;
            }
            EXPECT_EQ(calls, 3u);
        }
    }
}

TEST(Applier, FailuresThatGoOnEndWithTheFirstOneAndOutrankARestart) {
    for (RunMode operation : {RunMode::Modify, RunMode::Repair}) {
        RecordingEffects effects;
        effects.installed = {0, 1, 2};
        effects.answers = {3010, 1603, 1605};
        EXPECT_EQ(ApplyPlan(PlanOperation(operation, Table("III")), effects), 1603u);
        EXPECT_EQ(effects.done.size(), 5u) << "every package is tried";
    }
    // The user's cancel ends a modification at once.
    RecordingEffects cancelled;
    cancelled.installed = {0, 1, 2};
    cancelled.answers = {0, ERROR_INSTALL_USEREXIT, 0};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Modify, Table("III")), cancelled), 1602u);
    EXPECT_EQ(cancelled.done, (std::vector<std::wstring>{L"modify 0", L"modify 1", L"failed 1602"}));
    // A repair goes on after it; a copy's error is never a restart.
    RecordingEffects repaired;
    repaired.installed = {0, 1};
    repaired.answers = {ERROR_INSTALL_USEREXIT, 0};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Repair, Table("II")), repaired), 1602u);
    EXPECT_EQ(repaired.done.size(), 3u);
    RecordingEffects copied;
    copied.answers = {ERROR_SUCCESS_REBOOT_REQUIRED};
    EXPECT_EQ(ApplyPlan(PlanOperation(RunMode::Extract, Table("S")), copied), 3010u);
    EXPECT_EQ(copied.done.back(), L"failed 3010");
}
