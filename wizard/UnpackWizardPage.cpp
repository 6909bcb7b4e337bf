#include "wizard/UnpackWizardPage.h"

#include <commctrl.h>

#include "execution/WorkerSupervisor.h"
#include "framework/AccessibleName.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

UnpackWizardPage::UnpackWizardPage(CWizardDialog* wizard)
    : WizardPageBase(wizard, PageKind::Unpack), step_(wizard_->Session(), *wizard) {}

void UnpackWizardPage::CreateControls(HWND, int, int) {
    using fw::At;
    using fw::FromEnd;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    title_ = AddControl(L"STATIC", L"", text, {At(0), At(20), FromEnd(0), At(39)}, -1, wizard_->HeadingFont());
    subtitle_ = AddControl(L"STATIC", L"", text, {At(0), At(39), FromEnd(0), At(96)}, -1, wizard_->TextFont());
    bool shortName = wizard_->Session().ReadCatalogueString(L"PRODUCT_NAME_0").size() < 50;
    int statusBottom = shortName ? 115 : 134;
    status_ = AddControl(L"STATIC", L"", text, {At(0), At(96), FromEnd(0), At(statusBottom)}, -1, wizard_->TextFont());
    progress_ = AddControl(PROGRESS_CLASSW, L"", WS_VISIBLE | PBS_SMOOTH,
                           {At(0), At(statusBottom), FromEnd(0), At(statusBottom + 14)}, IDC_PAGE_PROGRESS, nullptr,
                           fw::FlowLayout::Kind::Fixed);
    ::SendMessageW(progress_, PBM_SETRANGE32, 0, 30);
    // A screen reader names the bar by what is being unpacked.
    fw::SetAccessibleName(progress_, [this] {
        std::wstring status = fw::WindowText(status_);
        return status.empty() ? fw::WindowText(title_) : status;
    });
}

void UnpackWizardPage::LayOut() {
    WizardPageBase::LayOut();
    // A status that needs more room than its line pushes the bar down by
    // its growth and five pixels more.
    RECT status = GetRectInParent(status_);
    if (const fw::DesignRect* design = layout_.Find(status_)) {
        SIZE size = ClientSize();
        RECT planned = fw::PlaceRect(*design, size.cx, size.cy, wizard_->Dpi());
        if (status.bottom - status.top > planned.bottom - planned.top) MoveBy(progress_, 0, Scale(5));
    }
}

void UnpackWizardPage::UpdateTexts() {
    WizardSession& app = wizard_->Session();
    ::SetWindowTextW(title_, Text(4).c_str());
    std::wstring product = app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
    std::erase(product, L'\u2122');
    UINT subtitle = app.Catalogue().size() == 1 ? 3 : 7;
    ::SetWindowTextW(subtitle_, fw::Format(Text(subtitle).c_str(), product.c_str()).c_str());
}

void UnpackWizardPage::Activate() {
    // No language change while the worker reads the current language.
    ::ShowWindow(wizard_->GetDlgItem(IDC_WIZARD_LANGUAGE), SW_HIDE);
    UpdateTexts();
    wizard_->EnableDlgItem(IDCANCEL, true);
    if (wizard_->FullUi() && wizard_->Session().QuickInstallList().empty()) ShowWindow(SW_SHOW);
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, false);
    wizard_->EnableDlgItem(IDOK, false);
    // Cancel is all that takes input while the packages are unpacked.
    if (IsWindowVisible()) wizard_->FocusControl(wizard_->GetDlgItem(IDCANCEL));
    WorkerSupervision supervision;
    supervision.filter = [this](const MSG& msg) {
        if (msg.message != kProgressMessage || msg.hwnd != hwnd_) return false;
        ::SendMessageW(progress_, PBM_SETPOS, msg.wParam, 0);
        return true;
    };
    // A visible bar stays a moment at its end; a hidden run goes on.
    supervision.lingerMs = IsWindowVisible() ? 1000 : 0;
    if (!step_.Run(progress_, wizard_->Observer(), supervision)) return;
    wizard_->OnOK();
}

bool UnpackWizardPage::QueryCancel() { return step_.Cancel(); }

// The worker never waits for the window: it leaves the text and posts.
void UnpackWizardPage::ShowStatus(const std::wstring& productName) {
    if (!IsWindowVisible()) return;
    {
        std::lock_guard<std::mutex> lock(statusLock_);
        pendingStatus_ = fw::Format(Text(5).c_str(), productName.c_str());
    }
    ::PostMessageW(hwnd_, kStatusMessage, 0, 0);
}

void UnpackWizardPage::ApplyStatus() {
    std::wstring text;
    {
        std::lock_guard<std::mutex> lock(statusLock_);
        text = pendingStatus_;
    }
    RECT before = GetRectInParent(status_);
    ::SetWindowTextW(status_, text.c_str());
    LayOut();
    RECT after = GetRectInParent(status_);
    if (after.bottom - after.top != before.bottom - before.top) ::InvalidateRect(*wizard_, nullptr, TRUE);
}

LRESULT UnpackWizardPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStatusMessage) {
        ApplyStatus();
        return 0;
    }
    if (message == kProgressMessage) {
        ::SendMessageW(progress_, PBM_SETPOS, wParam, 0);
        return 0;
    }
    return WizardPageBase::WindowProc(message, wParam, lParam);
}
