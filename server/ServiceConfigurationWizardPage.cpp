#include "server/ServiceConfigurationWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void ServiceConfigurationWizardPage::Prepare() {
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

std::wstring ServiceConfigurationWizardPage::HeadingText() const { return Text(1182); }

std::wstring ServiceConfigurationWizardPage::BodyText() const { return Text(1167); }
