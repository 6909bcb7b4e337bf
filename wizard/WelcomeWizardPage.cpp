#include "wizard/WelcomeWizardPage.h"

#include <algorithm>

#include "engine/Log.h"
#include "framework/IconImage.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

namespace {
constexpr int kQuickButtonGrowth = 10;
constexpr size_t kLongProductName = 50;

int HeightOf(HWND control) {
    RECT rect = WizardPageBase::GetRectInParent(control);
    return rect.bottom - rect.top;
}

void MoveTo(HWND control, int left, int top) {
    ::SetWindowPos(control, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

WelcomeWizardPage::WelcomeWizardPage(CWizardDialog* wizard)
    : WizardPageBase(wizard, PageKind::Welcome), step_(wizard_->Session(), wizard->Choices()) {}

void WelcomeWizardPage::CreateControls(HWND, int, int) {
    WizardSession& app = wizard_->Session();
    using fw::At;
    using fw::FromEnd;
    using Kind = fw::FlowLayout::Kind;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    icon_ = AddControl(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, {At(0), At(0), At(48), At(48)}, -1,
                       nullptr, Kind::Fixed);
    welcome_ = AddControl(L"STATIC", L"", text, {At(63), At(8), FromEnd(0), At(28)}, -1, wizard_->TextFont());
    std::wstring name = app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
    HFONT nameFont = name.size() > kLongProductName ? wizard_->SmallHeadingFont() : wizard_->HeadingFont();
    product_ = AddControl(L"STATIC", name, text, {At(63), At(28), FromEnd(0), At(68)}, -1, nameFont);
    mode_ = AddControl(L"STATIC", L"", text, {At(0), At(61), FromEnd(0), At(141)}, -1, wizard_->TextFont());
    legal_ = AddControl(L"STATIC", L"", text, {At(0), At(160), FromEnd(0), At(200)}, -1, wizard_->TextFont());
}

void WelcomeWizardPage::MakeHintRow() {
    if (hint_) return;
    using fw::At;
    using fw::FromEnd;
    // The hint's icon is as large as its image, 32 pixels square at 96 DPI.
    hintIcon_ = AddControl(L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, {At(4), At(109), At(36), At(141)}, -1, nullptr,
                           fw::FlowLayout::Kind::Fixed);
    hint_ = AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, {At(53), At(101), FromEnd(73), At(161)}, -1,
                       wizard_->TextFont());
    // Read in the order of the screen: after the mode text, before the
    // notice.
    const UINT order = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(hintIcon_, mode_, 0, 0, 0, 0, order);
    ::SetWindowPos(hint_, hintIcon_, 0, 0, 0, 0, order);
    iconDpi_ = 0;  // the hint's image with the others
}

void WelcomeWizardPage::LoadIcons() {
    WizardSession& app = wizard_->Session();
    HMODULE module = app.Resources().Module() ? app.Resources().Module() : ::GetModuleHandleW(nullptr);
    // A multi-language installer holds the product image in one language
    // only; the system's own choice of language would miss it.
    LANGID language = app.IsMultiLanguage() ? PRODUCT_IMAGE_LANGUAGE : 0;
    productIcon_ = fw::LoadIconAtSize(module, PRODUCT_IMAGE_RESOURCE_NAME, Scale(48), language);
    if (!productIcon_) WriteLog(2, L"ZEL (c): The product image could not be loaded (%u).\r\n", ::GetLastError());
    ::SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(productIcon_.get()), 0);
    if (hintIcon_) {
        hintImage_ = fw::LoadIconAtSize(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUICK_INSTALL_HINT), Scale(32));
        ::SendMessageW(hintIcon_, STM_SETICON, reinterpret_cast<WPARAM>(hintImage_.get()), 0);
    }
    iconDpi_ = wizard_->Dpi();
}

std::wstring WelcomeWizardPage::ModeText() const {
    if (wizard_->IsRepair()) return Text(38);
    if (wizard_->IsUninstall()) return Text(36);
    if (wizard_->IsModify()) return Text(37);
    const std::wstring& installed = step_.InstalledName();
    if (!installed.empty()) return fw::Format(Text(step_.MajorUpgrade() ? 1345 : 1343).c_str(), installed.c_str());
    WizardSession& app = wizard_->Session();
    std::wstring name = app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
    return fw::Format(Text(static_cast<UINT>(app.WelcomeTextId())).c_str(), name.c_str());
}

bool WelcomeWizardPage::ShowsUpgrade() const {
    return !step_.InstalledName().empty() && !wizard_->IsRepair() && !wizard_->IsUninstall() && !wizard_->IsModify();
}

void WelcomeWizardPage::UpdateTexts() {
    bool upgrade = ShowsUpgrade();
    ::SetWindowTextW(welcome_, Text(upgrade ? 1347 : 150).c_str());
    ::SetWindowTextW(legal_, Text(1045).c_str());
    ::SetWindowTextW(mode_, ModeText().c_str());
    if (upgrade) MakeHintRow();
    if (hint_) {
        ::ShowWindow(hintIcon_, upgrade ? SW_SHOW : SW_HIDE);
        ::ShowWindow(hint_, upgrade ? SW_SHOW : SW_HIDE);
    }
    if (!upgrade) return;
    ::SetWindowTextW(hint_, Text(1346).c_str());
    wizard_->SetDlgItemText(IDC_WIZARD_BACK, Text(1349));
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, true);
}

void WelcomeWizardPage::LayOut() {
    if (ShowsUpgrade()) MakeHintRow();
    if (iconDpi_ != wizard_->Dpi()) LoadIcons();
    ::ShowWindow(legal_, SW_SHOW);
    WizardPageBase::LayOut();
    if (ShowsUpgrade()) {
        LayOutUpgradeRow();
    } else {
        RECT mode = GetRectInParent(mode_);
        PlaceLegalNotice(mode.top + fw::TextHeight(mode_, mode.right - mode.left));
    }
    PlaceBackButton();
}

void WelcomeWizardPage::LayOutUpgradeRow() {
    FitHeightToText(mode_);
    RECT mode = GetRectInParent(mode_);
    FitHeightToText(hint_);
    int iconHeight = HeightOf(hintIcon_), hintHeight = HeightOf(hint_);
    int rowHeight = std::max(iconHeight, hintHeight);
    int centre = mode.bottom + Scale(6) + rowHeight / 2;
    MoveTo(hintIcon_, 0, centre - iconHeight / 2);
    RECT icon = GetRectInParent(hintIcon_);
    MoveTo(hint_, icon.right + Scale(4), centre - hintHeight / 2);
    FitHeightToText(legal_);
    int legalHeight = HeightOf(legal_), pageHeight = ClientSize().cy;
    if (pageHeight < mode.bottom + Scale(6) + rowHeight + legalHeight + Scale(6)) {
        ::ShowWindow(legal_, SW_HIDE);
    } else {
        MoveTo(legal_, GetRectInParent(legal_).left, pageHeight - legalHeight);
    }
}

void WelcomeWizardPage::PlaceLegalNotice(int textAbove) {
    // The notice keeps its place while the page has room for its text;
    // on a shorter page it rises to the page's bottom edge, and where that
    // would cover the text above it, it is left out.
    RECT legal = GetRectInParent(legal_);
    int height = fw::TextHeight(legal_, legal.right - legal.left), pageHeight = ClientSize().cy;
    if (legal.top + height <= pageHeight) return;
    FitHeightToText(legal_);
    if (pageHeight - height < textAbove) {
        ::ShowWindow(legal_, SW_HIDE);
        return;
    }
    MoveTo(legal_, legal.left, pageHeight - height);
}

void WelcomeWizardPage::Prepare() {
    WizardSession& app = wizard_->Session();
    // The language is chosen here, on a fresh install only: a maintenance
    // run keeps the installed product's language, and no later page offers
    // the choice (the unpack worker reads the current language).
    bool offerLanguages = app.IsMultiLanguage() && wizard_->IsFreshInstall();
    ::ShowWindow(wizard_->GetDlgItem(IDC_WIZARD_LANGUAGE), offerLanguages ? SW_SHOW : SW_HIDE);
    // The language first (the installed product's): the Quick Install
    // button's width follows its label.
    step_.DetectUpgrade();
    if (step_.InstalledName().empty()) {
        // The first page has nothing to go back to.
        SetQuickInstallButton(false);
        wizard_->EnableDlgItem(IDC_WIZARD_BACK, false);
    } else {
        SetQuickInstallButton(true);
        wizard_->EnableDlgItem(IDC_WIZARD_BACK, true);
    }
    ForeignCheckResult check = step_.CheckForeign(wizard_->Observer());
    if (check != ForeignCheckResult::Proceed) {
        removalFailed_ = check == ForeignCheckResult::RemovalFailed;
        wizard_->OnCancel();
        return;
    }
    wizard_->EnableDlgItem(IDOK, true);
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

void WelcomeWizardPage::PlaceBackButton() {
    // Ten pixels wider while it offers Quick Install, or as much as a longer
    // label needs beside the button's margins; its right edge stays.
    HWND button = wizard_->GetDlgItem(IDC_WIZARD_BACK);
    RECT rect = wizard_->FrameControlRect(IDC_WIZARD_BACK);
    if (quickButton_) {
        std::wstring label = Text(1349);
        RECT text = {0, 0, 0, 0};
        HDC dc = ::GetDC(button);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(button, WM_GETFONT, 0, 0)));
        ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text, DT_CALCRECT | DT_SINGLELINE);
        ::SelectObject(dc, old);
        ::ReleaseDC(button, dc);
        int width = rect.right - rect.left;
        rect.left -= std::max(Scale(kQuickButtonGrowth), static_cast<int>(text.right - text.left) + Scale(16) - width);
    }
    fw::PlaceChild(button, rect);
}

void WelcomeWizardPage::SetQuickInstallButton(bool quick) {
    if (quick == quickButton_) return;
    quickButton_ = quick;
    if (!quick) wizard_->SetDlgItemText(IDC_WIZARD_BACK, Text(56));
    PlaceBackButton();
}

bool WelcomeWizardPage::QueryNext() {
    SetQuickInstallButton(false);
    return true;
}

bool WelcomeWizardPage::QueryBack() {
    // Without an offer the button is Back, and Back on the first page ends
    // the wizard as Cancel does.
    if (step_.InstalledName().empty()) return true;
    step_.TakeQuickInstall();
    SetQuickInstallButton(false);
    // Every following page is left as soon as it is entered: the install
    // repeats the installed products with their own choices.
    wizard_->OnOK();
    return false;
}

bool WelcomeWizardPage::QueryCancel() {
    if (removalFailed_) {
        removalFailed_ = false;
        return true;
    }
    return WizardPageBase::QueryCancel();
}

void WelcomeWizardPage::Deactivate() {
    SetQuickInstallButton(false);
    WizardPageBase::Deactivate();
}
