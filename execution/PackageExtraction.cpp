#include "execution/PackageExtraction.h"

#include "catalogue/LanguageTable.h"
#include "catalogue/PackageFolders.h"
#include "catalogue/RunSession.h"
#include "catalogue/SetupPackage.h"
#include "engine/CancelFlag.h"
#include "engine/Log.h"
#include "engine/Outcome.h"
#include "execution/ExtractionProgress.h"
#include "execution/PackageDigest.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Text.h"
#include "icbs/CabinetExtractor.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/LongPath.h"
#include "icbs/ResourceAccess.h"

namespace {

constexpr WORD kPackageResourceType = 40;

// 0, 11 when the disk is full, 1620 for a damaged transform resource. Only a
// transform written completely is passed on: a file that could not be
// written whole is removed again.
DWORD WriteTransform(SetupPackage& package, const ExtractionContext& context) {
    const SetupLanguage& language = *context.transformLanguage;
    package.transformFileName.clear();
    std::wstring resource = fw::Format(package.transformPattern.c_str(), language.languageIdText.c_str());
    if (!icbs::ResourceExists(context.resources, MAKEINTRESOURCEW(kPackageResourceType), resource.c_str(),
                              language.languageId))
        return 0;
    // An empty transform resource still gives its (empty) file.
    icbs::ResourceData transform;
    icbs::LoadResourceData(context.resources, MAKEINTRESOURCEW(kPackageResourceType), resource.c_str(),
                           language.languageId, true, transform);
    if (transform.Damaged()) {
        WriteLog(1, L"ZEL (c): Transform resource %s is damaged.\r\n", resource.c_str());
        return ERROR_INSTALL_PACKAGE_INVALID;
    }
    std::wstring fileName = L"Transform" + language.transformSuffix + L".mst";
    std::wstring path = package.msiFolder + L"\\" + fileName;
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        WriteLog(2, L"ZEL (c): The language transform %s could not be created (%u); none is used.\r\n", path.c_str(),
                 static_cast<unsigned>(::GetLastError()));
        return 0;
    }
    DWORD size = transform.Size(), written = 0;
    BOOL wrote = context.writeTransform ? context.writeTransform(file.get(), transform.Data(), size, &written)
                                        : ::WriteFile(file.get(), transform.Data(), size, &written, nullptr);
    if (!wrote || written != size) {
        DWORD error = ::GetLastError();
        if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;  // a short write without a reason
        file.reset();
        ::DeleteFileW(icbs::ApiPath(path).c_str());
        WriteLog(1,
                 L"ZEL (c): The language transform %s could not be written completely (%u of %u bytes, error %u); "
                 L"none is used.\r\n",
                 path.c_str(), static_cast<unsigned>(written), static_cast<unsigned>(size),
                 static_cast<unsigned>(error));
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return 11;
        return 0;
    }
    package.transformFileName = fileName;
    return 0;
}

}  // namespace

const SetupLanguage* TransformLanguageFor(bool multiLanguage, bool freshOrModify, const SetupLanguage& current) {
    if (!multiLanguage || !freshOrModify || current.languageId == 1033) return nullptr;
    return &current;
}

DWORD ExtractProduct(SetupPackage& package, ExtractionProgressHandler* progress, const ExtractionContext& context) {
    // The folder is made (or taken over) with an access list of its own
    // before anything is written into it.
    if (package.msiFolder.empty() || (!package.msiFileName.empty() && !package.PrepareMsiFolder())) {
        WriteLog(1, L"ZEL (c): No usable folder for package %s.\r\n", package.name.c_str());
        return ERROR_INSTALL_PACKAGE_INVALID;
    }
    if (package.msiFileName.empty()) {
        if (CancelFlag())
            return context.session ? context.session->SetOutcome(outcome::kCancelled) : ERROR_INSTALL_FAILURE;
        // Nothing found in the folder is used: what the installer gets
        // comes from the launcher's own resources alone. Whatever is there
        // is set aside and the folder made anew; started from its kept
        // copy, the launcher stands in the folder: its own file stays.
        WriteLog(2, L"ZEL (c): Extracting resource: %s\r\n", package.packageResource.c_str());
        // A damaged package resource is found before anything is written.
        CabinetImage cabinet;
        if (!ReadPackageCabinet(context.resources, package.packageResource, cabinet) ||
            (!context.payloadChecked && !PayloadMatchesRecord(context.resources, package.packageResource, cabinet, context.digestsAhead)))
            return ERROR_INSTALL_PACKAGE_INVALID;
        if (!RenewPackageFolder(package.msiFolder, fw::RunningModulePath())) {
            WriteLog(1, L"ZEL (c): Could not empty MSI folder %s (%u).\r\n", package.msiFolder.c_str(),
                     static_cast<unsigned>(::GetLastError()));
            return ERROR_INSTALL_PACKAGE_INVALID;
        }
        if (context.showStatus) context.showStatus(package.name);
        CabinetExtractor extractor(L"Package.cab", cabinet, package.msiFolder);
        if (!extractor.ExtractAll(progress) && !CancelFlag())
            return CabinetExtractor::DiskFull() ? 11 : ERROR_INSTALL_PACKAGE_INVALID;
        package.msiFileName = SingleMsiFile(package.msiFolder);
        package.commandLineTransformsApplied = false;  // a database as the package carries it
    }
    if (context.transformLanguage) return WriteTransform(package, context);
    return 0;
}
