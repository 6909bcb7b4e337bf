#include "wizard/WelcomeWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "resources/ResourceIds.h"
#include "wizard/ForeignInstallations.h"
#include "wizard/WizardDialog.h"

void WelcomeWizardPage::Prepare() {
    // The first page has nothing to go back to.
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, false);
    // The language is chosen here, on a fresh install only: a maintenance
    // run keeps the installed product's language, and no later page offers
    // the choice (the unpack worker reads the current language).
    bool offerLanguages = CSetupApp::Current()->IsMultiLanguage() && wizard_->IsFreshInstall();
    ::ShowWindow(wizard_->GetDlgItem(IDC_WIZARD_LANGUAGE), offerLanguages ? SW_SHOW : SW_HIDE);
    ForeignInstallations foreign(*CSetupApp::Current(), *wizard_);
    ForeignCheckResult check = foreign.Check();
    if (check != ForeignCheckResult::Proceed) {
        removalFailed_ = check == ForeignCheckResult::RemovalFailed;
        wizard_->OnCancel();
        return;
    }
    wizard_->EnableDlgItem(IDOK, true);
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

bool WelcomeWizardPage::QueryCancel() {
    if (removalFailed_) {
        removalFailed_ = false;
        return true;
    }
    return WizardPageBase::QueryCancel();
}

std::wstring WelcomeWizardPage::HeadingText() const { return Text(150) + ProductName(); }

std::wstring WelcomeWizardPage::BodyText() const {
    UINT id = static_cast<UINT>(CSetupApp::Current()->WelcomeTextId());
    if (wizard_->IsUninstall()) id = 36;
    else if (wizard_->IsRepair()) id = 38;
    else if (wizard_->IsModify()) id = 37;
    return fw::Format(Text(id).c_str(), ProductName().c_str());
}
