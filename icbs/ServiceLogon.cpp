#include "icbs/ServiceLogon.h"

#include "framework/Text.h"

namespace {

bool IsLocalSystem(const std::wstring& account) {
    return fw::EqualsNoCase(account, L"LocalSystem") || fw::EqualsNoCase(account, L".\\LocalSystem");
}

bool EndsWithExactly(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

ServiceLogon ChooseServiceLogon(const std::wstring& account, const std::wstring& password,
                                const std::wstring& reportedAccount, bool installed) {
    ServiceLogon logon;
    logon.account = account;
    // An account without a domain is a local one. No account at all means the
    // local system account (".\" alone names nobody).
    if (!account.empty() && account.find(L'\\') == std::wstring::npos) logon.account = L".\\" + account;

    bool localSystem = account.empty() || fw::EqualsNoCase(logon.account, L".\\LocalSystem");
    if (!localSystem) logon.accountArg = logon.account;

    bool builtInService = EndsWithExactly(logon.account, L"\\LocalService") ||
                          EndsWithExactly(logon.account, L"\\NetworkService");
    if (logon.accountArg && !builtInService) logon.passwordArg = password;

    // Reconfiguring with the account Windows already has and no new password
    // leaves the logon as it is.
    if (installed && logon.accountArg && *logon.accountArg == reportedAccount && password.empty()) {
        logon.accountArg.reset();
        logon.passwordArg.reset();
    }
    // When reconfiguring, no account means "unchanged" to Windows, not the
    // local system account: a service moving back to that account names it.
    if (installed && localSystem && !IsLocalSystem(reportedAccount)) {
        logon.accountArg = L"LocalSystem";
        logon.passwordArg = L"";
    }
    return logon;
}
