#include "wizard/TextPage.h"

#include "launcher/SetupApp.h"
#include "wizard/WizardDialog.h"

void TextPage::CreateControls(HWND, int width, int height) {
    heading_ = CreateControl(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, {0, 20, width, 40}, -1,
                             wizard_->HeadingFont());
    body_ = CreateControl(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, {0, 48, width, height}, -1,
                          wizard_->TextFont());
}

void TextPage::UpdateTexts() {
    ::SetWindowTextW(heading_, HeadingText().c_str());
    ::SetWindowTextW(body_, BodyText().c_str());
}

std::wstring TextPage::ProductName() const {
    CSetupApp& app = *CSetupApp::Current();
    return app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
}
