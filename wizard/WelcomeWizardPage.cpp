#include "wizard/WelcomeWizardPage.h"

#include <algorithm>

#include "framework/Text.h"
#include "launcher/SetupApp.h"
#include "options/SetupOptions.h"
#include "resources/ResourceIds.h"
#include "wizard/ForeignInstallations.h"
#include "wizard/UpgradeDetection.h"
#include "wizard/WizardDialog.h"

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

WelcomeWizardPage::~WelcomeWizardPage() {
    // The quick-install list points at this page's records.
    if (CSetupApp* app = CSetupApp::Current()) {
        auto& quick = app->QuickInstallList();
        for (const auto& record : predecessors_) std::erase(quick, record.get());
    }
}

void WelcomeWizardPage::CreateControls(HWND, int width, int height) {
    CSetupApp& app = *CSetupApp::Current();
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    pageHeight_ = height;
    icon_ = CreateControl(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, {0, 0, 48, 48}, -1);
    welcome_ = CreateControl(L"STATIC", L"", text, {63, 8, width, 28}, -1, wizard_->TextFont());
    std::wstring name = app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
    HFONT nameFont = name.size() > kLongProductName ? wizard_->SmallHeadingFont() : wizard_->HeadingFont();
    product_ = CreateControl(L"STATIC", name, text, {63, 28, width, 68}, -1, nameFont);
    modeRect_ = {0, 61, width, 141};
    mode_ = CreateControl(L"STATIC", L"", text, modeRect_, -1, wizard_->TextFont());
    hintIcon_ = CreateControl(L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, {4, 109, 36, 157}, -1);
    ::SendMessageW(hintIcon_, STM_SETICON,
                   reinterpret_cast<WPARAM>(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUICK_INSTALL_HINT))), 0);
    hint_ = CreateControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, {53, 101, width - 73, 161}, -1, wizard_->TextFont());
    legalRect_ = {0, 160, width, 200};
    legal_ = CreateControl(L"STATIC", L"", text, legalRect_, -1, wizard_->TextFont());
    LoadProductIcon();
}

void WelcomeWizardPage::LoadProductIcon() {
    CSetupApp& app = *CSetupApp::Current();
    HMODULE module = app.Resources().Module() ? app.Resources().Module() : ::GetModuleHandleW(nullptr);
    if (!app.IsMultiLanguage()) {
        productIcon_.reset(static_cast<HICON>(
            ::LoadImageW(module, PRODUCT_IMAGE_RESOURCE_NAME, IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR)));
    } else {
        // A multi-language installer holds the icon in one language only;
        // the system's own choice of language would miss it.
        HRSRC group = ::FindResourceExW(module, RT_GROUP_ICON, PRODUCT_IMAGE_RESOURCE_NAME, PRODUCT_IMAGE_LANGUAGE);
        HGLOBAL groupData = group ? ::LoadResource(module, group) : nullptr;
        auto* directory = groupData ? static_cast<PBYTE>(::LockResource(groupData)) : nullptr;
        int id = directory ? ::LookupIconIdFromDirectoryEx(directory, TRUE, 48, 48, LR_DEFAULTCOLOR) : 0;
        HRSRC image = id ? ::FindResourceExW(module, RT_ICON, MAKEINTRESOURCEW(id), PRODUCT_IMAGE_LANGUAGE) : nullptr;
        HGLOBAL imageData = image ? ::LoadResource(module, image) : nullptr;
        auto* bits = imageData ? static_cast<PBYTE>(::LockResource(imageData)) : nullptr;
        if (bits)
            productIcon_.reset(::CreateIconFromResourceEx(bits, ::SizeofResource(module, image), TRUE, 0x30000, 48, 48,
                                                          LR_DEFAULTCOLOR));
    }
    if (!productIcon_) WriteLog(2, L"ZEL (c): The product image could not be loaded (%u).\r\n", ::GetLastError());
    ::SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(productIcon_.get()), 0);
}

std::wstring WelcomeWizardPage::ModeText() const {
    if (wizard_->IsRepair()) return Text(38);
    if (wizard_->IsUninstall()) return Text(36);
    if (wizard_->IsModify()) return Text(37);
    if (!installedName_.empty()) return fw::Format(Text(majorUpgrade_ ? 1345 : 1343).c_str(), installedName_.c_str());
    CSetupApp& app = *CSetupApp::Current();
    std::wstring name = app.Catalogue().empty() ? std::wstring() : app.Catalogue().front()->name;
    return fw::Format(Text(static_cast<UINT>(app.WelcomeTextId())).c_str(), name.c_str());
}

void WelcomeWizardPage::UpdateTexts() {
    bool upgrade = !installedName_.empty() && !wizard_->IsRepair() && !wizard_->IsUninstall() && !wizard_->IsModify();
    ::SetWindowTextW(welcome_, Text(upgrade ? 1347 : 150).c_str());
    ::SetWindowTextW(legal_, Text(1045).c_str());
    ::SetWindowTextW(mode_, ModeText().c_str());
    ::SetWindowPos(mode_, nullptr, modeRect_.left, modeRect_.top, modeRect_.right - modeRect_.left,
                   modeRect_.bottom - modeRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!upgrade) {
        ::ShowWindow(hintIcon_, SW_HIDE);
        ::ShowWindow(hint_, SW_HIDE);
        ::SetWindowPos(legal_, nullptr, legalRect_.left, legalRect_.top, legalRect_.right - legalRect_.left,
                       legalRect_.bottom - legalRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(legal_, SW_SHOW);
        return;
    }
    ::SetWindowTextW(hint_, Text(1346).c_str());
    LayOutUpgradeRow();
    wizard_->SetDlgItemText(IDC_WIZARD_BACK, Text(1349));
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, true);
}

void WelcomeWizardPage::LayOutUpgradeRow() {
    FitHeightToText(mode_);
    RECT mode = GetRectInParent(mode_);
    FitHeightToText(hint_);
    int iconHeight = HeightOf(hintIcon_), hintHeight = HeightOf(hint_);
    int rowHeight = std::max(iconHeight, hintHeight);
    int centre = mode.bottom + 6 + rowHeight / 2;
    MoveTo(hintIcon_, 0, centre - iconHeight / 2);
    RECT icon = GetRectInParent(hintIcon_);
    MoveTo(hint_, icon.right + 4, centre - hintHeight / 2);
    ::ShowWindow(hintIcon_, SW_SHOW);
    ::ShowWindow(hint_, SW_SHOW);
    FitHeightToText(legal_);
    int legalHeight = HeightOf(legal_);
    if (pageHeight_ < mode.bottom + 6 + rowHeight + legalHeight + 6) {
        ::ShowWindow(legal_, SW_HIDE);
    } else {
        MoveTo(legal_, GetRectInParent(legal_).left, pageHeight_ - legalHeight);
        ::ShowWindow(legal_, SW_SHOW);
    }
}

void WelcomeWizardPage::Prepare() {
    CSetupApp& app = *CSetupApp::Current();
    // The language is chosen here, on a fresh install only: a maintenance
    // run keeps the installed product's language, and no later page offers
    // the choice (the unpack worker reads the current language).
    bool offerLanguages = app.IsMultiLanguage() && wizard_->IsFreshInstall();
    ::ShowWindow(wizard_->GetDlgItem(IDC_WIZARD_LANGUAGE), offerLanguages ? SW_SHOW : SW_HIDE);
    DetectUpgrade();
    if (installedName_.empty()) {
        // The first page has nothing to go back to.
        SetQuickInstallButton(false);
        wizard_->EnableDlgItem(IDC_WIZARD_BACK, false);
    } else {
        // The language first: the button's width follows its label.
        SwitchToPredecessorLanguage();
        SetQuickInstallButton(true);
        wizard_->EnableDlgItem(IDC_WIZARD_BACK, true);
    }
    ForeignInstallations foreign(app, *wizard_);
    ForeignCheckResult check = foreign.Check();
    if (check != ForeignCheckResult::Proceed) {
        removalFailed_ = check == ForeignCheckResult::RemovalFailed;
        wizard_->OnCancel();
        return;
    }
    wizard_->EnableDlgItem(IDOK, true);
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

void WelcomeWizardPage::DetectUpgrade() {
    installedName_.clear();
    majorUpgrade_ = false;
    // Repair, removal and changes of an installed product upgrade nothing.
    if (wizard_->IsRepair() || wizard_->IsUninstall() || wizard_->IsModify()) {
        predecessors_.clear();
        earlierSubPackages_.clear();
        return;
    }
    CSetupApp& app = *CSetupApp::Current();
    UpgradeDetection detection = ::DetectUpgrade(app.Catalogue(), app.SubPackageSelectionFixed());
    installedName_ = std::move(detection.installedName);
    majorUpgrade_ = detection.majorUpgrade;
    predecessors_ = std::move(detection.predecessors);
    earlierSubPackages_ = std::move(detection.earlierSubPackages);
}

void WelcomeWizardPage::SwitchToPredecessorLanguage() {
    CSetupApp& app = *CSetupApp::Current();
    if (!app.IsMultiLanguage() || predecessors_.empty() || predecessors_.front()->language.empty()) return;
    // The wizard goes on in the language of the installed product.
    app.Languages().SelectLanguageByCode(predecessors_.front()->language);
}

namespace {
// Ten pixels, or what a longer label needs beside the button's margins.
int QuickButtonGrowth(HWND button, int width, const std::wstring& label) {
    RECT text = {0, 0, 0, 0};
    HDC dc = ::GetDC(button);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(button, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(button, dc);
    constexpr int kMargins = 16;
    return std::max(kQuickButtonGrowth, static_cast<int>(text.right - text.left) + kMargins - width);
}
}  // namespace

void WelcomeWizardPage::SetQuickInstallButton(bool quick) {
    if (quick == quickButton_) return;
    HWND button = wizard_->GetDlgItem(IDC_WIZARD_BACK);
    RECT rect = GetRectInParent(button);
    if (quick) quickGrowth_ = QuickButtonGrowth(button, rect.right - rect.left, Text(1349));
    rect.left += quick ? -quickGrowth_ : quickGrowth_;
    ::SetWindowPos(button, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    quickButton_ = quick;
    if (!quick) wizard_->SetDlgItemText(IDC_WIZARD_BACK, Text(56));
}

bool WelcomeWizardPage::QueryNext() {
    SetQuickInstallButton(false);
    return true;
}

bool WelcomeWizardPage::QueryBack() {
    // Without an offer the button is Back, and Back on the first page ends
    // the wizard as Cancel does.
    if (installedName_.empty()) return true;
    auto& quick = CSetupApp::Current()->QuickInstallList();
    quick.clear();
    for (const auto& record : predecessors_) quick.push_back(record.get());
    // The installed products' choices, read now that they are wanted.
    CreateOptionsForRecords(quick);
    LogQuickInstallSelection(CSetupApp::Current()->Catalogue(), earlierSubPackages_, installedName_);
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
