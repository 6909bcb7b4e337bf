#include "wizard/ClusterConfigurationWizardPage.h"

#include "framework/Window.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

using namespace cluster_config;

ClusterConfigurationWizardPage::ClusterConfigurationWizardPage(CWizardDialog* wizard)
    : WizardPageBase(wizard, PageKind::ClusterConfiguration) {}

void ClusterConfigurationWizardPage::CreateControls(HWND, int, int) {
    using fw::At;
    using fw::FromEnd;
    using Kind = fw::FlowLayout::Kind;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    // Title and subtitle, the three roles with the master's port beside
    // its radio button, and the role's description: three lines of it
    // fit below the roles in every language.
    title_ = AddControl(L"STATIC", L"", text, {At(0), At(20), FromEnd(0), At(39)}, -1, wizard_->HeadingFont());
    subtitle_ = AddControl(L"STATIC", L"", text, {At(0), At(44), FromEnd(0), At(62)}, -1, wizard_->TextFont());
    const int ids[] = {IDC_CLUSTER_STANDALONE, IDC_CLUSTER_MASTER, IDC_CLUSTER_WORKER};
    for (int i = 0; i < 3; ++i) {
        DWORD style = WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0);
        radios_[i] = AddControl(L"BUTTON", L"", style, {At(18), At(66 + 20 * i), At(220), At(85 + 20 * i)}, ids[i],
                                wizard_->TextFont(), Kind::Fixed);
    }
    // The port's label names the box for a screen reader: it stands right
    // before it.
    portLabel_ = AddControl(L"STATIC", L"", text, {At(240), At(88), At(340), At(105)}, -1, wizard_->TextFont());
    port_ = AddControl(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL,
                       {At(345), At(86), At(420), At(106)}, IDC_CLUSTER_PORT, wizard_->TextFont(), Kind::Fixed);
    description_ = AddControl(L"STATIC", L"", text, {At(0), At(132), FromEnd(0), FromEnd(0)}, -1, wizard_->TextFont());
}

void ClusterConfigurationWizardPage::OnAnnounced() { step_.ReadConfiguration(wizard_->Session().Catalogue()); }

void ClusterConfigurationWizardPage::UpdateTexts() {
    ::SetWindowTextW(title_, Text(1341).c_str());
    ::SetWindowTextW(subtitle_, Text(1342).c_str());
    const UINT radioTexts[] = {1335, 1336, 1337};
    for (int i = 0; i < 3; ++i) {
        ::SetWindowTextW(radios_[i], Text(radioTexts[i]).c_str());
        ::SendMessageW(radios_[i], BM_SETCHECK, settings_.role == i ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ::SetWindowTextW(portLabel_, Text(1338).c_str());
    const UINT descriptions[] = {1334, 1339, 1340};
    ::SetWindowTextW(description_, Text(descriptions[settings_.role]).c_str());
    int show = settings_.role == kMaster ? SW_SHOW : SW_HIDE;
    ::ShowWindow(portLabel_, show);
    ::ShowWindow(port_, show);
    ::SetWindowTextW(port_, settings_.masterPort.c_str());
    LayOut();
}

void ClusterConfigurationWizardPage::Prepare() {
    step_.ApplyCommandLine(wizard_->Choices().CommandLineItems());
    UpdateTexts();
    shown_ = true;
    ::SetFocus(wizard_->GetDlgItem(IDOK));
    ShowWindow(SW_SHOW);
}

void ClusterConfigurationWizardPage::Deactivate() {
    // Back and Next again keep the port typed so far (the box holds it only
    // once the page has been prepared; the page is also deactivated when it
    // is created).
    if (shown_ && settings_.role == kMaster) settings_.masterPort = fw::WindowText(port_);
    WizardPageBase::Deactivate();
}

void ClusterConfigurationWizardPage::OnRoleClicked() {
    // The port typed so far stays when the role changes back.
    if (settings_.role == kMaster) settings_.masterPort = fw::WindowText(port_);
    for (int i = 0; i < 3; ++i)
        if (::SendMessageW(radios_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            settings_.role = i;
            break;
        }
    UpdateTexts();
}

bool ClusterConfigurationWizardPage::QueryNext() {
    step_.Compose(fw::WindowText(port_), wizard_->Choices());
    return true;
}

LRESULT ClusterConfigurationWizardPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= IDC_CLUSTER_STANDALONE &&
        LOWORD(wParam) <= IDC_CLUSTER_WORKER) {
        OnRoleClicked();
        return 0;
    }
    return WizardPageBase::WindowProc(message, wParam, lParam);
}
