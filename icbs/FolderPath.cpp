#include "icbs/FolderPath.h"

std::wstring FolderPath::Child(const std::wstring& name) const {
    if (path_.empty()) return name;
    wchar_t last = path_.back();
    if (last == L'\\' || last == L'/') return path_ + name;
    return path_ + L"\\" + name;
}
