// The full wizard as the run's observer: the run's questions are asked in a
// message box or a dialog owned by the frame, and the product being unpacked
// goes to the unpack page's status line.
#pragma once

#include <string>

#include "engine/SessionObserver.h"

class CWizardDialog;

class WizardObserver final : public SessionObserver {
public:
    explicit WizardObserver(CWizardDialog& frame) : frame_(frame) {}

    // Not in the finish frame of a failure below the full level.
    bool Attended() const override;
    ForeignAnswer AnswerForeignRemoval(ForeignQuestion question) override;
    void UnpackingProduct(const std::wstring& productName) override;

private:
    CWizardDialog& frame_;
};
