// One package of the catalogue: the product it installs, read from the
// catalogue resources, and its state on this machine, detected when the
// package is made.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/RelatedProduct.h"
#include "engine/PackageRecord.h"
#include "engine/PackageState.h"

// Windows Installer's registration of a product code.
bool IsProductRegistered(const std::wstring& productCode);
std::optional<std::wstring> RegisteredPackageCode(const std::wstring& productCode);
std::optional<std::wstring> RegisteredInstallSource(const std::wstring& productCode);
// The registered product's version ("1.2.0").
std::optional<std::wstring> RegisteredVersion(const std::wstring& productCode);

// The catalogue record, its detected state and what the catalogue keeps of
// it on this machine: the products it stands for and its database folder.
class SetupPackage : public PackageRecord, public PackageState {
public:
    // Detects the package's state (through Windows Installer) in the run's
    // context, then finds its folder and the database kept there.
    SetupPackage(PackageRecord record, const DetectionContext& context);

    // The product code is registered with Windows Installer, by this
    // installer's package (false when another package installed it), asked
    // anew at each call: the run may have installed or removed it since.
    bool IsInstalled() const;

    // Creates or secures msiFolder before anything is written into it (the
    // package database, its transform, a launcher copy).
    bool PrepareMsiFolder() const;

    // An older installation of the product(s) this package stands for;
    // null when this installer's package is installed or it stands for none.
    std::unique_ptr<RelatedProduct> FindInstalledPredecessor() const;

    static int InstalledVersionMajor(const std::wstring& productCode);
    static int InstalledVersionMinor(const std::wstring& productCode);
    static std::optional<std::wstring> ProductOfComponent(const std::wstring& componentCode);

    size_t RelatedCount() const { return related.size(); }

    std::wstring msiFolder;
    std::wstring msiFileName;
    std::wstring transformFileName;
    // The command line's TRANSFORMS= list has been applied to the database
    // at msiFileName (successfully or not); cleared when it is unpacked anew.
    bool commandLineTransformsApplied = false;
    // The maker's products this package stands for (at most eight).
    std::vector<std::unique_ptr<RelatedProduct>> related;
};

using PackageCatalogue = std::vector<std::unique_ptr<SetupPackage>>;
