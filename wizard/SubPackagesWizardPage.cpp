#include "wizard/SubPackagesWizardPage.h"

#include "launcher/SetupApp.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"

UINT SubPackagesWizardPage::DescriptionId(bool repair, bool uninstall, bool modify) {
    if (repair) return 41;
    if (uninstall) return 40;
    if (!modify) return 39;
    return 42;
}

void SubPackagesWizardPage::CreateControls(HWND, int width, int) {
    auto& catalogue = CSetupApp::Current()->Catalogue();
    if (catalogue.size() < 3) return;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    title_ = CreateControl(L"STATIC", L"", text, {0, 20, width, 39}, -1, wizard_->HeadingFont());
    description_ = CreateControl(L"STATIC", L"", text, {0, 44, width, 101}, -1, wizard_->TextFont());
    int row = 0;
    for (size_t i = 1; i < catalogue.size() && row < kMaxRows; ++i, ++row) {
        SetupPackage* package = catalogue[i].get();
        int y = 96 + 21 * row;
        HWND box = CreateControl(L"BUTTON", package->name, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                 {18, y, width, y + 19}, IDC_PAGE_SUBPACKAGE_FIRST + row, wizard_->TextFont());
        ::SendMessageW(box, BM_SETCHECK, package->selected ? BST_CHECKED : BST_UNCHECKED, 0);
        rows_[static_cast<size_t>(row)] = {package, box};
    }
}

void SubPackagesWizardPage::UpdateTexts() {
    ::SetWindowTextW(title_, Text(1041).c_str());
    UINT id = DescriptionId(wizard_->IsRepair(), wizard_->IsUninstall(), wizard_->IsModify());
    ::SetWindowTextW(description_, Text(id).c_str());
}

void SubPackagesWizardPage::Prepare() {
    for (auto& [package, box] : rows_) {
        if (!package) continue;
        if (wizard_->IsUninstall()) {
            if (!package->IsInstalled()) ::EnableWindow(box, FALSE);
        } else {
            ::SendMessageW(box, BM_SETCHECK, package->selected ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    if (rows_[0].second) ::SetFocus(rows_[0].second);
    ShowWindow(SW_SHOW);
}

bool SubPackagesWizardPage::QueryNext() {
    for (auto& [package, box] : rows_)
        if (package) package->selected = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    // The user's choice stands, also when the welcome page is passed again.
    if (rows_[0].first) CSetupApp::Current()->FixSubPackageSelection();
    return true;
}
