// The dialog that changes one web server of an entry (template
// IDD_CONNECTION_DETAILS): the unencrypted server's port and switch, or the
// SSL server's, with the certificate and private key files it uses.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "server/ServiceSettings.h"

class LanguageTable;

class CConnectionDetailsDlg : public fw::CDialog {
public:
    enum class Mode { Unencrypted, Ssl };

    explicit CConnectionDetailsDlg(const LanguageTable& texts);

    // Shows one web server of entry; linked is the entry whose certificate
    // and private key it uses (entry itself when unlinked). OK stores the
    // switch and the port, and in SSL mode a changed file into linked. The
    // answer of DoModal.
    INT_PTR Edit(HWND parent, Mode mode, service_config::ServiceSettings& entry,
                 service_config::ServiceSettings& linked);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void SetTexts();
    void HideFileRows();
    void Browse(int editId);

    const LanguageTable& texts_;
    Mode mode_ = Mode::Unencrypted;
    service_config::ServiceSettings* entry_ = nullptr;
    service_config::ServiceSettings* linked_ = nullptr;
};
