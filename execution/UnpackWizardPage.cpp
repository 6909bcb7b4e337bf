#include "execution/UnpackWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void UnpackWizardPage::Prepare() {
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

std::wstring UnpackWizardPage::HeadingText() const { return Text(4); }

std::wstring UnpackWizardPage::BodyText() const { return fw::Format(Text(CSetupApp::Current()->Catalogue().size() == 1 ? 3 : 7).c_str(), ProductName().c_str()); }
