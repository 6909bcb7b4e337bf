// The keyed interface of a configuration file: a value is named by a section
// and a key, or by one path string that joins them (the joining separator
// belongs to the file form). Arguments are zero-terminated wide strings; a
// null pointer counts as an empty string.
#pragma once

#include <string>
#include <string_view>

// One value of a configuration file, for listing them all.
struct ConfigValueEntry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

class ICBSIniFileBase {
public:
    virtual ~ICBSIniFileBase() = default;

    // The file holds at least one section (INI) or line (XML).
    virtual bool HasContent() const = 0;
    // Some line has a form the class does not understand.
    virtual bool HasUnparsedLines() const = 0;
    // There are changes not yet saved.
    virtual bool IsModified() const = 0;

    virtual bool HasValue(const wchar_t* section, const wchar_t* key) const = 0;
    virtual bool HasValue(const wchar_t* path) const = 0;
    // The stored value, or a reference to one shared empty string.
    virtual const std::wstring& GetValue(const wchar_t* section, const wchar_t* key) const = 0;
    virtual const std::wstring& GetValue(const wchar_t* path) const = 0;
    // Sets, adds or (with an empty value) removes a value; true when
    // something changed.
    virtual bool SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) = 0;
    virtual bool SetValue(const wchar_t* path, const wchar_t* value) = 0;
    // Writes the file when it is modified; true when nothing needed writing.
    virtual bool Save() = 0;

protected:
    ICBSIniFileBase() = default;
    ICBSIniFileBase(const ICBSIniFileBase&) = delete;
    ICBSIniFileBase& operator=(const ICBSIniFileBase&) = delete;

    static const std::wstring& EmptyValue();
    static std::wstring_view Argument(const wchar_t* text) { return text ? std::wstring_view(text) : std::wstring_view(); }
    // Splits path at the first separator into section and key; without it
    // the whole path is the key of the unnamed section.
    static void SplitPath(const wchar_t* path, std::wstring_view separator, std::wstring& section, std::wstring& key);

    // The path forms of a file form whose paths join section and key with
    // separator: they split the path and call the section-and-key forms
    // through the interface, so that a class that overrides those is served
    // by the path forms as well.
    bool HasValueAtPath(const wchar_t* path, std::wstring_view separator) const;
    const std::wstring& GetValueAtPath(const wchar_t* path, std::wstring_view separator) const;
    bool SetValueAtPath(const wchar_t* path, std::wstring_view separator, const wchar_t* value);
};
