// Reads what the machine holds for the service page's entries: the folders
// of the configuration files, the installed services and the files
// themselves.
#pragma once

#include <vector>

#include "catalogue/SetupPackage.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceSettings.h"

namespace service_config {

// The all-users application data folder and the 32-bit program files
// folder of the system (the same in 32-bit and 64-bit launchers); the
// launcher's base folder ("\Morvex" in the former) is made when missing,
// with its own list (LauncherBaseFolder).
ConfigFolders SystemConfigFolders();

// Logs a value read from a server's configuration file with the file it came
// from: taken, or refused by the checks of the values.
void NoteFileValue(const std::wstring& file, const std::wstring& key, const std::wstring& value, bool taken);

// The entries of the catalogue's packages, pre-filled from the machine.
std::vector<ServiceSettings> ReadServiceEntries(const PackageCatalogue& catalogue);

}  // namespace service_config
