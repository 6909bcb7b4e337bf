#include "execution/InstallWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void InstallWizardPage::Prepare() {
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

std::wstring InstallWizardPage::HeadingText() const { return std::wstring(); }

std::wstring InstallWizardPage::BodyText() const { return std::wstring(); }
