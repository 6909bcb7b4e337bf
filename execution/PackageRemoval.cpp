#include "execution/PackageRemoval.h"

#include "catalogue/PackageFolders.h"
#include "engine/Log.h"
#include "engine/Outcome.h"
#include "execution/CustomInstallerRegistry.h"
#include "framework/SystemApi.h"
#include "icbs/ICBSFileUtilities.h"

UINT UninstallWithDatabase(SetupPackage& package, const std::wstring& msiPath, DWORD uiLevel, RunSession* session) {
    if (session) CustomInstallerRegistry(kPrepareRemoveCustomInstaller, package, *session);
    HandLogToInstaller();
    fw::Msi().MsiSetInternalUI(static_cast<INSTALLUILEVEL>(uiLevel), nullptr);
    UINT result = fw::Msi().MsiInstallProductW(msiPath.c_str(), L"REMOVE=ALL ");
    ReopenLog();
    if (result == ERROR_SUCCESS) package.isInstalled = false;
    return result;
}

UINT UninstallPackage(SetupPackage& package, DWORD uiLevel, RunSession* session) {
    if (!package.msiFileName.empty() && ICBSFileUtilities::FileExists(package.msiFileName))
        return UninstallWithDatabase(package, package.msiFileName, uiLevel, session);
    return UninstallFromInstallSource(package, uiLevel, session);
}

UINT UninstallFromInstallSource(SetupPackage& package, DWORD uiLevel, RunSession* session) {
    std::optional<std::wstring> source = RegisteredInstallSource(package.productCode);
    std::wstring database = source ? SingleMsiFile(*source) : std::wstring();
    if (database.empty()) return outcome::kNoMsiFile;
    return UninstallWithDatabase(package, database, uiLevel, session);
}
