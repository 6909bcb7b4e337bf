#include "wizard/AlreadyInstalledDialog.h"

#include "catalogue/LanguageTable.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"

AlreadyInstalledTexts ChooseAlreadyInstalledTexts(bool mainFromOther, const std::vector<std::wstring>& otherSubPackages) {
    AlreadyInstalledTexts texts{mainFromOther ? 1047u : 1141u, {}};
    for (const std::wstring& name : otherSubPackages)
        texts.subPackageList += (texts.subPackageList.empty() ? L"" : L"\n") + name;
    return texts;
}

CDialog_AlreadyInstalled::CDialog_AlreadyInstalled(const LanguageTable& texts, const PackageCatalogue& catalogue)
    : fw::CDialog(IDD_ALREADY_INSTALLED, texts.Current().languageId), texts_(texts), catalogue_(catalogue) {}

BOOL CDialog_AlreadyInstalled::OnInitDialog() {
    const PackageCatalogue& catalogue = catalogue_;
    std::vector<std::wstring> others;
    for (size_t i = 1; i < catalogue.size(); ++i)
        if (catalogue[i]->fromOtherInstaller) others.push_back(catalogue[i]->name);
    bool mainFromOther = !catalogue.empty() && catalogue.front()->fromOtherInstaller;
    AlreadyInstalledTexts texts = ChooseAlreadyInstalledTexts(mainFromOther, others);
    std::wstring message = texts_.LoadLocalizedString(texts.messageId);
    if (mainFromOther) message = fw::Format(message.c_str(), catalogue.front()->name.c_str());
    SetDlgItemText(IDC_ALREADY_MESSAGE, message);
    ::SendMessageW(GetDlgItem(IDC_ALREADY_REMOVE_SUBS), BM_SETCHECK, removeSubPackages ? BST_CHECKED : BST_UNCHECKED, 0);
    if (texts.subPackageList.empty()) {
        ::ShowWindow(GetDlgItem(IDC_ALREADY_SUBPACKAGES), SW_HIDE);
        ::ShowWindow(GetDlgItem(IDC_ALREADY_REMOVE_SUBS), SW_HIDE);
    } else {
        SetDlgItemText(IDC_ALREADY_SUBPACKAGES, texts.subPackageList);
        SetDlgItemText(IDC_ALREADY_REMOVE_SUBS, texts_.LoadLocalizedString(1140));
    }
    return TRUE;
}

void CDialog_AlreadyInstalled::OnOK() {
    removeSubPackages = ::SendMessageW(GetDlgItem(IDC_ALREADY_REMOVE_SUBS), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}
