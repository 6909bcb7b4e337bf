#include "catalogue/LanguageTable.h"

#include "framework/Text.h"
#include "icbs/ResourceAccess.h"

std::wstring LoadStringInLanguage(HMODULE module, UINT id, LANGID language) {
    icbs::ResourceData data;
    if (!icbs::LoadResourceData(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language, true, data))
        return std::wstring();
    auto* block = reinterpret_cast<const WCHAR*>(data.Data());
    const WCHAR* end = block + data.Size() / sizeof(WCHAR);
    const WCHAR* entry = block;
    for (UINT i = 0; i < id % 16; ++i) {
        if (entry >= end) return std::wstring();
        entry += 1 + *entry;
    }
    if (entry >= end || entry + 1 + *entry > end) return std::wstring();
    return std::wstring(entry + 1, *entry);
}

LanguageTable::LanguageTable(HMODULE module) : module_(module ? module : ::GetModuleHandleW(nullptr)) {
    auto add = [this](const wchar_t* name, UINT id, LANGID lang, const wchar_t* text, const wchar_t* suffix,
                      const wchar_t* code) {
        rows_.push_back(std::make_unique<SetupLanguage>(SetupLanguage{name, name, id, lang, text, suffix, code}));
    };
    add(L"English", 50, 1033, L"1033", L"", L"en");
    add(L"German", 51, 1031, L"1031", L"_de", L"de");
    add(L"Spanish", 52, 1034, L"1034", L"_es", L"es");
    add(L"French", 65, 1036, L"1036", L"_fr", L"fr");
    add(L"Japanese", 53, 1041, L"1041", L"_ja", L"ja");
    current_ = rows_.front().get();
}

std::wstring LanguageTable::LoadLocalizedString(UINT id) const {
    return LoadStringInLanguage(module_, id, current_->languageId);
}

void LanguageTable::ReloadDisplayNames() {
    for (auto& row : rows_) row->displayName = LoadLocalizedString(row->nameStringId);
}

void LanguageTable::SelectLanguage(const std::wstring& text) {
    for (auto& row : rows_) {
        if (fw::EqualsNoCase(row->englishName, text) || fw::EqualsNoCase(row->displayName, text)) {
            current_ = row.get();
            break;
        }
    }
    ReloadDisplayNames();
}

void LanguageTable::SelectLanguageByCode(const std::wstring& code) {
    for (auto& row : rows_) {
        if (fw::EqualsNoCase(row->code, code)) {
            current_ = row.get();
            break;
        }
    }
    ReloadDisplayNames();
}

bool LanguageTable::SelectLanguageById(LANGID id) {
    for (auto& row : rows_) {
        if (row->languageId == id) {
            current_ = row.get();
            return true;
        }
    }
    for (auto& row : rows_) {
        if (PRIMARYLANGID(row->languageId) == PRIMARYLANGID(id)) {
            current_ = row.get();
            return true;
        }
    }
    return false;
}
