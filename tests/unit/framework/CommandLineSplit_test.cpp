// Command-line splitting follows Windows' own argument rules, and switches
// reach ParseParam without their "/" or "-".
#include <gtest/gtest.h>

#include "framework/CommandLine.h"

using fw::SplitCommandLine;
using Args = std::vector<std::wstring>;

TEST(CommandLineSplit, SeparatesAtSpacesAndTabs) {
    EXPECT_EQ(SplitCommandLine(L"setup.exe /qn  /L*v\tlog.txt"), (Args{L"setup.exe", L"/qn", L"/L*v", L"log.txt"}));
}

TEST(CommandLineSplit, QuotesGroupAndDisappear) {
    EXPECT_EQ(SplitCommandLine(L"\"C:\\Program Files\\setup.exe\" \"C:\\my logs\\a.txt\" A=\"x y\""),
              (Args{L"C:\\Program Files\\setup.exe", L"C:\\my logs\\a.txt", L"A=x y"}));
}

TEST(CommandLineSplit, BackslashesBeforeQuotes) {
    // 2n backslashes + quote: n backslashes and the quote toggles; 2n+1: n and a literal quote.
    EXPECT_EQ(SplitCommandLine(L"p a\\\\\"b c\" d\\\"e f\\g"), (Args{L"p", L"a\\b c", L"d\"e", L"f\\g"}));
}

TEST(CommandLineSplit, DoubledQuoteInsideQuotesIsLiteral) {
    EXPECT_EQ(SplitCommandLine(L"p \"a\"\"b\" c"), (Args{L"p", L"a\"b", L"c"}));
}

TEST(CommandLineSplit, ProgramNameTakesBackslashesLiterally) {
    EXPECT_EQ(SplitCommandLine(L"\"C:\\dir\\\" x"), (Args{L"C:\\dir\\", L"x"}));
    EXPECT_EQ(SplitCommandLine(L"setup.exe"), (Args{L"setup.exe"}));
}

TEST(CommandLineSplit, EmptyQuotedArgumentIsKept) {
    EXPECT_EQ(SplitCommandLine(L"p \"\" x"), (Args{L"p", L"", L"x"}));
}

TEST(CommandLineSplit, ArgumentsTextIsTheRawTail) {
    EXPECT_EQ(fw::ArgumentsText(L"\"C:\\a b\\setup.exe\"   /qn  A=\"1 2\""), L"/qn  A=\"1 2\"");
    EXPECT_EQ(fw::ArgumentsText(L"setup.exe"), L"");
}

namespace {
struct Recorder : fw::CCommandLineInfo {
    struct Call {
        std::wstring param;
        bool isFlag;
        bool isLast;
    };
    std::vector<Call> calls;
    void ParseParam(const wchar_t* param, bool isFlag, bool isLast) override { calls.push_back({param, isFlag, isLast}); }
};
}  // namespace

TEST(CommandLineSplit, SlashOrDashMarksSwitchAndLastIsFlagged) {
    Recorder recorder;
    fw::ParseCommandLine(recorder, L"setup.exe /qn -x lang=German");
    ASSERT_EQ(recorder.calls.size(), 3u);
    EXPECT_EQ(recorder.calls[0].param, L"qn");
    EXPECT_TRUE(recorder.calls[0].isFlag);
    EXPECT_EQ(recorder.calls[1].param, L"x");
    EXPECT_TRUE(recorder.calls[1].isFlag);
    EXPECT_EQ(recorder.calls[2].param, L"lang=German");
    EXPECT_FALSE(recorder.calls[2].isFlag);
    EXPECT_FALSE(recorder.calls[1].isLast);
    EXPECT_TRUE(recorder.calls[2].isLast);
}

TEST(CommandLineSplit, NoArgumentsMeansNoCalls) {
    Recorder recorder;
    fw::ParseCommandLine(recorder, L"\"C:\\setup.exe\"   ");
    EXPECT_TRUE(recorder.calls.empty());
}
