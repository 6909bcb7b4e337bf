#include "engine/Applier.h"

#include <vector>

#include "engine/Outcome.h"

namespace {

// Counts a result: false for a failure; a success asking for a restart is
// remembered (1641 over 3010).
bool Succeeded(DWORD result, DWORD& restart) {
    if (result == ERROR_SUCCESS) return true;
    if (!outcome::IsSuccessWithRestart(result)) return false;
    if (restart != ERROR_SUCCESS_REBOOT_INITIATED) restart = result;
    return true;
}

// Undoes what the run did: installs nearest first, removals in the reverse
// order of the removals (that is in catalogue order).
void RollBack(const std::vector<size_t>& done, CallKind undone, InstallerEffects& effects) {
    for (auto it = done.rbegin(); it != done.rend(); ++it) effects.RollBack(*it, undone);
}

}  // namespace

DWORD ApplyPlan(const OperationPlan& plan, InstallerEffects& effects) {
    DWORD restart = 0;
    DWORD firstFailure = 0;
    // Only what this run installed or removed is undone: a package
    // installed before the run stays.
    std::vector<size_t> done;
    for (const PlannedCall& call : plan.calls) {
        bool installedBefore = false;
        if (call.onlyIfInstalled || plan.onFailure == OnFailure::RollBackInstalls)
            installedBefore = effects.IsInstalled(call.package);
        if (call.onlyIfInstalled && !installedBefore) continue;
        if (call.prepareEntry) effects.PrepareEntry(call.package);
        DWORD result = effects.Call(call);
        // A copy's error is never a restart.
        bool ok = call.kind == CallKind::Extract ? result == ERROR_SUCCESS : Succeeded(result, restart);
        if (ok) {
            if (plan.onFailure == OnFailure::RollBackInstalls && !installedBefore) done.push_back(call.package);
            if (call.kind == CallKind::Uninstall) {
                effects.Removed(call.package);
                done.push_back(call.package);
            }
            continue;
        }
        effects.Failed(result);
        switch (plan.onFailure) {
        case OnFailure::RollBackInstalls: RollBack(done, CallKind::Install, effects); return result;
        case OnFailure::RollBackRemovals: RollBack(done, CallKind::Uninstall, effects); return result;
        case OnFailure::StopOnUserExit:
            if (result == ERROR_INSTALL_USEREXIT) return result;
            break;
        case OnFailure::GoOn: break;
        }
        if (firstFailure == 0) firstFailure = result;
    }
    return firstFailure != 0 ? firstFailure : restart;
}
