// The run's choices: the mode follows the main product's installed state, and
// the command line's items a configuration step took over are neither applied
// again nor passed on, while the command line itself stays as given.
#include <gtest/gtest.h>

#include "engine/CommandLineInfo.h"
#include "engine/RunChoices.h"

using Items = std::vector<std::wstring>;

TEST(RunChoices, TakenOverItemsLeaveTheInstallerCallsButNotTheCommandLine) {
    CSetupAppCommandLineInfo request;
    fw::ParseCommandLine(request, L"setup.exe /qn BC_Master_Port=4711 FOO=1 bc_cluster_role=Master "
                                  L"\"BC_Master_Host=a b\" BC_Worker_Configure=1");
    Items given = request.properties;
    std::vector<DWORD> results;
    RunChoices choices(request, WizardFlags{}, 1, [&results](DWORD result) { results.push_back(result); });
    EXPECT_EQ(choices.CommandLineItems(), given);
    // Names in any letters; what one step took over stays taken when the
    // step is composed again without it (Back, another role, Next).
    choices.TakeOverItems({L"BC_Master_Port", L"BC_Cluster_Role", L"BC_Worker_Configure"});
    choices.TakeOverItems({L"BC_Master_Port", L"BC_Master_Host"});
    EXPECT_EQ(choices.CommandLineItems(), (Items{L"FOO=1"}));
    EXPECT_EQ(request.properties, given);

    EXPECT_EQ(choices.Maintenance(), RunMode::Install);
    choices.SetMainInstalled(true);
    EXPECT_EQ(choices.Maintenance(), RunMode::Modify);
    choices.SetResult(1603);
    EXPECT_EQ(results, std::vector<DWORD>{1603});
}
