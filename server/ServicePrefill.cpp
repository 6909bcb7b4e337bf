#include "server/ServicePrefill.h"

#include <windows.h>

#include <cwchar>

#include "framework/Text.h"

namespace service_config {

namespace {
std::wstring ValueOf(const ICBSIniFileBase& file, const wchar_t* path) { return fw::Trim(file.GetValue(path), L" "); }

void ReadPort(const ICBSIniFileBase& file, const wchar_t* path, int& port) {
    if (file.HasValue(path)) port = NumberOf(ValueOf(file, path));
}
}  // namespace

int NumberOf(const std::wstring& text) {
    wchar_t* end = nullptr;
    long value = std::wcstol(text.c_str(), &end, 10);
    return end == text.c_str() ? 0 : static_cast<int>(value);
}

void ApplyInstalledService(ServiceSettings& entry, const InstalledService& service) {
    if (!service.exists) return;
    switch (service.startType) {
        case SERVICE_AUTO_START: entry.startType = service.delayed ? kAutomaticDelayed : kAutomatic; break;
        case SERVICE_DEMAND_START: entry.startType = kOnDemand; break;
        case SERVICE_DISABLED: entry.startType = kDisabled; break;
        default: break;
    }
    entry.userName = service.account;
    entry.accountKind = AccountKindOf(service.account);
    entry.password.clear();
}

void ApplyIniConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file, FileExistsFn exists) {
    if (entry.propertyPrefix == L"PK") {
        ReadPort(file, L"PemmickServer::http.socket-port", entry.webPort);
        if (file.HasValue(L"PemmickServer::http.enable"))
            entry.webEnabled = fw::EqualsNoCase(ValueOf(file, L"PemmickServer::http.enable"), L"true");
    } else {
        bool admin = entry.propertyPrefix == L"SYAdmin";
        std::wstring plain = admin ? L"ListenAdmin" : L"Listen", ssl = admin ? L"ListenAdminSSL" : L"ListenSSL";
        ReadPort(file, (plain + L"::port").c_str(), entry.webPort);
        if (file.HasValue((plain + L"::active").c_str()))
            entry.webEnabled = NumberOf(ValueOf(file, (plain + L"::active").c_str())) != 0;
        ReadPort(file, (ssl + L"::port").c_str(), entry.sslPort);
        if (file.HasValue((ssl + L"::active").c_str()))
            entry.sslEnabled = NumberOf(ValueOf(file, (ssl + L"::active").c_str())) != 0;
    }
    if (file.HasValue(L"SSL::certificate")) {
        entry.certificatePath = ValueOf(file, L"SSL::certificate");
        entry.certificateSet = exists && exists(entry.certificatePath);
    }
    if (file.HasValue(L"SSL::private_key")) {
        entry.privateKeyPath = ValueOf(file, L"SSL::private_key");
        entry.privateKeySet = exists && exists(entry.privateKeyPath);
    }
}

void ApplyXmlConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file) {
    ReadPort(file, L"http.socket-port", entry.webPort);
    if (file.HasValue(L"http.enable")) entry.webEnabled = ValueOf(file, L"http.enable") == L"1";
    ReadPort(file, L"https.socket-port", entry.sslPort);
    if (file.HasValue(L"https.enable")) entry.sslEnabled = ValueOf(file, L"https.enable") == L"1";
    if (file.HasValue(L"https.certificate")) entry.certificatePath = ValueOf(file, L"https.certificate");
    if (file.HasValue(L"https.private-key")) entry.privateKeyPath = ValueOf(file, L"https.private-key");
}

}  // namespace service_config
