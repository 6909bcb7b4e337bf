#include "wizard/UpgradeDetection.h"

#include <algorithm>

#include "engine/Log.h"
#include "options/BuiltInOptions.h"
#include "options/SetupOptions.h"

UpgradeScenario FindUpgradeScenario(const SetupPackage& main) {
    UpgradeScenario scenario;
    if (main.isInstalled) return scenario;
    for (const std::unique_ptr<RelatedProduct>& target : main.related) {
        std::unique_ptr<RelatedProduct> installed = target->FindInstalledRelease();
        // Another edition recorded under the same name is not this product's
        // installation.
        if (!installed || installed->row != target->row) continue;
        scenario.found = true;
        scenario.upgrade = !IsOlder(target->version, installed->version);
        scenario.sameMajor = target->version.major == installed->version.major;
        scenario.replaced = installed->ProductId() == target->ProductId() &&
                            (scenario.sameMajor || (target->row && target->row->alwaysReplaced));
        scenario.bundle = installed->fromBundle;
        scenario.target = target.get();
        scenario.installed = std::move(installed);
        return scenario;
    }
    return scenario;
}

bool OffersQuickInstall(const QuickInstallFacts& facts) {
    if (!facts.row) return false;
    bool groupA = InGroupA(*facts.row);
    if (!groupA && !InGroupB(*facts.row)) return false;
    if (groupA && facts.installedFromBundle && facts.sameMajor) return false;
    return facts.sameMajor || !facts.customLocation;
}

namespace {

// The sub-packages whose products are installed in the version of the main
// product's installation: those installations join the predecessors, and
// unless the selection was made on purpose, exactly these take part.
void FindInstalledSubPackages(PackageCatalogue& catalogue, UpgradeDetection& detection, bool keepSelection) {
    const RelatedProduct& first = *detection.predecessors.front();
    for (auto& package : catalogue) {
        if (package->isMain) continue;
        std::unique_ptr<RelatedProduct> record =
            ResolveRelatedProduct(package->productId, first.FullVersion(), first.is64, first.language, false);
        bool installed = record && record->IsVersionInstalled();
        if (!keepSelection) package->selected = installed;
        if (!installed) continue;
        record->forPackage = package.get();
        detection.earlierSubPackages.push_back(package.get());
        detection.predecessors.push_back(std::move(record));
    }
}

}  // namespace

void LogQuickInstallSelection(const PackageCatalogue& catalogue, const std::vector<const SetupPackage*>& earlier,
                              const std::wstring& installedName) {
    for (const auto& package : catalogue) {
        if (package->isMain) continue;
        bool before = std::find(earlier.begin(), earlier.end(), package.get()) != earlier.end();
        if (before == package->selected) continue;
        WriteLog(2,
                 before ? L"ZEL (c): Quick Install: %s came with %s but is not selected; it is not installed.\r\n"
                        : L"ZEL (c): Quick Install: %s did not come with %s but is selected; it is installed.\r\n",
                 package->name.c_str(), installedName.c_str());
    }
}

UpgradeDetection DetectUpgrade(PackageCatalogue& catalogue, bool keepSelection) {
    WriteLog(3, L"ZEL (c): detecting upgrade or downgrade scenarios...\r\n");
    UpgradeDetection detection;
    // Instances of an earlier detection point at records that are gone.
    OptionInstances().clear();
    if (catalogue.empty()) return detection;
    UpgradeScenario scenario = FindUpgradeScenario(*catalogue.front());
    if (!scenario.found) return detection;
    std::wstring installedName = scenario.installed->DisplayName();
    bool offered = false;
    if (scenario.upgrade) {
        QuickInstallFacts facts{scenario.target->row, scenario.bundle, scenario.sameMajor,
                                FindCustomInstallLocation(*scenario.installed).has_value()};
        offered = OffersQuickInstall(facts);
        WriteLog(3, L"    This is a product upgrade of your current installation of %s.\r\n", installedName.c_str());
        if (scenario.replaced) WriteLog(3, L"    Your current installation will get replaced.\r\n");
    } else {
        WriteLog(3, L"    This is a product downgrade of your current installation of %s.\r\n", installedName.c_str());
    }
    scenario.installed->forPackage = catalogue.front().get();
    detection.predecessors.push_back(std::move(scenario.installed));
    if (catalogue.size() >= 2) FindInstalledSubPackages(catalogue, detection, keepSelection);
    if (!offered) {
        detection.predecessors.clear();
        detection.earlierSubPackages.clear();
        return detection;
    }
    detection.installedName = installedName;
    detection.majorUpgrade = !scenario.sameMajor;
    return detection;
}
