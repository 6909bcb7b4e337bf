// The wizard page for the settings backup of the mobile-solutions server.
#pragma once

#include "wizard/TextPage.h"

class BackupWizardPage : public TextPage {
public:
    explicit BackupWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"BackupSettings") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
