// The first page: the product and what this run will do with it.
#pragma once

#include "wizard/TextPage.h"

class WelcomeWizardPage : public TextPage {
public:
    explicit WelcomeWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"Welcome") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
