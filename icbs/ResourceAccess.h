// Finding and reading the resources of a module by type, name and language.
// A language is given as a LANGID or as its decimal text; an empty text
// means any language (the system chooses the instance).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace icbs {

// The custom resource type of the catalogue, the packages and the transforms.
constexpr WORD kCatalogueType = 40;

// The resource language a language text names: "1031", "1034", "1036",
// "1041" and "2052" name themselves, any other text 1033.
LANGID ResourceLanguageFromText(const std::wstring& text);

// The bytes of one resource: either the loaded resource itself (in place)
// or a copy that this object owns.
class ResourceData {
public:
    const BYTE* Data() const { return copied_ ? copy_.data() : view_; }
    DWORD Size() const { return size_; }
    bool IsCopy() const { return copied_; }
    explicit operator bool() const { return size_ != 0; }
    // The resource is there, but its address and size lie (partly) outside
    // the image or its section: a damaged file; no data.
    bool Damaged() const { return damaged_; }
    void MarkDamaged() { damaged_ = true; }

    // Refers to data (inPlace) or holds a copy of it.
    void Assign(const BYTE* data, DWORD size, bool inPlace);

private:

    const BYTE* view_ = nullptr;
    std::vector<BYTE> copy_;
    DWORD size_ = 0;
    bool copied_ = false;
    bool damaged_ = false;
};

// True when size bytes at data lie inside one section of the module's image
// (the launcher's own, or a file loaded as an image resource or as a data
// file): a resource entry of a crafted file may point anywhere.
bool WithinModuleSection(HMODULE module, const void* data, DWORD size);

// The resource of type and name in the language (FindResourceExW), or in any
// language for an empty language text (FindResourceW); null when missing.
HRSRC FindResourceIn(HMODULE module, LPCWSTR type, LPCWSTR name, const std::wstring& languageText);

bool ResourceExists(HMODULE module, LPCWSTR type, LPCWSTR name, const std::wstring& languageText);
bool ResourceExists(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language);

// Finds, loads, locks and sizes the resource, and checks its address and
// size against the image and its section (a bad one gives no data and
// marks it damaged). With inPlace the data refers to the loaded resource
// (valid while the module is loaded), without it the bytes are copied.
// True when the resource is there, sound and not empty.
bool LoadResourceData(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language, bool inPlace,
                      ResourceData& data);
bool LoadResourceData(HMODULE module, LPCWSTR type, LPCWSTR name, const std::wstring& languageText,
                      bool inPlace, ResourceData& data);

// A type-40 resource read as zero-terminated UTF-16 text (the text ends at
// the first terminator or at the end of the resource); nothing when the
// resource is missing, cannot be loaded or is damaged (damaged, when
// given, tells the last).
std::optional<std::wstring> LoadResourceText(HMODULE module, const std::wstring& name,
                                             const std::wstring& languageText = std::wstring(),
                                             bool* damaged = nullptr);
std::optional<std::wstring> LoadResourceText(HMODULE module, const std::wstring& name, LANGID language,
                                             bool* damaged = nullptr);

// The languages in which the resource exists, in the order the system
// lists them; empty when there is none.
std::vector<LANGID> EnumResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name);

}  // namespace icbs
