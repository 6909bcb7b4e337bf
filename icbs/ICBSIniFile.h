// A configuration file in INI form: "[section]" headers and "key=value"
// lines, with values continued on following lines that hold no "=". The
// file is read once at construction and regenerated from its sections and
// entries on save (comments and spacing are not kept). Paths join section
// and key with "::" ("Listen::port").
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "icbs/ConfigText.h"
#include "icbs/FilePath.h"
#include "icbs/ICBSIniFileBase.h"

class ICBSIniFile : public ICBSIniFileBase {
public:
    // Loads the file at fullPath when it exists; a missing or unreadable file
    // gives an empty object that is not modified.
    explicit ICBSIniFile(const std::wstring& fullPath);
    // Saves a modified file (the result is not reported).
    ~ICBSIniFile() override;

    bool HasContent() const override;
    bool HasUnparsedLines() const override;
    bool IsModified() const override;
    bool HasValue(const wchar_t* section, const wchar_t* key) const override;
    bool HasValue(const wchar_t* path) const override;
    const std::wstring& GetValue(const wchar_t* section, const wchar_t* key) const override;
    const std::wstring& GetValue(const wchar_t* path) const override;
    bool SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) override;
    bool SetValue(const wchar_t* path, const wchar_t* value) override;
    bool Save() override;

    // Every value, section by section in file order.
    std::vector<ConfigValueEntry> Values() const;
    const FilePath& Path() const { return path_; }

private:
    struct Entry {
        std::wstring key;
        std::wstring value;
    };
    struct Section {
        std::wstring name;  // empty: the keys before the first header
        std::vector<std::unique_ptr<Entry>> entries;
    };

    struct StoreResult {
        bool changed;
        Entry* holder;  // the entry that now holds the value, if any
    };

    void Load(const std::vector<std::wstring>& lines);
    // Sets, adds or removes as SetValue does.
    StoreResult Store(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    Section* FindSection(std::wstring_view name) const;
    const Entry* FindEntry(std::wstring_view section, std::wstring_view key) const;
    std::wstring Render() const;

    FilePath path_;
    bool modified_ = false;
    ConfigTextEncoding encoding_ = ConfigTextEncoding::SingleByte;
    std::vector<std::unique_ptr<Section>> sections_;
};
