// One package of the catalogue: the product it installs, read from the
// catalogue resources, and its state on this machine.
#pragma once

#include <memory>
#include <string>
#include <vector>

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

class SetupPackage {
public:
    SetupPackage(CSetupApp* app, PackageFields fields);

    // The product code is registered with Windows Installer, by this
    // installer's package (false when another package installed it).
    bool IsInstalled() const;

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
    bool isInstalled = false;
    bool fromOtherInstaller = false;
    bool selected = true;
};

using PackageCatalogue = std::vector<std::unique_ptr<SetupPackage>>;
