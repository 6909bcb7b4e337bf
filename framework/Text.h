// Text helpers used across the launcher: printf-style formatting into wide
// strings, case-insensitive comparison, and the one place where wide text is
// converted to and from 8-bit code pages.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace fw {

// Formats with the Windows wide printf rules (%s takes a wide string). The
// result has any length.
std::wstring Format(const wchar_t* format, ...);
std::wstring FormatV(const wchar_t* format, va_list args);

bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix);
std::wstring ToUpper(std::wstring_view text);
std::wstring ToLower(std::wstring_view text);

// Removes the given characters from both ends.
std::wstring Trim(std::wstring_view text, std::wstring_view characters = L" \t");

// Conversions between UTF-16 and an 8-bit code page (CP_ACP, CP_OEMCP,
// CP_UTF8 or any other code page number).
std::string ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view text, unsigned codePage);

}  // namespace fw
