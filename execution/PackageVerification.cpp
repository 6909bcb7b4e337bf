#include "execution/PackageVerification.h"

#include "catalogue/PackageFolders.h"
#include "engine/Log.h"
#include "execution/PackageDigest.h"
#include "framework/Text.h"
#include "icbs/CabinetExtractor.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/MsiDatabase.h"
#include "icbs/MsiDatabaseQuery.h"

namespace {

// A folder of its own under the temporary folder, removed with everything
// in it at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::wstring base = ICBSFileUtilities::GetTempFolder();
        for (unsigned i = 0; i < 1000 && path_.empty(); ++i) {
            std::wstring candidate = fw::Format(L"%s\\SetupVerify%u.%u", base.c_str(),
                                                static_cast<unsigned>(::GetCurrentProcessId()), i);
            if (::CreateDirectoryW(candidate.c_str(), nullptr)) path_ = candidate;
        }
    }
    ~ScratchFolder() {
        if (!path_.empty()) ICBSFileUtilities::DeleteFolderTree(path_);
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

bool VerifyPackage(HMODULE module, const std::wstring& resource) {
    CabinetImage cabinet;
    if (!ReadPackageCabinet(module, resource, cabinet) || !PayloadMatchesRecord(module, resource, cabinet))
        return false;
    ScratchFolder scratch;
    if (scratch.Path().empty()) {
        WriteLog(1, L"ZEL (c): No scratch folder to unpack %s into (%u).\r\n", resource.c_str(),
                 static_cast<unsigned>(::GetLastError()));
        return false;
    }
    CabinetExtractor extractor(L"Package.cab", cabinet, scratch.Path());
    std::wstring database;
    if (!extractor.ExtractAll(nullptr) || (database = SingleMsiFile(scratch.Path())).empty()) {
        WriteLog(1, L"ZEL (c): Package resource %s does not unpack to one database.\r\n", resource.c_str());
        return false;
    }
    for (const std::wstring& name : ExternalCabinetsOf(database)) {
        if (!ICBSFileUtilities::FileExists(scratch.Path() + L"\\" + name)) {
            WriteLog(1, L"ZEL (c): Package resource %s lacks the cabinet %s that its Media table names.\r\n",
                     resource.c_str(), name.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::wstring> ExternalCabinetsOf(const std::wstring& database) {
    std::vector<std::wstring> names;
    ICBSMSIDatabase opened(database, false, true);
    if (!opened) return names;
    ICBSMSIDatabaseQuery media(opened.Handle(), L"SELECT `Cabinet` FROM `Media`");
    while (media.Succeeded() && media.Fetch()) {
        std::wstring name = media.GetString(1);
        if (!name.empty() && name[0] != L'#') names.push_back(name);
    }
    return names;
}

bool VerifyPackagePayloads(HMODULE module, int count) {
    for (int i = 0; i < count; ++i)
        if (!VerifyPackage(module, fw::Format(L"PACKAGE_%d", i))) return false;
    return true;
}
