#include "icbs/TextUtilities.h"

#include <cwchar>

#include "framework/Text.h"

namespace icbs {

std::wstring Trim(std::wstring_view text, std::wstring_view set) {
    size_t first = text.find_first_not_of(set);
    if (first == std::wstring_view::npos) return std::wstring();
    size_t last = text.find_last_not_of(set);
    return std::wstring(text.substr(first, last - first + 1));
}

namespace {
// Assigns both parts from copies, so head or tail may be the very string
// that text views.
bool AssignSplit(std::wstring_view text, size_t at, size_t width, std::wstring& head, std::wstring& tail) {
    std::wstring before(text.substr(0, at));
    std::wstring after(text.substr(at + width));
    head = std::move(before);
    tail = std::move(after);
    return true;
}

bool NotFound(std::wstring_view text, std::wstring& head, std::wstring& tail) {
    std::wstring whole(text);
    head = std::move(whole);
    tail.clear();
    return false;
}
}  // namespace

std::vector<std::wstring> SplitAll(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    for (size_t start = 0;;) {
        size_t end = text.find(separator, start);
        pieces.emplace_back(text.substr(start, end == std::wstring_view::npos ? end : end - start));
        if (end == std::wstring_view::npos) return pieces;
        start = end + 1;
    }
}

bool SplitFirst(std::wstring_view text, std::wstring_view separator, std::wstring& head, std::wstring& tail) {
    if (separator.empty()) return false;
    size_t at = text.find(separator);
    if (at == std::wstring_view::npos) return false;
    return AssignSplit(text, at, separator.size(), head, tail);
}

bool SplitFirstOf(std::wstring_view text, std::wstring_view set, std::wstring& head, std::wstring& tail) {
    size_t at = text.find_first_of(set);
    if (at == std::wstring_view::npos) return NotFound(text, head, tail);
    return AssignSplit(text, at, 1, head, tail);
}

bool SplitLastOf(std::wstring_view text, std::wstring_view set, std::wstring& head, std::wstring& tail) {
    size_t at = text.find_last_of(set);
    if (at == std::wstring_view::npos) return NotFound(text, head, tail);
    return AssignSplit(text, at, 1, head, tail);
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

namespace {
wchar_t FoldAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

bool Equals(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
    if (a.size() != b.size()) return false;
    if (!ignoreCase) return a == b;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) return false;
    return true;
}

long ToInt(std::wstring_view text) {
    std::wstring terminated(text);
    return std::wcstol(terminated.c_str(), nullptr, 10);
}

std::wstring FormatV(const wchar_t* pattern, va_list args) {
    if (pattern == nullptr) return std::wstring();
    return fw::FormatV(pattern, args);
}

std::wstring Format(const wchar_t* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    std::wstring result = FormatV(pattern, args);
    va_end(args);
    return result;
}

}  // namespace icbs
