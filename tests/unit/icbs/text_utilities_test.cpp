// Shows the exact trimming, splitting, comparison, parsing and formatting
// rules that the configuration files and pages rely on.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "icbs/TextUtilities.h"

using icbs::SplitFirst;
using icbs::SplitFirstOf;
using icbs::SplitLastOf;
using icbs::Trim;

TEST(TextTrimSplit, TrimRemovesOnlySetCharactersAtBothEnds) {
    EXPECT_EQ(Trim(L" \tvalue \r\n", L" \t\r\n"), L"value");
    EXPECT_EQ(Trim(L"\t\t", L" \t\r\n"), L"");
    EXPECT_EQ(Trim(L"", L" \t"), L"");
    EXPECT_EQ(Trim(L"  a b  ", L" "), L"a b") << "inner blanks stay";
    EXPECT_EQ(Trim(L"[[Main]]", L"[]"), L"Main");
    EXPECT_EQ(Trim(L"[a]b]", L"[]"), L"a]b");
    EXPECT_EQ(Trim(L" x ", L""), L" x ") << "an empty set removes nothing";
    EXPECT_EQ(Trim(L"\r\n value", L" \t"), L"\r\n value") << "only characters of the set count";
}

TEST(TextTrimSplit, SplitFirstCutsAtTheFirstSeparatorOnly) {
    std::wstring head = L"untouched", tail = L"untouched";
    EXPECT_TRUE(SplitFirst(L"Master::port", L"::", head, tail));
    EXPECT_EQ(head, L"Master");
    EXPECT_EQ(tail, L"port");
    EXPECT_TRUE(SplitFirst(L"a::b::c", L"::", head, tail));
    EXPECT_EQ(head, L"a");
    EXPECT_EQ(tail, L"b::c");
    EXPECT_TRUE(SplitFirst(L"::key", L"::", head, tail));
    EXPECT_EQ(head, L"");
    EXPECT_EQ(tail, L"key");
    EXPECT_TRUE(SplitFirst(L"http.", L".", head, tail));
    EXPECT_EQ(head, L"http");
    EXPECT_EQ(tail, L"");
}

TEST(TextTrimSplit, SplitFirstWithoutSeparatorLeavesOutputsAlone) {
    std::wstring head = L"old head", tail = L"old tail";
    EXPECT_FALSE(SplitFirst(L"port", L"::", head, tail));
    EXPECT_EQ(head, L"old head");
    EXPECT_EQ(tail, L"old tail");
    EXPECT_FALSE(SplitFirst(L"a:b", L"::", head, tail)) << "a single colon is not the separator";
    EXPECT_FALSE(SplitFirst(L"text", L"", head, tail));
    EXPECT_EQ(head, L"old head");
}

TEST(TextTrimSplit, SplitMayWriteIntoTheStringItSplits) {
    std::wstring text = L"section::key", tail;
    EXPECT_TRUE(SplitFirst(text, L"::", text, tail));
    EXPECT_EQ(text, L"section");
    EXPECT_EQ(tail, L"key");
    std::wstring other = L"a=b", head;
    EXPECT_TRUE(SplitFirstOf(other, L"=", head, other));
    EXPECT_EQ(head, L"a");
    EXPECT_EQ(other, L"b");
}

TEST(TextTrimSplit, SplitFirstOfCutsAtTheFirstCharacterOfTheSet) {
    std::wstring head, tail;
    EXPECT_TRUE(SplitFirstOf(L"a=b=c", L"=", head, tail));
    EXPECT_EQ(head, L"a");
    EXPECT_EQ(tail, L"b=c");
    EXPECT_TRUE(SplitFirstOf(L"dir\\file=x", L"=\\", head, tail));
    EXPECT_EQ(head, L"dir");
    EXPECT_EQ(tail, L"file=x");
    head = L"old", tail = L"old";
    EXPECT_FALSE(SplitFirstOf(L"no separator", L"=", head, tail));
    EXPECT_EQ(head, L"no separator");
    EXPECT_EQ(tail, L"");
}

TEST(TextTrimSplit, SplitLastOfCutsAtTheLastCharacterOfTheSet) {
    std::wstring head, tail;
    EXPECT_TRUE(SplitLastOf(L"C:\\a\\b\\file.txt", L"\\", head, tail));
    EXPECT_EQ(head, L"C:\\a\\b");
    EXPECT_EQ(tail, L"file.txt");
    EXPECT_TRUE(SplitLastOf(L"a/b\\c", L"\\/", head, tail));
    EXPECT_EQ(head, L"a/b");
    EXPECT_EQ(tail, L"c");
    head = L"old", tail = L"old";
    EXPECT_FALSE(SplitLastOf(L"file.txt", L"\\", head, tail));
    EXPECT_EQ(head, L"file.txt");
    EXPECT_EQ(tail, L"");
}

TEST(TextCompareParse, StartsAndEndsWithCountLetterCase) {
    EXPECT_TRUE(icbs::StartsWith(L"<!-- x", L"<!--"));
    EXPECT_FALSE(icbs::StartsWith(L"Config", L"config"));
    EXPECT_TRUE(icbs::StartsWith(L"abc", L""));
    EXPECT_FALSE(icbs::StartsWith(L"ab", L"abc"));
    EXPECT_TRUE(icbs::EndsWith(L"setup.MSI", L".MSI"));
    EXPECT_FALSE(icbs::EndsWith(L"setup.MSI", L".msi"));
    EXPECT_FALSE(icbs::EndsWith(L"i", L"msi"));
}

TEST(TextCompareParse, EqualsIgnoringCaseFoldsOnlyTheLettersAToZ) {
    EXPECT_TRUE(icbs::Equals(L"HTTP.Socket-Port", L"http.socket-port", true));
    EXPECT_FALSE(icbs::Equals(L"HTTP.Socket-Port", L"http.socket-port", false));
    EXPECT_TRUE(icbs::Equals(L"same", L"same", false));
    EXPECT_FALSE(icbs::Equals(L"port", L"ports", true));
    // Characters 32 apart that are not letters must stay different.
    EXPECT_FALSE(icbs::Equals(L"[", L"{", true));
    EXPECT_FALSE(icbs::Equals(L"@", L"`", true));
    EXPECT_FALSE(icbs::Equals(L"^", L"~", true));
    EXPECT_FALSE(icbs::Equals(L"\u00c4", L"\u00e4", true)) << "only A to Z fold";
    EXPECT_TRUE(icbs::Equals(L"", L"", true));
    EXPECT_FALSE(icbs::Equals(std::wstring(L"a\0b", 3), L"a", true)) << "the whole length counts";
}

TEST(TextCompareParse, ToIntParsesLikeStringToLong) {
    EXPECT_EQ(icbs::ToInt(L"8080"), 8080);
    EXPECT_EQ(icbs::ToInt(L"  -17x"), -17);
    EXPECT_EQ(icbs::ToInt(L"\t+5"), 5);
    EXPECT_EQ(icbs::ToInt(L"port"), 0);
    EXPECT_EQ(icbs::ToInt(L""), 0);
    EXPECT_EQ(icbs::ToInt(L"0x1F"), 0) << "base 10 only";
    EXPECT_EQ(icbs::ToInt(L"007"), 7);
    EXPECT_EQ(icbs::ToInt(L"99999999999999"), LONG_MAX);
    EXPECT_EQ(icbs::ToInt(L"-99999999999999"), LONG_MIN);
    EXPECT_EQ(icbs::ToInt(std::wstring_view(L"123456", 3)), 123) << "only the viewed characters count";
}

TEST(TextCompareParse, FormatWritesWideArgumentsOfAnyLength) {
    EXPECT_EQ(icbs::Format(L"%s=%d", L"port", 8080), L"port=8080");
    EXPECT_EQ(icbs::Format(L"%04d-%02d", 7, 3), L"0007-03");
    std::wstring longText(5000, L'x');
    EXPECT_EQ(icbs::Format(L"[%s]", longText.c_str()), L"[" + longText + L"]");
    EXPECT_EQ(icbs::Format(L"no arguments"), L"no arguments");
    EXPECT_EQ(icbs::Format(nullptr), L"");
}

TEST(TextTrimSplit, SplitAllKeepsEveryPieceEmptyOnesToo) {
    EXPECT_EQ(icbs::SplitAll(L"a;;b", L';'), (std::vector<std::wstring>{L"a", L"", L"b"}));
    EXPECT_EQ(icbs::SplitAll(L"", L';'), (std::vector<std::wstring>{L""}));
    EXPECT_EQ(icbs::SplitAll(L"6.1.", L'.'), (std::vector<std::wstring>{L"6", L"1", L""}));
}
