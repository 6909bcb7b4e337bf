// Shows how configuration file bytes become lines and back: text-mode line
// ends, one character per byte, and files marked as UTF-8 or UTF-16.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icbs/ConfigText.h"

using Lines = std::vector<std::wstring>;

TEST(ConfigTextCodec, LinesEndAtCrLfOrLf) {
    EXPECT_EQ(DecodeConfigText("a\r\nb\nc").lines, (Lines{L"a", L"b", L"c"}));
    EXPECT_EQ(DecodeConfigText("a\r\n").lines, (Lines{L"a"})) << "a final line end starts no line";
    EXPECT_EQ(DecodeConfigText("\n\n").lines, (Lines{L"", L""}));
    EXPECT_EQ(DecodeConfigText("").lines, Lines{});
    EXPECT_EQ(DecodeConfigText("no line end").lines, (Lines{L"no line end"}));
}

TEST(ConfigTextCodec, LoneCarriageReturnsStayInTheLine) {
    EXPECT_EQ(DecodeConfigText("a\rb\r\n").lines, (Lines{L"a\rb"}));
    EXPECT_EQ(DecodeConfigText("a\r\r\nb").lines, (Lines{L"a\r", L"b"}));
    EXPECT_EQ(DecodeConfigText("end\r").lines, (Lines{L"end\r"}));
}

TEST(ConfigTextCodec, EveryByteIsTheCharacterOfTheSameValue) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        if (i != '\n' && i != '\r') bytes += static_cast<char>(i);
    ConfigTextLines text = DecodeConfigText(bytes);
    EXPECT_EQ(text.encoding, ConfigTextEncoding::SingleByte);
    ASSERT_EQ(text.lines.size(), 1u);
    ASSERT_EQ(text.lines[0].size(), bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        EXPECT_EQ(static_cast<unsigned>(text.lines[0][i]), static_cast<unsigned char>(bytes[i]));
    std::string written;
    ASSERT_TRUE(EncodeConfigText(text.lines[0], text.encoding, written));
    EXPECT_EQ(written, bytes);
}

TEST(ConfigTextCodec, WritingTurnsEachLineFeedIntoCrLf) {
    std::string bytes;
    ASSERT_TRUE(EncodeConfigText(L"a\nb\r\n\tc\n", ConfigTextEncoding::SingleByte, bytes));
    EXPECT_EQ(bytes, "a\r\nb\r\r\n\tc\r\n");
}

TEST(ConfigTextCodec, CharactersBeyondOneByteCannotBeWrittenAsSingleBytes) {
    std::string bytes;
    EXPECT_FALSE(EncodeConfigText(L"euro \u20ac", ConfigTextEncoding::SingleByte, bytes));
    EXPECT_FALSE(EncodeConfigText(L"\u0100", ConfigTextEncoding::SingleByte, bytes));
    EXPECT_TRUE(EncodeConfigText(L"\u00ff", ConfigTextEncoding::SingleByte, bytes));
    EXPECT_EQ(bytes, "\xFF");
}

TEST(ConfigTextCodec, Utf8FileWithMarkIsReadAndWrittenAsUtf8) {
    std::string file = "\xEF\xBB\xBFk=M\xC3\xBCller\r\n";
    ConfigTextLines text = DecodeConfigText(file);
    EXPECT_EQ(text.encoding, ConfigTextEncoding::Utf8WithMark);
    EXPECT_EQ(text.lines, (Lines{L"k=M\u00fcller"}));
    std::string written;
    ASSERT_TRUE(EncodeConfigText(text.lines[0] + L"\n", text.encoding, written));
    EXPECT_EQ(written, file);
    ASSERT_TRUE(EncodeConfigText(L"\u20ac", ConfigTextEncoding::Utf8WithMark, written));
    EXPECT_EQ(written, "\xEF\xBB\xBF\xE2\x82\xAC");
}

TEST(ConfigTextCodec, InvalidUtf8AfterAMarkIsReadByteForByte) {
    std::string file = "\xEF\xBB\xBFk=\xFF\xC3";
    ConfigTextLines text = DecodeConfigText(file);
    EXPECT_EQ(text.encoding, ConfigTextEncoding::SingleByte);
    ASSERT_EQ(text.lines.size(), 1u);
    std::string written;
    ASSERT_TRUE(EncodeConfigText(text.lines[0], text.encoding, written));
    EXPECT_EQ(written, file);
}

TEST(ConfigTextCodec, Utf16FileWithMarkIsReadAndWrittenAsUtf16) {
    std::string file("\xFF\xFE" "a\0=\0\xAC\x20\r\0\n\0b\0", 14);
    ConfigTextLines text = DecodeConfigText(file);
    EXPECT_EQ(text.encoding, ConfigTextEncoding::Utf16WithMark);
    EXPECT_EQ(text.lines, (Lines{L"a=\u20ac", L"b"}));
    std::string written;
    ASSERT_TRUE(EncodeConfigText(L"a=\u20ac\nb", text.encoding, written));
    EXPECT_EQ(written, file);
    EXPECT_EQ(DecodeConfigText(file.substr(0, 13)).encoding, ConfigTextEncoding::SingleByte)
        << "an odd length is no UTF-16";
}
