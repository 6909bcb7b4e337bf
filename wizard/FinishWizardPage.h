// The last page: whether the operation on the main product succeeded, with
// only the Finish button.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "wizard/WizardPageBase.h"

// What the run did with the main product, as the finish texts name it.
enum class FinishOperation { Install, Modify, Repair, Uninstall };

struct FinishTexts {
    UINT heading;
    UINT message;
    UINT note;  // 0: no note
};

// The string ids for an operation and its success.
FinishTexts ChooseFinishTexts(FinishOperation operation, bool success);

class FinishWizardPage : public WizardPageBase {
public:
    explicit FinishWizardPage(CWizardDialog* wizard) : WizardPageBase(wizard, PageKind::Finish) {}

    void Activate() override;
    void Prepare() override;
    bool QueryNext() override { return true; }
    bool QueryCancel() override { return true; }
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void LayOut() override;

private:
    FinishOperation Operation() const;

    fw::IconHandle image_;  // the product image, destroyed with the page
    UINT imageDpi_ = 0;     // the DPI it is loaded for
    HWND icon_ = nullptr, heading_ = nullptr, message_ = nullptr, note_ = nullptr, footer_ = nullptr;
};
