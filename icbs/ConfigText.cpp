#include "icbs/ConfigText.h"

#include <windows.h>

#include "framework/Text.h"

namespace {

// ISO 8859-1: every byte is the character of the same value and back.
constexpr unsigned kSingleByteCodePage = 28591;
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16Mark[] = "\xFF\xFE";

// UTF-8 content that converts back to exactly the same bytes; anything else
// (invalid sequences included) is not taken as UTF-8.
bool DecodeExactUtf8(std::string_view bytes, std::wstring& text) {
    if (bytes.empty()) {
        text.clear();
        return true;
    }
    int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                       nullptr, 0);
    if (length <= 0) return false;
    text = fw::FromCodePage(bytes, CP_UTF8);
    return fw::ToCodePage(text, CP_UTF8) == bytes;
}

std::wstring DecodeText(std::string_view bytes, ConfigTextEncoding& encoding) {
    std::wstring text;
    if (bytes.substr(0, 3) == kUtf8Mark && DecodeExactUtf8(bytes.substr(3), text)) {
        encoding = ConfigTextEncoding::Utf8WithMark;
        return text;
    }
    if (bytes.substr(0, 2) == kUtf16Mark && bytes.size() % 2 == 0) {
        encoding = ConfigTextEncoding::Utf16WithMark;
        text.resize((bytes.size() - 2) / 2);
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                           (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
        return text;
    }
    encoding = ConfigTextEncoding::SingleByte;
    return fw::FromCodePage(bytes, kSingleByteCodePage);
}

}  // namespace

ConfigTextLines DecodeConfigText(std::string_view bytes) {
    ConfigTextLines result;
    std::wstring text = DecodeText(bytes, result.encoding);
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;  // CR LF reads as LF
        if (c == L'\n') {
            result.lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) result.lines.push_back(std::move(line));
    return result;
}

bool EncodeConfigText(std::wstring_view text, ConfigTextEncoding encoding, std::string& bytes) {
    std::wstring expanded;
    expanded.reserve(text.size() + text.size() / 16);
    for (wchar_t c : text) {
        if (c == L'\n') expanded += L'\r';
        expanded += c;
    }
    bytes.clear();
    switch (encoding) {
    case ConfigTextEncoding::Utf16WithMark:
        bytes = kUtf16Mark;
        for (wchar_t c : expanded) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>((c >> 8) & 0xFF);
        }
        return true;
    case ConfigTextEncoding::Utf8WithMark: {
        std::string body = fw::ToCodePage(expanded, CP_UTF8);
        if (fw::FromCodePage(body, CP_UTF8) != expanded) return false;
        bytes = kUtf8Mark + body;
        return true;
    }
    case ConfigTextEncoding::SingleByte:
    default:
        bytes = fw::ToCodePage(expanded, kSingleByteCodePage);
        return fw::FromCodePage(bytes, kSingleByteCodePage) == expanded;
    }
}
