// The wizard page for the Windows Installer operations.
#pragma once

#include "wizard/TextPage.h"

class InstallWizardPage : public TextPage {
public:
    explicit InstallWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"Install (hidden)") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
