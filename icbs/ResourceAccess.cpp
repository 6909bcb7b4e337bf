#include "icbs/ResourceAccess.h"

#include <algorithm>

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

bool WithinModuleSection(HMODULE module, const void* data, DWORD size) {
    if (!module) module = ::GetModuleHandleW(nullptr);
    // A module loaded as a data file or an image resource is marked in the
    // low bits of its handle; a data file keeps the file's own layout.
    auto handle = reinterpret_cast<ULONG_PTR>(module);
    bool fileLayout = (handle & 3) == 1;
    const BYTE* base = reinterpret_cast<const BYTE*>(handle & ~static_cast<ULONG_PTR>(3));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const BYTE* at = static_cast<const BYTE*>(data);
    if (at < base) return false;
    unsigned long long offset = static_cast<unsigned long long>(at - base);
    unsigned long long end = offset + size;
    if (!fileLayout && end > nt->OptionalHeader.SizeOfImage) return false;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        unsigned long long start = fileLayout ? section->PointerToRawData : section->VirtualAddress;
        unsigned long long length = fileLayout ? section->SizeOfRawData
                                               : std::max<unsigned long long>(section->Misc.VirtualSize,
                                                                              section->SizeOfRawData);
        if (offset >= start && offset < start + length) return end <= start + length;
    }
    return false;
}

namespace {
bool LoadFound(HMODULE module, HRSRC info, bool inPlace, ResourceData& data) {
    data = ResourceData();
    if (!info) return false;
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = ::SizeofResource(module, info);
    if (!bytes || size == 0) return false;
    // Checked before a single byte is read.
    if (!WithinModuleSection(module, bytes, size)) {
        data.MarkDamaged();
        return false;
    }
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
// Missing, unloadable or damaged: nothing; present and empty: an empty text.
std::optional<std::wstring> FoundText(HMODULE module, HRSRC info, bool* damaged) {
    if (damaged) *damaged = false;
    if (!info || !::LoadResource(module, info)) return std::nullopt;
    ResourceData data;
    if (!LoadFound(module, info, true, data)) {
        if (!data.Damaged()) return std::wstring();
        if (damaged) *damaged = true;
        return std::nullopt;
    }
    return ZeroTerminatedText(data);
}
}  // namespace

std::optional<std::wstring> LoadResourceText(HMODULE module, const std::wstring& name,
                                             const std::wstring& languageText, bool* damaged) {
    return FoundText(module, FindResourceIn(module, MAKEINTRESOURCEW(kCatalogueType), name.c_str(), languageText),
                     damaged);
}

std::optional<std::wstring> LoadResourceText(HMODULE module, const std::wstring& name, LANGID language,
                                             bool* damaged) {
    return FoundText(module, ::FindResourceExW(module, MAKEINTRESOURCEW(kCatalogueType), name.c_str(), language),
                     damaged);
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
