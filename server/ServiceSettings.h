// One configurable service or web-server interface of a server product: its
// ports, SSL files, start type and logon account, the values it was
// pre-filled with, and the package it belongs to.
#pragma once

#include <cstddef>
#include <string>

namespace service_config {

enum StartType : int { kAutomatic = 2, kOnDemand = 3, kDisabled = 4, kAutomaticDelayed = 5 };
enum AccountKind : int { kLocalSystem = 0, kLocalService = 1, kNetworkService = 2, kOtherUser = 3 };

// The configuration file an entry is pre-filled from.
enum class ConfigForm { None, Ini, Xml };

struct ServiceSettings {
    std::wstring key;
    std::wstring caption;         // the key, or a localised text for the Sollenvey entries
    unsigned captionId = 0;       // string id of the caption; 0: the key is the caption
    std::wstring propertyPrefix;
    size_t packageIndex = 0;      // catalogue index of the package the entry belongs to
    size_t linkedIndex = 0;       // entry whose certificate and private key this one uses
    bool hasService = true;
    std::wstring serviceName;
    std::wstring displayName;
    int startType = kAutomatic;
    int accountKind = kLocalSystem;
    std::wstring userName;
    std::wstring password;        // plain text while the page lives; never logged
    int webPort = 8080;
    bool webEnabled = true;
    bool sslOffered = true;
    int sslPort = 8083;
    bool sslEnabled = false;
    std::wstring certificatePath = L"C:\\path_to\\certificate";
    std::wstring privateKeyPath = L"C:\\path_to\\PrivateKey";
    bool certificateSet = false;
    bool privateKeySet = false;
    ConfigForm configForm = ConfigForm::None;
    std::wstring configPath;      // the resolved configuration file

    struct Initial {
        int startType = kAutomatic;
        int accountKind = kLocalSystem;
        std::wstring userName;
        int webPort = 8080;
        bool webEnabled = true;
        int sslPort = 8083;
        bool sslEnabled = false;
    } initial;

    // The prefix of the service, certificate and private-key properties:
    // the web-server prefix, with "SYAdmin" as "SY".
    std::wstring ServicePrefix() const { return propertyPrefix == L"SYAdmin" ? std::wstring(L"SY") : propertyPrefix; }
    void KeepInitialValues() { initial = {startType, accountKind, userName, webPort, webEnabled, sslPort, sslEnabled}; }
};

// The account names as Windows and the installed packages know them.
const wchar_t* AccountName(int accountKind);  // null for another user
int AccountKindOf(const std::wstring& account);
// "auto", "demand", "disabled", "auto-delayed".
const wchar_t* StartTypeWord(int startType);

}  // namespace service_config
