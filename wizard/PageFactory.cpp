#include "wizard/PageFactory.h"

#include "wizard/BackupWizardPage.h"
#include "wizard/ClusterConfigurationWizardPage.h"
#include "wizard/FinishWizardPage.h"
#include "wizard/InstallWizardPage.h"
#include "wizard/ServiceConfigurationWizardPage.h"
#include "wizard/SubPackagesWizardPage.h"
#include "wizard/UnpackWizardPage.h"
#include "wizard/WelcomeWizardPage.h"

std::unique_ptr<WizardPageBase> CreateWizardPage(PageKind kind, CWizardDialog* wizard) {
    switch (kind) {
        case PageKind::Welcome: return std::make_unique<WelcomeWizardPage>(wizard);
        case PageKind::SubPackages: return std::make_unique<SubPackagesWizardPage>(wizard);
        case PageKind::Backup: return std::make_unique<BackupWizardPage>(wizard);
        case PageKind::Unpack: return std::make_unique<UnpackWizardPage>(wizard);
        case PageKind::ServiceConfiguration: return std::make_unique<ServiceConfigurationWizardPage>(wizard);
        case PageKind::ClusterConfiguration: return std::make_unique<ClusterConfigurationWizardPage>(wizard);
        case PageKind::Install: return std::make_unique<InstallWizardPage>(wizard);
        case PageKind::Finish: return std::make_unique<FinishWizardPage>(wizard);
        case PageKind::Empty: break;
    }
    return nullptr;
}
