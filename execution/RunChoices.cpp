#include "execution/RunChoices.h"

#include "catalogue/ProductTable.h"
#include "launcher/SetupApp.h"

namespace {
bool InstallsServiceProduct(const SetupPackage& package) {
    for (const std::wstring& id : ExpandProductId(package.productId)) {
        const ProductRow* row = FindProduct(id);
        if (row && row->runsAsService) return true;
    }
    return false;
}
}  // namespace

RunChoices::RunChoices(CSetupApp& app) : app_(app) {
    std::vector<CataloguePackageFacts> facts;
    for (const auto& package : app.Catalogue()) facts.push_back({package->name, InstallsServiceProduct(*package)});
    flags_ = ComputeWizardFlags(facts);
    RefreshInstalledState();
}

RunMode RunChoices::Maintenance() const {
    return DecideMaintenance(app_.CommandLine().repair, app_.CommandLine().uninstall, mainInstalled_);
}

void RunChoices::RefreshInstalledState() {
    auto& catalogue = app_.Catalogue();
    mainInstalled_ = !catalogue.empty() && catalogue.front()->IsInstalled();
}

void RunChoices::SetResult(DWORD errorCode) { app_.SetInstallerOutcome(errorCode); }

std::vector<PageKind> RunChoices::Steps() const { return BuildPageTable(app_.Catalogue().size(), flags_, IsUninstall()); }
