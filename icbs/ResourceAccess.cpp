#include "icbs/ResourceAccess.h"

namespace icbs {

LANGID ResourceLanguageFromText(const std::wstring& text) {
    if (text == L"1031") return 1031;
    if (text == L"1034") return 1034;
    if (text == L"1036") return 1036;
    if (text == L"1041") return 1041;
    // Simplified Chinese names itself. (Reading "2052" as 1028, Traditional
    // Chinese, would hand a mainland user the texts of another script.)
    if (text == L"2052") return 2052;
    return 1033;
}

void ResourceData::Assign(const BYTE* data, DWORD size, bool inPlace) {
    size_ = size;
    copied_ = !inPlace;
    if (inPlace) {
        view_ = data;
        copy_.clear();
    } else {
        view_ = nullptr;
        copy_.assign(data, data + size);
    }
}

HRSRC FindResourceIn(HMODULE module, LPCWSTR type, LPCWSTR name, const std::wstring& languageText) {
    if (languageText.empty()) return ::FindResourceW(module, name, type);
    return ::FindResourceExW(module, type, name, ResourceLanguageFromText(languageText));
}

bool ResourceExists(HMODULE module, LPCWSTR type, LPCWSTR name, const std::wstring& languageText) {
    return FindResourceIn(module, type, name, languageText) != nullptr;
}

bool ResourceExists(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language) {
    return ::FindResourceExW(module, type, name, language) != nullptr;
}

namespace {
bool LoadFound(HMODULE module, HRSRC info, bool inPlace, ResourceData& data) {
    data = ResourceData();
    if (!info) return false;
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = ::SizeofResource(module, info);
    if (!bytes || size == 0) return false;
    data.Assign(static_cast<const BYTE*>(bytes), size, inPlace);
    return true;
}
}  // namespace

bool LoadResourceData(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language, bool inPlace,
                      ResourceData& data) {
    return LoadFound(module, ::FindResourceExW(module, type, name, language), inPlace, data);
}

bool LoadResourceData(HMODULE module, LPCWSTR type, LPCWSTR name, const std::wstring& languageText, bool inPlace,
                      ResourceData& data) {
    return LoadFound(module, FindResourceIn(module, type, name, languageText), inPlace, data);
}

namespace {
std::wstring ZeroTerminatedText(const ResourceData& data) {
    const auto* chars = reinterpret_cast<const wchar_t*>(data.Data());
    size_t count = data.Size() / sizeof(wchar_t);
    size_t length = 0;
    while (length < count && chars[length] != L'\0') ++length;
    return std::wstring(chars, length);
}
}  // namespace

namespace {
// Missing or unloadable: nothing; present and empty: an empty text.
std::optional<std::wstring> FoundText(HMODULE module, HRSRC info) {
    if (!info || !::LoadResource(module, info)) return std::nullopt;
    ResourceData data;
    if (!LoadFound(module, info, true, data)) return std::wstring();
    return ZeroTerminatedText(data);
}
}  // namespace

std::optional<std::wstring> LoadResourceText(HMODULE module, const std::wstring& name,
                                             const std::wstring& languageText) {
    return FoundText(module, FindResourceIn(module, MAKEINTRESOURCEW(kCatalogueType), name.c_str(), languageText));
}

std::optional<std::wstring> LoadResourceText(HMODULE module, const std::wstring& name, LANGID language) {
    return FoundText(module, ::FindResourceExW(module, MAKEINTRESOURCEW(kCatalogueType), name.c_str(), language));
}

namespace {
BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) {
    reinterpret_cast<std::vector<LANGID>*>(context)->push_back(language);
    return TRUE;
}
}  // namespace

std::vector<LANGID> EnumResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name) {
    std::vector<LANGID> languages;
    ::EnumResourceLanguagesW(module, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

}  // namespace icbs
