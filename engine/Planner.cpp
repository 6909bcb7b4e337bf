#include "engine/OperationPlan.h"

namespace {

bool AnySelectedInstalled(const std::vector<PlanFacts>& packages) {
    for (const PlanFacts& package : packages)
        if (package.selected && package.installed) return true;
    return false;
}

OnFailure FailurePolicy(RunMode operation) {
    switch (operation) {
    case RunMode::Install: return OnFailure::RollBackInstalls;
    case RunMode::Uninstall: return OnFailure::RollBackRemovals;
    case RunMode::Modify: return OnFailure::StopOnUserExit;
    default: return OnFailure::GoOn;
    }
}

CallKind KindOf(RunMode operation) {
    switch (operation) {
    case RunMode::Modify: return CallKind::Modify;
    case RunMode::Repair: return CallKind::Reinstall;
    case RunMode::Uninstall: return CallKind::Uninstall;
    case RunMode::Extract: return CallKind::Extract;
    default: return CallKind::Install;
    }
}

}  // namespace

OperationPlan PlanOperation(RunMode operation, const std::vector<PlanFacts>& packages) {
    OperationPlan plan;
    plan.operation = operation;
    plan.onFailure = FailurePolicy(operation);
    if (operation == RunMode::Repair || operation == RunMode::Uninstall) {
        bool mainMissing = operation == RunMode::Uninstall && !packages.empty() && packages.front().selected &&
                           !packages.front().installed;
        if (mainMissing || !AnySelectedInstalled(packages)) {
            plan.notInstalled = true;
            return plan;
        }
    }
    bool agreement = false;
    if (operation == RunMode::Modify)
        for (const PlanFacts& package : packages)
            if (package.selected && !package.isMain && !package.installed) agreement = true;
    for (size_t i = 0; i < packages.size(); ++i) {
        // Removals go from the last package to the first.
        size_t index = operation == RunMode::Uninstall ? packages.size() - 1 - i : i;
        const PlanFacts& package = packages[index];
        if (!package.selected) continue;
        PlannedCall call;
        call.package = index;
        call.kind = KindOf(operation);
        call.onlyIfInstalled = operation == RunMode::Uninstall;
        call.prepareEntry = operation == RunMode::Uninstall && !package.isMain;
        call.agreement = agreement;
        plan.calls.push_back(call);
    }
    return plan;
}
