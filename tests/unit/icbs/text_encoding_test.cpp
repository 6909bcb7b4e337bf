// Shows the conversions between wide text and 8-bit encodings and the
// rich-text escape of every non-ASCII character.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "icbs/TextEncoding.h"

namespace {

// The escape derived from the UTF-16 text itself: ASCII kept, every other
// UTF-16 unit written as \u<decimal>?.
std::string ExpectedRtf(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else
            out += "\\u" + std::to_string(static_cast<unsigned>(c)) + "?";
    }
    return out;
}

// A code point as UTF-8, written out from the encoding rules.
std::string Utf8Of(unsigned long code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

}  // namespace

TEST(TextEncoding, Utf8ConversionFollowsTheEncodingRules) {
    std::wstring text = L"a\u00e4\u20ac\U0001F600";
    std::string expected = Utf8Of('a') + Utf8Of(0xE4) + Utf8Of(0x20AC) + Utf8Of(0x1F600);
    EXPECT_EQ(icbs::ToMultiByte(text, CP_UTF8), expected);
    EXPECT_EQ(icbs::FromUtf8(expected), text);
    EXPECT_EQ(icbs::ToMultiByte(L"", CP_UTF8), "");
    EXPECT_EQ(icbs::FromUtf8(""), L"");
}

TEST(TextEncoding, AnsiConversionKeepsAscii) {
    EXPECT_EQ(icbs::ToMultiByte(L"Port 8080", CP_ACP), "Port 8080");
}

TEST(TextEncoding, UnknownCodePageGivesEmptyString) {
    EXPECT_EQ(icbs::ToMultiByte(L"text", 12345), "");
}

TEST(TextEncoding, RtfEscapeReplacesEachNonAsciiCharacter) {
    EXPECT_EQ(icbs::ToRtfEscaped(L"\u00e4"), "\\u228?");
    EXPECT_EQ(icbs::ToRtfEscaped(L"{\\rtf1 plain}"), "{\\rtf1 plain}") << "ASCII stays as it is";
    EXPECT_EQ(icbs::ToRtfEscaped(L"M\u00fcller \u20ac"), ExpectedRtf(L"M\u00fcller \u20ac"));
    EXPECT_EQ(icbs::ToRtfEscaped(L""), "");
}

TEST(TextEncoding, RtfEscapeKeepsBothHalvesOfACharacterBeyondThePlane) {
    std::wstring emoji = L"\U0001F600";
    ASSERT_EQ(emoji.size(), 2u);
    EXPECT_EQ(icbs::ToRtfEscaped(emoji), ExpectedRtf(emoji));
}

TEST(TextEncoding, RtfEscapeOfRandomTextMatchesItsUtf16Units) {
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> bmp(0x80, 0xFFFF);
    std::uniform_int_distribution<int> supplementary(0x10000, 0x10FFFF);
    for (int round = 0; round < 100; ++round) {
        std::wstring text;
        for (int i = 0; i < 40; ++i) {
            int kind = pick(random);
            if (kind < 5) {
                text += static_cast<wchar_t>(0x20 + pick(random) * 9);
            } else if (kind < 9) {
                int code = bmp(random);
                if (code >= 0xD800 && code <= 0xDFFF) code = 0xE000;  // no lone surrogates
                text += static_cast<wchar_t>(code);
            } else {
                unsigned long code = supplementary(random) - 0x10000;
                text += static_cast<wchar_t>(0xD800 + (code >> 10));
                text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            }
        }
        ASSERT_EQ(icbs::ToRtfEscaped(text), ExpectedRtf(text)) << "round " << round;
    }
}
