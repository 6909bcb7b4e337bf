#include "icbs/ICBSXMLIniFile.h"

#include "icbs/ICBSFileUtilities.h"
#include "icbs/TextUtilities.h"

namespace {
constexpr std::wstring_view kPathSeparator = L".";
constexpr const wchar_t* kSkeletonDeclaration = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>";
constexpr const wchar_t* kSkeletonRootEnd = L"</config>";

std::unique_ptr<XmlConfigLine> TextLine(std::wstring text) {
    auto line = std::make_unique<XmlConfigLine>();
    line->text = std::move(text);
    return line;
}
}  // namespace

const wchar_t* const ICBSXMLIniFile::kSkeletonRootTag =
    L"<config xmlns=\"http://www.morvex.com/schemas/harrowby/config\" "
    L"xsi:schemaLocation=\"http://www.morvex.com/schemas/harrowby/config config.xsd\" "
    L"xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">";

ICBSXMLIniFile::ICBSXMLIniFile(const std::wstring& fullPath) : path_(fullPath) {
    const std::wstring& file = path_.FullPath();
    std::string bytes;
    if (ICBSFileUtilities::FileExists(file) && ICBSFileUtilities::ReadAllBytes(file, bytes)) {
        ConfigTextLines text = DecodeConfigText(bytes);
        encoding_ = text.encoding;
        bool insideComment = false;
        lines_.reserve(text.lines.size());
        for (std::wstring& line : text.lines)
            lines_.push_back(std::make_unique<XmlConfigLine>(ClassifyXmlConfigLine(std::move(line), insideComment)));
        endsInsideComment_ = insideComment;
    }
    if (lines_.empty()) {
        lines_.push_back(TextLine(kSkeletonDeclaration));
        lines_.push_back(TextLine(kSkeletonRootTag));
        lines_.push_back(TextLine(kSkeletonRootEnd));
    }
}

ICBSXMLIniFile::~ICBSXMLIniFile() {
    try {
        Save();
    } catch (...) {
        // A destructor reports nothing; the file stays as it was.
    }
}

bool ICBSXMLIniFile::HasContent() const { return !lines_.empty(); }

bool ICBSXMLIniFile::HasUnparsedLines() const {
    for (const auto& line : lines_)
        if (line->isUnparsed) return true;
    return false;
}

bool ICBSXMLIniFile::IsModified() const {
    for (const auto& line : lines_)
        if (line->isChanged) return true;
    return false;
}

const XmlConfigLine* ICBSXMLIniFile::FindSetting(std::wstring_view section, std::wstring_view key) const {
    for (const auto& line : lines_)
        if (line->isElement && !line->isComment && icbs::Equals(line->section, section, true) &&
            icbs::Equals(line->key, key, true))
            return line.get();
    return nullptr;
}

bool ICBSXMLIniFile::HasValue(const wchar_t* section, const wchar_t* key) const {
    return FindSetting(Argument(section), Argument(key)) != nullptr;
}

const std::wstring& ICBSXMLIniFile::GetValue(const wchar_t* section, const wchar_t* key) const {
    const XmlConfigLine* line = FindSetting(Argument(section), Argument(key));
    return line != nullptr ? line->value : EmptyValue();
}

std::vector<ConfigValueEntry> ICBSXMLIniFile::Values() const {
    std::vector<ConfigValueEntry> values;
    for (const auto& line : lines_)
        if (line->isElement && !line->isComment) values.push_back({line->section, line->key, line->value});
    return values;
}

// An existing setting, commented out or not: an empty value comments it out,
// another value brings it back and replaces its value.
bool ICBSXMLIniFile::ChangeSetting(XmlConfigLine& line, std::wstring_view value) {
    if (line.isComment) {
        if (value.empty()) return false;  // already out of force
        line.isComment = false;
        line.isChanged = true;
    }
    if (value.empty()) {
        line.isComment = true;  // the old value stays inside the comment
        line.isChanged = true;
        return true;
    }
    if (line.value == value) return false;
    line.value.assign(value);
    line.isChanged = true;
    return true;
}

void ICBSXMLIniFile::Insert(size_t position, std::wstring_view section, std::wstring_view key,
                            std::wstring_view value) {
    auto line = std::make_unique<XmlConfigLine>();
    line->isElement = true;
    line->isChanged = true;
    line->section.assign(section);
    line->key.assign(key);
    line->value.assign(value);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), std::move(line));
}

// Where the first setting of a new section goes: before the first setting
// that has a section; without one, before the root element's end tag; without
// that, at the end (npos when the end lies inside an unclosed comment, where
// a setting would not count).
size_t ICBSXMLIniFile::NewSectionPosition() const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i]->isElement && !lines_[i]->section.empty()) return i;
    for (size_t i = lines_.size(); i-- > 0;)
        if (!lines_[i]->isComment && IsXmlConfigRootEnd(lines_[i]->text)) return i;
    return endsInsideComment_ ? std::wstring::npos : lines_.size();
}

bool ICBSXMLIniFile::SetValue(const wchar_t* sectionText, const wchar_t* keyText, const wchar_t* valueText) {
    std::wstring_view section = Argument(sectionText), key = Argument(keyText), value = Argument(valueText);
    size_t lastOfSection = lines_.size();
    for (size_t i = 0; i < lines_.size(); ++i) {
        XmlConfigLine& line = *lines_[i];
        if (!line.isElement || !icbs::Equals(line.section, section, true)) continue;
        lastOfSection = i;
        if (icbs::Equals(line.key, key, true)) return ChangeSetting(line, value);
    }
    if (value.empty()) return false;
    if (lastOfSection < lines_.size()) {
        Insert(lastOfSection, section, key, value);
        return true;
    }
    // A new section: a blank line, then the setting.
    size_t position = NewSectionPosition();
    if (position == std::wstring::npos) return false;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), TextLine(std::wstring()));
    Insert(position + 1, section, key, value);
    return true;
}

bool ICBSXMLIniFile::HasValue(const wchar_t* path) const {
    return HasValueAtPath(path, kPathSeparator);
}

const std::wstring& ICBSXMLIniFile::GetValue(const wchar_t* path) const {
    return GetValueAtPath(path, kPathSeparator);
}

bool ICBSXMLIniFile::SetValue(const wchar_t* path, const wchar_t* value) {
    return SetValueAtPath(path, kPathSeparator, value);
}

bool ICBSXMLIniFile::Save() {
    if (!IsModified()) return true;
    ICBSFileUtilities::CreateParentFolders(path_.FullPath());
    std::wstring text;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) text += L'\n';
        text += lines_[i]->isChanged ? RenderXmlConfigLine(*lines_[i]) : lines_[i]->text;
    }
    std::string bytes;
    if (!EncodeConfigText(text, encoding_, bytes) || !ICBSFileUtilities::WriteAllBytes(path_.FullPath(), bytes))
        return false;
    for (auto& line : lines_) {
        if (!line->isChanged) continue;
        line->text = RenderXmlConfigLine(*line);
        line->isChanged = false;
    }
    return true;
}
