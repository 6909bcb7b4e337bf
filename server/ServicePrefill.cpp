#include "server/ServicePrefill.h"

#include <windows.h>

#include <cwchar>

#include "framework/Text.h"

namespace service_config {

namespace {
std::wstring ValueOf(const ICBSIniFileBase& file, const wchar_t* path) { return fw::Trim(file.GetValue(path), L" "); }

// Reads what one file gives an entry, and tells of each value.
class FileValues {
public:
    FileValues(const ICBSIniFileBase& file, FileExistsFn isPlainFile, const ValueNote& note)
        : file_(file), isPlainFile_(isPlainFile), note_(note) {}

    // A number from 1 to 65535, else the default stays.
    void Port(const std::wstring& key, int& port) const {
        if (!file_.HasValue(key.c_str())) return;
        std::wstring value = ValueOf(file_, key.c_str());
        std::optional<int> number = PortOf(value);
        if (number) port = *number;
        Note(key, value, number.has_value());
    }
    // Set is true when value (trimmed) equals on; with number, a number
    // other than 0 counts as true.
    void Flag(const std::wstring& key, bool& flag, bool number, const wchar_t* on = L"1") const {
        if (!file_.HasValue(key.c_str())) return;
        std::wstring value = ValueOf(file_, key.c_str());
        flag = number ? NumberOf(value) != 0 : fw::EqualsNoCase(value, on);
        Note(key, value, true);
    }
    // An existing regular file that is no link, else nothing is taken.
    bool Path(const std::wstring& key, std::wstring& path) const {
        if (!file_.HasValue(key.c_str())) return false;
        std::wstring value = ValueOf(file_, key.c_str());
        bool taken = !value.empty() && isPlainFile_ && isPlainFile_(value);
        if (taken) path = value;
        Note(key, value, taken);
        return taken;
    }

private:
    void Note(const std::wstring& key, const std::wstring& value, bool taken) const {
        if (note_) note_(key, value, taken);
    }
    const ICBSIniFileBase& file_;
    FileExistsFn isPlainFile_;
    const ValueNote& note_;
};
}  // namespace

int NumberOf(const std::wstring& text) {
    wchar_t* end = nullptr;
    long value = std::wcstol(text.c_str(), &end, 10);
    return end == text.c_str() ? 0 : static_cast<int>(value);
}

std::optional<int> PortOf(const std::wstring& text) {
    std::wstring digits = fw::Trim(text, L" \t");
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of(L"0123456789") != std::wstring::npos)
        return std::nullopt;
    int port = std::stoi(digits);
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
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

void ApplyIniConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file, FileExistsFn isPlainFile,
                           const ValueNote& note) {
    FileValues values(file, isPlainFile, note);
    if (entry.propertyPrefix == L"PK") {
        values.Port(L"PemmickServer::http.socket-port", entry.webPort);
        values.Flag(L"PemmickServer::http.enable", entry.webEnabled, false, L"true");
    } else {
        bool admin = entry.propertyPrefix == L"SYAdmin";
        std::wstring plain = admin ? L"ListenAdmin" : L"Listen", ssl = admin ? L"ListenAdminSSL" : L"ListenSSL";
        values.Port(plain + L"::port", entry.webPort);
        values.Flag(plain + L"::active", entry.webEnabled, true);
        values.Port(ssl + L"::port", entry.sslPort);
        values.Flag(ssl + L"::active", entry.sslEnabled, true);
    }
    if (values.Path(L"SSL::certificate", entry.certificatePath)) entry.certificateSet = true;
    if (values.Path(L"SSL::private_key", entry.privateKeyPath)) entry.privateKeySet = true;
}

void ApplyXmlConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file, FileExistsFn isPlainFile,
                           const ValueNote& note) {
    FileValues values(file, isPlainFile, note);
    values.Port(L"http.socket-port", entry.webPort);
    values.Flag(L"http.enable", entry.webEnabled, false);
    values.Port(L"https.socket-port", entry.sslPort);
    values.Flag(L"https.enable", entry.sslEnabled, false);
    values.Path(L"https.certificate", entry.certificatePath);
    values.Path(L"https.private-key", entry.privateKeyPath);
}

}  // namespace service_config
