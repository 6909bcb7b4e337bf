// The wizard page for the Windows service settings of the server products:
// pre-fills its entries from the machine and the command line, and leaves
// the service configuration property string for the installer calls.
#pragma once

#include <vector>

#include "server/ServiceSettings.h"
#include "wizard/TextPage.h"

class ServiceConfigurationWizardPage : public TextPage {
public:
    explicit ServiceConfigurationWizardPage(CWizardDialog* wizard);
    void Prepare() override;
    bool QueryNext() override;

    const std::vector<service_config::ServiceSettings>& Entries() const { return entries_; }

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;

private:
    // Another user's account without a password: asks for it in a full
    // run; an unattended run cannot, and ends as an invalid command line.
    bool ObtainMissingPasswords();

    std::vector<service_config::ServiceSettings> entries_;
    bool prepared_ = false;
};
