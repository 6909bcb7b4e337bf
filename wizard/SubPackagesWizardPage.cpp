#include "wizard/SubPackagesWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void SubPackagesWizardPage::Prepare() {
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

std::wstring SubPackagesWizardPage::HeadingText() const { return Text(1041); }

std::wstring SubPackagesWizardPage::BodyText() const { return Text(wizard_->IsUninstall() ? 40 : wizard_->IsRepair() ? 41 : wizard_->IsModify() ? 42 : 39); }
