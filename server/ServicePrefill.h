// Pre-filling an entry of the service page from what is on the machine: the
// installed Windows service and the server's INI or XML configuration file.
#pragma once

#include <functional>
#include <optional>
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

// Told of every value taken from a configuration file, and of every value
// refused there (taken false), with its key; may be empty.
using ValueNote = std::function<void(const std::wstring& key, const std::wstring& value, bool taken)>;

void ApplyInstalledService(ServiceSettings& entry, const InstalledService& service);
// An INI file with content (the keys depend on the entry). The files are
// writable by every user, so nothing is taken unchecked: a port only when
// it is a number from 1 to 65535 (else the default stays), a certificate or
// key path only when isPlainFile says it names an existing regular file
// that is no link (the path is then passed on).
void ApplyIniConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file, FileExistsFn isPlainFile,
                           const ValueNote& note = {});
// A server_config.xml with content; the same checks (its paths are shown,
// never passed on).
void ApplyXmlConfiguration(ServiceSettings& entry, const ICBSIniFileBase& file, FileExistsFn isPlainFile,
                           const ValueNote& note = {});

// Decimal text; text that is not a number reads as 0.
int NumberOf(const std::wstring& text);
// A TCP port: the whole text (blanks aside) decimal digits, 1 to 65535.
std::optional<int> PortOf(const std::wstring& text);

}  // namespace service_config
