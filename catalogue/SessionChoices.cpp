#include "catalogue/SessionChoices.h"

#include "catalogue/ProductTable.h"
#include "catalogue/RunSession.h"

namespace {
bool InstallsServiceProduct(const SetupPackage& package) {
    for (const std::wstring& id : ExpandProductId(package.productId)) {
        const ProductRow* row = FindProduct(id);
        if (row && row->runsAsService) return true;
    }
    return false;
}
}  // namespace

RunChoices ChoicesFor(RunSession& session) {
    std::vector<CataloguePackageFacts> facts;
    for (const auto& package : session.Catalogue()) facts.push_back({package->name, InstallsServiceProduct(*package)});
    RunChoices choices(session.CommandLine(), ComputeWizardFlags(facts), session.Catalogue().size(),
                       [&session](DWORD result) { session.SetInstallerOutcome(result); });
    choices.SetMainInstalled(MainProductInstalled(session.Catalogue()));
    return choices;
}

bool MainProductInstalled(const PackageCatalogue& catalogue) {
    return !catalogue.empty() && catalogue.front()->IsInstalled();
}
