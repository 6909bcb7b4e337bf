#include "server/ServiceConfigurationWizardPage.h"

#include <commctrl.h>
#include <richedit.h>

#include "framework/MessageBox.h"
#include "framework/RichEditText.h"
#include "framework/Text.h"
#include "icbs/PasswordCrypto.h"
#include "launcher/SetupApp.h"
#include "resources/ResourceIds.h"
#include "server/CommandLineItem.h"
#include "server/ConnectionDetailsDialog.h"
#include "server/PasswordDialog.h"
#include "server/ServiceCommandLine.h"
#include "server/ServiceDetailsDialog.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceMachineState.h"
#include "server/ServicePropertyString.h"
#include "server/ServiceSummary.h"
#include "wizard/WizardDialog.h"

using namespace service_config;

namespace {
bool PackageSelected(const void* context, size_t index) {
    const PackageCatalogue& catalogue = *static_cast<const PackageCatalogue*>(context);
    return index < catalogue.size() && catalogue[index]->selected;
}

std::wstring Encrypt(const std::wstring& plain) { return icbs::EncryptPassword(plain); }

constexpr int kIntroHeight = 30;
constexpr int kTitleHeight = 14;
constexpr int kSummaryHeight = 28;  // two lines
constexpr int kSectionPitch = 44;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 22;
constexpr UINT kChangeTexts[] = {1172, 1174, 1176};
}  // namespace

ServiceConfigurationWizardPage::ServiceConfigurationWizardPage(CWizardDialog* wizard)
    : WizardPageBase(wizard, L"ServiceConfiguration"), entries_(ReadServiceEntries(CSetupApp::Current()->Catalogue())) {}

// The dialogs are complete types here.
ServiceConfigurationWizardPage::~ServiceConfigurationWizardPage() = default;

void ServiceConfigurationWizardPage::CreateControls(HWND, int width, int height) {
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    intro_ = CreateControl(L"STATIC", L"", text, {0, 2, width, 2 + kIntroHeight}, IDC_SERVICE_INTRO, wizard_->TextFont());
    tabs_.Create(hwnd_, {0, kIntroHeight + 4, width, height}, IDC_SERVICE_TABS, wizard_->TextFont());
    // The tabs' height is known once a tab exists; a placeholder measures it.
    tabs_.InsertItem(0, L"M", -1);
    sectionArea_ = tabs_.DisplayRect();
    ::SendMessageW(tabs_.GetSafeHwnd(), TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < 3; ++i) {
        Section& section = sections_[static_cast<size_t>(i)];
        section.title = CreateControl(L"STATIC", L"", text, {0, 0, 10, kTitleHeight}, IDC_SERVICE_TITLE_FIRST + i,
                                      wizard_->SmallHeadingFont());
        section.summary = CreateControl(RICHEDIT_CLASSW, L"", WS_VISIBLE | ES_MULTILINE | ES_READONLY, {0, 0, 10, 10},
                                        IDC_SERVICE_SUMMARY_FIRST + i, wizard_->TextFont());
        ::SendMessageW(section.summary, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
        section.change = CreateControl(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, {0, 0, 10, 10},
                                       IDC_SERVICE_CHANGE_FIRST + i, wizard_->TextFont());
    }
    // The sections lie on the tab control's display area, above it: the
    // tab control, clipping its siblings, never paints over them.
    ::SetWindowPos(tabs_.GetSafeHwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ServiceConfigurationWizardPage::LayOutSections(const std::array<bool, 3>& shown) {
    int left = sectionArea_.left + 8, right = sectionArea_.right - 8;
    int top = sectionArea_.top + 4;
    for (size_t i = 0; i < 3; ++i) {
        const Section& section = sections_[i];
        int show = shown[i] ? SW_SHOW : SW_HIDE;
        for (HWND control : {section.title, section.summary, section.change}) ::ShowWindow(control, show);
        if (!shown[i]) continue;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        ::SetWindowPos(section.title, nullptr, left, top, right - left - kButtonWidth - 8, kTitleHeight, flags);
        ::SetWindowPos(section.summary, nullptr, left + 8, top + kTitleHeight, right - left - kButtonWidth - 16,
                       kSummaryHeight, flags);
        ::SetWindowPos(section.change, nullptr, right - kButtonWidth, top + 8, kButtonWidth, kButtonHeight, flags);
        top += kSectionPitch;
    }
}

void ServiceConfigurationWizardPage::InsertTabs() {
    const PackageCatalogue& catalogue = CSetupApp::Current()->Catalogue();
    int tab = 0;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (PackageSelected(&catalogue, entries_[i].packageIndex))
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
    LayOutSections(shown);
}

void ServiceConfigurationWizardPage::Prepare() {
    if (!prepared_) {
        prepared_ = true;
        for (ServiceSettings& entry : entries_)
            if (entry.captionId != 0) entry.caption = Text(entry.captionId);
        LinkEntries(entries_);
        InsertTabs();
        ApplyCommandLineProperties(entries_, CSetupApp::Current()->CommandLine().properties);
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
    CSetupApp& app = *CSetupApp::Current();
    WriteLog(1, L"ZEL (c): The %s could not be created (%u)\r\n", dialog.c_str(), ::GetLastError());
    fw::ShowMessageBox(app.IsSilent(), L"Error Creating Dialog Object", MB_ICONEXCLAMATION);
    return false;
}

void ServiceConfigurationWizardPage::OnChange(int section) {
    ServiceSettings* entry = SelectedEntry();
    // Nobody could answer a dialog in an unattended run.
    if (!entry || !wizard_->FullUi()) return;
    CSetupApp* app = CSetupApp::Current();
    HWND owner = ::GetAncestor(hwnd_, GA_ROOT);
    INT_PTR answer = -1;
    if (section == kServiceSection) {
        if (!serviceDialog_) serviceDialog_ = std::make_unique<CServiceDetailsDlg>(app);
        answer = serviceDialog_->Edit(owner, *entry);
    } else {
        if (!connectionDialog_) connectionDialog_ = std::make_unique<CConnectionDetailsDlg>(app);
        size_t linked = entry->linkedIndex < entries_.size() ? entry->linkedIndex : static_cast<size_t>(entry - entries_.data());
        auto mode = section == kSslSection ? CConnectionDetailsDlg::Mode::Ssl : CConnectionDetailsDlg::Mode::Unencrypted;
        answer = connectionDialog_->Edit(owner, mode, *entry, entries_[linked]);
    }
    if (DialogCreated(answer, L"dialog for service " + entry->serviceName) && answer == IDOK) UpdateTexts();
}

bool ServiceConfigurationWizardPage::ObtainMissingPasswords() {
    CSetupApp& app = *CSetupApp::Current();
    const PackageCatalogue& catalogue = app.Catalogue();
    size_t missing = FirstMissingPassword(entries_, PackageSelected, &catalogue);
    if (missing == entries_.size()) return true;
    while (missing < entries_.size()) {
        ServiceSettings& entry = entries_[missing];
        if (!wizard_->FullUi()) {
            // Nobody could type it: the command line lacks a property.
            WriteLog(1, L"ZEL (c): No password for the logon account of service %s: set %s_Service_Password\r\n",
                     entry.serviceName.c_str(), entry.ServicePrefix().c_str());
            app.SetOutcome(ERROR_INVALID_COMMAND_LINE, ERROR_INVALID_COMMAND_LINE);
            return false;
        }
        CPasswordDialog dialog(&app, entry.displayName, entry.userName);
        INT_PTR answer = dialog.DoModal(::GetAncestor(hwnd_, GA_ROOT));
        if (!DialogCreated(answer, L"password dialog for service " + entry.serviceName)) return false;
        if (answer != IDOK || dialog.Password().empty()) return false;
        entry.password = dialog.Password();
        missing = FirstMissingPassword(entries_, PackageSelected, &catalogue);
    }
    return true;
}

bool ServiceConfigurationWizardPage::QueryNext() {
    if (!ObtainMissingPasswords()) return false;
    CSetupApp& app = *CSetupApp::Current();
    const PackageCatalogue& catalogue = app.Catalogue();
    ServiceProperties properties = ComposeServiceProperties(entries_, PackageSelected, &catalogue, Encrypt);
    // No password goes on as typed: every password item leaves the command
    // line, passed on encrypted or not at all.
    std::vector<std::wstring> removed = properties.names;
    for (const std::wstring& name : PasswordPropertyNames(entries_)) removed.push_back(name);
    server_items::RemoveNamedItems(app.CommandLine().properties, removed);
    if (!properties.unencrypted.empty()) {
        for (const std::wstring& name : properties.unencrypted)
            WriteLog(1, L"ZEL (c): Cannot encrypt the password for %s (no key of the base cryptographic provider); "
                        L"it is not passed on\r\n", name.c_str());
        app.SetOutcome(ERROR_INVALID_COMMAND_LINE, ERROR_INVALID_COMMAND_LINE);
        return false;
    }
    wizard_->serviceProperties = properties.text;
    return true;
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
