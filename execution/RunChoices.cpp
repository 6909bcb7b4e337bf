#include "execution/RunChoices.h"

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

RunChoices::RunChoices(RunSession& session) : session_(session) {
    std::vector<CataloguePackageFacts> facts;
    for (const auto& package : session.Catalogue()) facts.push_back({package->name, InstallsServiceProduct(*package)});
    flags_ = ComputeWizardFlags(facts);
    RefreshInstalledState();
}

RunMode RunChoices::Maintenance() const {
    return DecideMaintenance(session_.CommandLine().repair, session_.CommandLine().uninstall, mainInstalled_);
}

void RunChoices::RefreshInstalledState() {
    auto& catalogue = session_.Catalogue();
    mainInstalled_ = !catalogue.empty() && catalogue.front()->IsInstalled();
}

void RunChoices::SetResult(DWORD errorCode) { session_.SetInstallerOutcome(errorCode); }

std::vector<PageKind> RunChoices::Steps() const { return BuildPageTable(session_.Catalogue().size(), flags_, IsUninstall()); }
