// The wizard page for the sub-packages that take part in the run.
#pragma once

#include "wizard/TextPage.h"

class SubPackagesWizardPage : public TextPage {
public:
    explicit SubPackagesWizardPage(CWizardDialog* wizard) : TextPage(wizard, L"IncludedSubPackages") {}
    void Prepare() override;

protected:
    std::wstring HeadingText() const override;
    std::wstring BodyText() const override;
};
