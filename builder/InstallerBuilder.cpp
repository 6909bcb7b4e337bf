#include "builder/InstallerBuilder.h"

#include <algorithm>

#include "builder/BuildFailure.h"
#include "builder/BuildOutputs.h"
#include "builder/CatalogueCheck.h"
#include "builder/InputChecks.h"
#include "builder/InstallerVersion.h"
#include "builder/PackageFacts.h"
#include "builder/PackageSection.h"
#include "builder/ProgramFileLayout.h"
#include "builder/TemplateChecks.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/LongPath.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceUpdater.h"
#include "resources/ResourceIds.h"

namespace {

const LPCWSTR kCatalogue = MAKEINTRESOURCEW(icbs::kCatalogueType);
const wchar_t kStringLanguage[] = L"1033";  // the catalogue strings' language
// Cabinet entries without SOURCE_DATE_EPOCH: 1980-01-01 00:00, the
// format's first day, whatever the files' times.
constexpr USHORT kFirstDosDate = (0 << 9) | (1 << 5) | 1;

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

// The packages' entries get a stand-in of 4 bytes here, their hashes one of
// 64 digits; WritePackageSection points the first at the packages and
// writes the second.
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
             AddText(update, name(L"PACKAGE_SHA256"), HashStandIn()) &&
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

// The program header's time stamp: SOURCE_DATE_EPOCH when set, else the
// template's own.
bool StampProgramHeader(const std::wstring& copy, const BuildDescription& d, bool& is64) {
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(copy).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ProgramFileLayout layout(file.get());
    is64 = layout.Is64();
    if (!d.sourceDateEpoch) return true;
    return layout.Valid() && layout.SetTimeStamp(static_cast<DWORD>(*d.sourceDateEpoch));
}

// Every cabinet entry's DOS date and time: SOURCE_DATE_EPOCH in UTC (within
// the years the format holds), else 1980-01-01 00:00.
void EntryTime(const BuildDescription& d, USHORT& date, USHORT& time) {
    date = kFirstDosDate;
    time = 0;
    if (!d.sourceDateEpoch) return;
    ULONGLONG value = FileTimeOfEpoch(*d.sourceDateEpoch);
    FILETIME stamp = {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    if (!::FileTimeToDosDateTime(&stamp, &date, &time)) {
        date = kFirstDosDate;
        time = 0;
    }
}

bool WriteResources(const BuildDescription& d, const std::vector<PackageFacts>& facts, const std::wstring& copy,
                    std::vector<icbs::Sha256Digest>& digests, bool& is64, BuildError& error) {
    if (!WriteInstallerVersion(copy, facts.front(), FileNameOf(d.output), d.versionTexts, d.sourceDateEpoch))
        return Fail(error, d.output, L"cannot write the version block");
    ResourceUpdater update(copy);
    if (!update.IsOpen()) return Fail(error, copy, L"cannot update the resources: " + ErrorReason(update.Error()));
    if (!AddCatalogue(update, d, facts) || !AddPictures(update, d) || !update.End(true))
        return Fail(error, d.output, L"cannot write the resources: " + ErrorReason(update.Error()));
    if (!StampProgramHeader(copy, d, is64))
        return Fail(error, d.output, L"cannot write the program header's time stamp");
    std::vector<PackingInput> packages;
    for (size_t i = 0; i < facts.size(); ++i) {
        PackingInput package{d.packages[i].msi, facts[i].cabinets};
        EntryTime(d, package.dosDate, package.dosTime);
        packages.push_back(package);
    }
    return WritePackageSection(copy, packages, d.output, digests, error);
}

// The report and the manifest, beside their final names until the
// installer is in place.
bool WriteBuildOutputs(const BuildDescription& d, const std::vector<PackageFacts>& facts,
                       const std::vector<icbs::Sha256Digest>& digests, const std::wstring& copy, bool is64,
                       ScratchFiles& scratch, BuildError& error) {
    if (d.report.empty() && d.wingetManifest.empty()) return true;
    BuiltInstaller installer;
    DWORD size = ::GetFullPathNameW(d.output.c_str(), 0, nullptr, nullptr);
    installer.path.resize(size);
    installer.path.resize(::GetFullPathNameW(d.output.c_str(), size, installer.path.data(), nullptr));
    installer.is64 = is64;
    // The finished installer is read once more, in pieces, for its hash.
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(copy).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    installer.size = file ? FileSizeOf(file.get()) : 0;
    icbs::Sha256 hash;
    std::string piece(1 << 20, '\0');
    for (ULONGLONG at = 0; at < installer.size;) {
        DWORD length = static_cast<DWORD>(std::min<ULONGLONG>(piece.size(), installer.size - at));
        if (!ReadFileAt(file.get(), at, piece.data(), length))
            return Fail(error, d.output, L"cannot read the built installer: " + ErrorReason(::GetLastError()));
        hash.Update(piece.data(), length);
        at += length;
    }
    if (!file) return Fail(error, d.output, L"cannot read the built installer: " + ErrorReason(::GetLastError()));
    installer.digest = hash.Final();
    const std::pair<const std::wstring*, std::string> outputs[] = {
        {&d.report, d.report.empty() ? std::string() : BuildReportJson(d, installer, facts, digests)},
        {&d.wingetManifest, d.wingetManifest.empty()
                                ? std::string()
                                : WingetManifestYaml(d, installer, facts, WingetIdentifier(d, facts.front()))}};
    for (const auto& [path, text] : outputs) {
        if (path->empty()) continue;
        if (!ICBSFileUtilities::WriteAllBytes(scratch.Add(*path + L".partial"), text))
            return Fail(error, *path, L"cannot write: " + ErrorReason(::GetLastError()));
    }
    return true;
}

bool MoveInPlace(const std::wstring& from, const std::wstring& to, BuildError& error) {
    if (::MoveFileExW(icbs::ApiPath(from).c_str(), icbs::ApiPath(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    return Fail(error, to, L"cannot replace the output: " + ErrorReason(::GetLastError()));
}

std::wstring PackageLine(size_t index, const PackageInput& input, const PackageFacts& f) {
    std::wstring line = fw::Format(L"  PACKAGE_%d: %s %s, %s, product id %s", static_cast<int>(index), f.name.c_str(),
                                   f.version.c_str(), f.platform == L"x64" ? L"x64 (64-bit)" : L"Intel (32-bit)",
                                   f.productId.empty() ? L"none" : f.productId.c_str());
    std::wstring languages;
    for (const LanguageFile& transform : input.transforms) languages += L" " + transform.language;
    if (!languages.empty()) line += L", transforms" + languages;
    if (!f.cabinets.empty()) line += fw::Format(L", %d external cabinet(s)", static_cast<int>(f.cabinets.size()));
    return line + L"\r\n";
}

}  // namespace

bool BuildInstaller(const BuildDescription& d, const std::wstring& builderFolder, BuildError& error,
                    std::wstring& report) {
    std::wstring templatePath = d.templatePath.empty() ? builderFolder + L"\\SetupLauncher.exe" : d.templatePath;
    std::vector<PackageFacts> facts;
    std::vector<std::wstring> warnings;
    if (!CheckTemplate(templatePath, error) || !CheckBuildInputs(d, templatePath, facts, warnings, error)) return false;
    for (const std::wstring& warning : warnings) report += L"SetupBuilder: warning: " + warning + L"\r\n";
    ScratchFiles scratch;
    const std::wstring copy =
        scratch.Add(fw::Format(L"%s.%u.partial", d.output.c_str(), static_cast<unsigned>(::GetCurrentProcessId())));
    std::vector<icbs::Sha256Digest> digests;
    bool is64 = false;
    if (!CopyTemplate(d, templatePath, copy, error, report) || !WriteResources(d, facts, copy, digests, is64, error))
        return false;
    if (!CheckBuiltCatalogue(copy, error)) {
        error.file = d.output;
        return false;
    }
    if (!WriteBuildOutputs(d, facts, digests, copy, is64, scratch, error) || !MoveInPlace(copy, d.output, error))
        return false;
    for (const std::wstring* path : {&d.report, &d.wingetManifest})
        if (!path->empty() && !MoveInPlace(*path + L".partial", *path, error)) return false;
    report += fw::Format(L"Wrote %s: %d package(s), main product %s %s\r\n", d.output.c_str(),
                         static_cast<int>(facts.size()), facts.front().name.c_str(), facts.front().version.c_str());
    for (size_t i = 0; i < facts.size(); ++i) report += PackageLine(i, d.packages[i], facts[i]);
    return true;
}
