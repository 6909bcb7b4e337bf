// The dialog that asks before products installed by a different installer
// are removed: the main product and, when the box stays checked, the listed
// sub-packages.
#pragma once

#include <string>
#include <vector>

#include "framework/Dialog.h"

class CSetupApp;

// The texts the dialog shows, from the catalogue's foreign installations.
struct AlreadyInstalledTexts {
    UINT messageId;          // 1047 when the main product is one of them, else 1141
    std::wstring subPackageList;  // display names joined by LF; empty: no list, no box
};
AlreadyInstalledTexts ChooseAlreadyInstalledTexts(bool mainFromOther, const std::vector<std::wstring>& otherSubPackages);

class CDialog_AlreadyInstalled : public fw::CDialog {
public:
    explicit CDialog_AlreadyInstalled(CSetupApp* app);

    // 1 when the sub-packages are to be removed as well (read after DoModal).
    int removeSubPackages = 1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CSetupApp* app_;
};
