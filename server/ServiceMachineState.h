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
// "\Morvex" folder of the former is created when missing, open to everyone.
ConfigFolders SystemConfigFolders();

// The entries of the catalogue's packages, pre-filled from the machine.
std::vector<ServiceSettings> ReadServiceEntries(const PackageCatalogue& catalogue);

}  // namespace service_config
