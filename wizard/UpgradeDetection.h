// The welcome page's search for an older (or newer) installation of the
// main product, and the decision whether a Quick Install may repeat it with
// the installed product's own choices.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"

// What the setup keys say about the main product.
struct UpgradeScenario {
    bool found = false;
    bool upgrade = false;    // the installed version is not newer; else a downgrade
    bool replaced = false;   // the installation is replaced, not kept beside
    bool sameMajor = false;
    bool bundle = false;     // the installation came with a bundle
    const RelatedProduct* target = nullptr;       // the product this run installs
    std::unique_ptr<RelatedProduct> installed;    // what the machine has
};

// None when this installer's package is installed or stands for no product.
// A bundle asks its components in order; the first installation found that
// is the component's own product decides.
UpgradeScenario FindUpgradeScenario(const SetupPackage& main);

// The facts the Quick Install offer depends on.
struct QuickInstallFacts {
    const ProductRow* row = nullptr;  // the product this run installs
    bool installedFromBundle = false;
    bool sameMajor = false;
    bool customLocation = false;      // the installation is not in its default folder
};
// Only the products of groups A and B; not for a group A product whose
// installation of the same major version came with a bundle; and a new
// major version only over an installation in its default folder.
bool OffersQuickInstall(const QuickInstallFacts& facts);

struct UpgradeDetection {
    std::wstring installedName;  // empty: no Quick Install
    bool majorUpgrade = false;
    // The installed products a Quick Install repeats: the main product's
    // installation first, then the sub-packages' installations of the
    // same version.
    std::vector<std::unique_ptr<RelatedProduct>> predecessors;
    // The sub-packages whose products the earlier installation has.
    std::vector<const SetupPackage*> earlierSubPackages;
};

// Runs the search and logs what it found. The sub-packages whose products
// are installed in the same version join the predecessors; unless
// keepSelection is set (the sub-packages were chosen on purpose), exactly
// those are selected. The option instances of an earlier search are
// dropped; the predecessors' own are made only when the user takes Quick
// Install (their choices are read from the machine then, which keeps the
// wizard's start quick).
UpgradeDetection DetectUpgrade(PackageCatalogue& catalogue, bool keepSelection);

// Logs each sub-package whose selection differs from the earlier
// installation that a Quick Install repeats: the selection stands.
void LogQuickInstallSelection(const PackageCatalogue& catalogue, const std::vector<const SetupPackage*>& earlier,
                              const std::wstring& installedName);
