// The entries of the service page, one per configurable service or
// interface of the catalogue's server packages, by product name, with their
// defaults and where their configuration file lives.
#pragma once

#include <string>
#include <vector>

#include "server/ServiceSettings.h"

namespace service_config {

// What the table needs to know of one catalogue package.
struct ServerPackage {
    std::wstring name;         // product name
    std::wstring versionText;  // "2024.00.00"
    bool is64 = false;         // the product name contains "x64"
};

// The folders the configuration files are found in.
struct ConfigFolders {
    std::wstring commonAppData;  // the all-users application data folder
    std::wstring programFiles;   // the 32-bit program files folder of the system
};

// The file-existence test of the versioned path search.
using FileExistsFn = bool (*)(const std::wstring& path);

// The entries in catalogue order, with defaults, links unset (own index)
// and the configuration file path resolved.
std::vector<ServiceSettings> MakeServiceEntries(const std::vector<ServerPackage>& packages, const ConfigFolders& folders,
                                                FileExistsFn exists);

// "BrimcartWeb" uses the certificate of "Brimcart", the Sollenvey client
// interface that of the admin interface, each when both are there.
void LinkEntries(std::vector<ServiceSettings>& entries);

// The version number of a version text ("2024.00.00" gives 2024; -1 when empty).
int VersionNumber(const std::wstring& versionText);

// prefix + number + suffix for the version number, then one and two less:
// the first path whose file exists; else the path of the number itself.
std::wstring ResolveVersionedPath(const std::wstring& prefix, int version, const std::wstring& suffix,
                                  FileExistsFn exists);

// The program files folder a package's files go to: for a 64-bit package
// a folder ending in " (x86)" loses it.
std::wstring ProgramFilesFor(const std::wstring& programFiles, bool is64);

}  // namespace service_config
