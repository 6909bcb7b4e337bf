// The five user-interface languages and the current one. Every user-visible
// text is a string-table id resolved in the current language.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct SetupLanguage {
    std::wstring englishName;
    std::wstring displayName;
    UINT nameStringId;
    LANGID languageId;
    std::wstring languageIdText;
    std::wstring transformSuffix;
    std::wstring code;
};

// Reads string id from the string table of module in the given language;
// an empty text when the block or the entry is missing.
std::wstring LoadStringInLanguage(HMODULE module, UINT id, LANGID language);

class LanguageTable {
public:
    explicit LanguageTable(HMODULE module = nullptr);

    const std::vector<std::unique_ptr<SetupLanguage>>& Rows() const { return rows_; }
    const SetupLanguage& Current() const { return *current_; }

    // The first row whose English or display name equals text (letter case
    // ignored) becomes current; display names are reloaded either way.
    void SelectLanguage(const std::wstring& text);
    // The same, by two-letter language code.
    void SelectLanguageByCode(const std::wstring& code);
    // Selects the row of a Windows language id: exact id first, then the same
    // primary language; false when neither matches (the current row stays).
    bool SelectLanguageById(LANGID id);

    std::wstring LoadLocalizedString(UINT id) const;
    void ReloadDisplayNames();

private:
    HMODULE module_;
    std::vector<std::unique_ptr<SetupLanguage>> rows_;
    const SetupLanguage* current_;
};
