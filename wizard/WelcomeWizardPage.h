// The first page: the product and what this run will do with it. On its way
// in its step (wizard/WelcomeStep.h) looks for an older installation of the
// main product, which the page offers to repeat as a Quick Install, and has
// products that a different installer put on the machine removed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "wizard/WelcomeStep.h"
#include "wizard/WizardPageBase.h"

class WelcomeWizardPage : public WizardPageBase {
public:
    explicit WelcomeWizardPage(CWizardDialog* wizard);

    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void LayOut() override;
    void Prepare() override;
    bool QueryNext() override;
    // Quick Install, when it is offered.
    bool QueryBack() override;
    bool QueryCancel() override;
    void Deactivate() override;

    const std::wstring& InstalledName() const { return step_.InstalledName(); }

private:
    // The product image and the hint's icon at the window's DPI.
    void LoadIcons();
    // The hint row (its icon and text) under the mode text, made when the
    // page first offers Quick Install: most runs never show it.
    void MakeHintRow();
    std::wstring ModeText() const;
    bool ShowsUpgrade() const;
    void LayOutUpgradeRow();
    // textAbove: where the text above the notice ends.
    void PlaceLegalNotice(int textAbove);
    // Button 1000 as Quick Install (10 pixels wider, its right edge kept)
    // or as Back again.
    void SetQuickInstallButton(bool quick);
    void PlaceBackButton();

    HWND icon_ = nullptr, welcome_ = nullptr, product_ = nullptr, mode_ = nullptr;
    HWND hintIcon_ = nullptr, hint_ = nullptr, legal_ = nullptr;
    fw::IconHandle productIcon_, hintImage_;
    UINT iconDpi_ = 0;  // the DPI the icons are loaded for

    WelcomeStep step_;
    bool quickButton_ = false;
    // A removal failed and its result is the outcome: the Cancel that ends
    // the wizard must not turn it into a user's cancel.
    bool removalFailed_ = false;
};
