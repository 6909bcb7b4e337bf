#include "execution/PackageExtraction.h"

#include <cstring>

#include "catalogue/LanguageTable.h"
#include "catalogue/PackageFolders.h"
#include "catalogue/SetupPackage.h"
#include "execution/CancelFlag.h"
#include "execution/ExtractionProgress.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Text.h"
#include "icbs/CabinetExtractor.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/LongPath.h"
#include "icbs/ResourceAccess.h"
#include "launcher/SetupApp.h"

namespace {

constexpr WORD kPackageResourceType = 40;

// The cabinet of a package resource: a 4-byte length and exactly that many
// bytes of cabinet. Anything else is a damaged package.
bool PackageCabinet(HMODULE module, const std::wstring& name, CabinetImage& cabinet) {
    if (!icbs::ResourceExists(module, MAKEINTRESOURCEW(kPackageResourceType), name.c_str(), std::wstring())) {
        WriteLog(1, L"ZEL (c): Package resource %s not found.\r\n", name.c_str());
        return false;
    }
    icbs::ResourceData resource;
    icbs::LoadResourceData(module, MAKEINTRESOURCEW(kPackageResourceType), name.c_str(), std::wstring(), true,
                           resource);
    DWORD size = resource.Size();
    const BYTE* data = resource.Data();
    DWORD length = 0;
    if (data && size >= 4) std::memcpy(&length, data, 4);
    if (!data || size < 4 || length != size - 4) {
        WriteLog(1, L"ZEL (c): Package resource %s is damaged: %u bytes, length field %u.\r\n", name.c_str(), size,
                 length);
        return false;
    }
    cabinet = {data + 4, length};
    return true;
}

// 0, 11 when the disk is full, 1620 for a damaged transform resource.
DWORD WriteTransform(SetupPackage& package, const ExtractionContext& context) {
    const SetupLanguage& language = *context.transformLanguage;
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
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(package.msiFolder + L"\\" + fileName).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    DWORD size = transform.Size(), written = 0;
    if (!::WriteFile(file.get(), transform.Data(), size, &written, nullptr) || written != size) {
        DWORD error = ::GetLastError();
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return 11;
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
        if (CancelFlag()) return CSetupApp::Current()->SetOutcome(outcome::kCancelled);
        // Nothing found in the folder is used: what the installer gets
        // comes from the launcher's own resources alone. Whatever is there
        // is set aside and the folder made anew; started from its kept
        // copy, the launcher stands in the folder: its own file stays.
        WriteLog(2, L"ZEL (c): Extracting resource: %s\r\n", package.packageResource.c_str());
        // A damaged package resource is found before anything is written.
        CabinetImage cabinet;
        if (!PackageCabinet(context.resources, package.packageResource, cabinet)) return ERROR_INSTALL_PACKAGE_INVALID;
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
    }
    if (context.transformLanguage) return WriteTransform(package, context);
    return 0;
}
