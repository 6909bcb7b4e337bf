#include "wizard/ServiceConfigurationWizardPage.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "engine/Log.h"
#include "framework/AccessibleName.h"
#include "framework/FlowLayout.h"
#include "framework/MessageBox.h"
#include "framework/MessageFilter.h"
#include "framework/RichEditText.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "resources/ResourceIds.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceSummary.h"
#include "wizard/ConnectionDetailsDialog.h"
#include "wizard/PasswordDialog.h"
#include "wizard/ServiceDetailsDialog.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

using namespace service_config;

namespace {
constexpr int kIntroHeight = 30;
constexpr int kTitleHeight = 14;
constexpr int kSectionGap = 15;  // at most, between two sections
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 22;
constexpr UINT kChangeTexts[] = {1172, 1174, 1176};
constexpr UINT kChangeNames[] = {1371, 1372, 1373};

// The summaries take the focus as read-only texts: Tab, Enter and Escape
// stay the dialog's, and the text is not selected on the way in.
std::optional<LRESULT> ReadOnlyDialogCode(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GETDLGCODE) return std::nullopt;
    LRESULT code = ::DefWindowProcW(control, message, wParam, lParam);
    code |= DLGC_WANTARROWS | DLGC_WANTCHARS;
    return code & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
}

int LineHeight(HWND control) {
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return metrics.tmHeight;
}
}  // namespace

ServiceConfigurationWizardPage::ServiceConfigurationWizardPage(CWizardDialog* wizard)
    : WizardPageBase(wizard, PageKind::ServiceConfiguration), step_(wizard_->Session()),
      entries_(step_.Entries()) {}

// The dialogs are complete types here.
ServiceConfigurationWizardPage::~ServiceConfigurationWizardPage() = default;

void ServiceConfigurationWizardPage::CreateControls(HWND, int width, int height) {
    // The summaries' rich-edit controls: the one page that has them loads
    // their library, which stays loaded.
    static HMODULE richEdit = fw::LoadSystemLibrary(L"riched20.dll");
    (void)richEdit;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    intro_ = AddControl(L"STATIC", L"", text, {fw::At(0), fw::At(2), fw::FromEnd(0), fw::At(2 + kIntroHeight)},
                        IDC_SERVICE_INTRO, wizard_->TextFont());
    tabs_.Create(hwnd_, {0, Scale(kIntroHeight + 4), width, height}, IDC_SERVICE_TABS, wizard_->TextFont());
    // The sections lie on the tab control's display area, which the control
    // leaves to them; it comes first in the Tab order, as it stands first.
    tabs_.LeaveDisplayAreaToSiblings(true);
    for (int i = 0; i < 3; ++i) {
        Section& section = sections_[static_cast<size_t>(i)];
        section.title = CreateControl(L"STATIC", L"", text, {0, 0, 10, 10}, IDC_SERVICE_TITLE_FIRST + i,
                                      wizard_->SmallHeadingFont());
        section.summary = CreateControl(RICHEDIT_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY,
                                        {0, 0, 10, 10}, IDC_SERVICE_SUMMARY_FIRST + i, wizard_->TextFont());
        fw::AddMessageFilter(section.summary, ReadOnlyDialogCode);
        // A screen reader names each summary by its section, and each
        // "Change..." button by what it changes.
        fw::SetAccessibleName(section.summary, [title = section.title] { return fw::WindowText(title); });
        section.change = CreateControl(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, {0, 0, 10, 10},
                                       IDC_SERVICE_CHANGE_FIRST + i, wizard_->TextFont());
        fw::SetAccessibleName(section.change, [this, i] {
            const ServiceSettings* entry = SelectedEntry();
            return fw::Format(Text(kChangeNames[i]).c_str(), entry ? entry->caption.c_str() : L"");
        });
    }
    OnColoursChanged();
}

void ServiceConfigurationWizardPage::LayOut() {
    WizardPageBase::LayOut();
    SIZE size = ClientSize();
    RECT intro = GetRectInParent(intro_);
    ::SetWindowPos(tabs_.GetSafeHwnd(), nullptr, 0, intro.bottom + Scale(2), size.cx,
                   std::max(0, static_cast<int>(size.cy - intro.bottom - Scale(2))), SWP_NOZORDER | SWP_NOACTIVATE);
    // The tabs' height is known once a tab exists; a placeholder measures it.
    bool placeholder = tabs_.GetItemCount() == 0;
    if (placeholder) tabs_.InsertItem(0, L"M", -1);
    sectionArea_ = tabs_.DisplayRect();
    if (placeholder) ::SendMessageW(tabs_.GetSafeHwnd(), TCM_DELETEALLITEMS, 0, 0);
    tabs_.LeaveDisplayAreaToSiblings(true);
    LayOutSections();
}

void ServiceConfigurationWizardPage::LayOutSections() {
    int left = sectionArea_.left + Scale(8), right = sectionArea_.right - Scale(8);
    int buttonWidth = Scale(kButtonWidth), buttonHeight = Scale(kButtonHeight);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    // Each section as high as its title and its summary's lines; the gaps
    // share what the display area leaves, up to about a line's height.
    std::array<int, 3> heights = {0, 0, 0};
    int used = 0, shown = 0;
    for (size_t i = 0; i < 3; ++i) {
        const Section& section = sections_[i];
        if (!(::GetWindowLongW(section.title, GWL_STYLE) & WS_VISIBLE)) continue;
        int titleHeight = std::max(Scale(kTitleHeight), fw::TextHeight(section.title, right - left - buttonWidth - Scale(8)));
        ::SetWindowPos(section.summary, nullptr, 0, 0, right - left - buttonWidth - Scale(16), Scale(28),
                       SWP_NOMOVE | flags);
        int lines = std::max(1, static_cast<int>(::SendMessageW(section.summary, EM_GETLINECOUNT, 0, 0)));
        heights[i] = titleHeight + lines * LineHeight(section.summary) + Scale(2);
        used += heights[i];
        ++shown;
    }
    int top = sectionArea_.top + Scale(4);
    int free = sectionArea_.bottom - Scale(2) - top - used;
    int gap = shown > 1 ? std::clamp(free / (shown - 1), 0, Scale(kSectionGap)) : 0;
    for (size_t i = 0; i < 3; ++i) {
        const Section& section = sections_[i];
        if (!heights[i]) continue;
        int titleHeight = std::max(Scale(kTitleHeight), fw::TextHeight(section.title, right - left - buttonWidth - Scale(8)));
        ::SetWindowPos(section.title, nullptr, left, top, right - left - buttonWidth - Scale(8), titleHeight, flags);
        ::SetWindowPos(section.summary, nullptr, left + Scale(8), top + titleHeight, right - left - buttonWidth - Scale(16),
                       heights[i] - titleHeight, flags);
        ::SetWindowPos(section.change, nullptr, right - buttonWidth, top + (heights[i] - buttonHeight) / 2, buttonWidth,
                       buttonHeight, flags);
        top += heights[i] + gap;
    }
}

void ServiceConfigurationWizardPage::ShowSections(const std::array<bool, 3>& shown) {
    for (size_t i = 0; i < 3; ++i) {
        const Section& section = sections_[i];
        for (HWND control : {section.title, section.summary, section.change})
            ::ShowWindow(control, shown[i] ? SW_SHOW : SW_HIDE);
    }
}

void ServiceConfigurationWizardPage::OnColoursChanged() {
    // In high contrast the summaries take the system's colours; otherwise
    // they are white, as the page.
    bool contrast = wizard_->HighContrast();
    tabs_.SetHighContrast(contrast);
    for (const Section& section : sections_)
        fw::SetRichEditColours(section.summary, contrast ? ::GetSysColor(COLOR_WINDOWTEXT) : fw::kAutomaticColour,
                               wizard_->PageColour());
}

bool ServiceConfigurationWizardPage::OnCtrlTab(bool backwards) {
    int count = tabs_.GetItemCount();
    if (count < 2) return false;
    tabs_.SetCurSel((tabs_.GetCurSel() + (backwards ? count - 1 : 1)) % count);
    UpdateTexts();
    LayOut();
    return true;
}

void ServiceConfigurationWizardPage::InsertTabs() {
    int tab = 0;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (step_.Selected(entries_[i]))
            tabs_.InsertItem(tab++, entries_[i].caption, static_cast<LPARAM>(i));
    if (tab > 0) tabs_.SetCurSel(0);
}

ServiceSettings* ServiceConfigurationWizardPage::SelectedEntry() {
    LPARAM index = tabs_.GetItemData(tabs_.GetCurSel(), -1);
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return nullptr;
    return &entries_[static_cast<size_t>(index)];
}

void ServiceConfigurationWizardPage::UpdateTexts() {
    ::SetWindowTextW(intro_, Text(1167).c_str());
    for (int tab = 0; tab < tabs_.GetItemCount(); ++tab) {
        LPARAM index = tabs_.GetItemData(tab, -1);
        if (index < 0 || static_cast<size_t>(index) >= entries_.size()) continue;
        ServiceSettings& entry = entries_[static_cast<size_t>(index)];
        if (entry.captionId != 0) entry.caption = Text(entry.captionId);
        tabs_.SetItemText(tab, entry.caption);
    }
    std::array<bool, 3> shown = {false, false, false};
    if (const ServiceSettings* entry = SelectedEntry()) {
        auto summaries = ComposeSummaries(*entry, [this](UINT id) { return Text(id); });
        for (size_t i = 0; i < 3; ++i) {
            shown[i] = summaries[i].shown;
            if (!shown[i]) continue;
            ::SetWindowTextW(sections_[i].title, summaries[i].title.c_str());
            fw::ShowRuns(sections_[i].summary, summaries[i].runs);
            ::SetWindowTextW(sections_[i].change, Text(kChangeTexts[i]).c_str());
        }
    }
    ShowSections(shown);
    LayOutSections();
}

void ServiceConfigurationWizardPage::Prepare() {
    if (!step_.Prepared()) {
        step_.Prepare([this](UINT id) { return Text(id); }, wizard_->Choices().CommandLineItems());
        InsertTabs();
    }
    ::ShowWindow(intro_, SW_SHOW);
    ::ShowWindow(tabs_.GetSafeHwnd(), SW_SHOW);
    if (wizard_->FullUi()) ShowWindow(SW_SHOW);
}

void ServiceConfigurationWizardPage::Deactivate() {
    ::ShowWindow(intro_, SW_HIDE);
    ::ShowWindow(tabs_.GetSafeHwnd(), SW_HIDE);
    for (const Section& section : sections_)
        for (HWND control : {section.title, section.summary, section.change}) ::ShowWindow(control, SW_HIDE);
    WizardPageBase::Deactivate();
}

bool ServiceConfigurationWizardPage::DialogCreated(INT_PTR answer, const std::wstring& dialog) const {
    if (answer != -1) return true;
    WizardSession& app = wizard_->Session();
    WriteLog(1, L"ZEL (c): The %s could not be created (%u)\r\n", dialog.c_str(), ::GetLastError());
    fw::ShowMessageBox(app.CommandLine().IsSilent(), L"Error Creating Dialog Object", MB_ICONEXCLAMATION);
    return false;
}

void ServiceConfigurationWizardPage::OnChange(int section) {
    ServiceSettings* entry = SelectedEntry();
    // Nobody could answer a dialog in an unattended run.
    if (!entry || !wizard_->FullUi()) return;
    WizardSession* app = &wizard_->Session();
    HWND owner = ::GetAncestor(hwnd_, GA_ROOT);
    INT_PTR answer = -1;
    if (section == kServiceSection) {
        if (!serviceDialog_) serviceDialog_ = std::make_unique<CServiceDetailsDlg>(app->Languages());
        answer = serviceDialog_->Edit(owner, *entry);
    } else {
        if (!connectionDialog_) connectionDialog_ = std::make_unique<CConnectionDetailsDlg>(app->Languages());
        size_t linked = entry->linkedIndex < entries_.size() ? entry->linkedIndex : static_cast<size_t>(entry - entries_.data());
        auto mode = section == kSslSection ? CConnectionDetailsDlg::Mode::Ssl : CConnectionDetailsDlg::Mode::Unencrypted;
        answer = connectionDialog_->Edit(owner, mode, *entry, entries_[linked]);
    }
    // The frame, active again, gives the focus back to the button.
    if (DialogCreated(answer, L"dialog for service " + entry->serviceName) && answer == IDOK) UpdateTexts();
}

bool ServiceConfigurationWizardPage::ObtainMissingPasswords() {
    WizardSession& app = wizard_->Session();
    size_t missing = step_.FirstMissingPassword();
    while (missing < entries_.size()) {
        ServiceSettings& entry = entries_[missing];
        if (!wizard_->FullUi()) {
            step_.RefuseMissingPassword(missing);
            return false;
        }
        CPasswordDialog dialog(app.Languages(), entry.displayName, entry.userName);
        INT_PTR answer = dialog.DoModal(::GetAncestor(hwnd_, GA_ROOT));
        if (!DialogCreated(answer, L"password dialog for service " + entry.serviceName)) return false;
        if (answer != IDOK || dialog.Password().empty()) return false;
        entry.password = dialog.Password();
        missing = step_.FirstMissingPassword();
    }
    return true;
}

bool ServiceConfigurationWizardPage::QueryNext() {
    if (!ObtainMissingPasswords()) return false;
    return step_.Compose(wizard_->Choices());
}

LRESULT ServiceConfigurationWizardPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == tabs_.GetSafeHwnd() && header->code == TCN_SELCHANGE) {
            UpdateTexts();
            return 0;
        }
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= IDC_SERVICE_CHANGE_FIRST &&
        LOWORD(wParam) < IDC_SERVICE_CHANGE_FIRST + 3) {
        OnChange(LOWORD(wParam) - IDC_SERVICE_CHANGE_FIRST);
        return 0;
    }
    return WizardPageBase::WindowProc(message, wParam, lParam);
}
