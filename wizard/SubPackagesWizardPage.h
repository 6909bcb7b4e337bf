// The sub-packages page: one check box per sub-package (at most five), set
// from each package's selection and stored back by Next.
#pragma once

#include <windows.h>

#include <array>
#include <utility>

#include "wizard/WizardPageBase.h"

class SetupPackage;

class SubPackagesWizardPage : public WizardPageBase {
public:
    static constexpr int kMaxRows = 5;

    explicit SubPackagesWizardPage(CWizardDialog* wizard) : WizardPageBase(wizard, PageKind::SubPackages) {}

    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void Prepare() override;
    bool QueryNext() override;
    HWND FocusControl() const override;

    // The string id of the description for a mode.
    static UINT DescriptionId(bool repair, bool uninstall, bool modify);

private:
    HWND title_ = nullptr;
    HWND description_ = nullptr;
    std::array<std::pair<SetupPackage*, HWND>, kMaxRows> rows_{};
};
