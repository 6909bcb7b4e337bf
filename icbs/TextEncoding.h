// Conversions between wide text and 8-bit encodings, and the escape that puts
// any text into a rich-text stream.
#pragma once

#include <string>
#include <string_view>

namespace icbs {

// Wide text to an 8-bit string in codePage (the system ANSI code page, UTF-8
// 65001, ...); an empty string when the conversion fails.
std::string ToMultiByte(std::wstring_view text, unsigned codePage);

// UTF-8 bytes to wide text.
std::wstring FromUtf8(std::string_view bytes);

// The text as UTF-8 in which every byte below 0x80 stands as it is and every
// multi-byte character is replaced by "\u<decimal UTF-16 unit>?", once for
// each UTF-16 unit of the character (two for a character outside the Basic
// Multilingual Plane).
std::string ToRtfEscaped(std::wstring_view text);

}  // namespace icbs
