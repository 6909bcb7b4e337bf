#include "icbs/ICBSIniFile.h"

#include <algorithm>

#include "icbs/ICBSFileUtilities.h"
#include "icbs/TextUtilities.h"

namespace {
constexpr std::wstring_view kLineBlanks = L" \t\r\n";
constexpr std::wstring_view kKeyBlanks = L" \t";
constexpr std::wstring_view kPathSeparator = L"::";
constexpr std::wstring_view kContinuation = L"\r\n\t";
}  // namespace

ICBSIniFile::ICBSIniFile(const std::wstring& fullPath) : path_(fullPath) {
    if (!ICBSFileUtilities::FileExists(path_.FullPath())) return;
    std::string bytes;
    if (!ICBSFileUtilities::ReadAllBytes(path_.FullPath(), bytes)) return;
    ConfigTextLines text = DecodeConfigText(bytes);
    encoding_ = text.encoding;
    Load(text.lines);
    modified_ = false;
}

ICBSIniFile::~ICBSIniFile() {
    try {
        Save();
    } catch (...) {
        // A destructor reports nothing; the file stays as it was.
    }
}

void ICBSIniFile::Load(const std::vector<std::wstring>& lines) {
    std::wstring section, previousKey, previousValue;
    // The entry that holds exactly previousValue, while no header came
    // between: a continuation then extends it in place (a long continued
    // value costs linear, not quadratic, time).
    Entry* continued = nullptr;
    for (const std::wstring& raw : lines) {
        std::wstring line = icbs::Trim(raw, kLineBlanks);
        if (line.empty() || icbs::StartsWith(line, L"//") || icbs::StartsWith(line, L";")) continue;
        if (icbs::StartsWith(line, L"[")) {
            section = icbs::Trim(line, L"[]");
            continued = nullptr;
            continue;
        }
        std::wstring key, value;
        if (!icbs::SplitFirstOf(line, L"=", key, value)) {
            // A line without "=" continues the previous value under the
            // previous key, even across a section header.
            std::wstring suffix = std::wstring(kContinuation) + line;
            previousValue += suffix;
            if (continued != nullptr) {
                continued->value += suffix;  // what storing the longer value does
                modified_ = true;
            } else {
                continued = Store(section, previousKey, previousValue).holder;
            }
            continue;
        }
        key = icbs::Trim(key, kKeyBlanks);
        continued = Store(section, key, value).holder;
        previousKey = std::move(key);
        previousValue = std::move(value);
    }
}

ICBSIniFile::Section* ICBSIniFile::FindSection(std::wstring_view name) const {
    for (const auto& section : sections_)
        if (icbs::Equals(section->name, name, true)) return section.get();
    return nullptr;
}

const ICBSIniFile::Entry* ICBSIniFile::FindEntry(std::wstring_view section, std::wstring_view key) const {
    for (const auto& candidate : sections_) {
        if (!icbs::Equals(candidate->name, section, true)) continue;
        for (const auto& entry : candidate->entries)
            if (icbs::Equals(entry->key, key, true)) return entry.get();
    }
    return nullptr;
}

ICBSIniFile::StoreResult ICBSIniFile::Store(std::wstring_view sectionName, std::wstring_view key,
                                             std::wstring_view value) {
    Section* section = FindSection(sectionName);
    if (section != nullptr) {
        auto& entries = section->entries;
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const auto& entry) { return icbs::Equals(entry->key, key, true); });
        if (found != entries.end()) {
            Entry* entry = found->get();
            if (value.empty()) {
                entries.erase(found);
                entry = nullptr;
            } else if (entry->value == value) {
                return {false, entry};
            } else {
                entry->value.assign(value);
            }
            modified_ = true;
            return {true, entry};
        }
    }
    if (value.empty()) return {false, nullptr};
    if (section == nullptr) {
        auto created = std::make_unique<Section>();
        created->name.assign(sectionName);
        section = created.get();
        if (sectionName.empty())
            sections_.insert(sections_.begin(), std::move(created));
        else
            sections_.push_back(std::move(created));
        modified_ = true;
    }
    if (key.empty()) return {true, nullptr};
    section->entries.push_back(std::make_unique<Entry>(Entry{std::wstring(key), std::wstring(value)}));
    modified_ = true;
    return {true, section->entries.back().get()};
}

bool ICBSIniFile::HasContent() const { return !sections_.empty(); }
bool ICBSIniFile::HasUnparsedLines() const { return false; }
bool ICBSIniFile::IsModified() const { return modified_; }

bool ICBSIniFile::HasValue(const wchar_t* section, const wchar_t* key) const {
    return FindEntry(Argument(section), Argument(key)) != nullptr;
}

const std::wstring& ICBSIniFile::GetValue(const wchar_t* section, const wchar_t* key) const {
    const Entry* entry = FindEntry(Argument(section), Argument(key));
    return entry != nullptr ? entry->value : EmptyValue();
}

bool ICBSIniFile::SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    return Store(Argument(section), Argument(key), Argument(value)).changed;
}

std::vector<ConfigValueEntry> ICBSIniFile::Values() const {
    std::vector<ConfigValueEntry> values;
    for (const auto& section : sections_)
        for (const auto& entry : section->entries) values.push_back({section->name, entry->key, entry->value});
    return values;
}

bool ICBSIniFile::HasValue(const wchar_t* path) const {
    return HasValueAtPath(path, kPathSeparator);
}

const std::wstring& ICBSIniFile::GetValue(const wchar_t* path) const {
    return GetValueAtPath(path, kPathSeparator);
}

bool ICBSIniFile::SetValue(const wchar_t* path, const wchar_t* value) {
    return SetValueAtPath(path, kPathSeparator, value);
}

std::wstring ICBSIniFile::Render() const {
    std::wstring text;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = *sections_[i];
        if (i > 0) text += L'\n';
        if (!section.name.empty()) text += L"[" + section.name + L"]\n";
        for (const auto& entry : section.entries) text += entry->key + L"=" + entry->value + L"\n";
    }
    return text;
}

bool ICBSIniFile::Save() {
    if (!modified_) return true;
    ICBSFileUtilities::CreateParentFolders(path_.FullPath());
    std::string bytes;
    if (!EncodeConfigText(Render(), encoding_, bytes)) return false;
    if (!ICBSFileUtilities::WriteAllBytes(path_.FullPath(), bytes)) return false;
    modified_ = false;
    return true;
}
