#include "server/ServiceConfigurationWizardPage.h"

#include "framework/MessageBox.h"
#include "framework/Text.h"
#include "icbs/PasswordCrypto.h"
#include "launcher/SetupApp.h"
#include "server/CommandLineItem.h"
#include "server/PasswordDialog.h"
#include "server/ServiceCommandLine.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceMachineState.h"
#include "server/ServicePropertyString.h"
#include "wizard/WizardDialog.h"

using namespace service_config;

namespace {
bool PackageSelected(const void* context, size_t index) {
    const PackageCatalogue& catalogue = *static_cast<const PackageCatalogue*>(context);
    return index < catalogue.size() && catalogue[index]->selected;
}

std::wstring Encrypt(const std::wstring& plain) { return icbs::EncryptPassword(plain); }
}  // namespace

ServiceConfigurationWizardPage::ServiceConfigurationWizardPage(CWizardDialog* wizard)
    : TextPage(wizard, L"ServiceConfiguration"), entries_(ReadServiceEntries(CSetupApp::Current()->Catalogue())) {}

void ServiceConfigurationWizardPage::Prepare() {
    if (!prepared_) {
        prepared_ = true;
        LinkEntries(entries_);
        ApplyCommandLineProperties(entries_, CSetupApp::Current()->CommandLine().properties);
        for (ServiceSettings& entry : entries_)
            if (entry.captionId != 0) entry.caption = Text(entry.captionId);
    }
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

bool ServiceConfigurationWizardPage::ObtainMissingPasswords() {
    CSetupApp& app = *CSetupApp::Current();
    const PackageCatalogue& catalogue = app.Catalogue();
    size_t missing = FirstMissingPassword(entries_, PackageSelected, &catalogue);
    if (missing == entries_.size()) return true;
    while (missing < entries_.size()) {
        ServiceSettings& entry = entries_[missing];
        if (!wizard_->FullUi()) {
            // Nobody could type it: the command line lacks a property.
            WriteLog(1, L"ZEL (c): No password for the logon account of service %s: set %s_Service_Password\r\n",
                     entry.serviceName.c_str(), entry.ServicePrefix().c_str());
            app.SetOutcome(ERROR_INVALID_COMMAND_LINE, ERROR_INVALID_COMMAND_LINE);
            return false;
        }
        CPasswordDialog dialog(&app, entry.displayName, entry.userName);
        INT_PTR answer = dialog.DoModal(::GetAncestor(hwnd_, GA_ROOT));
        if (answer == -1) {
            WriteLog(1, L"ZEL (c): The password dialog for service %s could not be created (%u)\r\n",
                     entry.serviceName.c_str(), ::GetLastError());
            fw::ShowMessageBox(app.IsSilent(), L"Error Creating Dialog Object", MB_ICONEXCLAMATION);
            return false;
        }
        if (answer != IDOK || dialog.Password().empty()) return false;
        entry.password = dialog.Password();
        missing = FirstMissingPassword(entries_, PackageSelected, &catalogue);
    }
    return true;
}

bool ServiceConfigurationWizardPage::QueryNext() {
    if (!ObtainMissingPasswords()) return false;
    CSetupApp& app = *CSetupApp::Current();
    const PackageCatalogue& catalogue = app.Catalogue();
    ServiceProperties properties = ComposeServiceProperties(entries_, PackageSelected, &catalogue, Encrypt);
    server_items::RemoveNamedItems(app.CommandLine().properties, properties.names);
    wizard_->serviceProperties = properties.text;
    return true;
}

std::wstring ServiceConfigurationWizardPage::HeadingText() const { return Text(1182); }

std::wstring ServiceConfigurationWizardPage::BodyText() const { return Text(1167); }
