#include "server/BackupWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void BackupWizardPage::Prepare() {
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

std::wstring BackupWizardPage::HeadingText() const { return Text(1150); }

std::wstring BackupWizardPage::BodyText() const { return std::wstring(); }
