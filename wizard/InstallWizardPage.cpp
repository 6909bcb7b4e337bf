#include "wizard/InstallWizardPage.h"

#include "execution/ProductOperations.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

void InstallWizardPage::Activate() {
    bool wasVisible = wizard_->IsWindowVisible();
    wizard_->ShowWindow(SW_HIDE);
    ProductOperations operations(wizard_->Session(), *wizard_);
    operations.RunOperations();
    if (wasVisible && wizard_->HasNextPage()) wizard_->ShowFrame();
    wizard_->OnOK();
}
