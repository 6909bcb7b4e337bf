#include "launcher/PropertyRules.h"

#include <cwchar>

#include "framework/Text.h"

bool IsValidPropertyValue(const std::wstring& name, const std::wstring& value) {
    size_t underscore = name.find(L'_');
    if (underscore == std::wstring::npos) return true;
    std::wstring tail = name.substr(underscore + 1);
    if (!fw::EqualsNoCase(tail, L"WebServer_Port") && !fw::EqualsNoCase(tail, L"SSLWebServer_Port")) return true;
    if (value.empty()) return false;
    wchar_t* end = nullptr;
    wcstol(value.c_str(), &end, 10);
    return end != value.c_str() && *end == L'\0';
}

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The end of the argument that starts at begin, by the quoting rules of the
// command line (a quote toggles; a backslash escapes a quote).
size_t ArgumentEnd(const std::wstring& text, size_t begin) {
    bool quoted = false;
    size_t i = begin;
    while (i < text.size() && (quoted || !IsBlank(text[i]))) {
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'"') {
            i += 2;
            continue;
        }
        if (text[i] == L'"') quoted = !quoted;
        ++i;
    }
    return i;
}
}  // namespace

std::wstring MaskPasswordsForLog(const std::wstring& arguments) {
    std::wstring out;
    size_t i = 0;
    while (i < arguments.size()) {
        if (IsBlank(arguments[i])) {
            out += arguments[i++];
            continue;
        }
        size_t end = ArgumentEnd(arguments, i);
        std::wstring argument = arguments.substr(i, end - i);
        size_t equals = argument.find(L'=');
        if (equals != std::wstring::npos && argument[0] != L'/' && argument[0] != L'-') {
            std::wstring name;
            for (wchar_t c : argument.substr(0, equals))
                if (c != L'"') name += c;
            if (fw::EndsWithNoCase(fw::Trim(name), L"_Password")) argument = argument.substr(0, equals + 1) + L"********";
        }
        out += argument;
        i = end;
    }
    return out;
}
