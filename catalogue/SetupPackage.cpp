#include "catalogue/SetupPackage.h"

#include "catalogue/PackageFolders.h"
#include "framework/Text.h"
#include "launcher/SetupApp.h"

bool DefaultSelection(const PackageContext& context, bool isMain, bool isInstalled) {
    if (context.extractAll) return true;
    if (context.repair || context.uninstall) return isInstalled;
    if (isMain) return true;
    // A fresh installation offers the sub-packages not yet present, a
    // maintenance run those already present.
    return context.mainInstalled ? isInstalled : !isInstalled;
}

PackageContext SetupPackage::ContextOf(CSetupApp* app, bool isMain) {
    PackageContext context;
    if (!app) return context;
    const CSetupAppCommandLineInfo& commandLine = app->CommandLine();
    context.extractAll = commandLine.extractAll;
    context.repair = commandLine.repair;
    context.uninstall = commandLine.uninstall;
    const PackageCatalogue& catalogue = app->Catalogue();
    context.mainInstalled = !isMain && !catalogue.empty() && catalogue.front()->IsInstalled();
    context.language = app->Languages().Current().code;
    return context;
}

SetupPackage::SetupPackage(CSetupApp* app, PackageFields fields)
    : SetupPackage(app, std::move(fields), ContextOf(app, fields.isMain)) {}

SetupPackage::SetupPackage(CSetupApp* app, PackageFields fields, const PackageContext& context)
    : owner(app),
      isMain(fields.isMain),
      name(std::move(fields.name)),
      productCode(std::move(fields.productCode)),
      packageCode(std::move(fields.packageCode)),
      packageResource(std::move(fields.packageResource)),
      transformPattern(std::move(fields.transformPattern)),
      productId(std::move(fields.productId)),
      is64(fields.is64),
      versionText(std::move(fields.versionText)) {
    Detect(context);
}

void SetupPackage::Detect(const PackageContext& context) {
    related = ResolveRelatedProducts(productId, versionText, is64, context.language);
    isInstalled = IsInstalled();
    if (isInstalled) {
        std::optional<std::wstring> registered = RegisteredPackageCode(productCode);
        if (registered && !fw::EqualsNoCase(*registered, packageCode)) fromOtherInstaller = true;
    }
    selected = DefaultSelection(context, isMain, isInstalled);
    // No folder for a code that cannot name one: an empty code would make
    // the base folder itself this package's folder.
    msiFolder = MsiFolderFor(packageCode);
    // Only the database an installation of this package left is kept for
    // maintenance. For a product that is not installed, whatever lies there
    // was put there by someone else or left by an unfinished run: it is
    // never used, never walked, and the unpacking sets it aside.
    if (msiFolder.empty() || !isInstalled || fromOtherInstaller ||
        ::GetFileAttributesW(msiFolder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    // The folder is secured before anything is taken from it.
    if (!SecurePackageFolder(msiFolder, false)) {
        WriteLog(2, L"ZEL (c): Could not secure MSI folder %s (%u); its contents are not used.\r\n",
                 msiFolder.c_str(), ::GetLastError());
        return;
    }
    msiFileName = SingleMsiFile(msiFolder);
}

bool SetupPackage::PrepareMsiFolder() const { return SecurePackageFolder(msiFolder, true); }

std::unique_ptr<RelatedProduct> SetupPackage::FindInstalledPredecessor() const {
    if (IsInstalled()) return nullptr;
    // A bundle asks its components in order; the first one found answers.
    for (const std::unique_ptr<RelatedProduct>& entry : related)
        if (std::unique_ptr<RelatedProduct> found = entry->FindInstalledPredecessor()) return found;
    return nullptr;
}
