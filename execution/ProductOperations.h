// The Windows Installer operations over the catalogue's packages: install,
// modify, repair, uninstall and extract, with the rollbacks that undo a
// partly done multi-package run, and one result for the whole run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CSetupApp;
class OperationMode;
class SetupPackage;

class ProductOperations {
public:
    ProductOperations(CSetupApp& app, OperationMode& mode);

    // Runs the operation the command line and the installed state ask for,
    // and records its result through the mode's SetResult.
    DWORD RunOperations();
    // One MsiInstallProductW call for a package, with the log handed over;
    // removal asks for the product's removal ("REMOVE=ALL ", unless the run
    // is an administrative installation).
    DWORD RunInstall(SetupPackage& package, const std::wstring& extraProperties, bool removal);

    DWORD Install();
    DWORD Modify();
    DWORD Repair();
    DWORD Uninstall();
    DWORD Extract();

private:
    std::wstring InstallExtras(const SetupPackage& package);
    std::wstring ModifyExtras(const SetupPackage& package, bool newSubPackage);
    std::wstring LanguageAndTransform(const SetupPackage& package, std::wstring middle);
    std::wstring CataloguePropertiesText(bool& has);
    void RollBackInstalls(const std::vector<SetupPackage*>& installedByRun);
    void RollBackUninstalls(const std::vector<SetupPackage*>& removedByRun);
    // Counts a result: false for a failure; a success asking for a restart
    // is remembered (1641 over 3010).
    bool Succeeded(DWORD result);
    DWORD Final(DWORD failure) const;
    bool MultiPackage() const;
    bool TransformsApplyToNewPackages();
    bool AnySelectedInstalled() const;
    // Logs that the main product is not installed; 1605.
    DWORD NotInstalled() const;
    bool LanguageChosen() const;

    CSetupApp& app_;
    OperationMode& mode_;
    DWORD restart_ = 0;
};

// The setup type that the main package's installation recorded for the
// sub-packages, under HKEY_LOCAL_MACHINE\Software\Morvex.
std::wstring ReadCurrentInstallationType();
void DeleteCurrentInstallationType();
