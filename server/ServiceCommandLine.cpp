#include "server/ServiceCommandLine.h"

#include "framework/Text.h"
#include "server/CommandLineItem.h"
#include "server/ServicePrefill.h"

namespace service_config {

namespace {

using server_items::CommandLineItem;

void ApplyServiceItem(ServiceSettings& entry, const CommandLineItem& item) {
    const std::wstring& rest = item.rest;
    if (fw::EqualsNoCase(rest, L"Service_DisplayName")) {
        entry.displayName = item.value;
    } else if (fw::EqualsNoCase(rest, L"Service_StartType")) {
        const struct { const wchar_t* word; int type; } words[] = {
            {L"auto", kAutomatic}, {L"demand", kOnDemand}, {L"auto-delayed", kAutomaticDelayed}, {L"disabled", kDisabled}};
        for (const auto& word : words)
            if (fw::EqualsNoCase(item.value, word.word)) entry.startType = word.type;
    } else if (fw::EqualsNoCase(rest, L"Service_Username")) {
        entry.accountKind = AccountKindOf(item.value);
        if (entry.accountKind == kOtherUser) entry.userName = item.value;
    } else if (rest == L"Service_Password") {
        entry.password = item.value;
    } else if (fw::EqualsNoCase(rest, L"SSLWebServer_Certificate")) {
        entry.certificatePath = item.value;
        entry.certificateSet = true;
    } else if (fw::EqualsNoCase(rest, L"SSLWebServer_PrivateKey")) {
        entry.privateKeyPath = item.value;
        entry.privateKeySet = true;
    }
}

void ApplyWebServerItem(ServiceSettings& entry, const CommandLineItem& item) {
    const std::wstring& rest = item.rest;
    if (fw::EqualsNoCase(rest, L"WebServer_Port")) entry.webPort = NumberOf(item.value);
    else if (fw::EqualsNoCase(rest, L"WebServer_Enabled")) entry.webEnabled = NumberOf(item.value) != 0;
    else if (fw::EqualsNoCase(rest, L"SSLWebServer_Port")) entry.sslPort = NumberOf(item.value);
    else if (fw::EqualsNoCase(rest, L"SSLWebServer_Enabled")) entry.sslEnabled = NumberOf(item.value) != 0;
}

}  // namespace

void ApplyCommandLineProperties(std::vector<ServiceSettings>& entries, const std::vector<std::wstring>& items) {
    for (const std::wstring& text : items) {
        CommandLineItem item = server_items::SplitItem(text);
        if (item.rest.empty()) continue;
        for (ServiceSettings& entry : entries) {
            if (fw::EqualsNoCase(item.prefix, entry.ServicePrefix())) ApplyServiceItem(entry, item);
            if (fw::EqualsNoCase(item.prefix, entry.propertyPrefix)) ApplyWebServerItem(entry, item);
        }
    }
}

}  // namespace service_config
