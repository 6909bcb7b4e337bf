#include "server/ServicePropertyString.h"

#include "engine/PropertyItems.h"

namespace service_config {

namespace {

class Composer {
public:
    explicit Composer(ServiceProperties& out) : out_(out) {}
    // NAME=value and a blank, the value as it is (numbers).
    void Plain(const std::wstring& name, const std::wstring& value) {
        out_.text += name + L"=" + value + L" ";
        out_.names.push_back(name);
    }
    // NAME="value" and a blank, quotes inside the value doubled.
    void Quoted(const std::wstring& name, const std::wstring& value) {
        out_.text += items::Item(name, value);
        out_.names.push_back(name);
    }
    // The encrypted password, or nothing at all when it cannot be encrypted.
    void Password(const std::wstring& name, const std::wstring& plain, EncryptFn encrypt) {
        std::wstring encrypted = encrypt(plain);
        if (encrypted.empty() && !plain.empty()) out_.unencrypted.push_back(name);
        else Quoted(name, encrypted);
    }

private:
    ServiceProperties& out_;
};

void ComposeEntry(Composer& out, const ServiceSettings& entry, EncryptFn encrypt) {
    const std::wstring& p = entry.propertyPrefix;
    std::wstring s = entry.ServicePrefix();
    out.Plain(p + L"_WebServer_Port", std::to_wstring(entry.webPort));
    out.Plain(p + L"_WebServer_Enabled", entry.webEnabled ? L"1" : L"0");
    if (entry.sslOffered) {
        out.Plain(p + L"_SSLWebServer_Port", std::to_wstring(entry.sslPort));
        out.Plain(p + L"_SSLWebServer_Enabled", entry.sslEnabled ? L"1" : L"0");
        if (entry.certificateSet) out.Quoted(s + L"_SSLWebServer_Certificate", entry.certificatePath);
        if (entry.privateKeySet) out.Quoted(s + L"_SSLWebServer_PrivateKey", entry.privateKeyPath);
    }
    out.Quoted(s + L"_Service_StartType", StartTypeWord(entry.startType));
    const wchar_t* account = AccountName(entry.accountKind);
    out.Quoted(s + L"_Service_Username", account ? std::wstring(account) : entry.userName);
    if (entry.accountKind == kOtherUser) out.Password(s + L"_Service_Password", entry.password, encrypt);
}

}  // namespace

size_t FirstMissingPassword(const std::vector<ServiceSettings>& entries, SelectedFn selected, const void* context) {
    for (size_t i = 0; i < entries.size(); ++i) {
        const ServiceSettings& entry = entries[i];
        if (selected(context, entry.packageIndex) && entry.accountKind == kOtherUser && entry.password.empty()) return i;
    }
    return entries.size();
}

std::vector<std::wstring> PasswordPropertyNames(const std::vector<ServiceSettings>& entries) {
    std::vector<std::wstring> names;
    for (const ServiceSettings& entry : entries) names.push_back(entry.ServicePrefix() + L"_Service_Password");
    return names;
}

ServiceProperties ComposeServiceProperties(const std::vector<ServiceSettings>& entries, SelectedFn selected,
                                           const void* context, EncryptFn encrypt) {
    ServiceProperties result;
    Composer out(result);
    for (const ServiceSettings& entry : entries) {
        if (!selected(context, entry.packageIndex)) continue;
        // A linked entry's certificate and key are kept (and passed on) by
        // the entry it is linked to.
        ComposeEntry(out, entry, encrypt);
    }
    return result;
}

}  // namespace service_config
