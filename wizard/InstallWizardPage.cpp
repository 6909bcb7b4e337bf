#include "wizard/InstallWizardPage.h"

#include "execution/ProductOperations.h"
#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void InstallWizardPage::Activate() {
    bool wasVisible = wizard_->IsWindowVisible();
    wizard_->ShowWindow(SW_HIDE);
    ProductOperations operations(*CSetupApp::Current(), *wizard_);
    operations.RunOperations();
    if (wasVisible && wizard_->HasNextPage()) wizard_->ShowFrame();
    wizard_->OnOK();
}
