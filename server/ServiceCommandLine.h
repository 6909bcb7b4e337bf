// The command-line properties that pre-set the service page's entries
// (HB_WebServer_Port=8090, SY_Service_StartType=demand, ...).
#pragma once

#include <string>
#include <vector>

#include "server/ServiceSettings.h"

namespace service_config {

void ApplyCommandLineProperties(std::vector<ServiceSettings>& entries, const std::vector<std::wstring>& items);

}  // namespace service_config
