// The dialog that asks for the password of a service's logon account when
// none was given (template 158).
#pragma once

#include <string>

#include "framework/Dialog.h"

class LanguageTable;

class CPasswordDialog : public fw::CDialog {
public:
    CPasswordDialog(const LanguageTable& texts, std::wstring displayName, std::wstring userName);

    // The typed password, after DoModal answered IDOK.
    const std::wstring& Password() const { return password_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const LanguageTable& texts_;
    std::wstring displayName_, userName_, password_;
};
