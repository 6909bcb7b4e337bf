#include "framework/Text.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace fw {

std::wstring FormatV(const wchar_t* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    _vsnwprintf(buffer.data(), buffer.size(), format, args);
    return std::wstring(buffer.data(), static_cast<size_t>(length));
}

std::wstring Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring result = FormatV(format, args);
    va_end(args);
    return result;
}

namespace {
std::wstring MapCase(std::wstring_view text, DWORD flag) {
    if (text.empty()) return std::wstring();
    std::wstring result(text);
    ::LCMapStringW(LOCALE_INVARIANT, flag, text.data(), static_cast<int>(text.size()), result.data(),
                   static_cast<int>(result.size()));
    return result;
}
}  // namespace

std::wstring ToUpper(std::wstring_view text) { return MapCase(text, LCMAP_UPPERCASE); }
std::wstring ToLower(std::wstring_view text) { return MapCase(text, LCMAP_LOWERCASE); }

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::wstring Trim(std::wstring_view text, std::wstring_view characters) {
    size_t first = text.find_first_not_of(characters);
    if (first == std::wstring_view::npos) return std::wstring();
    size_t last = text.find_last_not_of(characters);
    return std::wstring(text.substr(first, last - first + 1));
}

std::string ToCodePage(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return std::string();
    int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string result(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                              nullptr, nullptr);
    return result;
}

std::wstring FromCodePage(std::string_view text, unsigned codePage) {
    if (text.empty()) return std::wstring();
    int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

}  // namespace fw
