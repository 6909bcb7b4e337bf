// Help texts wrap at 79 columns with their indents, keep quoted parts
// together and put the executable's name in place of %s.
#include <gtest/gtest.h>

#include "launcher/HelpModel.h"
#include "launcher/UsageText.h"

namespace {
std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t lf; (lf = text.find(L'\n', start)) != std::wstring::npos; start = lf + 1)
        lines.push_back(text.substr(start, lf - start));
    lines.push_back(text.substr(start));
    return lines;
}
}  // namespace

TEST(WrapHelpText, EmptyTextGivesNothing) { EXPECT_EQ(WrapHelpText(L"", 4, L"setup.exe"), L""); }

TEST(WrapHelpText, ShortTextIsIndentedOnce) {
    EXPECT_EQ(WrapHelpText(L"Display this message.", 4, L"setup.exe"), L"    Display this message.");
}

TEST(WrapHelpText, NoLineLongerThan79AndWordsKept) {
    std::wstring text;
    for (int i = 0; i < 60; ++i) text += L"word" + std::to_wstring(i) + L" ";
    text.pop_back();
    std::wstring wrapped = WrapHelpText(text, 8, L"x");
    std::wstring rejoined;
    for (const std::wstring& line : SplitLines(wrapped)) {
        EXPECT_LE(line.size(), 79u) << line.c_str();
        ASSERT_EQ(line.substr(0, 8), L"        ");
        EXPECT_NE(line[8], L' ') << "leading space kept after a break";
        rejoined += (rejoined.empty() ? L"" : L" ") + line.substr(8);
    }
    EXPECT_EQ(rejoined, text);
}

TEST(WrapHelpText, BreaksBeforeTheWordThatWouldPass79) {
    // 4 spaces + 70 characters + " abcd" = 79: fits; one more character does not.
    std::wstring first(70, L'a');
    EXPECT_EQ(SplitLines(WrapHelpText(first + L" abcd", 4, L"x")).size(), 1u);
    auto lines = SplitLines(WrapHelpText(first + L" abcde", 4, L"x"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], L"    abcde");
}

TEST(WrapHelpText, LineFeedAndTabIndent) {
    auto lines = SplitLines(WrapHelpText(L"To start use:\n\t%s lang=German\nDone.", 4, L"setup.exe"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"    To start use:");
    EXPECT_EQ(lines[1], L"        setup.exe lang=German");
    EXPECT_EQ(lines[2], L"    Done.");
}

TEST(WrapHelpText, ALineAfterATabWrapsWithTheTextsIndent) {
    // The tab indents its own line by four more; where that line wraps, the
    // next one takes the text's indent again.
    std::wstring words;
    for (int i = 0; i < 20; ++i) words += L" word" + std::to_wstring(i);
    auto lines = SplitLines(WrapHelpText(L"Use:\n\t%s" + words, 4, L"setup.exe"));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind(L"        setup.exe word0", 0), 0u);
    for (size_t i = 2; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind(L"    ", 0), 0u) << testing::PrintToString(lines[i]);
        EXPECT_NE(lines[i][4], L' ') << "no tab indent on a wrapped line: " << testing::PrintToString(lines[i]);
        EXPECT_LE(lines[i].size(), 79u);
    }
}

TEST(WrapHelpText, QuotedPartStaysTogether) {
    std::wstring text = std::wstring(66, L'b') + L" \"127.0.0.1 x\" end";
    auto lines = SplitLines(WrapHelpText(text, 0, L"x"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], L"\"127.0.0.1 x\" end");
}

TEST(WrapHelpText, ExecutableNameCountsForTheWidth) {
    std::wstring longName(40, L'n');
    auto lines = SplitLines(WrapHelpText(std::wstring(45, L'c') + L" %s", 0, longName));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], longName);
}

TEST(ExecutableName, LastPathComponent) {
    EXPECT_EQ(ExecutableName(L"C:\\a\\b\\setup.exe"), L"setup.exe");
    EXPECT_EQ(ExecutableName(L"/tmp/x/setup.exe"), L"setup.exe");
    EXPECT_EQ(ExecutableName(L"setup.exe"), L"setup.exe");
}

namespace {
std::wstring Id(UINT id) { return L"<" + std::to_wstring(id) + L">"; }
std::vector<UINT> OptionNames(const CommandHelp& command) {
    std::vector<UINT> names;
    for (const OptionHelp* option : command.options) names.push_back(option->nameId);
    return names;
}
}  // namespace

TEST(HelpModel, CommandsAndOptionsDependOnLanguagesAndPackages) {
    HelpModel single = BuildHelpModel(L"Morvex Editor 2024", 1, false, Id);
    ASSERT_EQ(single.commands.size(), 6u);
    EXPECT_EQ(single.commands[0].syntax, L"/h");
    EXPECT_TRUE(single.commands[0].options.empty());
    EXPECT_EQ(OptionNames(single.commands[1]), (std::vector<UINT>{1050, 1052, 1054, 1058, 1060}));
    EXPECT_EQ(single.commands[5].syntax, L"/u");
    EXPECT_TRUE(single.groups.empty());

    HelpModel multi = BuildHelpModel(L"Morvex Editor 2024", 2, true, Id);
    EXPECT_EQ(OptionNames(multi.commands[3]), (std::vector<UINT>{1048, 1050, 1052, 1054, 1056, 1058, 1060}));
    // Options are shared, not copied.
    EXPECT_EQ(multi.commands[1].options[0], multi.commands[2].options[0]);
    EXPECT_EQ(multi.commands[1].options[0]->syntax, L"lang=<<1071>>");
}

TEST(HelpModel, PropertyGroupsByProductName) {
    HelpModel brimcart = BuildHelpModel(L"Morvex Brimcart Server 2024", 1, false, Id);
    std::vector<UINT> titles;
    for (const auto& group : brimcart.groups) titles.push_back(group.titleId);
    EXPECT_EQ(titles, (std::vector<UINT>{1263, 1264, 1265, 1266, 1276, 1269, 1270}));
    ASSERT_NE(brimcart.FindProperty(L"bc_webserver_port"), nullptr);
    EXPECT_EQ(brimcart.FindProperty(L"BCWeb_SSLWebServer_Host")->descriptionId, 1247u);
    EXPECT_EQ(brimcart.FindProperty(L"HB_SSLWebServer_Host")->descriptionId, 1243u);
    EXPECT_EQ(brimcart.FindProperty(L"HB_SSLWebServer_Port")->descriptionId, 1245u);
    EXPECT_NE(brimcart.FindProperty(L"HB_SSLWebServer_Certificate"), nullptr);
    EXPECT_EQ(brimcart.FindProperty(L"BCWeb_SSLWebServer_Certificate"), nullptr);
    EXPECT_EQ(brimcart.FindProperty(L"PK_Service_Password"), nullptr);

    // The names end in a space: "Morvex Brimcart Server" alone matches nothing.
    EXPECT_TRUE(BuildHelpModel(L"Morvex Brimcart Server", 1, false, Id).groups.empty());
    EXPECT_EQ(BuildHelpModel(L"Morvex Harrowby Server 2023", 1, false, Id).groups.size(), 2u);
    EXPECT_EQ(BuildHelpModel(L"Morvex Sollenvey Server 2023", 1, false, Id).groups.size(), 4u);
    HelpModel xbrl = BuildHelpModel(L"Morvex Harrowby+XBRL Server 2023", 1, false, Id);
    EXPECT_EQ(xbrl.groups.size(), 2u);
    EXPECT_EQ(xbrl.groups[0].titleId, 1271u);
}

TEST(ComposeUsage, EachOptionPrintedOnceInOrder) {
    HelpModel model = BuildHelpModel(L"Morvex Editor 2024", 2, true, Id);
    std::wstring usage = ComposeUsage(model, L"setup.exe", Id);
    size_t first = usage.find(L"    lang=<<1071>>\n");
    ASSERT_NE(first, std::wstring::npos);
    EXPECT_EQ(usage.find(L"    lang=<<1071>>\n", first + 1), std::wstring::npos);
    EXPECT_LT(usage.find(L"setup.exe /u\n"), usage.find(L"<1069>\r\n"));
    EXPECT_EQ(usage.substr(0, 2), L"\r\n");
    EXPECT_EQ(usage.substr(2, 27), L"setup.exe - <1068>\r\n\r\nsetup");
}
