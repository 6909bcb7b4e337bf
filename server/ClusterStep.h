// What the cluster step does for the run, apart from its controls: reads
// the installed workflow server's cluster role when the step is made, lets
// the command line preset it, and leaves the cluster configuration property
// string. The page and the quiet run call it alike; the page hands over the
// port its box holds, the quiet run the settings' own.
#pragma once

#include <string>
#include <vector>

#include "catalogue/SetupPackage.h"
#include "server/ClusterSettings.h"

class RunChoices;

class ClusterStep {
public:
    void ReadConfiguration(const PackageCatalogue& catalogue);
    // The BC_Master_Host, BC_Master_Port and BC_Cluster_Role items.
    void ApplyCommandLine(const std::vector<std::wstring>& items) {
        cluster_config::ApplyClusterCommandLine(settings_, items);
    }
    // Leaves the property string for the installer calls in choices, which
    // take over the command line's items it sets.
    void Compose(const std::wstring& portText, RunChoices& choices);

    cluster_config::ClusterSettings& Settings() { return settings_; }

private:
    cluster_config::ClusterSettings settings_;
};
