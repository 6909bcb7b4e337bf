// SetupPackage: removing the product, with the kept package database or with
// the one in the product's registered install source.
#include "catalogue/PackageFolders.h"
#include "catalogue/SetupPackage.h"
#include "execution/CustomInstallerRegistry.h"
#include "framework/SystemApi.h"
#include "icbs/ICBSFileUtilities.h"
#include "engine/Outcome.h"
#include "launcher/SetupApp.h"

UINT SetupPackage::UninstallWithDatabase(const std::wstring& msiPath, DWORD uiLevel) {
    // The uninstall entry becomes a plain Windows Installer entry first.
    if (owner) CustomInstallerRegistry(kPrepareRemoveCustomInstaller, *this, *owner);
    HandLogToInstaller();
    fw::Msi().MsiSetInternalUI(static_cast<INSTALLUILEVEL>(uiLevel), nullptr);
    UINT result = fw::Msi().MsiInstallProductW(msiPath.c_str(), L"REMOVE=ALL ");
    ReopenLog();
    if (result == ERROR_SUCCESS) isInstalled = false;
    return result;
}

UINT SetupPackage::Uninstall(DWORD uiLevel) {
    if (!msiFileName.empty() && ICBSFileUtilities::FileExists(msiFileName))
        return UninstallWithDatabase(msiFileName, uiLevel);
    return UninstallFromInstallSource(uiLevel);
}

UINT SetupPackage::UninstallFromInstallSource(DWORD uiLevel) {
    std::optional<std::wstring> source = RegisteredInstallSource(productCode);
    std::wstring database = source ? SingleMsiFile(*source) : std::wstring();
    if (database.empty()) return outcome::kNoMsiFile;
    return UninstallWithDatabase(database, uiLevel);
}
