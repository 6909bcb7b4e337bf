#include "execution/ProductOperations.h"

#include "catalogue/RelatedProduct.h"
#include "catalogue/RunSession.h"
#include "engine/Applier.h"
#include "engine/Log.h"
#include "engine/OperationMode.h"
#include "engine/Outcome.h"
#include "engine/PropertyItems.h"
#include "execution/CommandLineTransforms.h"
#include "execution/CustomInstallerRegistry.h"
#include "execution/HiddenProperties.h"
#include "execution/InstallerUiHandler.h"
#include "execution/PackageExtraction.h"
#include "execution/PrepareDatabase.h"
#include "framework/SystemApi.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"
#include "options/SetupOptions.h"

ProductOperations::ProductOperations(RunSession& session, OperationMode& mode) : session_(session), mode_(mode) {}

bool ProductOperations::MultiPackage() const { return session_.Catalogue().size() >= 2; }
bool ProductOperations::LanguageChosen() const { return session_.IsMultiLanguage(); }

DWORD ProductOperations::RunOperations() {
    auto& catalogue = session_.Catalogue();
    SetupPackage& main = *catalogue.front();
    WriteLog(3, L"ZEL (c): determine installer platform\r\n");
    WriteLog(3, L"ZEL (c): dedected %s platform\r\n", main.is64 ? L"64-bit" : L"32-bit");
    if (main.is64 && !session_.Is64BitOs()) {
        // The launcher's own check: its own outcome (10), Windows
        // Installer's code beside it in the log.
        session_.SetOutcome(outcome::k64BitOn32Bit, ERROR_INSTALL_PLATFORM_UNSUPPORTED);
        return ERROR_INSTALL_PLATFORM_UNSUPPORTED;
    }
    WriteLog(3, L"ZEL (c): rest custom installer registry\r\n");
    if (MultiPackage() && mode_.IsUninstall()) CustomInstallerRegistry(kPrepareRemoveCustomInstaller, main, session_);
    WriteLog(3, L"ZEL (c): Starting the real work\r\n");
    DeleteCurrentInstallationType();
    WriteLog(3, L"ZEL (c): Determine install sequence\r\n");
    RunMode operation = WithExtraction(session_.CommandLine().extractAll, mode_.Maintenance());
    DWORD result = Run(operation);
    DeleteCurrentInstallationType();
    // A product that is not installed has no entry to take over and no
    // launcher copy to keep.
    if (MultiPackage() && result != outcome::kProductNotInstalled) {
        bool ok = outcome::IsSuccess(result);
        if (operation == RunMode::Repair || operation == RunMode::Modify) {
            if (main.IsInstalled()) CustomInstallerRegistry(kRedoCustomInstaller, main, session_);
        }
        else if (operation == RunMode::Uninstall && !ok) CustomInstallerRegistry(kRollBackPrepareRemoveCustomInstaller, main, session_);
        else if (operation == RunMode::Install && ok) CustomInstallerRegistry(kPerformCustomInstaller, main, session_);
    }
    // A database that could not be copied is the launcher's own failure,
    // with the system's reason; everything else is Windows Installer's.
    if (operation == RunMode::Extract) {
        if (result != 0) session_.SetOutcome(outcome::kFailed, result);
    } else {
        mode_.SetResult(result);
    }
    // Windows Installer has shown its own message for these.
    if (result == ERROR_INSTALL_USEREXIT || result == ERROR_INSTALL_FAILURE || result == ERROR_INSTALL_SUSPEND)
        session_.MarkOutcomeReported();
    return result;
}

std::wstring ProductOperations::CataloguePropertiesText(bool& has) {
    CatalogueResources& resources = session_.Resources();
    std::optional<std::wstring> text = resources.ReadString(L"PROPERTIES");
    has = resources.IsMultiLanguage() || text.has_value();
    return text.value_or(L"");
}

DWORD ProductOperations::RunInstall(SetupPackage& package, const std::wstring& extraProperties, bool removal) {
    const CSetupAppCommandLineInfo& commandLine = session_.CommandLine();
    InstallCallInputs inputs;
    inputs.administrative = commandLine.administrative;
    inputs.uninstall = removal;
    inputs.catalogueProperties = CataloguePropertiesText(inputs.hasCatalogueProperties);
    inputs.commandLineProperties = mode_.CommandLineItems();
    inputs.extraProperties = extraProperties;
    std::wstring properties = ComposeInstallProperties(inputs);
    // No password reaches the installer's log: without the list in the
    // database the installer is not called.
    if (!HidePasswordProperties(package.msiFileName, properties)) return ERROR_INSTALL_FAILURE;
    PrepareDatabase(package, commandLine.uiLevel, commandLine.transforms);
    DWORD result;
    {
        ExternalUiHandlerScope handler(session_.NoBoxes());
        result = fw::Msi().MsiInstallProductW(package.msiFileName.c_str(), properties.c_str());
    }
    ReopenLog();
    return result;
}

std::wstring ProductOperations::LanguageAndTransform(const SetupPackage& package, std::wstring middle) {
    std::wstring text;
    const SetupLanguage& language = session_.Languages().Current();
    if (LanguageChosen()) text += items::Language(language.code);
    text += middle;
    if (LanguageChosen() && language.languageId != 1033 && !package.transformFileName.empty())
        text += items::Transform(package.transformFileName);
    return text;
}

std::wstring ProductOperations::InstallExtras(const SetupPackage& package) {
    std::wstring extra;
    if (MultiPackage()) {
        std::wstring type = package.isMain ? std::wstring() : ReadCurrentInstallationType();
        extra += items::Sub() + items::NoFinish();
        if (!package.isMain) extra += type == L"Custom" ? items::CustomizeOnly() : items::ProgressOnly();
    }
    const std::vector<RelatedProduct*>& quick = session_.QuickInstallList();
    if (!quick.empty()) {
        std::vector<std::wstring> keys;
        for (const RelatedProduct* record : quick) keys.push_back(record ? record->ProductId() : std::wstring());
        extra += items::Quick(keys) + BuildOptionProperties(package, quick);
    }
    std::wstring configuration;
    const WizardFlags& flags = mode_.Flags();
    if (flags.backup) configuration += mode_.BackupProperties() + L" ";
    if (flags.service) configuration += mode_.ServiceProperties() + L" ";
    if (flags.cluster) configuration += mode_.ClusterProperties() + L" ";
    return extra + LanguageAndTransform(package, configuration);
}

std::wstring ProductOperations::ModifyExtras(const SetupPackage& package, bool newSubPackage) {
    std::wstring extra;
    if (MultiPackage()) {
        extra += items::Sub() + (package.isMain ? items::NoFinish() : items::CustomizeOnly());
        if (newSubPackage) extra += items::Agreement();
    }
    std::wstring configuration;
    const WizardFlags& flags = mode_.Flags();
    if (flags.service) configuration += mode_.ServiceProperties() + L" ";
    if (flags.cluster) configuration += mode_.ClusterProperties() + L" ";
    return extra + LanguageAndTransform(package, configuration);
}

// The command line's transforms are applied to the database of every
// package this installation puts on the machine before the first call, so
// that one that does not apply stops the run before anything is installed.
// A package already installed keeps what it was installed with: its kept
// database is given them as before each call, and a failure there is left
// to Windows Installer.
bool ProductOperations::TransformsApplyToNewPackages() {
    const std::wstring& transforms = session_.CommandLine().transforms;
    if (transforms.empty()) return true;
    for (auto& package : session_.Catalogue()) {
        if (!package->selected || package->IsInstalled()) continue;
        if (!ApplyCommandLineTransforms(*package, transforms)) return false;
    }
    return true;
}

std::vector<PlanFacts> ProductOperations::Facts() const {
    std::vector<PlanFacts> facts;
    for (const auto& package : session_.Catalogue())
        facts.push_back({package->selected, package->isMain, package->IsInstalled()});
    return facts;
}

DWORD ProductOperations::NotInstalled() const {
    WriteLog(1, L"ZEL (c): Product %s is not installed.\r\n", session_.Catalogue().front()->name.c_str());
    WriteLog(2, L"ZEL (c): Failure: return code = %d\r\n", static_cast<int>(outcome::kProductNotInstalled));
    return outcome::kProductNotInstalled;
}

DWORD ProductOperations::Run(RunMode operation) {
    if (operation == RunMode::Install && !TransformsApplyToNewPackages()) {
        WriteLog(2, L"ZEL (c): Failure: return code = %d\r\n", static_cast<int>(outcome::kTransformFailed));
        return outcome::kTransformFailed;
    }
    OperationPlan plan = PlanOperation(operation, Facts());
    if (plan.notInstalled) return NotInstalled();
    return ApplyPlan(plan, *this);
}

// ---- the effects of the plan's steps

bool ProductOperations::IsInstalled(size_t package) { return session_.Catalogue()[package]->IsInstalled(); }

void ProductOperations::PrepareEntry(size_t package) {
    CustomInstallerRegistry(kPrepareRemoveCustomInstaller, *session_.Catalogue()[package], session_);
}

DWORD ProductOperations::Call(const PlannedCall& call) {
    SetupPackage& package = *session_.Catalogue()[call.package];
    bool removal = session_.CommandLine().uninstall;
    switch (call.kind) {
    case CallKind::Install:
        WriteLog(2, L"ZEL (c): Installing product %s\r\n", package.name.c_str());
        return RunInstall(package, InstallExtras(package), removal);
    case CallKind::Modify:
        WriteLog(2, L"ZEL (c): Modifying product %s\r\n", package.name.c_str());
        return RunInstall(package, ModifyExtras(package, call.agreement), removal);
    case CallKind::Uninstall:
        WriteLog(2, L"ZEL (c): Uninstalling product %s\r\n", package.name.c_str());
        return RunInstall(package, MultiPackage() ? items::UninstallAll() : std::wstring(), removal);
    case CallKind::Reinstall:
        WriteLog(2, L"ZEL (c): Reinstalling product %s\r\n", package.name.c_str());
        return Reinstall(package);
    case CallKind::Extract:
        WriteLog(2, L"ZEL (c): Extracting product %s\r\n", package.name.c_str());
        return CopyDatabaseOut(package);
    }
    return ERROR_INSTALL_FAILURE;
}

void ProductOperations::Removed(size_t package) { session_.Catalogue()[package]->isInstalled = false; }

void ProductOperations::Failed(DWORD result) { WriteLog(2, L"ZEL (c): Failure: return code = %d\r\n", result); }

// An installation is undone by removing the product again; a removal by
// installing it again from its database unpacked anew.
void ProductOperations::RollBack(size_t index, CallKind undone) {
    SetupPackage& package = *session_.Catalogue()[index];
    WriteLog(2, L"ZEL (c): Rolling back product %s\r\n", package.name.c_str());
    if (undone != CallKind::Uninstall) {
        RunInstall(package, items::Rollback(), true);
        return;
    }
    ExtractionContext context;
    context.resources = session_.Resources().Module();
    context.session = &session_;
    package.msiFileName.clear();
    ExtractProduct(package, nullptr, context);
    if (outcome::IsSuccess(RunInstall(package, items::Rollback(), false))) package.isInstalled = true;
}

DWORD ProductOperations::Reinstall(const SetupPackage& package) {
    fw::Msi().MsiSetInternalUI(static_cast<INSTALLUILEVEL>(session_.CommandLine().uiLevel), nullptr);
    HandLogToInstaller();
    DWORD result = package.productCode.empty()
                       ? ERROR_INSTALL_FAILURE
                       : fw::Msi().MsiReinstallProductW(package.productCode.c_str(), session_.CommandLine().reinstallMode);
    ReopenLog();
    return result;
}

// A database that cannot be copied is a failure of the run (reported with
// the system's error code), not a silent success; the other packages are
// still copied.
DWORD ProductOperations::CopyDatabaseOut(const SetupPackage& package) {
    std::wstring folder = ICBSFileUtilities::GetCurrentFolder();
    size_t slash = package.msiFileName.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? package.msiFileName : package.msiFileName.substr(slash + 1);
    if (!name.empty() && ICBSFileUtilities::CopyOneFile(package.msiFileName, folder + L"\\" + name, false))
        return ERROR_SUCCESS;
    DWORD error = name.empty() ? ERROR_FILE_NOT_FOUND : ::GetLastError();
    return error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error;
}

std::wstring ReadCurrentInstallationType() {
    RegistryKey key(RegistryKey::LocalMachine(), L"Software\\Morvex", true, false, registry_view::k32);
    return key.IsOpen() ? key.GetString(L"CurrentInstallationType") : std::wstring();
}

void DeleteCurrentInstallationType() {
    RegistryKey key(RegistryKey::LocalMachine(), L"Software\\Morvex", false, false, registry_view::k32);
    if (key.IsOpen()) key.DeleteValue(L"CurrentInstallationType");
}
