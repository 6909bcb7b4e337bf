// The Windows Installer operations over the catalogue's packages: install,
// modify, repair, uninstall and extract, with the rollbacks that undo a
// partly done multi-package run, and one result for the whole run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/InstallerEffects.h"
#include "engine/RunMode.h"

class OperationMode;
class RunSession;
class SetupPackage;

// Plans the run's operation (engine/OperationPlan.h) and is the effects
// that carry it out with Windows Installer.
class ProductOperations : private InstallerEffects {
public:
    ProductOperations(RunSession& session, OperationMode& mode);

    // Runs the operation the command line and the installed state ask for,
    // and records its result through the mode's SetResult.
    DWORD RunOperations();
    // One MsiInstallProductW call for a package, with the log handed over;
    // removal asks for the product's removal ("REMOVE=ALL ", unless the run
    // is an administrative installation).
    DWORD RunInstall(SetupPackage& package, const std::wstring& extraProperties, bool removal);

private:
    DWORD Run(RunMode operation);
    std::vector<PlanFacts> Facts() const;
    std::wstring InstallExtras(const SetupPackage& package);
    std::wstring ModifyExtras(const SetupPackage& package, bool newSubPackage);
    std::wstring LanguageAndTransform(const SetupPackage& package, std::wstring middle);
    std::wstring CataloguePropertiesText(bool& has);
    bool MultiPackage() const;
    bool TransformsApplyToNewPackages();
    // Logs that the main product is not installed; 1605.
    DWORD NotInstalled() const;
    bool LanguageChosen() const;
    DWORD Reinstall(const SetupPackage& package);
    DWORD CopyDatabaseOut(const SetupPackage& package);

    // InstallerEffects
    bool IsInstalled(size_t package) override;
    void PrepareEntry(size_t package) override;
    DWORD Call(const PlannedCall& call) override;
    void Removed(size_t package) override;
    void Failed(DWORD result) override;
    void RollBack(size_t package, CallKind undone) override;

    RunSession& session_;
    OperationMode& mode_;
};

// The setup type that the main package's installation recorded for the
// sub-packages, under HKEY_LOCAL_MACHINE\Software\Morvex.
std::wstring ReadCurrentInstallationType();
void DeleteCurrentInstallationType();
