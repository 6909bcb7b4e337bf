#include "builder/PackageFacts.h"

#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/MsiDatabase.h"

namespace {
constexpr UINT kTemplateProperty = 7;        // PID_TEMPLATE
constexpr UINT kRevisionNumberProperty = 9;  // PID_REVNUMBER: the package code
}  // namespace

std::wstring CataloguePlatform(const std::wstring& summaryTemplate) {
    std::wstring platform = fw::Trim(summaryTemplate.substr(0, summaryTemplate.find(L';')));
    // A list of platforms names its first.
    platform = fw::Trim(platform.substr(0, platform.find(L',')));
    if (fw::EqualsNoCase(platform, L"x64") || fw::EqualsNoCase(platform, L"AMD64")) return L"x64";
    return platform.empty() ? L"Intel" : platform;
}

bool ReadPackageFacts(const PackageInput& input, PackageFacts& facts, BuildError& error) {
    if (!ICBSFileUtilities::FileExists(input.msi)) {
        error = {input.msi, L"the package does not exist"};
        return false;
    }
    ICBSMSIDatabase database(input.msi, false, true);
    if (!database) {
        error = {input.msi, L"not a Windows Installer database"};
        return false;
    }
    facts.name = input.name.value_or(database.GetProperty(L"ProductName"));
    facts.productCode = input.productCode.value_or(database.GetProperty(L"ProductCode"));
    facts.version = input.version.value_or(database.GetProperty(L"ProductVersion"));
    facts.manufacturer = database.GetProperty(L"Manufacturer");
    facts.packageCode = input.packageCode.value_or(database.GetSummaryString(kRevisionNumberProperty));
    facts.platform = input.platform.value_or(CataloguePlatform(database.GetSummaryString(kTemplateProperty)));
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
    return true;
}
