#include "wizard/WizardDialog.h"

#include "catalogue/ProductTable.h"
#include "launcher/SetupApp.h"
#include "resources/ResourceIds.h"
#include "wizard/PageFactory.h"
#include "wizard/WizardPageBase.h"

namespace {
bool InstallsServiceProduct(const SetupPackage& package) {
    for (const std::wstring& id : ExpandProductId(package.productId)) {
        const ProductRow* row = FindProduct(id);
        if (row && row->runsAsService) return true;
    }
    return false;
}
}  // namespace

CWizardDialog::CWizardDialog(std::wstring title, HWND parent)
    : CDialogBase(IDD_WIZARD, true), title_(std::move(title)), parent_(parent) {
    BuildPages();
}

CWizardDialog::~CWizardDialog() = default;

void CWizardDialog::BuildPages() {
    CSetupApp& app = App();
    std::vector<CataloguePackageFacts> facts;
    for (const auto& package : app.Catalogue()) facts.push_back({package->name, InstallsServiceProduct(*package)});
    flags_ = ComputeWizardFlags(facts);
    fullUi_ = app.CommandLine().IsFullUi();
    // Level "none" (/qn) runs unattended: nobody could press Finish.
    unattended_ = (app.CommandLine().uiLevel & 7) == 2;
    RefreshInstalledState();
    std::vector<PageKind> kinds = BuildPageTable(app.Catalogue().size(), flags_, IsUninstall());
    for (PageKind kind : kinds) {
        if (kind == PageKind::Finish) finishIndex_ = pageCount_;
        pages_[static_cast<size_t>(pageCount_++)] = CreateWizardPage(kind, this);
    }
}

WizardPageBase* CWizardDialog::Page(int index) const { return IsPage(index) ? pages_[static_cast<size_t>(index)].get() : nullptr; }

bool CWizardDialog::IsRepair() const { return App().CommandLine().repair; }
bool CWizardDialog::IsUninstall() const { return App().CommandLine().uninstall; }
bool CWizardDialog::IsModify() const { return mainInstalled_ && !IsRepair() && !IsUninstall(); }
bool CWizardDialog::IsFreshInstall() const { return !IsUninstall() && !IsRepair() && !mainInstalled_; }

void CWizardDialog::RefreshInstalledState() {
    auto& catalogue = App().Catalogue();
    mainInstalled_ = !catalogue.empty() && catalogue.front()->IsInstalled();
}

bool CWizardDialog::HasNextPage() const {
    return current_ >= 0 && current_ + 1 < pageCount_ && pages_[static_cast<size_t>(current_ + 1)];
}

BOOL CWizardDialog::OnInitDialog() {
    CDialogBase::OnInitDialog();
    if (!fullUi_) {
        mayShow_ = false;
        ShowWindow(SW_HIDE);
    }
    pageBrush_.reset(::CreateSolidBrush(RGB(255, 255, 255)));
    icon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    SetWindowText(title_);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    HWND area = GetDlgItem(IDC_WIZARD_PAGE_AREA);
    RECT areaRect;
    ::GetClientRect(area, &areaRect);
    RECT pageRect = {20, 10, areaRect.right - 20, areaRect.bottom - 10};
    for (int i = 0; i < pageCount_; ++i)
        if (pages_[static_cast<size_t>(i)])
            pages_[static_cast<size_t>(i)]->CreateChild(area, pageRect, WS_CHILD, WS_EX_CONTROLPARENT, IDC_WIZARD_PAGE);
    current_ = 0;
    if (IsPage(0)) pages_[0]->Activate();
    return TRUE;
}

void CWizardDialog::ShowFrame() {
    mayShow_ = true;
    ShowWindow(SW_SHOW);
    HWND top = ::GetAncestor(hwnd_, GA_ROOT);
    ::SetForegroundWindow(top);
    ::SetActiveWindow(top);
}

void CWizardDialog::OnOK() {
    if (IsPage(current_)) {
        WizardPageBase* page = pages_[static_cast<size_t>(current_)].get();
        bool ok = page->QueryNext();
        page->Deactivate();
        if (ok) ++current_;
    }
    const SetupOutcome& outcome = App().Outcome();
    if (outcome.code != 0 && !outcome.reported) {
        App().ReportOutcome();
        // The finish page follows a failure unless it has been passed
        // already, also when the failing page is the one just before it.
        if (finishIndex_ >= 1 && current_ <= finishIndex_) {
            current_ = finishIndex_;
            if (!unattended_) ShowFrame();
        } else {
            current_ = pageCount_;
        }
    }
    if (IsPage(current_)) {
        EnableDlgItem(IDC_WIZARD_BACK, true);
        pages_[static_cast<size_t>(current_)]->Activate();
    } else {
        ended_ = true;
        EndDialog(IDOK);
    }
}

void CWizardDialog::OnBackButton() {
    if (!IsPage(current_) || !pages_[static_cast<size_t>(current_)]->QueryBack()) return;
    pages_[static_cast<size_t>(current_)]->Deactivate();
    if (current_ == 0) {
        OnCancel();
        return;
    }
    --current_;
    if (current_ == 0) EnableDlgItem(IDC_WIZARD_BACK, false);
    pages_[static_cast<size_t>(current_)]->Activate();
}

void CWizardDialog::OnCancel() {
    if (IsPage(current_)) {
        WizardPageBase* page = pages_[static_cast<size_t>(current_)].get();
        if (!page->QueryCancel()) return;
        page->Deactivate();
    }
    if (finishIndex_ < 1 || finishIndex_ == current_) {
        ended_ = true;
        EndDialog(IDCANCEL);
        return;
    }
    const SetupOutcome& outcome = App().Outcome();
    if (outcome.code != 0 && !outcome.reported) App().ReportOutcome();
    current_ = finishIndex_;
    pages_[static_cast<size_t>(current_)]->Activate();
}

void CWizardDialog::OnLanguageChanged() {
    HWND box = GetDlgItem(IDC_WIZARD_LANGUAGE);
    // Only the box the welcome page shows changes the language.
    if (!::IsWindowVisible(box)) return;
    LRESULT index = ::SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    LRESULT length = ::SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring name(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.data()));
    name.resize(wcslen(name.c_str()));
    Strings().SelectLanguage(name);
    WizardPageBase* page = Page(current_);
    if (page) page->ShowWindow(SW_HIDE);
    UpdateFrameTexts();
    if (page) page->ShowWindow(SW_SHOW);
}

void CWizardDialog::UpdateFrameTexts() {
    SetWindowText(App().FormatLocalized(1, App().ReadCatalogueString(L"PRODUCT_NAME_0").c_str()));
    SetDlgItemText(IDOK, Strings().LoadLocalizedString(54));
    SetDlgItemText(IDCANCEL, Strings().LoadLocalizedString(57));
    SetDlgItemText(IDC_WIZARD_BACK, Strings().LoadLocalizedString(56));
    if (App().IsMultiLanguage()) {
        HWND box = GetDlgItem(IDC_WIZARD_LANGUAGE);
        ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
        int selected = 0, index = 0;
        for (const auto& row : Strings().Rows()) {
            ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row->displayName.c_str()));
            if (row.get() == &Strings().Current()) selected = index;
            ++index;
        }
        ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    if (WizardPageBase* page = Page(current_)) page->UpdateTexts();
}

void CWizardDialog::SetResult(DWORD errorCode) { App().SetInstallerOutcome(errorCode); }

void CWizardDialog::RecordCancel() { App().SetOutcome(outcome::kCancelled, ERROR_INSTALL_USEREXIT); }

bool CWizardDialog::OnCommand(WORD id, WORD code, HWND) {
    if (id == IDC_WIZARD_BACK && code == BN_CLICKED) {
        OnBackButton();
        return true;
    }
    if (id == IDC_WIZARD_LANGUAGE && code == CBN_SELCHANGE) {
        OnLanguageChanged();
        return true;
    }
    return false;
}

bool CWizardDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    // A hidden frame stays hidden, even when the modal loop shows the
    // dialog at its first idle moment.
    if (message == WM_WINDOWPOSCHANGING && !mayShow_) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return false;
    }
    return CDialogBase::OnMessage(message, wParam, lParam, result);
}
