// Pre-filling an entry of the service page from what is on the machine: the
// installed Windows service and the server's INI or XML configuration file.
#pragma once

#include <string>

#include "icbs/ICBSIniFileBase.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceSettings.h"

namespace service_config {

// What the service manager tells of an installed service.
struct InstalledService {
    bool exists = false;
    unsigned long startType = 0;  // SERVICE_AUTO_START, ...
    bool delayed = false;
    std::wstring account;
};

void ApplyInstalledService(ServiceSettings& entry, const InstalledService& service);
// An INI file with content (the keys depend on the entry); the set flags
// follow whether the named files exist.
void ApplyIniConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file, FileExistsFn exists);
// A server_config.xml with content.
void ApplyXmlConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file);

// Decimal text; text that is not a number reads as 0.
int NumberOf(const std::wstring& text);

}  // namespace service_config
