#include "catalogue/CatalogueResources.h"

#include <cwchar>

#include "framework/Text.h"
#include "icbs/ResourceAccess.h"

CatalogueResources::CatalogueResources(HMODULE module) : module_(module ? module : ::GetModuleHandleW(nullptr)) {}

bool CatalogueResources::DetectMultiLanguage() const { return ExistsInLanguage(L"PACKAGE_0_1031", 1031); }

LANGID CatalogueResources::LanguageFromText(const std::wstring& text) { return icbs::ResourceLanguageFromText(text); }

namespace {
CatalogueBlob BlobOf(const icbs::ResourceData& data) {
    if (!data) return {};
    return {data.Data(), data.Size()};
}
}  // namespace

CatalogueBlob CatalogueResources::FindBlobInLanguage(const std::wstring& name, LANGID language) const {
    icbs::ResourceData data;
    icbs::LoadResourceData(module_, MAKEINTRESOURCEW(kCatalogueResourceType), name.c_str(), language, true, data);
    return BlobOf(data);
}

CatalogueBlob CatalogueResources::FindCatalogueBlob(const std::wstring& name) const {
    icbs::ResourceData data;
    icbs::LoadResourceData(module_, MAKEINTRESOURCEW(kCatalogueResourceType), name.c_str(), std::wstring(), true,
                           data);
    return BlobOf(data);
}

std::optional<std::wstring> CatalogueResources::ReadString(const std::wstring& name, bool* damaged) const {
    bool bad = false;
    std::optional<std::wstring> text;
    // A multi-language installer keeps its real strings in 1033; a missing
    // instance there reads as an empty text.
    if (multiLanguage_) {
        text = icbs::LoadResourceText(module_, name, LANGID(1033), &bad);
        if (!bad && !text) text = std::wstring();
    } else {
        text = icbs::LoadResourceText(module_, name, std::wstring(), &bad);
    }
    if (damaged) *damaged = bad;
    return text;
}

namespace {
BOOL CALLBACK CountPackage(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) {
    if (IS_INTRESOURCE(name)) return TRUE;
    std::wstring_view text = name;
    constexpr std::wstring_view prefix = L"PACKAGE_";
    if (text.size() > prefix.size() && text.size() <= prefix.size() + 9 && text.substr(0, prefix.size()) == prefix &&
        text.substr(prefix.size()).find_first_not_of(L"0123456789") == std::wstring_view::npos)
        ++*reinterpret_cast<int*>(context);
    return TRUE;
}
}  // namespace

int CatalogueResources::PackageResourceCount() const {
    int count = 0;
    ::EnumResourceNamesW(module_, MAKEINTRESOURCEW(kCatalogueResourceType), CountPackage,
                         reinterpret_cast<LONG_PTR>(&count));
    return count;
}

bool CatalogueResources::ExistsInLanguage(const std::wstring& name, LANGID language) const {
    return icbs::ResourceExists(module_, MAKEINTRESOURCEW(kCatalogueResourceType), name.c_str(), language);
}

bool CatalogueResources::CatalogueResourceExists(const std::wstring& name,
                                                 const std::optional<std::wstring>& languageText) const {
    if (languageText) return ExistsInLanguage(name, LanguageFromText(*languageText));
    return icbs::ResourceExists(module_, MAKEINTRESOURCEW(kCatalogueResourceType), name.c_str(), std::wstring());
}

std::vector<RequiredResource> RequiredResources(int packageCount, bool multiLanguage,
                                                const std::wstring& languageName) {
    std::vector<RequiredResource> list;
    std::optional<std::wstring> language;
    if (multiLanguage) language = languageName;
    for (const wchar_t* name : {L"OS", L"MINIMUM_MSI", L"PACKAGE_COUNT"}) list.push_back({name, language});
    // Every string the catalogue read takes from each package.
    for (const wchar_t* prefix : {L"PRODUCT_NAME", L"PRODUCT_CODE", L"PACKAGE_CODE", L"PRODUCT_ID", L"PRODUCT_PLATFORM",
                                  L"PRODUCT_VERSION"})
        for (int i = 0; i < packageCount; ++i) list.push_back({fw::Format(L"%s_%d", prefix, i), language});
    for (int i = 0; i < packageCount; ++i) {
        list.push_back({fw::Format(L"%s_%d", L"PACKAGE", i), std::nullopt});
        if (multiLanguage) {
            for (const wchar_t* id : {L"1031", L"1034", L"1041"})
                list.push_back({fw::Format(L"%s_%d_%s", L"PACKAGE", i, id), std::wstring(id)});
        }
    }
    return list;
}

int ParsePackageCount(const std::wstring& text) { return static_cast<int>(wcstol(text.c_str(), nullptr, 10)); }
