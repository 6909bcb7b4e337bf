#include "catalogue/SetupPackage.h"

#include "catalogue/InstallerQueries.h"
#include "catalogue/PackageFolders.h"
#include "engine/Detector.h"
#include "engine/Log.h"

SetupPackage::SetupPackage(PackageRecord record, const DetectionContext& context)
    : PackageRecord(std::move(record)) {
    static_cast<PackageState&>(*this) = Detector(InstallerQueries()).Detect(*this, context);
    related = ResolveRelatedProducts(productId, versionText, is64, context.language);
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
