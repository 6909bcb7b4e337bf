#include "wizard/ForeignInstallations.h"

#include "catalogue/SessionChoices.h"
#include "engine/Log.h"
#include "engine/Outcome.h"
#include "engine/RunChoices.h"
#include "engine/SessionObserver.h"
#include "execution/PackageRemoval.h"
#include "wizard/WizardSession.h"

ForeignCheckResult ForeignInstallations::Check() {
    ForeignFacts facts = Facts();
    LogFound();
    if (!AnyForeign(facts)) return ForeignCheckResult::Proceed;
    ForeignQuestion question = QuestionFor(facts);
    ForeignRemovalPlan plan = PlanForeignRemoval(facts, Ask(question));
    if (!plan.proceed) return ForeignCheckResult::Declined;
    if (plan.remove.empty()) return ForeignCheckResult::Proceed;
    if (!DowngradeAllowed(question, session_.CommandLine().allowDowngrade) && RefusesDowngrade(plan)) {
        firstFailure_ = outcome::kNewerVersionInstalled;
        RecordFailure();
        return ForeignCheckResult::RemovalFailed;
    }
    Remove(plan);
    choices_.SetMainInstalled(MainProductInstalled(session_.Catalogue()));
    if (firstFailure_ == 0) return ForeignCheckResult::Proceed;
    RecordFailure();
    return ForeignCheckResult::RemovalFailed;
}

ForeignFacts ForeignInstallations::Facts() const {
    ForeignFacts facts;
    for (const auto& package : session_.Catalogue()) facts.fromOtherInstaller.push_back(package->fromOtherInstaller);
    facts.fullUi = observer_.Attended();
    facts.quickInstallEmpty = session_.QuickInstallList().empty();
    return facts;
}

void ForeignInstallations::LogFound() const {
    for (const auto& package : session_.Catalogue())
        if (package->fromOtherInstaller)
            WriteLog(3, L"ZEL (c): Found package %s to be already installed form a differnt package.\r\n",
                     package->name.c_str());
}

ForeignAnswer ForeignInstallations::Ask(ForeignQuestion question) const {
    if (question == ForeignQuestion::None) return ForeignAnswer{};
    return observer_.AnswerForeignRemoval(question);
}

namespace {
// The package's version as Windows Installer counts it: a product of the
// maker's table whose versions are years is registered with its major
// counted from 1998.
std::wstring InstallerVersionOf(const SetupPackage& package) {
    return package.related.empty() ? package.versionText : package.related.front()->InstallerVersion();
}
}  // namespace

bool ForeignInstallations::RefusesDowngrade(const ForeignRemovalPlan& plan) const {
    bool refused = false;
    for (size_t index : plan.remove) {
        const SetupPackage& package = *session_.Catalogue()[index];
        std::wstring installed = RegisteredVersion(package.productCode).value_or(L"");
        std::wstring own = InstallerVersionOf(package);
        if (!IsNewerVersion(installed, own)) continue;
        WriteLog(1,
                 L"ZEL (c): %s %s is installed from another package and is newer than this installer's %s: nothing "
                 L"is changed (ALLOWDOWNGRADE=1 allows the downgrade).\r\n",
                 package.name.c_str(), installed.c_str(), own.c_str());
        refused = true;
    }
    return refused;
}

void ForeignInstallations::Remove(const ForeignRemovalPlan& plan) {
    for (size_t index : plan.remove) {
        SetupPackage& package = *session_.Catalogue()[index];
        UINT result = UninstallFromInstallSource(package, plan.uiLevel, &session_);
        if (!ForeignRemovalSucceeded(result)) {
            WriteLog(2, L"ZEL (c): Failure: return code = %d\r\n", result);
            if (firstFailure_ == 0) firstFailure_ = result;
            continue;
        }
        // A restart that the removal asks for stays the run's to report.
        choices_.SetResult(result);
        // The product is gone: from now on the package stands for what this
        // launcher installs, so that its kept database is not taken for a
        // stranger's at the end of the run.
        package.isInstalled = false;
        package.fromOtherInstaller = false;
        package.selected = !package.IsInstalled();
    }
}

void ForeignInstallations::RecordFailure() const {
    // No install source to remove from is the launcher's own outcome; other
    // results are Windows Installer's.
    if (firstFailure_ == outcome::kNoMsiFile) session_.SetOutcome(outcome::kNoMsiFile);
    else choices_.SetResult(firstFailure_);
}
