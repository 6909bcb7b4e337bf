// What the service page shows for one entry: three sections (unencrypted
// web server, SSL web server, service), each with its title and its text as
// runs, a value that differs from its pre-filled value emphasised.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "framework/RichEditText.h"
#include "server/ServiceSettings.h"

namespace service_config {

struct SummarySection {
    bool shown = false;
    std::wstring title;
    std::vector<fw::TextRun> runs;
};

enum SummaryIndex { kUnencryptedSection = 0, kSslSection = 1, kServiceSection = 2 };

// texts: a string-table text in the current language by id.
std::array<SummarySection, 3> ComposeSummaries(const ServiceSettings& entry,
                                               const std::function<std::wstring(UINT)>& texts);

}  // namespace service_config
