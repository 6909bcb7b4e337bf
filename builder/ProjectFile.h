// The project file's syntax, read strictly: "[installer]" and
// "[package NAME]" sections in file order, "key = value" lines in them,
// values optionally in double quotes (a quote inside doubled), comment
// lines starting with ";" or "#". A duplicate section (names compared
// without regard to case) or key, a line without "=", a setting outside a
// section, an unknown section and an unbalanced quote are errors that name
// their line.
#pragma once

#include <string>
#include <vector>

struct ProjectSetting {
    std::wstring key;
    std::wstring value;
    int line = 0;
};

struct ProjectSection {
    bool isPackage = false;
    std::wstring name;  // the package's name; empty for [installer]
    int line = 0;
    std::vector<ProjectSetting> settings;
};

// False with error "line N: reason" at the first fault.
bool ParseProjectText(const std::wstring& text, std::vector<ProjectSection>& sections, std::wstring& error);

// The file's bytes as text: UTF-16 with its byte-order mark, else UTF-8
// (with or without one).
bool DecodeProjectBytes(const std::string& bytes, std::wstring& text);
