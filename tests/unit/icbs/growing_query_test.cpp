// Shows that a text longer than the first 260-character buffer is read again
// with the size the function asks for, and that failures give empty texts.
#include <gtest/gtest.h>

#include <cwchar>

#include "icbs/GrowingQuery.h"

namespace {
// Answers like GetCurrentDirectoryW would for the given text.
struct FakeFill {
    std::wstring text;
    int calls = 0;
    DWORD operator()(DWORD size, wchar_t* buffer) {
        ++calls;
        if (text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
        std::wmemcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<DWORD>(text.size());
    }
};
}  // namespace

TEST(GrowingQuery, ShortTextsComeBackAtTheFirstCall) {
    FakeFill fill{L"C:\\short"};
    EXPECT_EQ(L"C:\\short", icbs::GrowingQuery([&](DWORD size, wchar_t* buffer) { return fill(size, buffer); }));
    EXPECT_EQ(1, fill.calls);
}

TEST(GrowingQuery, TextsLongerThanTheBufferAreAskedForAgain) {
    for (size_t length : {size_t(MAX_PATH - 1), size_t(MAX_PATH), size_t(1000)}) {
        FakeFill fill{std::wstring(length, L'p')};
        EXPECT_EQ(fill.text, icbs::GrowingQuery([&](DWORD size, wchar_t* buffer) { return fill(size, buffer); }));
        EXPECT_EQ(length < MAX_PATH ? 1 : 2, fill.calls) << length;
    }
}

TEST(GrowingQuery, AFailureGivesAnEmptyText) {
    EXPECT_EQ(L"", icbs::GrowingQuery([](DWORD, wchar_t*) { return DWORD(0); }));
    // A function that keeps asking for more is not followed for ever.
    int calls = 0;
    EXPECT_EQ(L"", icbs::GrowingQuery([&](DWORD size, wchar_t*) {
        ++calls;
        return size + 10;
    }));
    EXPECT_LE(calls, 4);
}
