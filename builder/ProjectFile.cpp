#include "builder/ProjectFile.h"

#include <windows.h>

#include "framework/Text.h"

namespace {

const wchar_t kBlanks[] = L" \t";

std::wstring LineText(int line, const std::wstring& reason) { return fw::Format(L"line %d: ", line) + reason; }

// A value as written: in double quotes it is the text between them, each
// doubled quote inside one quote; otherwise the text as it stands.
bool Unquote(const std::wstring& raw, std::wstring& value, std::wstring& reason) {
    if (raw.empty() || raw[0] != L'"') {
        value = raw;
        return true;
    }
    value.clear();
    for (size_t i = 1; i < raw.size(); ++i) {
        if (raw[i] != L'"') {
            value += raw[i];
            continue;
        }
        if (i + 1 == raw.size()) return true;
        if (raw[i + 1] != L'"') break;
        value += L'"';
        ++i;
    }
    reason = L"unbalanced quote in the value " + raw + L" (a quote inside a quoted value is written twice)";
    return false;
}

bool OpenSection(const std::wstring& header, int line, std::vector<ProjectSection>& sections, std::wstring& error) {
    std::wstring inner = fw::Trim(header.substr(1, header.size() - 2), kBlanks);
    ProjectSection section;
    section.line = line;
    size_t blank = inner.find_first_of(kBlanks);
    std::wstring kind = inner.substr(0, blank);
    if (fw::EqualsNoCase(inner, L"installer")) {
        section.isPackage = false;
    } else if (fw::EqualsNoCase(kind, L"package")) {
        section.isPackage = true;
        section.name = blank == std::wstring::npos ? std::wstring() : fw::Trim(inner.substr(blank), kBlanks);
        if (section.name.empty()) {
            error = LineText(line, L"a package section needs a name: [package NAME]");
            return false;
        }
    } else {
        error = LineText(line, L"unknown section " + header + L" (a project file has [installer] and [package NAME])");
        return false;
    }
    for (const ProjectSection& earlier : sections) {
        if (earlier.isPackage == section.isPackage && fw::EqualsNoCase(earlier.name, section.name)) {
            error = LineText(line, fw::Format(L"section %s appears a second time (first at line %d)",
                                              header.c_str(), earlier.line));
            return false;
        }
    }
    sections.push_back(section);
    return true;
}

bool AddSetting(const std::wstring& text, int line, std::vector<ProjectSection>& sections, std::wstring& error) {
    size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) {
        error = LineText(line, L"\"" + text + L"\" is not a setting (key = value)");
        return false;
    }
    if (sections.empty()) {
        error = LineText(line, L"a setting before the first section ([installer] or [package NAME])");
        return false;
    }
    ProjectSetting setting;
    setting.line = line;
    setting.key = fw::Trim(text.substr(0, equals), kBlanks);
    if (setting.key.empty()) {
        error = LineText(line, L"a setting without a key");
        return false;
    }
    std::wstring reason;
    if (!Unquote(fw::Trim(text.substr(equals + 1), kBlanks), setting.value, reason)) {
        error = LineText(line, reason);
        return false;
    }
    ProjectSection& section = sections.back();
    for (const ProjectSetting& earlier : section.settings) {
        if (fw::EqualsNoCase(earlier.key, setting.key)) {
            error = LineText(line, fw::Format(L"\"%s\" is set a second time in this section (first at line %d)",
                                              setting.key.c_str(), earlier.line));
            return false;
        }
    }
    section.settings.push_back(setting);
    return true;
}

}  // namespace

bool ParseProjectText(const std::wstring& text, std::vector<ProjectSection>& sections, std::wstring& error) {
    sections.clear();
    int line = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring content = fw::Trim(text.substr(start, end - start), L" \t\r");
        start = end + 1;
        ++line;
        if (content.empty() || content[0] == L';' || content[0] == L'#') continue;
        if (content[0] != L'[') {
            if (!AddSetting(content, line, sections, error)) return false;
        } else if (content.back() != L']') {
            error = LineText(line, L"a section header without its closing \"]\"");
            return false;
        } else if (!OpenSection(content, line, sections, error)) {
            return false;
        }
    }
    return true;
}

bool DecodeProjectBytes(const std::string& bytes, std::wstring& text) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2) return false;
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
        return true;
    }
    std::string utf8 = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    text = fw::FromCodePage(utf8, CP_UTF8);
    return text.size() <= utf8.size() && (utf8.empty() || !text.empty());
}
