#include "builder/TransformFit.h"

#include <cwchar>
#include <vector>

#include "builder/PackageFacts.h"
#include "framework/Handles.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "icbs/TextUtilities.h"

namespace {

constexpr UINT kTemplateProperty = 7;     // PID_TEMPLATE: "platform;language" of the base
constexpr UINT kRevisionProperty = 9;     // PID_REVNUMBER
constexpr UINT kCharCountProperty = 16;   // PID_CHARCOUNT: validation << 16 | error conditions

// MSITRANSFORM_VALIDATE_* flags.
constexpr unsigned kLanguage = 0x1, kProduct = 0x2, kMajor = 0x8, kMinor = 0x10, kUpdate = 0x20;
constexpr unsigned kNewLess = 0x40, kNewLessEqual = 0x80, kNewGreaterEqual = 0x200,
                   kNewGreater = 0x400, kUpgradeCode = 0x800;

std::wstring SummaryText(MSIHANDLE summary, UINT property) {
    UINT type = 0;
    INT integer = 0;
    FILETIME time{};
    wchar_t buffer[512] = {};
    DWORD size = 512;
    if (fw::Msi().MsiSummaryInfoGetPropertyW(summary, property, &type, &integer, &time, buffer, &size) != ERROR_SUCCESS)
        return std::wstring();
    return type == VT_LPSTR ? std::wstring(buffer, size) : std::wstring();
}

std::vector<unsigned long> VersionParts(const std::wstring& text, size_t count) {
    std::vector<unsigned long> parts;
    const wchar_t* p = text.c_str();
    while (parts.size() < count) {
        wchar_t* end = nullptr;
        parts.push_back(std::wcstoul(p, &end, 10));
        if (*end != L'.') break;
        p = end + 1;
    }
    parts.resize(count, 0);
    return parts;
}

}  // namespace

TransformSummary ParseTransformSummary(const std::wstring& revision, const std::wstring& templateText,
                                       unsigned validation) {
    TransformSummary summary;
    summary.validation = validation;
    std::vector<std::wstring> fields = icbs::SplitAll(revision, L';');
    if (fields[0].size() >= 38 && fields[0][0] == L'{') {
        summary.baseProductCode = fields[0].substr(0, 38);
        summary.baseVersion = fields[0].substr(38);
    }
    if (fields.size() >= 3) summary.upgradeCode = fields[2];
    size_t semicolon = templateText.find(L';');
    if (semicolon != std::wstring::npos) summary.baseLanguage = fw::Trim(templateText.substr(semicolon + 1));
    return summary;
}

bool ReadTransformSummary(const std::wstring& transform, TransformSummary& summary) {
    fw::MsiHandle handle;
    if (fw::Msi().MsiGetSummaryInformationW(0, transform.c_str(), 0, handle.put()) != ERROR_SUCCESS) return false;
    UINT type = 0;
    INT flags = 0;
    DWORD size = 0;
    if (fw::Msi().MsiSummaryInfoGetPropertyW(handle.get(), kCharCountProperty, &type, &flags, nullptr, nullptr,
                                             &size) != ERROR_SUCCESS ||
        (type != VT_I4 && type != VT_I2))
        flags = 0;
    summary = ParseTransformSummary(SummaryText(handle.get(), kRevisionProperty),
                                    SummaryText(handle.get(), kTemplateProperty),
                                    static_cast<unsigned>(flags) >> 16);
    return true;
}

std::wstring TransformMisfit(const TransformSummary& summary, const PackageFacts& package) {
    unsigned flags = summary.validation;
    if ((flags & kProduct) && !summary.baseProductCode.empty() &&
        !fw::EqualsNoCase(summary.baseProductCode, package.productCode))
        return L"it is made for product " + summary.baseProductCode + L", the package is " + package.productCode;
    if ((flags & kUpgradeCode) && !summary.upgradeCode.empty() &&
        !fw::EqualsNoCase(summary.upgradeCode, package.upgradeCode))
        return L"it is made for upgrade code " + summary.upgradeCode + L", the package has " +
               (package.upgradeCode.empty() ? L"none" : package.upgradeCode);
    if ((flags & kLanguage) && !summary.baseLanguage.empty() && summary.baseLanguage != package.language)
        return L"it is made for language " + summary.baseLanguage + L", the package is in " + package.language;
    size_t parts = (flags & kUpdate) ? 3 : (flags & kMinor) ? 2 : (flags & kMajor) ? 1 : 0;
    if (parts == 0 || summary.baseVersion.empty()) return std::wstring();
    std::vector<unsigned long> mine = VersionParts(package.version, parts), base = VersionParts(summary.baseVersion, parts);
    bool fits = (flags & kNewLess)          ? mine < base
                : (flags & kNewLessEqual)   ? mine <= base
                : (flags & kNewGreaterEqual) ? mine >= base
                : (flags & kNewGreater)     ? mine > base
                                            : mine == base;  // equal, also when asked for
    if (fits) return std::wstring();
    return L"it is made for version " + summary.baseVersion + L", the package is " + package.version;
}
