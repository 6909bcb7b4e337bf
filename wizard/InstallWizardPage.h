// The install page: no controls and no texts; its activation runs the
// Windows Installer operations with the frame hidden, then moves on.
#pragma once

#include "wizard/WizardPageBase.h"

class InstallWizardPage : public WizardPageBase {
public:
    explicit InstallWizardPage(CWizardDialog* wizard) : WizardPageBase(wizard, PageKind::Install) {}

    void Activate() override;
    void CreateControls(HWND, int, int) override {}
    void UpdateTexts() override {}
};
