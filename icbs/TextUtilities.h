// Small operations on wide strings with exact semantics: trimming, splitting,
// comparison, number parsing and printf-style formatting. The configuration
// files rely on these rules character for character.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>
#include <string_view>

namespace icbs {

// Removes every leading and trailing character that is in set; a text made
// only of such characters becomes empty.
std::wstring Trim(std::wstring_view text, std::wstring_view set);

// Splits at the first occurrence of separator: head = text before it, tail =
// text after it, true. Not found (or an empty separator): false, head and tail
// untouched.
bool SplitFirst(std::wstring_view text, std::wstring_view separator, std::wstring& head, std::wstring& tail);

// Splits at the first (SplitFirstOf) or last (SplitLastOf) character that is
// in set. Not found: head = the whole text, tail empty, false.
bool SplitFirstOf(std::wstring_view text, std::wstring_view set, std::wstring& head, std::wstring& tail);
bool SplitLastOf(std::wstring_view text, std::wstring_view set, std::wstring& head, std::wstring& tail);
// Every piece between separators ("a;;b" gives "a", "", "b"; "" gives one
// empty piece).
std::vector<std::wstring> SplitAll(std::wstring_view text, wchar_t separator);

// Exact prefix and suffix tests; letter case counts.
bool StartsWith(std::wstring_view text, std::wstring_view prefix);
bool EndsWith(std::wstring_view text, std::wstring_view suffix);

// With ignoreCase the letters A to Z equal a to z (nothing else is folded);
// without, the texts must be identical.
bool Equals(std::wstring_view a, std::wstring_view b, bool ignoreCase);

// Base-10 parse as the runtime's string-to-long conversion does it: leading
// blanks and a sign accepted, parsing stops at the first non-digit, no digits
// gives 0, values beyond the range of long are clamped.
long ToInt(std::wstring_view text);

// printf-style formatting into a wide string (%s takes a wide string).
std::wstring Format(const wchar_t* pattern, ...);
std::wstring FormatV(const wchar_t* pattern, va_list args);

}  // namespace icbs
