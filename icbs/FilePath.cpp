#include "icbs/FilePath.h"

namespace {
constexpr const wchar_t* kSeparators = L"\\/";
}

std::wstring FilePath::FileName() const {
    size_t separator = fullPath_.find_last_of(kSeparators);
    return separator == std::wstring::npos ? fullPath_ : fullPath_.substr(separator + 1);
}

std::wstring FilePath::BaseName() const {
    std::wstring name = FileName();
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring FilePath::Extension() const {
    std::wstring name = FileName();
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

FolderPath FilePath::Folder() const {
    size_t separator = fullPath_.find_last_of(kSeparators);
    return separator == std::wstring::npos ? FolderPath() : FolderPath(fullPath_.substr(0, separator));
}
