#include "wizard/FinishWizardPage.h"

#include "engine/Outcome.h"
#include "framework/IconImage.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

FinishTexts ChooseFinishTexts(FinishOperation operation, bool success) {
    const UINT heading = success ? 28 : 29;
    switch (operation) {
        case FinishOperation::Repair: return {heading, success ? 44u : 48u, 0};
        case FinishOperation::Uninstall: return {heading, success ? 43u : 46u, success ? 0u : 1046u};
        case FinishOperation::Modify: return {heading, success ? 45u : 47u, 0};
        case FinishOperation::Install: break;
    }
    return {heading, success ? 30u : 31u, success ? 0u : 32u};
}

void FinishWizardPage::Activate() {
    WizardSession& app = wizard_->Session();
    // With several packages the finish page waits for the user even after a
    // Quick Install.
    if (!app.QuickInstallList().empty() && app.Catalogue().size() >= 2) app.QuickInstallList().clear();
    WizardPageBase::Activate();
}

void FinishWizardPage::Prepare() {
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, false);
    ::SetFocus(wizard_->GetDlgItem(IDOK));
    ShowWindow(SW_SHOW);
}

void FinishWizardPage::CreateControls(HWND, int, int) {
    using fw::At;
    using fw::FromEnd;
    icon_ = AddControl(L"STATIC", L"", WS_VISIBLE | SS_ICON, {At(0), At(10), At(48), At(58)}, -1, nullptr,
                       fw::FlowLayout::Kind::Fixed);
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    heading_ = AddControl(L"STATIC", L"", text, {At(63), At(13), FromEnd(0), At(33)}, -1, wizard_->HeadingFont());
    message_ = AddControl(L"STATIC", L"", text, {At(63), At(33), FromEnd(0), At(73)}, -1, wizard_->TextFont());
    note_ = AddControl(L"STATIC", L"", text, {At(0), At(73), FromEnd(0), At(133)}, -1, wizard_->TextFont());
    footer_ = AddControl(L"STATIC", L"", text, {At(0), FromEnd(30), FromEnd(0), FromEnd(10)}, -1, wizard_->TextFont());
}

void FinishWizardPage::LayOut() {
    // The product image at the window's DPI, from the largest image there is.
    if (imageDpi_ != wizard_->Dpi()) {
        imageDpi_ = wizard_->Dpi();
        image_ = fw::LoadIconAtSize(::GetModuleHandleW(nullptr), PRODUCT_IMAGE_RESOURCE_NAME, Scale(48));
        ::SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(image_.get()), 0);
    }
    WizardPageBase::LayOut();
}

FinishOperation FinishWizardPage::Operation() const {
    if (wizard_->IsRepair()) return FinishOperation::Repair;
    if (wizard_->IsUninstall()) return FinishOperation::Uninstall;
    if (wizard_->IsModify()) return FinishOperation::Modify;
    return FinishOperation::Install;
}

void FinishWizardPage::UpdateTexts() {
    WizardSession& app = wizard_->Session();
    FinishTexts texts = ChooseFinishTexts(Operation(), outcome::IsSuccess(app.Outcome().code));
    std::wstring product = app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
    wizard_->SetDlgItemText(IDOK, Text(55));
    ::SetWindowTextW(heading_, Text(texts.heading).c_str());
    ::SetWindowTextW(message_, fw::Format(Text(texts.message).c_str(), product.c_str()).c_str());
    ::SetWindowTextW(note_, texts.note ? Text(texts.note).c_str() : L"");
    ::SetWindowTextW(footer_, Text(33).c_str());
}
