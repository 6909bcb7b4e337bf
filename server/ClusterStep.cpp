#include "server/ClusterStep.h"

#include "engine/Log.h"
#include "engine/RunChoices.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/ICBSIniFile.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceMachineState.h"

using namespace cluster_config;

void ClusterStep::ReadConfiguration(const PackageCatalogue& catalogue) {
    const SetupPackage* server = nullptr;
    for (const auto& package : catalogue)
        if (package->name.find(L"Brimcart Server") != std::wstring::npos) {
            server = package.get();
            break;
        }
    if (!server) return;
    std::wstring folder = service_config::SystemConfigFolders().commonAppData + L"\\Morvex\\BrimcartServer" +
                          std::to_wstring(service_config::VersionNumber(server->versionText)) + L"\\data";
    WriteLog(3, L"ZEL (c): Reading the cluster configuration in %s\r\n", folder.c_str());
    std::wstring brimcart = folder + L"\\brimcart.ini";
    ReadClusterConfiguration(settings_, ICBSIniFile(brimcart), ICBSFileUtilities::FileExists(folder + L"\\master.cfg"),
                             ICBSIniFile(folder + L"\\brimcartweb.ini"),
                             [&brimcart](const std::wstring& key, const std::wstring& value, bool taken) {
                                 service_config::NoteFileValue(brimcart, key, value, taken);
                             });
}

void ClusterStep::Compose(const std::wstring& portText, RunChoices& choices) {
    ClusterProperties properties = ComposeClusterProperties(settings_, portText);
    choices.TakeOverItems(properties.names);
    choices.clusterProperties = properties.text;
}
