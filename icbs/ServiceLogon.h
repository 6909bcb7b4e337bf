// Which logon account and password a service is created or reconfigured
// with: local accounts get ".\" in front, the local system account is passed
// as no account at all (named only when an installed service moves back to
// it from another account), the built-in service accounts get no password,
// and an unchanged account of an installed service is not passed again.
#pragma once

#include <optional>
#include <string>

struct ServiceLogon {
    std::wstring account;                   // the account as kept by the service object
    std::optional<std::wstring> accountArg;   // passed to Windows; nothing = null
    std::optional<std::wstring> passwordArg;  // passed to Windows; nothing = null
};

// account and password as set on the service object; reportedAccount is the
// account Windows reported for the installed service (installed tells
// whether there is one).
ServiceLogon ChooseServiceLogon(const std::wstring& account, const std::wstring& password,
                                const std::wstring& reportedAccount, bool installed);

// The text pointer for an optional argument: null when there is none.
inline const wchar_t* ArgumentOrNull(const std::optional<std::wstring>& argument) {
    return argument ? argument->c_str() : nullptr;
}
