#include "server/ServiceEntryTable.h"

#include <cwchar>

namespace service_config {

namespace {

bool Has(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

ServiceSettings Entry(const wchar_t* key, const wchar_t* prefix, const std::wstring& serviceName,
                      const std::wstring& displayName, int webPort, int sslPort, size_t packageIndex) {
    ServiceSettings entry;
    entry.key = key;
    entry.caption = key;
    entry.propertyPrefix = prefix;
    entry.serviceName = serviceName;
    entry.displayName = displayName;
    entry.webPort = webPort;
    entry.sslPort = sslPort;
    entry.packageIndex = packageIndex;
    return entry;
}

// The Harrowby servers keep an XML file under the program files folder.
void AddHarrowby(std::vector<ServiceSettings>& entries, const wchar_t* key, const wchar_t* prefix,
                 const wchar_t* service, const wchar_t* folder, const ServerPackage& package, size_t index,
                 const ConfigFolders& folders, FileExistsFn exists) {
    std::wstring version = std::to_wstring(VersionNumber(package.versionText));
    ServiceSettings entry = Entry(key, prefix, service, std::wstring(L"Morvex ") + key + L" " + version, 8087, 463, index);
    entry.startType = kOnDemand;
    entry.configForm = ConfigForm::Xml;
    entry.configPath = ResolveVersionedPath(ProgramFilesFor(folders.programFiles, package.is64) + L"\\Morvex\\" + folder,
                                            VersionNumber(package.versionText), L"\\etc\\server_config.xml", exists);
    entries.push_back(std::move(entry));
}

void AddEntriesOf(std::vector<ServiceSettings>& entries, const ServerPackage& package, size_t index,
                  const ConfigFolders& folders, FileExistsFn exists) {
    const std::wstring& name = package.name;
    int number = VersionNumber(package.versionText);
    std::wstring version = std::to_wstring(number);
    std::wstring morvex = folders.commonAppData + L"\\Morvex";
    if (Has(name, L"Sollenvey Server")) {
        std::wstring config = morvex + L"\\SollenveyServer\\sollenveyserver.cfg";
        ServiceSettings admin = Entry(L"Sollenvey Server Admin Interface", L"SYAdmin", L"MorvexSollenveyServer",
                                      L"Morvex Sollenvey Server", 8085, 8086, index);
        admin.captionId = 1308;
        ServiceSettings client = Entry(L"Sollenvey Server Client Interface", L"SYClient",
                                       L"Sollenvey Server Client Interface",
                                       L"Sollenvey Server Client Interface " + version, 8083, 8084, index);
        client.captionId = 1309;
        client.hasService = false;
        for (ServiceSettings* entry : {&admin, &client}) {
            entry->configForm = ConfigForm::Ini;
            entry->configPath = config;
        }
        entries.push_back(std::move(admin));
        entries.push_back(std::move(client));
    } else if (Has(name, L"Harrowby Server")) {
        AddHarrowby(entries, L"Harrowby Server", L"HB", L"MorvexHarrowbyServer", L"HarrowbyServer", package, index,
                    folders, exists);
    } else if (Has(name, L"Harrowby+XBRL Server")) {
        AddHarrowby(entries, L"Harrowby+XBRL Server", L"HBX", L"MorvexHarrowbyXBRLServer", L"HarrowbyXBRLServer",
                    package, index, folders, exists);
    } else if (Has(name, L"Brimcart Server")) {
        std::wstring folder = ResolveVersionedPath(morvex + L"\\BrimcartServer", number, L"\\data\\brimcart.ini", exists);
        ServiceSettings server =
            Entry(L"Brimcart Server", L"BC", L"MorvexBrimcart", L"Morvex Brimcart " + version, 4646, 4647, index);
        server.configForm = ConfigForm::Ini;
        server.configPath = folder;
        ServiceSettings web = Entry(L"BrimcartWeb Server", L"BCWeb", L"MorvexBrimcartWeb",
                                    L"Morvex Brimcart Web " + version, 8082, 8090, index);
        web.configForm = ConfigForm::Ini;
        // The same folder as the server's file.
        web.configPath = folder.substr(0, folder.size() - std::wstring(L"brimcart.ini").size()) + L"brimcartweb.ini";
        entries.push_back(std::move(server));
        entries.push_back(std::move(web));
    } else if (Has(name, L"Pemmick Server") && !Has(name, L"Client")) {
        ServiceSettings entry = Entry(L"Pemmick Server", L"PK", L"MorvexPemmickServer",
                                      L"Morvex Pemmick Server " + version, 29800, 8091, index);
        entry.sslOffered = false;
        entry.configForm = ConfigForm::Ini;
        entry.configPath = ResolveVersionedPath(morvex + L"\\PemmickServer", number, L"\\server_config.ini", exists);
        entries.push_back(std::move(entry));
    }
}

}  // namespace

int VersionNumber(const std::wstring& versionText) {
    if (versionText.empty()) return -1;
    return static_cast<int>(std::wcstol(versionText.c_str(), nullptr, 10));
}

std::wstring ResolveVersionedPath(const std::wstring& prefix, int version, const std::wstring& suffix,
                                  FileExistsFn exists) {
    for (int less = 0; less <= 2; ++less) {
        std::wstring path = prefix + std::to_wstring(version - less) + suffix;
        if (exists && exists(path)) return path;
    }
    return prefix + std::to_wstring(version) + suffix;
}

std::wstring ProgramFilesFor(const std::wstring& programFiles, bool is64) {
    const std::wstring x86 = L" (x86)";
    if (is64 && programFiles.size() >= x86.size() && programFiles.compare(programFiles.size() - x86.size(), x86.size(), x86) == 0)
        return programFiles.substr(0, programFiles.size() - x86.size());
    return programFiles;
}

std::vector<ServiceSettings> MakeServiceEntries(const std::vector<ServerPackage>& packages, const ConfigFolders& folders,
                                                FileExistsFn exists) {
    std::vector<ServiceSettings> entries;
    for (size_t i = 0; i < packages.size(); ++i) AddEntriesOf(entries, packages[i], i, folders, exists);
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].linkedIndex = i;
        entries[i].KeepInitialValues();
    }
    return entries;
}

void LinkEntries(std::vector<ServiceSettings>& entries) {
    auto find = [&](auto matches) -> size_t {
        for (size_t i = 0; i < entries.size(); ++i)
            if (matches(entries[i])) return i;
        return entries.size();
    };
    size_t web = find([](const ServiceSettings& e) { return e.serviceName == L"MorvexBrimcartWeb"; });
    size_t server = find([](const ServiceSettings& e) { return e.serviceName == L"MorvexBrimcart"; });
    if (web < entries.size() && server < entries.size()) entries[web].linkedIndex = server;
    size_t client = find([](const ServiceSettings& e) { return e.propertyPrefix == L"SYClient"; });
    size_t admin = find([](const ServiceSettings& e) { return e.propertyPrefix == L"SYAdmin"; });
    if (client < entries.size() && admin < entries.size()) entries[client].linkedIndex = admin;
}

const wchar_t* AccountName(int accountKind) {
    switch (accountKind) {
        case kLocalSystem: return L"LocalSystem";
        case kLocalService: return L"NT AUTHORITY\\LocalService";
        case kNetworkService: return L"NT AUTHORITY\\NetworkService";
        default: return nullptr;
    }
}

int AccountKindOf(const std::wstring& account) {
    for (int kind : {kLocalSystem, kLocalService, kNetworkService})
        if (account == AccountName(kind)) return kind;
    return kOtherUser;
}

const wchar_t* StartTypeWord(int startType) {
    switch (startType) {
        case kAutomatic: return L"auto";
        case kOnDemand: return L"demand";
        case kDisabled: return L"disabled";
        default: return L"auto-delayed";
    }
}

}  // namespace service_config
