// The installer's catalogue: resources of custom type 40 in the launcher's
// own executable (package count, per-package strings, packages, transforms,
// requirements).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

constexpr WORD kCatalogueResourceType = 40;

struct CatalogueBlob {
    const BYTE* data = nullptr;
    DWORD size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// One entry of the validation list: a resource name, and the language text
// it is looked up in (none: the system chooses the language instance).
struct RequiredResource {
    std::wstring name;
    std::optional<std::wstring> language;
    bool operator==(const RequiredResource&) const = default;
};

class CatalogueResources {
public:
    explicit CatalogueResources(HMODULE module = nullptr);

    HMODULE Module() const { return module_; }

    // A multi-language installer carries PACKAGE_0_1031 in language 1031 and
    // keeps its real catalogue strings in language 1033.
    bool DetectMultiLanguage() const;
    void SetMultiLanguage(bool value) { multiLanguage_ = value; }
    bool IsMultiLanguage() const { return multiLanguage_; }

    // The text of a catalogue string; nullopt when a single-language
    // installer lacks it. A multi-language installer reads a missing,
    // unloadable or empty instance in 1033 as an empty text. Either fails
    // (nullopt, damaged set) on a string whose address or size lies outside
    // the image.
    std::optional<std::wstring> ReadString(const std::wstring& name, bool* damaged = nullptr) const;

    // How many package resources (PACKAGE_<n>) the installer carries.
    int PackageResourceCount() const;

    CatalogueBlob FindCatalogueBlob(const std::wstring& name) const;
    CatalogueBlob FindBlobInLanguage(const std::wstring& name, LANGID language) const;

    // With a language text: that instance ("1031", "1034", "1036", "1041",
    // "2052"; anything else means 1033). Without: any instance.
    bool CatalogueResourceExists(const std::wstring& name, const std::optional<std::wstring>& languageText) const;
    bool ExistsInLanguage(const std::wstring& name, LANGID language) const;

    static LANGID LanguageFromText(const std::wstring& text);

private:
    HMODULE module_;
    bool multiLanguage_ = false;
};

// The resources that /v requires, in the order they are checked.
std::vector<RequiredResource> RequiredResources(int packageCount, bool multiLanguage,
                                                const std::wstring& languageName);

// Decimal value of a PACKAGE_COUNT text; 0 when it is not a number.
int ParsePackageCount(const std::wstring& text);
