#include "wizard/WizardDialog.h"

#include "engine/Log.h"
#include "engine/Outcome.h"
#include "framework/AccessibleName.h"
#include "framework/CommonControls.h"
#include "framework/DialogTemplate.h"
#include "framework/Dpi.h"
#include "framework/HighContrast.h"
#include "framework/IconImage.h"
#include "framework/MessageFilter.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"
#include "wizard/PageFactory.h"
#include "wizard/WizardPageBase.h"
#include "wizard/WizardSession.h"

CWizardDialog::CWizardDialog(WizardSession& session, std::wstring title, RunChoices& choices, bool finishOnly, HWND parent)
    : CDialogBase(session, IDD_WIZARD, true), title_(std::move(title)), choices_(choices), finishOnly_(finishOnly), parent_(parent) {
    // The pages' common controls, registered only for a run that makes the
    // wizard.
    fw::InitCommonControls();
    BuildPages();
}

CWizardDialog::~CWizardDialog() = default;

void CWizardDialog::BuildPages() {
    WizardSession& app = Session();
    fullUi_ = !finishOnly_ && app.CommandLine().Ui().IsFull();
    unattended_ = app.CommandLine().Ui().IsUnattended();
    std::vector<PageKind> kinds = finishOnly_ ? std::vector<PageKind>{PageKind::Finish} : choices_.Steps();
    int finish = -1;
    for (PageKind kind : kinds) {
        if (kind == PageKind::Finish) finish = pageCount_;
        pages_[static_cast<size_t>(pageCount_++)] = CreateWizardPage(kind, this);
    }
    steps_ = StepSequencer(pageCount_, finish);
}

WizardPageBase* CWizardDialog::Page(int index) const { return IsPage(index) ? pages_[static_cast<size_t>(index)].get() : nullptr; }

bool CWizardDialog::HasNextPage() const {
    int current = steps_.Current();
    return current >= 0 && current + 1 < pageCount_ && pages_[static_cast<size_t>(current + 1)];
}

namespace {
// The one frame of the process, for the keyboard filter.
CWizardDialog* g_frame = nullptr;
constexpr UINT kFocusPageMessage = WM_APP + 25;
// The language box's place in the template's dialog units, left of the
// buttons; its height is that of its open list.
constexpr RECT kLanguageBoxUnits = {7, 201, 7 + 60, 201 + 50};

BOOL CALLBACK ForwardColourChange(HWND child, LPARAM) {
    ::SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
}  // namespace

BOOL CWizardDialog::OnInitDialog() {
    CDialogBase::OnInitDialog();
    if (!fullUi_) {
        mayShow_ = false;
        ShowWindow(SW_HIDE);
    }
    // The frame follows the DPI of its monitor with its own layout.
    fw::KeepOwnLayoutOnDpiChange(hwnd_);
    dialogFont_ = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    // Windows lays the template out for the DPI it is made at; the frame
    // takes the 96-DPI layout scaled instead, as its pages do.
    geometry_.Read(TemplateData(), TemplateSize());
    geometry_.AddControl(IDC_WIZARD_LANGUAGE, kLanguageBoxUnits);
    KeepFrameControls();
    geometry_.Apply(hwnd_, Dpi(), [this](int id) { return GetDlgItem(id); });
    if (Session().IsMultiLanguage()) MakeLanguageBox();
    pageBrush_.reset(::CreateSolidBrush(RGB(255, 255, 255)));
    highContrast_ = fw::HighContrastOn();
    SetIcons();
    fw::SetTextIfChanged(hwnd_, title_);
    // The page area is painted in the pages' colour (a system colour in
    // high contrast).
    fw::AddMessageFilter(GetDlgItem(IDC_WIZARD_PAGE_AREA), [this](HWND area, UINT message, WPARAM wParam,
                                                                  LPARAM) -> std::optional<LRESULT> {
        if (message != WM_ERASEBKGND && message != WM_PAINT) return std::nullopt;
        if (message == WM_ERASEBKGND) return 1;
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(area, &paint);
        ::FillRect(dc, &paint.rcPaint, PageBrush());
        ::EndPaint(area, &paint);
        return 0;
    });
    // Every page is made now; the first one's controls at once, the others'
    // when they are first shown (a quick start of the wizard).
    for (int i = 0; i < pageCount_ && !finishOnly_; ++i) {
        WizardPageBase* page = pages_[static_cast<size_t>(i)].get();
        if (!page) continue;
        if (i == 0) page->Create(GetDlgItem(IDC_WIZARD_PAGE_AREA), PageRect());
        page->Announce();
    }
    g_frame = this;
    keyboardFilter_.reset(::SetWindowsHookExW(WH_MSGFILTER, KeyboardFilter, nullptr, ::GetCurrentThreadId()));
    steps_.Start();
    if (finishOnly_) ShowFrame();
    if (IsPage(0)) ActivatePage(0);
    FocusPage();
    return FALSE;  // the focus is set
}

void CWizardDialog::MakeLanguageBox() {
    // Made only where a language can be chosen: each window costs the first
    // view its time, and a single-language installer never shows this one.
    RECT rect = geometry_.Control(IDC_WIZARD_LANGUAGE, Dpi());
    HWND box = CreateControl(L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, rect,
                             IDC_WIZARD_LANGUAGE, dialogFont_);
    for (auto& [id, control] : frameControls_)
        if (id == IDC_WIZARD_LANGUAGE) control = box;
    if (!box) {
        WriteLog(2, L"ZEL (c): The language box could not be made (%u).\r\n", ::GetLastError());
        return;
    }
    // Its place in the Tab order: after the page area and the line, before
    // the buttons.
    HWND before = ::GetWindow(GetDlgItem(IDC_WIZARD_BACK), GW_HWNDPREV);
    ::SetWindowPos(box, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The box has no label on the screen; a screen reader names it.
    fw::SetAccessibleName(box, [this] { return Strings().LoadLocalizedString(1370); });
}

void CWizardDialog::KeepFrameControls() {
    // One walk over the children instead of a search for each; the first
    // of an id counts, as for a search.
    for (auto& entry : frameControls_) entry.second = nullptr;
    ::EnumChildWindows(hwnd_, KeepFrameControl, reinterpret_cast<LPARAM>(this));
    frameControlsKept_ = true;
}

BOOL CALLBACK CWizardDialog::KeepFrameControl(HWND child, LPARAM param) {
    auto* frame = reinterpret_cast<CWizardDialog*>(param);
    if (::GetParent(child) != frame->hwnd_) return TRUE;
    int id = ::GetDlgCtrlID(child);
    for (auto& [controlId, control] : frame->frameControls_)
        if (controlId == id && !control) control = child;
    return TRUE;
}

HWND CWizardDialog::GetDlgItem(int id) const {
    if (hwnd_ && frameControlsKept_)
        for (const auto& [controlId, control] : frameControls_)
            if (controlId == id) return control;
    return CDialogBase::GetDlgItem(id);
}

void CWizardDialog::ActivatePage(int index) {
    WizardPageBase* page = pages_[static_cast<size_t>(index)].get();
    page->Create(GetDlgItem(IDC_WIZARD_PAGE_AREA), PageRect());
    page->Activate();
}

RECT CWizardDialog::PageRect() const {
    RECT area;
    ::GetClientRect(GetDlgItem(IDC_WIZARD_PAGE_AREA), &area);
    return {Scale(20), Scale(10), area.right - Scale(20), area.bottom - Scale(10)};
}

void CWizardDialog::PlacePages() {
    RECT pageRect = PageRect();
    for (int i = 0; i < pageCount_; ++i)
        if (WizardPageBase* page = pages_[static_cast<size_t>(i)].get(); page && *page)
            ::SetWindowPos(*page, nullptr, pageRect.left, pageRect.top, pageRect.right - pageRect.left,
                           pageRect.bottom - pageRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWizardDialog::SetIcons() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    bigIcon_ = fw::LoadIconAtSize(module, MAKEINTRESOURCEW(IDI_APP), fw::SystemMetricForDpi(SM_CXICON, Dpi()));
    smallIcon_ = fw::LoadIconAtSize(module, MAKEINTRESOURCEW(IDI_APP), fw::SystemMetricForDpi(SM_CXSMICON, Dpi()));
    // The small one first: a window given only a big icon has a small one
    // scaled from it, made for nothing here.
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
}

void CWizardDialog::ApplyDpi(UINT dpi) {
    MakeFontsForDpi(dpi);
    fw::DialogTemplateLayout layout;
    if (fw::ReadDialogTemplate(TemplateData(), TemplateSize(), layout)) {
        fw::GdiObject font(fw::CreateTemplateFont(layout, dpi));
        ReplaceFontInControls(dialogFont_, static_cast<HFONT>(font.get()));
        dialogFont_ = static_cast<HFONT>(font.get());
        ownDialogFont_ = std::move(font);
    }
    geometry_.Apply(hwnd_, dpi, [this](int id) { return GetDlgItem(id); });
    PlacePages();
    SetIcons();
    for (int i = 0; i < pageCount_; ++i)
        if (WizardPageBase* page = pages_[static_cast<size_t>(i)].get(); page && *page) page->LayOut();
    if (IsPage(steps_.Current())) UpdateFrameTexts();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

int CWizardDialog::Scale(int pixels) const { return fw::ScaleToDpi(pixels, Dpi()); }

HBRUSH CWizardDialog::PageBrush() const {
    return highContrast_ ? ::GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(pageBrush_.get());
}

COLORREF CWizardDialog::PageColour() const { return highContrast_ ? ::GetSysColor(COLOR_WINDOW) : RGB(255, 255, 255); }

void CWizardDialog::RefreshColours() {
    highContrast_ = fw::HighContrastOn();
    for (int i = 0; i < pageCount_; ++i)
        if (WizardPageBase* page = pages_[static_cast<size_t>(i)].get(); page && *page) page->OnColoursChanged();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CWizardDialog::FocusControl(HWND control) {
    if (control) ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void CWizardDialog::FocusPage() {
    WizardPageBase* page = Page(steps_.Current());
    if (!fullUi_ || ended_ || !page || !page->IsWindowVisible()) return;
    FocusControl(page->FocusControl());
}

LRESULT CALLBACK CWizardDialog::KeyboardFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    // Ctrl+Tab switches within the page (the service page's tabs), as in
    // the system's property sheets.
    if (code == MSGF_DIALOGBOX && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
        (::GetKeyState(VK_CONTROL) & 0x8000) && g_frame && g_frame->hwnd_ &&
        (msg->hwnd == g_frame->hwnd_ || ::IsChild(g_frame->hwnd_, msg->hwnd))) {
        WizardPageBase* page = g_frame->Page(g_frame->steps_.Current());
        if (page && page->IsWindowVisible() && page->OnCtrlTab((::GetKeyState(VK_SHIFT) & 0x8000) != 0)) return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CWizardDialog::ShowFrame() {
    mayShow_ = true;
    ShowWindow(SW_SHOW);
    HWND top = ::GetAncestor(hwnd_, GA_ROOT);
    ::SetForegroundWindow(top);
    ::SetActiveWindow(top);
}

void CWizardDialog::OnOK() {
    if (WizardPageBase* page = Page(steps_.Current())) {
        bool ok = page->QueryNext();
        page->Deactivate();
        steps_.Next(ok);
    }
    const SetupOutcome& outcome = Session().Outcome();
    if (outcome.code != 0 && !outcome.reported) {
        Session().ReportOutcome();
        if (steps_.JumpToFinishAfterFailure() && !unattended_) ShowFrame();
    }
    if (Page(steps_.Current())) {
        EnableDlgItem(IDC_WIZARD_BACK, true);
        ActivatePage(steps_.Current());
        FocusPage();
    } else {
        ended_ = true;
        EndDialog(IDOK);
    }
}

void CWizardDialog::OnBackButton() {
    WizardPageBase* page = Page(steps_.Current());
    if (!page || !page->QueryBack()) return;
    page->Deactivate();
    if (!steps_.Back()) {
        OnCancel();
        return;
    }
    if (steps_.AtFirst()) EnableDlgItem(IDC_WIZARD_BACK, false);
    ActivatePage(steps_.Current());
    FocusPage();
}

void CWizardDialog::OnCancel() {
    if (WizardPageBase* page = Page(steps_.Current())) {
        if (!page->QueryCancel()) return;
        page->Deactivate();
    }
    if (steps_.CancelEndsRun()) {
        ended_ = true;
        EndDialog(IDCANCEL);
        return;
    }
    const SetupOutcome& outcome = Session().Outcome();
    if (outcome.code != 0 && !outcome.reported) Session().ReportOutcome();
    steps_.ToFinish();
    ActivatePage(steps_.Current());
    FocusPage();
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
    WizardPageBase* page = Page(steps_.Current());
    if (page) page->ShowWindow(SW_HIDE);
    UpdateFrameTexts();
    if (page) page->ShowWindow(SW_SHOW);
}

void CWizardDialog::UpdateFrameTexts() {
    std::wstring product = Session().ReadCatalogueString(L"PRODUCT_NAME_0");
    fw::SetTextIfChanged(hwnd_, fw::Format(Strings().LoadLocalizedString(1).c_str(), product.c_str()));
    fw::SetTextIfChanged(GetDlgItem(IDOK), Strings().LoadLocalizedString(54));
    fw::SetTextIfChanged(GetDlgItem(IDCANCEL), Strings().LoadLocalizedString(57));
    fw::SetTextIfChanged(GetDlgItem(IDC_WIZARD_BACK), Strings().LoadLocalizedString(56));
    if (Session().IsMultiLanguage()) {
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
    if (WizardPageBase* page = Page(steps_.Current())) {
        page->UpdateTexts();
        page->LayOut();
    }
}

void CWizardDialog::RecordCancel() { Session().SetOutcome(outcome::kCancelled, ERROR_INSTALL_USEREXIT); }

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
    switch (message) {
        case WM_WINDOWPOSCHANGING:
            // A hidden frame stays hidden, even when the modal loop shows the
            // dialog at its first idle moment.
            if (!mayShow_) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
            return false;
        case WM_GETDPISCALEDSIZE: {
            // The size the frame will take at the new DPI, so that Windows
            // suggests a rectangle that fits it.
            *reinterpret_cast<SIZE*>(lParam) = geometry_.WindowSize(hwnd_, LOWORD(wParam));
            result = TRUE;
            return true;
        }
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ApplyDpi(LOWORD(wParam));
            if (suggested)
                ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            result = 0;
            return true;
        }
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) RefreshColours();
            return false;
        case WM_SYSCOLORCHANGE:
            // The common controls learn of new colours only from their
            // top-level window.
            ::EnumChildWindows(hwnd_, ForwardColourChange, 0);
            RefreshColours();
            return false;
        case WM_ACTIVATE:
            // The first activation may move the focus to the frame's first
            // control that takes input; the page's control takes it again.
            if (LOWORD(wParam) != WA_INACTIVE && !activated_) {
                activated_ = true;
                ::PostMessageW(hwnd_, kFocusPageMessage, 0, 0);
            }
            return false;
        case kFocusPageMessage:
            FocusPage();
            result = 0;
            return true;
        case WM_DESTROY:
            keyboardFilter_.reset();
            if (g_frame == this) g_frame = nullptr;
            return false;
        default:
            return CDialogBase::OnMessage(message, wParam, lParam, result);
    }
}
