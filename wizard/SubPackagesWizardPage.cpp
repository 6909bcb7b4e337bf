#include "wizard/SubPackagesWizardPage.h"

#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

UINT SubPackagesWizardPage::DescriptionId(bool repair, bool uninstall, bool modify) {
    if (repair) return 41;
    if (uninstall) return 40;
    if (!modify) return 39;
    return 42;
}

void SubPackagesWizardPage::CreateControls(HWND, int, int) {
    auto& catalogue = wizard_->Session().Catalogue();
    if (catalogue.size() < 3) return;
    using fw::At;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    title_ = AddControl(L"STATIC", L"", text, {At(0), At(20), fw::FromEnd(0), At(39)}, -1, wizard_->HeadingFont());
    description_ = AddControl(L"STATIC", L"", text, {At(0), At(44), fw::FromEnd(0), At(101)}, -1, wizard_->TextFont());
    int row = 0;
    for (size_t i = 1; i < catalogue.size() && row < kMaxRows; ++i, ++row) {
        SetupPackage* package = catalogue[i].get();
        int y = 96 + 21 * row;
        HWND box = AddControl(L"BUTTON", package->name, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                              {At(18), At(y), fw::FromEnd(0), At(y + 19)}, IDC_PAGE_SUBPACKAGE_FIRST + row,
                              wizard_->TextFont(), fw::FlowLayout::Kind::Fixed);
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
    ShowWindow(SW_SHOW);
}

HWND SubPackagesWizardPage::FocusControl() const {
    // The first check box, while it takes input.
    HWND first = rows_[0].second;
    if (first && ::IsWindowEnabled(first)) return first;
    return WizardPageBase::FocusControl();
}

bool SubPackagesWizardPage::QueryNext() {
    for (auto& [package, box] : rows_)
        if (package) package->selected = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    // The user's choice stands, also when the welcome page is passed again.
    if (rows_[0].first) wizard_->Session().FixSubPackageSelection();
    return true;
}
