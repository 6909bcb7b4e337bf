#include "catalogue/CatalogueResources.h"

#include <cwchar>

#include "framework/Text.h"

CatalogueResources::CatalogueResources(HMODULE module) : module_(module ? module : ::GetModuleHandleW(nullptr)) {}

bool CatalogueResources::DetectMultiLanguage() const { return ExistsInLanguage(L"PACKAGE_0_1031", 1031); }

LANGID CatalogueResources::LanguageFromText(const std::wstring& text) {
    if (text == L"1031") return 1031;
    if (text == L"1034") return 1034;
    if (text == L"1036") return 1036;
    if (text == L"1041") return 1041;
    return 1033;
}

CatalogueBlob CatalogueResources::FindBlobInLanguage(const std::wstring& name, LANGID language) const {
    HRSRC info = ::FindResourceExW(module_, MAKEINTRESOURCEW(kCatalogueResourceType), name.c_str(), language);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module_, info);
    if (!loaded) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(module_, info)};
}

CatalogueBlob CatalogueResources::FindCatalogueBlob(const std::wstring& name) const {
    HRSRC info = ::FindResourceW(module_, name.c_str(), MAKEINTRESOURCEW(kCatalogueResourceType));
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module_, info);
    if (!loaded) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(module_, info)};
}

namespace {
// Catalogue strings are zero-terminated UTF-16; the text ends at the first
// terminator or at the end of the resource, whichever comes first.
std::wstring BlobText(const CatalogueBlob& blob) {
    const auto* chars = reinterpret_cast<const wchar_t*>(blob.data);
    size_t count = blob.size / sizeof(wchar_t);
    size_t length = 0;
    while (length < count && chars[length] != L'\0') ++length;
    return std::wstring(chars, length);
}
}  // namespace

std::optional<std::wstring> CatalogueResources::ReadString(const std::wstring& name) const {
    if (multiLanguage_) {
        CatalogueBlob blob = FindBlobInLanguage(name, 1033);
        return blob ? BlobText(blob) : std::wstring();
    }
    CatalogueBlob blob = FindCatalogueBlob(name);
    if (!blob) return std::nullopt;
    return BlobText(blob);
}

bool CatalogueResources::ExistsInLanguage(const std::wstring& name, LANGID language) const {
    return ::FindResourceExW(module_, MAKEINTRESOURCEW(kCatalogueResourceType), name.c_str(), language) != nullptr;
}

bool CatalogueResources::CatalogueResourceExists(const std::wstring& name,
                                                 const std::optional<std::wstring>& languageText) const {
    if (languageText) return ExistsInLanguage(name, LanguageFromText(*languageText));
    return ::FindResourceW(module_, name.c_str(), MAKEINTRESOURCEW(kCatalogueResourceType)) != nullptr;
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
