#include "builder/InstallerBuilder.h"

#include <memory>

#include "builder/BuildFailure.h"
#include "builder/CatalogueCheck.h"
#include "builder/InstallerVersion.h"
#include "builder/PackageFacts.h"
#include "builder/PackageSection.h"
#include "builder/TemplateChecks.h"
#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/LongPath.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceUpdater.h"
#include "resources/ResourceIds.h"

namespace {

const LPCWSTR kCatalogue = MAKEINTRESOURCEW(icbs::kCatalogueType);
const wchar_t kStringLanguage[] = L"1033";  // the catalogue strings' language

std::wstring FileNameOf(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// Files that exist only while the build runs: removed in every case.
class ScratchFiles {
public:
    ~ScratchFiles() {
        for (const std::wstring& file : files_) ICBSFileUtilities::DeleteOneFile(file);
    }
    std::wstring Add(const std::wstring& file) {
        files_.push_back(file);
        return file;
    }

private:
    std::vector<std::wstring> files_;
};

bool CheckInputs(const BuildDescription& d, std::vector<PackageFacts>& facts, BuildError& error) {
    if (d.output.empty()) return Fail(error, L"", L"no --out FILE given");
    if (d.packages.empty()) return Fail(error, L"", L"no --package FILE.msi given");
    for (const PackageInput& input : d.packages) {
        PackageFacts read;
        if (!ReadPackageFacts(input, read, error)) return false;
        for (const LanguageFile& transform : input.transforms)
            if (!CheckTransform(transform, error)) return false;
        facts.push_back(read);
    }
    for (const LanguageFile& background : d.backgrounds)
        if (!CheckBackground(background, error)) return false;
    if (!d.productImage.empty() && !ICBSFileUtilities::FileExists(d.productImage))
        return Fail(error, d.productImage, L"the product image does not exist");
    return true;
}

// The template's bytes into the scratch copy, without its signature when
// that was asked for.
bool CopyTemplate(const BuildDescription& d, const std::wstring& templatePath, const std::wstring& copy,
                  BuildError& error, std::wstring& report) {
    std::string bytes;
    if (!ICBSFileUtilities::ReadAllBytes(templatePath, bytes))
        return Fail(error, templatePath, L"cannot read the template: " + ErrorReason(::GetLastError()));
    SignatureLocation signature = FindSignature(bytes);
    if (signature.Present()) {
        if (!d.removeSignature)
            return Fail(error, templatePath, L"the template is signed, and adding resources would break its signature "
                                          L"(sign the installer after building; --remove-signature removes it)");
        bytes = WithoutSignature(bytes, signature);
        report += L"Removed the Authenticode signature of " + templatePath + L"\r\n";
    }
    if (!ICBSFileUtilities::WriteAllBytes(copy, bytes))
        return Fail(error, d.output, L"cannot write into the output's folder: " + ErrorReason(::GetLastError()));
    return true;
}

bool AddText(ResourceUpdater& update, const std::wstring& name, const std::wstring& text) {
    return update.AddData(kCatalogue, name.c_str(), kStringLanguage, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// The packages' entries get a stand-in of 4 bytes here; WritePackageSection
// points them at the packages afterwards.
bool AddCatalogue(ResourceUpdater& update, const BuildDescription& d, const std::vector<PackageFacts>& facts) {
    const DWORD standIn = 0;
    bool ok = AddText(update, L"PACKAGE_COUNT", std::to_wstring(facts.size())) && AddText(update, L"OS", d.os) &&
              AddText(update, L"MINIMUM_MSI", d.minimumMsi);
    if (d.properties) ok = ok && AddText(update, L"PROPERTIES", *d.properties);
    for (size_t i = 0; ok && i < facts.size(); ++i) {
        const PackageFacts& f = facts[i];
        auto name = [i](const wchar_t* prefix) { return fw::Format(L"%s_%d", prefix, static_cast<int>(i)); };
        ok = AddText(update, name(L"PRODUCT_NAME"), f.name) && AddText(update, name(L"PRODUCT_CODE"), f.productCode) &&
             AddText(update, name(L"PACKAGE_CODE"), f.packageCode) && AddText(update, name(L"PRODUCT_ID"), f.productId) &&
             AddText(update, name(L"PRODUCT_PLATFORM"), f.platform) &&
             AddText(update, name(L"PRODUCT_VERSION"), f.version) &&
             update.AddData(kCatalogue, name(L"PACKAGE").c_str(), L"", &standIn, sizeof(standIn));
        for (const LanguageFile& transform : d.packages[i].transforms) {
            std::wstring resource = name(L"PACKAGE") + L"_" + transform.language;
            ok = ok && update.AddFileAsResource(kCatalogue, resource.c_str(), transform.language, transform.file, false);
        }
    }
    return ok;
}

bool AddPictures(ResourceUpdater& update, const BuildDescription& d) {
    bool ok = true;
    if (!d.productImage.empty())
        ok = update.AddFileAsResource(RT_ICON, PRODUCT_IMAGE_RESOURCE_NAME, L"1033", d.productImage, false);
    for (const LanguageFile& background : d.backgrounds)
        ok = ok && update.AddFileAsResource(RT_BITMAP, MAKEINTRESOURCEW(IDB_BACKGROUND), background.language,
                                            background.file, false);
    return ok;
}

bool WriteResources(const BuildDescription& d, const std::vector<PackageFacts>& facts, const std::wstring& copy,
                    BuildError& error) {
    if (!WriteInstallerVersion(copy, facts.front(), FileNameOf(d.output)))
        return Fail(error, d.output, L"cannot write the version block");
    ResourceUpdater update(copy);
    if (!update.IsOpen()) return Fail(error, copy, L"cannot update the resources: " + ErrorReason(update.Error()));
    if (!AddCatalogue(update, d, facts) || !AddPictures(update, d) || !update.End(true))
        return Fail(error, d.output, L"cannot write the resources: " + ErrorReason(update.Error()));
    std::vector<std::wstring> databases;
    for (const PackageInput& package : d.packages) databases.push_back(package.msi);
    return WritePackageSection(copy, databases, d.output, error);
}

}  // namespace

bool BuildInstaller(const BuildDescription& d, const std::wstring& builderFolder, BuildError& error,
                    std::wstring& report) {
    std::wstring templatePath = d.templatePath.empty() ? builderFolder + L"\\SetupLauncher.exe" : d.templatePath;
    std::vector<PackageFacts> facts;
    if (!CheckTemplate(templatePath, error) || !CheckInputs(d, facts, error)) return false;
    ScratchFiles scratch;
    const std::wstring copy =
        scratch.Add(fw::Format(L"%s.%u.partial", d.output.c_str(), static_cast<unsigned>(::GetCurrentProcessId())));
    if (!CopyTemplate(d, templatePath, copy, error, report) || !WriteResources(d, facts, copy, error))
        return false;
    if (!CheckBuiltCatalogue(copy, error)) {
        error.file = d.output;
        return false;
    }
    if (!::MoveFileExW(icbs::ApiPath(copy).c_str(), icbs::ApiPath(d.output).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(error, d.output, L"cannot replace the output: " + ErrorReason(::GetLastError()));
    report += fw::Format(L"Wrote %s: %d package(s), main product %s %s\r\n", d.output.c_str(),
                         static_cast<int>(facts.size()), facts.front().name.c_str(), facts.front().version.c_str());
    return true;
}
