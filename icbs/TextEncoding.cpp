#include "icbs/TextEncoding.h"

#include <windows.h>

#include <cstdio>

#include "framework/Text.h"

namespace icbs {

std::string ToMultiByte(std::wstring_view text, unsigned codePage) { return fw::ToCodePage(text, codePage); }

std::wstring FromUtf8(std::string_view bytes) { return fw::FromCodePage(bytes, CP_UTF8); }

namespace {
// Length of the UTF-8 sequence that starts with lead; 1 for a byte below 0x80
// and for bytes that cannot start a sequence.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

unsigned long DecodeSequence(std::string_view sequence) {
    static const unsigned char leadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned long code = static_cast<unsigned char>(sequence[0]) & leadMask[sequence.size()];
    for (size_t i = 1; i < sequence.size(); ++i) code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    return code;
}

void AppendUnitEscape(std::string& out, unsigned long unit) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "\\u%lu?", unit);
    out += buffer;
}
}  // namespace

std::string ToRtfEscaped(std::wstring_view text) {
    std::string utf8 = fw::ToCodePage(text, CP_UTF8);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t length = SequenceLength(static_cast<unsigned char>(utf8[i]));
        if (length == 1 || i + length > utf8.size()) {
            out += utf8[i++];
            continue;
        }
        unsigned long code = DecodeSequence(std::string_view(utf8).substr(i, length));
        if (code >= 0x10000) {
            code -= 0x10000;
            AppendUnitEscape(out, 0xD800 + (code >> 10));
            AppendUnitEscape(out, 0xDC00 + (code & 0x3FF));
        } else {
            AppendUnitEscape(out, code);
        }
        i += length;
    }
    return out;
}

}  // namespace icbs
