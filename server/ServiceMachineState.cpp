#include "server/ServiceMachineState.h"

#include <shlobj.h>

#include "icbs/ICBSFileUtilities.h"
#include "icbs/ICBSIniFile.h"
#include "icbs/ICBSXMLIniFile.h"
#include "icbs/ProgramFilesFolder.h"
#include "icbs/WindowsService.h"
#include "launcher/SetupApp.h"
#include "server/ServiceEntryTable.h"
#include "server/ServicePrefill.h"

namespace service_config {

namespace {

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) {
        WriteLog(2, L"ZEL (c): SHGetSpecialFolderPathW(%d) failed (%u)\r\n", csidl, ::GetLastError());
        return std::wstring();
    }
    return path;
}

bool FileExists(const std::wstring& path) { return ICBSFileUtilities::FileExists(path); }

void PrefillFromService(ServiceSettings& entry) {
    if (!entry.hasService) return;
    WindowsService service(entry.serviceName);
    if (!service.Exists()) return;
    WriteLog(3, L"ZEL (c): Found installed service %s\r\n", entry.serviceName.c_str());
    ApplyInstalledService(entry, {true, service.StartType(), service.DelayedAutoStart(), service.Account()});
}

void PrefillFromFile(ServiceSettings& entry) {
    if (entry.configForm == ConfigForm::Ini) {
        ICBSIniFile file(entry.configPath);
        if (!file.HasContent()) return;
        WriteLog(3, L"ZEL (c): Reading configuration file %s\r\n", entry.configPath.c_str());
        ApplyIniConfiguration(entry, file, FileExists);
    } else if (entry.configForm == ConfigForm::Xml) {
        if (!FileExists(entry.configPath)) return;
        ICBSXMLIniFile file(entry.configPath);
        if (!file.HasContent()) return;
        WriteLog(3, L"ZEL (c): Reading configuration file %s\r\n", entry.configPath.c_str());
        ApplyXmlConfiguration(entry, file);
    }
}

}  // namespace

ConfigFolders SystemConfigFolders() {
    // The 32-bit program files folder, as the options read it, in both
    // launchers; a 64-bit package's folder follows from it by the entry rule.
    ConfigFolders folders{SpecialFolder(CSIDL_COMMON_APPDATA), ProgramFilesFolder(false)};
    if (!folders.commonAppData.empty()) {
        std::wstring morvex = folders.commonAppData + L"\\Morvex";
        if (!FileExists(morvex) && !ICBSFileUtilities::CreateFolder(morvex, false))
            WriteLog(2, L"ZEL (c): Could not create folder %s (%u)\r\n", morvex.c_str(), ::GetLastError());
        else if (!ICBSFileUtilities::GrantEveryoneFullAccess(morvex))
            WriteLog(2, L"ZEL (c): Could not open folder %s to everyone (%u)\r\n", morvex.c_str(), ::GetLastError());
    }
    return folders;
}

std::vector<ServiceSettings> ReadServiceEntries(const PackageCatalogue& catalogue) {
    std::vector<ServerPackage> packages;
    for (const auto& package : catalogue)
        packages.push_back({package->name, package->versionText, package->name.find(L"x64") != std::wstring::npos});
    std::vector<ServiceSettings> entries = MakeServiceEntries(packages, SystemConfigFolders(), FileExists);
    for (ServiceSettings& entry : entries) {
        PrefillFromService(entry);
        PrefillFromFile(entry);
        entry.KeepInitialValues();
    }
    return entries;
}

}  // namespace service_config
