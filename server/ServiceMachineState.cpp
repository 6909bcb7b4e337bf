#include "server/ServiceMachineState.h"

#include <shlobj.h>

#include "catalogue/PackageFolders.h"
#include "engine/Log.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/ICBSIniFile.h"
#include "icbs/ICBSXMLIniFile.h"
#include "icbs/OpenEntry.h"
#include "icbs/ProgramFilesFolder.h"
#include "icbs/WindowsService.h"
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
    ValueNote note = [&entry](const std::wstring& key, const std::wstring& value, bool taken) {
        NoteFileValue(entry.configPath, key, value, taken);
    };
    if (entry.configForm == ConfigForm::Ini) {
        ICBSIniFile file(entry.configPath);
        if (!file.HasContent()) return;
        WriteLog(3, L"ZEL (c): Reading configuration file %s\r\n", entry.configPath.c_str());
        ApplyIniConfiguration(entry, file, icbs::IsPlainFile, note);
    } else if (entry.configForm == ConfigForm::Xml) {
        if (!FileExists(entry.configPath)) return;
        ICBSXMLIniFile file(entry.configPath);
        if (!file.HasContent()) return;
        WriteLog(3, L"ZEL (c): Reading configuration file %s\r\n", entry.configPath.c_str());
        ApplyXmlConfiguration(entry, file, icbs::IsPlainFile, note);
    }
}

}  // namespace

void NoteFileValue(const std::wstring& file, const std::wstring& key, const std::wstring& value, bool taken) {
    // Every user may write these files: what the run takes from them, and
    // what it refuses, is on record with the file it came from.
    if (taken)
        WriteLog(3, L"ZEL (c): Taken from %s: %s = %s\r\n", file.c_str(), key.c_str(), value.c_str());
    else
        WriteLog(2, L"ZEL (c): Ignored in %s: %s = %s (not a port number from 1 to 65535, or not an existing "
                    L"file)\r\n", file.c_str(), key.c_str(), value.c_str());
}

ConfigFolders SystemConfigFolders() {
    // The 32-bit program files folder, as the options read it, in both
    // launchers; a 64-bit package's folder follows from it by the entry rule.
    ConfigFolders folders{SpecialFolder(CSIDL_COMMON_APPDATA), ProgramFilesFolder(false)};
    // The base folder is made with its own list, which lets everyone add
    // server data folders and gives them full control of what lies below
    // it by inheritance; nothing here grants more on the base folder itself
    // (that would let anyone move a package folder away and replace it).
    if (!folders.commonAppData.empty()) LauncherBaseFolder();
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
