#include "server/ClusterSettings.h"

#include "engine/PropertyItems.h"
#include "framework/Text.h"
#include "server/CommandLineItem.h"

namespace cluster_config {

void ReadClusterConfiguration(ClusterSettings& settings, const ICBSIniFileBase& brimcart, bool masterCfgExists,
                              const ICBSIniFileBase& brimcartWeb, const service_config::ValueNote& note) {
    auto told = [&note](const wchar_t* key, const std::wstring& value, bool taken) {
        if (note) note(key, value, taken);
    };
    settings.initialRole = kStandalone;
    if (brimcart.HasContent()) {
        if (brimcart.HasValue(L"Master::port") && brimcart.GetValue(L"Master::port") != L"0") {
            std::wstring port = brimcart.GetValue(L"Master::port");
            std::optional<int> number = service_config::PortOf(port);
            if (number) settings.masterPort = std::to_wstring(*number);
            told(L"Master::port", port, number.has_value());
        }
        if (brimcart.HasValue(L"Master::host")) {
            settings.masterHost = brimcart.GetValue(L"Master::host");
            told(L"Master::host", settings.masterHost, true);
        }
        if (brimcart.HasValue(L"Master::active")) told(L"Master::active", brimcart.GetValue(L"Master::active"), true);
        if (brimcart.GetValue(L"Master::active") == L"1") {
            settings.masterActive = true;
            settings.initialRole = kMaster;
        }
    }
    if (masterCfgExists) settings.initialRole = kWorker;
    else if (brimcartWeb.HasContent() && brimcartWeb.GetValue(L"Worker::configure") == L"1")
        settings.initialRole = kWorker;
    settings.role = settings.initialRole;
}

void ApplyClusterCommandLine(ClusterSettings& settings, const std::vector<std::wstring>& items) {
    for (const std::wstring& text : items) {
        server_items::CommandLineItem item = server_items::SplitItem(text);
        if (!fw::EqualsNoCase(item.prefix, L"BC")) continue;
        if (item.rest == L"Master_Host") {
            settings.role = kMaster;
            settings.masterHost = item.value;
        } else if (fw::EqualsNoCase(item.rest, L"Master_Port")) {
            settings.role = kMaster;
            settings.masterPort = item.value;
        } else if (fw::EqualsNoCase(item.rest, L"Cluster_Role")) {
            const wchar_t* roles[] = {L"Standalone", L"Master", L"Worker"};
            for (int role = kStandalone; role <= kWorker; ++role)
                if (fw::EqualsNoCase(item.value, roles[role])) settings.role = role;
        }
    }
}

ClusterProperties ComposeClusterProperties(ClusterSettings& settings, const std::wstring& portText) {
    if (settings.role == kMaster) {
        settings.masterPort = portText;
        settings.masterActive = true;
    } else {
        if (settings.role == kWorker) settings.masterPort = L"0";
        settings.masterActive = false;
    }
    ClusterProperties out;
    auto add = [&](const std::wstring& name, const std::wstring& item) {
        out.text += item;
        out.names.push_back(name);
    };
    add(L"BC_Master_Port", items::Item(L"BC_Master_Port", settings.masterPort));
    add(L"BC_Master_Host", items::Item(L"BC_Master_Host", settings.masterHost));
    add(L"BC_Master_Active", std::wstring(L"BC_Master_Active=") + (settings.masterActive ? L"1 " : L"0 "));
    if (settings.role == kWorker && settings.role != settings.initialRole)
        add(L"BC_Worker_Configure", L"BC_Worker_Configure=1 ");
    const wchar_t* roles[] = {L"Standalone", L"Master", L"Worker"};
    add(L"BC_Cluster_Role", items::Item(L"BC_Cluster_Role", roles[settings.role]));
    return out;
}

}  // namespace cluster_config
