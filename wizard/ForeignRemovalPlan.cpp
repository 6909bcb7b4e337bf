#include "wizard/ForeignRemovalPlan.h"

#include <algorithm>

#include "launcher/Outcome.h"

namespace {
constexpr DWORD kUiLevelNone = 2;           // INSTALLUILEVEL_NONE
constexpr DWORD kUiLevelProgressOnly = 64;  // INSTALLUILEVEL_PROGRESSONLY

bool AsksUser(const ForeignFacts& facts) { return facts.fullUi && facts.quickInstallEmpty; }
}  // namespace

bool AnyForeign(const ForeignFacts& facts) {
    return std::find(facts.fromOtherInstaller.begin(), facts.fromOtherInstaller.end(), true) !=
           facts.fromOtherInstaller.end();
}

ForeignQuestion QuestionFor(const ForeignFacts& facts) {
    if (!AnyForeign(facts) || !AsksUser(facts)) return ForeignQuestion::None;
    return facts.fromOtherInstaller.size() >= 2 ? ForeignQuestion::Dialog : ForeignQuestion::MessageBox;
}

ForeignRemovalPlan PlanForeignRemoval(const ForeignFacts& facts, const ForeignAnswer& answer) {
    ForeignRemovalPlan plan;
    plan.uiLevel = AsksUser(facts) ? kUiLevelProgressOnly : kUiLevelNone;
    bool removeMain = true, removeSubPackages = true;
    switch (QuestionFor(facts)) {
        case ForeignQuestion::None:
            break;
        case ForeignQuestion::MessageBox:
            plan.proceed = answer.ok;
            break;
        case ForeignQuestion::Dialog:
            plan.proceed = answer.ok;
            removeMain = facts.fromOtherInstaller.front();
            removeSubPackages = answer.removeSubPackages;
            break;
    }
    if (!plan.proceed) return plan;
    for (size_t i = facts.fromOtherInstaller.size(); i-- > 0;) {
        if (!facts.fromOtherInstaller[i]) continue;
        if (i == 0 ? removeMain : removeSubPackages) plan.remove.push_back(i);
    }
    return plan;
}

bool ForeignRemovalSucceeded(UINT result) { return outcome::IsSuccess(result); }
