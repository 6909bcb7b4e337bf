// One package of the catalogue: the product it installs, read from the
// catalogue resources, and its state on this machine, determined when the
// record is made.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/RelatedProduct.h"

class CSetupApp;

struct PackageFields {
    std::wstring name;
    std::wstring productCode;
    std::wstring packageCode;
    std::wstring productId;
    bool is64 = false;
    std::wstring versionText;
    std::wstring packageResource;   // PACKAGE_<n>
    std::wstring transformPattern;  // PACKAGE_<n>_%s
    bool isMain = false;
};

// What the detection needs to know about the run besides the package itself.
struct PackageContext {
    bool extractAll = false;     // /u
    bool repair = false;         // /f
    bool uninstall = false;      // /x
    bool mainInstalled = false;  // IsInstalled() of package 0 (for sub-packages)
    std::wstring language;       // two-letter code of the current language
};

// The default of a package's selected flag: /u takes every package, /f and
// /x the installed ones, a run without them the main package and, for a
// sub-package, in a maintenance run (main installed) the installed ones, in
// a fresh one those not yet installed.
bool DefaultSelection(const PackageContext& context, bool isMain, bool isInstalled);

// Windows Installer's registration of a product code.
bool IsProductRegistered(const std::wstring& productCode);
std::optional<std::wstring> RegisteredPackageCode(const std::wstring& productCode);
std::optional<std::wstring> RegisteredInstallSource(const std::wstring& productCode);
// The registered product's version ("1.2.0").
std::optional<std::wstring> RegisteredVersion(const std::wstring& productCode);

class SetupPackage {
public:
    // Reads the run's context from app (the command line, the catalogue read
    // so far, the current language), then detects.
    SetupPackage(CSetupApp* app, PackageFields fields);
    // Detects with an explicit context.
    SetupPackage(CSetupApp* app, PackageFields fields, const PackageContext& context);

    static PackageContext ContextOf(CSetupApp* app, bool isMain);

    // The product code is registered with Windows Installer, by this
    // installer's package (false when another package installed it).
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

    CSetupApp* owner = nullptr;
    bool isMain = false;
    std::wstring name;
    std::wstring productCode;
    std::wstring packageCode;
    std::wstring packageResource;
    std::wstring transformPattern;
    std::wstring productId;
    bool is64 = false;
    std::wstring versionText;

    std::wstring msiFolder;
    std::wstring msiFileName;
    std::wstring transformFileName;
    // The command line's TRANSFORMS= list has been applied to the database
    // at msiFileName (successfully or not); cleared when it is unpacked anew.
    bool commandLineTransformsApplied = false;
    bool isInstalled = false;
    bool fromOtherInstaller = false;
    bool selected = true;
    // The maker's products this package stands for (at most eight).
    std::vector<std::unique_ptr<RelatedProduct>> related;

private:
    void Detect(const PackageContext& context);
};

using PackageCatalogue = std::vector<std::unique_ptr<SetupPackage>>;
