// The dialog that asks before products installed by a different installer
// are removed: the main product and, when the box stays checked, the listed
// sub-packages.
#pragma once

#include <string>
#include <vector>

#include "catalogue/SetupPackage.h"
#include "framework/Dialog.h"

class LanguageTable;

// The texts the dialog shows, from the catalogue's foreign installations.
struct AlreadyInstalledTexts {
    UINT messageId;          // 1047 when the main product is one of them, else 1141
    std::wstring subPackageList;  // display names joined by LF; empty: no list, no box
};
AlreadyInstalledTexts ChooseAlreadyInstalledTexts(bool mainFromOther, const std::vector<std::wstring>& otherSubPackages);

class CDialog_AlreadyInstalled : public fw::CDialog {
public:
    CDialog_AlreadyInstalled(const LanguageTable& texts, const PackageCatalogue& catalogue);

    // 1 when the sub-packages are to be removed as well (read after DoModal).
    int removeSubPackages = 1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const LanguageTable& texts_;
    const PackageCatalogue& catalogue_;
};
