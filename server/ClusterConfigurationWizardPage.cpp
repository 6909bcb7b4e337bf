#include "server/ClusterConfigurationWizardPage.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void ClusterConfigurationWizardPage::Prepare() {
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

std::wstring ClusterConfigurationWizardPage::HeadingText() const { return Text(1341); }

std::wstring ClusterConfigurationWizardPage::BodyText() const { return Text(1342); }
