// The wizard page for the workflow server's cluster role.
#pragma once

#include "wizard/TextPage.h"

class ClusterConfigurationWizardPage : public TextPage {
public:
    explicit ClusterConfigurationWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"ClusterConfiguration") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
