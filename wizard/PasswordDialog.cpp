#include "wizard/PasswordDialog.h"

#include "catalogue/LanguageTable.h"
#include "framework/Window.h"
#include "resources/ResourceIds.h"

CPasswordDialog::CPasswordDialog(const LanguageTable& texts, std::wstring displayName, std::wstring userName)
    : fw::CDialog(IDD_SERVICE_PASSWORD, texts.Current().languageId),
      texts_(texts),
      displayName_(std::move(displayName)),
      userName_(std::move(userName)) {}

BOOL CPasswordDialog::OnInitDialog() {
    SetWindowText(texts_.LoadLocalizedString(1315));
    SetDlgItemText(IDC_PASSWORD_INFO, texts_.LoadLocalizedString(1314));
    SetDlgItemText(IDC_PASSWORD_SERVICE_LABEL, texts_.LoadLocalizedString(1311));
    SetDlgItemText(IDC_PASSWORD_SERVICE, displayName_);
    SetDlgItemText(IDC_PASSWORD_ACCOUNT_LABEL, texts_.LoadLocalizedString(1312));
    SetDlgItemText(IDC_PASSWORD_ACCOUNT, userName_);
    SetDlgItemText(IDC_PASSWORD_LABEL, texts_.LoadLocalizedString(1313));
    SetDlgItemText(IDC_PASSWORD_EDIT, L"");
    ::SetFocus(GetDlgItem(IDC_PASSWORD_EDIT));
    return FALSE;  // the focus is set
}

void CPasswordDialog::OnOK() {
    password_ = fw::WindowText(GetDlgItem(IDC_PASSWORD_EDIT));
    EndDialog(IDOK);
}
