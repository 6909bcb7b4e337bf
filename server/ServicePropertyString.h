// The service configuration property string: for each entry whose package
// is selected, its web-server ports, SSL files, start type, logon account
// and, for another user, the encrypted password; with the names it sets.
#pragma once

#include <string>
#include <vector>

#include "server/ServiceSettings.h"

namespace service_config {

struct ServiceProperties {
    std::wstring text;               // every item NAME=value followed by a blank
    std::vector<std::wstring> names; // the property names set, in order
    // Password properties left out because the password could not be
    // encrypted (no key): the run cannot go on with them.
    std::vector<std::wstring> unencrypted;
};

using SelectedFn = bool (*)(const void* context, size_t packageIndex);
// Turns a plain password into the text the packages decrypt; empty when it
// cannot.
using EncryptFn = std::wstring (*)(const std::wstring& plain);

// The first entry (of a selected package) with another user's account and
// no password; entries.size() when there is none.
size_t FirstMissingPassword(const std::vector<ServiceSettings>& entries, SelectedFn selected, const void* context);

// The password property of every entry, whether it is passed or not: the
// page takes these off the command line, so that no password reaches the
// installer as typed.
std::vector<std::wstring> PasswordPropertyNames(const std::vector<ServiceSettings>& entries);

ServiceProperties ComposeServiceProperties(const std::vector<ServiceSettings>& entries, SelectedFn selected,
                                           const void* context, EncryptFn encrypt);

}  // namespace service_config
