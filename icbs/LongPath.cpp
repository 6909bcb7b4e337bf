#include "icbs/LongPath.h"

#include <vector>

namespace icbs {

std::wstring ExtendedLengthForm(const std::wstring& absolutePath) {
    std::wstring path = absolutePath;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

std::wstring FullPathOf(const std::wstring& path) {
    std::vector<wchar_t> buffer(path.size() + MAX_PATH);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0) return path;
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
    return path;
}

std::wstring ApiPath(const std::wstring& path, size_t maxLength) {
    if (path.size() <= maxLength || path.rfind(L"\\\\?\\", 0) == 0) return path;
    return ExtendedLengthForm(FullPathOf(path));
}

}  // namespace icbs
