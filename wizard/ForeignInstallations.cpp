#include "wizard/ForeignInstallations.h"

#include "framework/MessageBox.h"
#include "framework/Text.h"
#include "launcher/Outcome.h"
#include "launcher/SetupApp.h"
#include "wizard/AlreadyInstalledDialog.h"
#include "wizard/WizardDialog.h"

ForeignCheckResult ForeignInstallations::Check() {
    ForeignFacts facts = Facts();
    LogFound();
    if (!AnyForeign(facts)) return ForeignCheckResult::Proceed;
    ForeignRemovalPlan plan = PlanForeignRemoval(facts, Ask(QuestionFor(facts)));
    if (!plan.proceed) return ForeignCheckResult::Declined;
    if (plan.remove.empty()) return ForeignCheckResult::Proceed;
    Remove(plan);
    wizard_.RefreshInstalledState();
    if (firstFailure_ == 0) return ForeignCheckResult::Proceed;
    RecordFailure();
    return ForeignCheckResult::RemovalFailed;
}

ForeignFacts ForeignInstallations::Facts() const {
    ForeignFacts facts;
    for (const auto& package : app_.Catalogue()) facts.fromOtherInstaller.push_back(package->fromOtherInstaller);
    facts.fullUi = wizard_.FullUi();
    facts.quickInstallEmpty = app_.QuickInstallList().empty();
    return facts;
}

void ForeignInstallations::LogFound() const {
    for (const auto& package : app_.Catalogue())
        if (package->fromOtherInstaller)
            WriteLog(3, L"ZEL (c): Found package %s to be already installed form a differnt package.\r\n",
                     package->name.c_str());
}

ForeignAnswer ForeignInstallations::Ask(ForeignQuestion question) const {
    ForeignAnswer answer;
    if (question == ForeignQuestion::MessageBox) {
        std::wstring text = fw::Format(app_.LoadLocalizedString(1047).c_str(), app_.Catalogue().front()->name.c_str());
        answer.ok = fw::ShowMessageBox(app_.NoBoxes(), text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
    } else if (question == ForeignQuestion::Dialog) {
        CDialog_AlreadyInstalled dialog(&app_);
        answer.ok = dialog.DoModal(wizard_) == IDOK;
        answer.removeSubPackages = dialog.removeSubPackages == 1;
    }
    return answer;
}

void ForeignInstallations::Remove(const ForeignRemovalPlan& plan) {
    for (size_t index : plan.remove) {
        SetupPackage& package = *app_.Catalogue()[index];
        UINT result = package.UninstallFromInstallSource(plan.uiLevel);
        if (!ForeignRemovalSucceeded(result)) {
            WriteLog(2, L"ZEL (c): Failure: return code = %d\r\n", result);
            if (firstFailure_ == 0) firstFailure_ = result;
            continue;
        }
        // A restart that the removal asks for stays the run's to report.
        wizard_.SetResult(result);
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
    if (firstFailure_ == outcome::kNoMsiFile) app_.SetOutcome(outcome::kNoMsiFile);
    else wizard_.SetResult(firstFailure_);
}
