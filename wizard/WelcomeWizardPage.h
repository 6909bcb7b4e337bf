// The first page: the product and what this run will do with it. On its way
// in it has products that a different installer put on the machine removed.
#pragma once

#include "wizard/TextPage.h"

class WelcomeWizardPage : public TextPage {
public:
    explicit WelcomeWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"Welcome") {}
    void Prepare() override;
    bool QueryCancel() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;

private:
    // A removal failed and its result is the outcome: the Cancel that ends
    // the wizard must not turn it into a user's cancel.
    bool removalFailed_ = false;
};
