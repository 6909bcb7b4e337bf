#include "builder/PackageFacts.h"

#include "builder/InputFileKind.h"
#include "builder/ValueChecks.h"
#include "framework/Text.h"
#include "icbs/CabinetEntryTarget.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/MsiDatabase.h"
#include "icbs/MsiDatabaseQuery.h"

namespace {

constexpr UINT kTemplateProperty = 7;        // PID_TEMPLATE
constexpr UINT kRevisionNumberProperty = 9;  // PID_REVNUMBER: the package code

// The cabinets of the Media table that lie outside the database: every
// Cabinet value that does not start with "#".
bool ReadExternalCabinets(ICBSMSIDatabase& database, const std::wstring& msi, std::vector<std::wstring>& cabinets,
                          BuildError& error) {
    ICBSMSIDatabaseQuery media(database.Handle(), L"SELECT `Cabinet` FROM `Media`");
    if (!media.Succeeded()) return true;  // no Media table: nothing to carry
    size_t separator = msi.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? L"." : msi.substr(0, separator);
    while (media.Fetch()) {
        std::wstring name = media.GetString(1);
        if (name.empty() || name[0] == L'#') continue;
        std::wstring path = folder + L"\\" + name;
        if (EntryFileName(name) != name || fw::EndsWithNoCase(name, L".msi")) {
            error = {msi, L"the Media table names the cabinet \"" + name +
                              L"\", which cannot be unpacked beside the database (a plain file name is needed)"};
            return false;
        }
        bool known = false;
        for (const std::wstring& cabinet : cabinets) known = known || fw::EqualsNoCase(cabinet, path);
        if (known) continue;
        if (!ICBSFileUtilities::FileExists(path)) {
            error = {path, L"the cabinet is not beside the database " + msi +
                               L" (its Media table names it; Windows Installer reads it from there)"};
            return false;
        }
        cabinets.push_back(path);
    }
    return true;
}

bool CheckCode(const std::wstring& msi, const wchar_t* what, const std::wstring& code, BuildError& error) {
    std::wstring reason;
    if (CheckInstallerCode(code, reason)) return true;
    error = {msi, std::wstring(L"the ") + what + L" " + reason};
    return false;
}

}  // namespace

bool ReadPackageFacts(const PackageInput& input, PackageFacts& facts, BuildError& error) {
    InputFileKind kind = ClassifyInputFile(input.msi);
    if (kind != InputFileKind::Database) {
        error = {input.msi, PackageKindReason(kind)};
        return false;
    }
    ICBSMSIDatabase database(input.msi, false, true);
    if (!database) {
        error = {input.msi, PackageKindReason(InputFileKind::Other)};
        return false;
    }
    facts.name = input.name.value_or(database.GetProperty(L"ProductName"));
    facts.productCode = input.productCode.value_or(database.GetProperty(L"ProductCode"));
    facts.version = input.version.value_or(database.GetProperty(L"ProductVersion"));
    facts.manufacturer = database.GetProperty(L"Manufacturer");
    facts.upgradeCode = database.GetProperty(L"UpgradeCode");
    facts.language = database.GetProperty(L"ProductLanguage");
    facts.packageCode = input.packageCode.value_or(database.GetSummaryString(kRevisionNumberProperty));
    facts.productId = input.productId;
    const std::pair<const wchar_t*, const std::wstring*> required[] = {
        {L"ProductName", &facts.name},
        {L"ProductCode", &facts.productCode},
        {L"package code (summary revision number)", &facts.packageCode},
        {L"ProductVersion", &facts.version}};
    for (const auto& [what, value] : required) {
        if (value->empty()) {
            error = {input.msi, std::wstring(L"the database has no ") + what + L" (give it on the command line)"};
            return false;
        }
    }
    std::wstring reason;
    bool platform = input.platform ? NormalisePlatform(*input.platform, facts.platform, reason)
                                   : DatabasePlatform(database.GetSummaryString(kTemplateProperty), facts.platform,
                                                      reason);
    if (!platform) {
        error = {input.msi, reason};
        return false;
    }
    return CheckCode(input.msi, L"product code", facts.productCode, error) &&
           CheckCode(input.msi, L"package code", facts.packageCode, error) &&
           ReadExternalCabinets(database, input.msi, facts.cabinets, error);
}
