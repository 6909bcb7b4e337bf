// The wizard page for unpacking the packages into their folders.
#pragma once

#include "wizard/TextPage.h"

class UnpackWizardPage : public TextPage {
public:
    explicit UnpackWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"UnpackMSIFromEXE") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
