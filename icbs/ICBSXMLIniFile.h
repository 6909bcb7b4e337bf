// The line-oriented XML configuration file of the processing server
// ("server_config.xml"): one setting per line as "<section.key>value
// </section.key>" inside the "config" root element, defaults shipped as
// commented-out lines. It offers the keyed interface of the INI form with
// paths that join section and key with "." ("http.socket-port"). Every line
// that is not changed is written back exactly as it was read; only changed
// or added lines are generated.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "icbs/ConfigText.h"
#include "icbs/FilePath.h"
#include "icbs/ICBSIniFileBase.h"
#include "icbs/XmlConfigLine.h"

class ICBSXMLIniFile : public ICBSIniFileBase {
public:
    // Loads the file at fullPath; a missing, unreadable or empty file gives
    // the three-line skeleton (declaration, root start tag, root end tag),
    // which alone is never written.
    explicit ICBSXMLIniFile(const std::wstring& fullPath);
    // Saves a modified file (the result is not reported).
    ~ICBSXMLIniFile() override;

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

    // The settings in force (not commented out), in file order.
    std::vector<ConfigValueEntry> Values() const;
    const std::vector<std::unique_ptr<XmlConfigLine>>& Lines() const { return lines_; }
    const FilePath& Path() const { return path_; }

    // The root start tag of a new file.
    static const wchar_t* const kSkeletonRootTag;

private:
    const XmlConfigLine* FindSetting(std::wstring_view section, std::wstring_view key) const;
    bool ChangeSetting(XmlConfigLine& line, std::wstring_view value);
    size_t NewSectionPosition() const;
    void Insert(size_t position, std::wstring_view section, std::wstring_view key, std::wstring_view value);

    FilePath path_;
    ConfigTextEncoding encoding_ = ConfigTextEncoding::SingleByte;
    std::vector<std::unique_ptr<XmlConfigLine>> lines_;
    bool endsInsideComment_ = false;  // the file's last line leaves a comment open
};
