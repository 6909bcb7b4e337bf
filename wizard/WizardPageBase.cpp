#include "wizard/WizardPageBase.h"

#include "engine/Log.h"
#include "framework/Dpi.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

WizardPageBase::WizardPageBase(CWizardDialog* wizard, PageKind kind)
    : wizard_(wizard), kind_(kind), pageName_(StepName(kind)), strings_(&wizard->Session().Languages()) {}

std::wstring WizardPageBase::Text(UINT id) const { return strings_->LoadLocalizedString(id); }

void WizardPageBase::Activate() {
    WriteLog(3, L"ZEL (c): Activating dialog %s\r\n", pageName_.c_str());
    ::ShowWindow(wizard_->GetDlgItem(IDC_WIZARD_LANGUAGE), SW_HIDE);
    for (int id : {IDC_WIZARD_BACK, IDOK, IDCANCEL}) wizard_->EnableDlgItem(id, true);
    Prepare();
    // Preparing may have ended the wizard or moved it to another page (a
    // Cancel from inside Prepare); what follows belongs to that page now.
    if (!wizard_->IsActivePage(this)) return;
    wizard_->UpdateFrameTexts();
    WizardSession& app = wizard_->Session();
    if (PassesStepThrough(kind_, wizard_->FullUi(), !app.QuickInstallList().empty(), app.Catalogue().size()))
        wizard_->OnOK();
}

void WizardPageBase::Announce() {
    OnAnnounced();
    WriteLog(3, L"ZEL (c): Deactivating dialog %s\r\n", pageName_.c_str());
}

void WizardPageBase::Create(HWND area, const RECT& rect) {
    if (!hwnd_) CreateChild(area, rect, WS_CHILD, WS_EX_CONTROLPARENT, IDC_WIZARD_PAGE);
}

void WizardPageBase::Deactivate() {
    // The page was left once when it was made (Announce); its controls,
    // made later, are hidden without a line.
    if (made_) WriteLog(3, L"ZEL (c): Deactivating dialog %s\r\n", pageName_.c_str());
    ShowWindow(SW_HIDE);
}

bool WizardPageBase::QueryCancel() {
    wizard_->RecordCancel();
    return true;
}

LRESULT WizardPageBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT result = Default(message, wParam, lParam);
            RECT rect;
            ::GetWindowRect(hwnd_, &rect);
            CreateControls(hwnd_, rect.right - rect.left, rect.bottom - rect.top);
            LayOut();
            Deactivate();
            made_ = true;
            return result;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: {
            // Texts and check boxes sit on the page's colour: white, or the
            // system's window colour with its text colour in high contrast.
            auto dc = reinterpret_cast<HDC>(wParam);
            if (wizard_->HighContrast()) ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, wizard_->PageColour());
            return reinterpret_cast<LRESULT>(wizard_->PageBrush());
        }
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(hwnd_, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, wizard_->PageBrush());
            return 1;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
            // Controls of a page talk to the page; what the page does not
            // handle goes on to the frame (Enter, Escape).
            if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && lParam == 0)
                return ::SendMessageW(*wizard_, message, wParam, lParam);
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
    }
}

int WizardPageBase::Scale(int pixels) const { return fw::ScaleToDpi(pixels, wizard_->Dpi()); }

SIZE WizardPageBase::ClientSize() const {
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(hwnd_, &client);
    return {client.right, client.bottom};
}

HWND WizardPageBase::AddControl(const wchar_t* className, const std::wstring& text, DWORD style,
                                const fw::DesignRect& rect, int id, HFONT font, fw::FlowLayout::Kind kind) {
    SIZE size = ClientSize();
    HWND control = CreateControl(className, text, style, fw::PlaceRect(rect, size.cx, size.cy, wizard_->Dpi()), id, font);
    if (control) layout_.Add(control, rect, kind);
    return control;
}

void WizardPageBase::LayOut() {
    SIZE size = ClientSize();
    layout_.Apply(size.cx, size.cy, wizard_->Dpi());
}

HWND WizardPageBase::FocusControl() const {
    HWND next = wizard_->GetDlgItem(IDOK);
    if (::IsWindowVisible(next) && ::IsWindowEnabled(next)) return next;
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) return child;
    }
    return wizard_->GetDlgItem(IDCANCEL);
}

namespace {
RECT MeasureText(HWND control, UINT flags) {
    RECT rect;
    ::GetClientRect(control, &rect);
    std::wstring text = fw::WindowText(control);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return rect;
}
}  // namespace

RECT WizardPageBase::GetRectInParent(HWND control) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void WizardPageBase::MoveBy(HWND control, int dx, int dy) {
    RECT rect = GetRectInParent(control);
    ::SetWindowPos(control, nullptr, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int WizardPageBase::FitHeightToText(HWND control) const {
    RECT before = GetRectInParent(control);
    RECT measured = MeasureText(control, DT_CALCRECT | DT_WORDBREAK);
    int height = measured.bottom - measured.top;
    ::SetWindowPos(control, nullptr, 0, 0, before.right - before.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return height - (before.bottom - before.top);
}

int WizardPageBase::FitWidthToText(HWND control, bool singleLine) const {
    RECT before = GetRectInParent(control);
    RECT measured = MeasureText(control, DT_CALCRECT | (singleLine ? DT_SINGLELINE : 0));
    int width = measured.right - measured.left;
    ::SetWindowPos(control, nullptr, 0, 0, width, before.bottom - before.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return width - (before.right - before.left);
}
