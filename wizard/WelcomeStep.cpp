#include "wizard/WelcomeStep.h"

#include <algorithm>

#include "engine/RunChoices.h"
#include "options/SetupOptions.h"
#include "wizard/UpgradeDetection.h"
#include "wizard/WizardSession.h"

WelcomeStep::~WelcomeStep() {
    // The quick-install list points at this step's records.
    auto& quick = session_.QuickInstallList();
    for (const auto& record : predecessors_) std::erase(quick, record.get());
}

void WelcomeStep::DetectUpgrade() {
    installedName_.clear();
    majorUpgrade_ = false;
    // Repair, removal and changes of an installed product upgrade nothing.
    if (choices_.IsRepair() || choices_.IsUninstall() || choices_.IsModify()) {
        predecessors_.clear();
        earlierSubPackages_.clear();
        return;
    }
    UpgradeDetection detection = ::DetectUpgrade(session_.Catalogue(), session_.SubPackageSelectionFixed());
    installedName_ = std::move(detection.installedName);
    majorUpgrade_ = detection.majorUpgrade;
    predecessors_ = std::move(detection.predecessors);
    earlierSubPackages_ = std::move(detection.earlierSubPackages);
    if (!installedName_.empty()) SwitchToPredecessorLanguage();
}

void WelcomeStep::SwitchToPredecessorLanguage() {
    if (!session_.IsMultiLanguage() || predecessors_.empty() || predecessors_.front()->language.empty()) return;
    // The run goes on in the language of the installed product.
    session_.Languages().SelectLanguageByCode(predecessors_.front()->language);
}

ForeignCheckResult WelcomeStep::CheckForeign(SessionObserver& observer) {
    return ForeignInstallations(session_, choices_, observer).Check();
}

void WelcomeStep::TakeQuickInstall() {
    auto& quick = session_.QuickInstallList();
    quick.clear();
    for (const auto& record : predecessors_) quick.push_back(record.get());
    // The installed products' choices, read now that they are wanted.
    CreateOptionsForRecords(quick);
    LogQuickInstallSelection(session_.Catalogue(), earlierSubPackages_, installedName_);
}
