// The FileName column of a package's File table: "SHORT~1.TXT|Long name.txt"
// names a file by its short and its long name; a name without "|" is both.
#pragma once

#include <string>

// The long name, the one the file has on disk.
inline std::wstring MsiLongFileName(const std::wstring& fileName) {
    size_t bar = fileName.find(L'|');
    return bar == std::wstring::npos ? fileName : fileName.substr(bar + 1);
}
