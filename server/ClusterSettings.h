// The workflow server's cluster role as the cluster page keeps it: read from
// the installed server's files, pre-set from the command line, and turned
// into the cluster configuration property string.
#pragma once

#include <string>
#include <vector>

#include "icbs/ICBSIniFileBase.h"
#include "server/ServicePrefill.h"

namespace cluster_config {

enum Role : int { kStandalone = 0, kMaster = 1, kWorker = 2 };

struct ClusterSettings {
    int role = kStandalone;
    int initialRole = kStandalone;
    std::wstring masterHost = L"0.0.0.0";
    std::wstring masterPort = L"4645";
    bool masterActive = false;
};

struct ClusterProperties {
    std::wstring text;
    std::vector<std::wstring> names;
};

// brimcart.ini (Master::port, host, active), whether data\master.cfg exists,
// and brimcartweb.ini (Worker::configure); files without content count as
// missing. A Master::port that is no number from 1 to 65535 leaves the
// default. note is told of each value read from brimcart.ini, taken or not.
void ReadClusterConfiguration(ClusterSettings& settings, const ICBSIniFileBase& brimcart, bool masterCfgExists,
                              const ICBSIniFileBase& brimcartWeb, const service_config::ValueNote& note = {});

// BC_Master_Host, BC_Master_Port and BC_Cluster_Role items.
void ApplyClusterCommandLine(ClusterSettings& settings, const std::vector<std::wstring>& items);

// Settles the role's port and activity (portText: what the master port box
// holds) and composes the string.
ClusterProperties ComposeClusterProperties(ClusterSettings& settings, const std::wstring& portText);

}  // namespace cluster_config
