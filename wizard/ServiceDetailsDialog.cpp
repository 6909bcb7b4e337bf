#include "wizard/ServiceDetailsDialog.h"

#include "catalogue/LanguageTable.h"
#include "framework/ToolTip.h"
#include "framework/Window.h"
#include "resources/ResourceIds.h"

using namespace service_config;

namespace {
// The list's order, with the text of each start type.
struct StartTypeChoice {
    int startType;
    UINT textId;
};
constexpr StartTypeChoice kStartTypes[] = {
    {kAutomatic, 1217}, {kOnDemand, 1218}, {kAutomaticDelayed, 1219}, {kDisabled, 1220}};
constexpr int kAccountButtons[] = {IDC_DETAILS_LOCAL_SYSTEM, IDC_DETAILS_LOCAL_SERVICE, IDC_DETAILS_NETWORK_SERVICE,
                                   IDC_DETAILS_OTHER_USER};
}  // namespace

CServiceDetailsDlg::CServiceDetailsDlg(const LanguageTable& texts)
    : fw::CDialog(IDD_SERVICE_DETAILS, texts.Current().languageId), texts_(texts) {}

INT_PTR CServiceDetailsDlg::Edit(HWND parent, ServiceSettings& entry) {
    entry_ = &entry;
    SetTemplateLanguage(texts_.Current().languageId);
    INT_PTR answer = DoModal(parent);
    entry_ = nullptr;
    return answer;
}

void CServiceDetailsDlg::SetTexts() {
    auto text = [this](UINT id) { return texts_.LoadLocalizedString(id); };
    SetWindowText(text(1182));
    SetDlgItemText(IDC_DETAILS_NAME_LABEL, text(1290));
    SetDlgItemText(IDC_DETAILS_NAME, entry_->serviceName);
    SetDlgItemText(IDC_DETAILS_DISPLAY_LABEL, text(1291));
    SetDlgItemText(IDC_DETAILS_DISPLAY, entry_->displayName);
    SetDlgItemText(IDC_DETAILS_START_LABEL, text(1292));
    SetDlgItemText(IDC_DETAILS_LOGON_LABEL, text(1293));
    for (int i = 0; i < 4; ++i) SetDlgItemText(kAccountButtons[i], text(1294 + static_cast<UINT>(i)));
    SetDlgItemText(IDC_DETAILS_USER_LABEL, text(1298));
    SetDlgItemText(IDC_DETAILS_PASSWORD_LABEL, text(1299));
    SetDlgItemText(IDCANCEL, text(57));
}

void CServiceDetailsDlg::FillStartTypes() {
    HWND list = GetDlgItem(IDC_DETAILS_START);
    int selected = 0;
    for (int i = 0; i < 4; ++i) {
        std::wstring text = texts_.LoadLocalizedString(kStartTypes[i].textId);
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (kStartTypes[i].startType == entry_->startType) selected = i;
    }
    ::SendMessageW(list, CB_SETCURSEL, selected, 0);
}

BOOL CServiceDetailsDlg::OnInitDialog() {
    if (!entry_) return TRUE;
    SetTexts();
    FillStartTypes();
    int kind = entry_->accountKind >= kLocalSystem && entry_->accountKind <= kOtherUser ? entry_->accountKind
                                                                                       : kLocalSystem;
    ::CheckRadioButton(hwnd_, IDC_DETAILS_LOCAL_SYSTEM, IDC_DETAILS_OTHER_USER, kAccountButtons[kind]);
    SetDlgItemText(IDC_DETAILS_USER, kind == kOtherUser ? entry_->userName : std::wstring());
    SetDlgItemText(IDC_DETAILS_PASSWORD, kind == kOtherUser ? entry_->password : std::wstring());
    EnableUserFields();
    HWND tips = fw::CreateToolTips(hwnd_);
    fw::AddToolTip(tips, hwnd_, GetDlgItem(IDC_DETAILS_USER), texts_.LoadLocalizedString(1302));
    fw::AddToolTip(tips, hwnd_, GetDlgItem(IDC_DETAILS_START), texts_.LoadLocalizedString(1304));
    return TRUE;
}

int CServiceDetailsDlg::CheckedAccountKind() const {
    for (int i = 0; i < 4; ++i)
        if (::IsDlgButtonChecked(hwnd_, kAccountButtons[i]) == BST_CHECKED) return i;
    return kLocalSystem;
}

void CServiceDetailsDlg::EnableUserFields() {
    bool other = CheckedAccountKind() == kOtherUser;
    for (int id : {IDC_DETAILS_USER_LABEL, IDC_DETAILS_USER, IDC_DETAILS_PASSWORD_LABEL, IDC_DETAILS_PASSWORD})
        EnableDlgItem(id, other);
}

bool CServiceDetailsDlg::OnCommand(WORD id, WORD code, HWND) {
    if (id < IDC_DETAILS_LOCAL_SYSTEM || id > IDC_DETAILS_OTHER_USER || code != BN_CLICKED) return false;
    EnableUserFields();
    return true;
}

void CServiceDetailsDlg::OnOK() {
    LRESULT index = ::SendMessageW(GetDlgItem(IDC_DETAILS_START), CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < 4) entry_->startType = kStartTypes[index].startType;
    int kind = CheckedAccountKind();
    entry_->accountKind = kind;
    if (kind == kOtherUser) {
        entry_->userName = fw::WindowText(GetDlgItem(IDC_DETAILS_USER));
        entry_->password = fw::WindowText(GetDlgItem(IDC_DETAILS_PASSWORD));
    } else {
        entry_->userName = AccountName(kind);
        entry_->password.clear();
    }
    EndDialog(IDOK);
}
