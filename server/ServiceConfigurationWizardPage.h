// The wizard page for the Windows service settings of the server products.
#pragma once

#include "wizard/TextPage.h"

class ServiceConfigurationWizardPage : public TextPage {
public:
    explicit ServiceConfigurationWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"ServiceConfiguration") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
