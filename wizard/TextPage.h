// A page of a heading and a body text: the shape of the pages whose own
// controls are still to come, and the base of simple pages.
#pragma once

#include <string>

#include "wizard/WizardPageBase.h"

class TextPage : public WizardPageBase {
public:
    using WizardPageBase::WizardPageBase;

    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;

protected:
    virtual std::wstring HeadingText() const = 0;
    virtual std::wstring BodyText() const = 0;
    // The main product's display name, as the texts name it.
    std::wstring ProductName() const;

    HWND heading_ = nullptr;
    HWND body_ = nullptr;
};
