// The dialog that changes a service's start type and logon account
// (template IDD_SERVICE_DETAILS).
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "server/ServiceSettings.h"

class LanguageTable;

class CServiceDetailsDlg : public fw::CDialog {
public:
    explicit CServiceDetailsDlg(const LanguageTable& texts);

    // Shows the entry's settings; OK stores start type, account kind, user
    // name and password into it. The answer of DoModal.
    INT_PTR Edit(HWND parent, service_config::ServiceSettings& entry);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void SetTexts();
    void FillStartTypes();
    int CheckedAccountKind() const;
    void EnableUserFields();

    const LanguageTable& texts_;
    service_config::ServiceSettings* entry_ = nullptr;
};
