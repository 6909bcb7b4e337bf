// Shows how each line of the XML configuration file is understood: settings,
// commented-out settings, text kept as it is, and lines not understood.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icbs/XmlConfigLine.h"

namespace {

XmlConfigLine Classify(const std::wstring& text) {
    bool insideComment = false;
    XmlConfigLine line = ClassifyXmlConfigLine(text, insideComment);
    EXPECT_EQ(line.text, text) << "the text is kept as read";
    return line;
}

void ExpectSetting(const XmlConfigLine& line, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value, bool commented) {
    EXPECT_TRUE(line.isElement) << "line: " << testing::PrintToString(line.text);
    EXPECT_EQ(line.isComment, commented);
    EXPECT_FALSE(line.isUnparsed);
    EXPECT_FALSE(line.isChanged);
    EXPECT_EQ(line.section, section);
    EXPECT_EQ(line.key, key);
    EXPECT_EQ(line.value, value);
}

void ExpectTextOnly(const XmlConfigLine& line, bool commented) {
    EXPECT_FALSE(line.isElement) << "line: " << testing::PrintToString(line.text);
    EXPECT_EQ(line.isComment, commented);
    EXPECT_FALSE(line.isUnparsed);
}

void ExpectUnparsed(const XmlConfigLine& line) {
    EXPECT_TRUE(line.isUnparsed) << "line: " << testing::PrintToString(line.text);
    EXPECT_FALSE(line.isElement);
}

}  // namespace

TEST(XmlLineClassification, SettingLines) {
    ExpectSetting(Classify(L"    <http.socket-port>8087</http.socket-port>"), L"http", L"socket-port", L"8087", false);
    ExpectSetting(Classify(L"\t<a.b.c>x</a.b.c>  \t"), L"a", L"b.c", L"x", false);
    ExpectSetting(Classify(L"<plain>v</plain>"), L"", L"plain", L"v", false);
    ExpectSetting(Classify(L"<a.b></a.b>"), L"a", L"b", L"", false);
    ExpectSetting(Classify(L"<https.certificate type=\"pem\" x='1'>C:\\c.crt</https.certificate>"), L"https",
                  L"certificate", L"C:\\c.crt", false);
    ExpectSetting(Classify(L"<q.dir>D:\\Jobs &amp; <![CDATA[x]]></q.dir>"), L"q", L"dir",
                  L"D:\\Jobs &amp; <![CDATA[x]]>", false);
}

TEST(XmlLineClassification, CommentedOutSettings) {
    ExpectSetting(Classify(L"  <!-- <http.socket-port>8087</http.socket-port> -->"), L"http", L"socket-port", L"8087",
                  true);
    ExpectSetting(Classify(L"<!--<https.enable>0</https.enable>-->"), L"https", L"enable", L"0", true);
}

TEST(XmlLineClassification, EmptyElementIsAKeyOfTheUnnamedSection) {
    ExpectSetting(Classify(L"<http.enable/>"), L"", L"http.enable", L"", false);
    ExpectSetting(Classify(L"<!-- <http.enable/> -->"), L"", L"http.enable", L"", true);
    ExpectUnparsed(Classify(L"<http.enable/ >"));
}

TEST(XmlLineClassification, LinesKeptAsText) {
    ExpectTextOnly(Classify(L""), false);
    ExpectTextOnly(Classify(L"   \t "), false);
    ExpectTextOnly(Classify(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>"), false);
    ExpectTextOnly(Classify(L"<config xmlns=\"urn:x\">"), false);
    ExpectTextOnly(Classify(L"  <config>"), false);
    ExpectTextOnly(Classify(L"</config>"), false);
    ExpectTextOnly(Classify(L"<a.b>value without end tag"), false);
    ExpectTextOnly(Classify(L"<a.b attr=\"1\"/>"), false);
    ExpectTextOnly(Classify(L"<!-- a note -->"), true);
    ExpectTextOnly(Classify(L"<!-- <a.b>1</a.b> explained -->"), true);
    ExpectTextOnly(Classify(L"<!---->"), true);
}

TEST(XmlLineClassification, ElementsWhoseNamesOnlyBeginLikeTheRoot) {
    ExpectSetting(Classify(L"<configuration.mode>fast</configuration.mode>"), L"configuration", L"mode", L"fast",
                  false);
    ExpectSetting(Classify(L"<confirm.timeout>30</confirm.timeout>"), L"confirm", L"timeout", L"30", false);
}

TEST(XmlLineClassification, LinesNotUnderstood) {
    ExpectUnparsed(Classify(L"<http.socket-port"));
    ExpectUnparsed(Classify(L"</section>"));
    ExpectUnparsed(Classify(L"<a.b attr=\"1\""));
    ExpectUnparsed(Classify(L"<a.b>1</a.b> trailing"));
    ExpectUnparsed(Classify(L"<a.b>1</a.b><c.d>2</c.d>"));
    ExpectUnparsed(Classify(L"just some words"));
    ExpectUnparsed(Classify(L"<!-- <a.b>1</a.b>"));
    ExpectUnparsed(Classify(L"<!-- <a.b>1</a.b> --> after"));
    ExpectUnparsed(Classify(L"<!--"));
    EXPECT_TRUE(Classify(L"<!-- <a.b>1</a.b>").isComment);
}

TEST(XmlLineClassification, LinesInsideAMultiLineCommentAreNeverSettings) {
    std::vector<std::wstring> lines = {L"<a.before>1</a.before>", L"    <!--",
                                       L"        <queue.workers>4</queue.workers>", L"        free text",
                                       L"    -->", L"<a.after>2</a.after>"};
    bool insideComment = false;
    std::vector<XmlConfigLine> classified;
    for (const auto& text : lines) classified.push_back(ClassifyXmlConfigLine(text, insideComment));
    EXPECT_FALSE(insideComment);
    EXPECT_TRUE(classified[0].isElement);
    EXPECT_TRUE(classified[1].isComment);
    for (int i : {2, 3, 4}) {
        EXPECT_FALSE(classified[i].isElement) << i;
        EXPECT_TRUE(classified[i].isComment) << i;
        EXPECT_FALSE(classified[i].isUnparsed) << i;
    }
    ExpectSetting(classified[5], L"a", L"after", L"2", false);
}

TEST(XmlLineClassification, CommentStateFollowsEveryOpeningAndClosing) {
    bool insideComment = false;
    ClassifyXmlConfigLine(L"<!-- a --> <!-- b", insideComment);
    EXPECT_TRUE(insideComment);
    ClassifyXmlConfigLine(L"--> text <!-- c -->", insideComment);
    EXPECT_FALSE(insideComment);
    ClassifyXmlConfigLine(L"<!-->", insideComment);
    EXPECT_TRUE(insideComment) << "the closing --> may not share the opening's dashes";
}

TEST(XmlLineClassification, ChangedLinesAreRenderedWithFourBlanks) {
    XmlConfigLine line;
    line.section = L"http";
    line.key = L"socket-port";
    line.value = L"8090";
    EXPECT_EQ(RenderXmlConfigLine(line), L"    <http.socket-port>8090</http.socket-port>");
    line.isComment = true;
    EXPECT_EQ(RenderXmlConfigLine(line), L"    <!--<http.socket-port>8090</http.socket-port>-->");
    line.section.clear();
    line.key = L"http.enable";
    line.isComment = false;
    EXPECT_EQ(RenderXmlConfigLine(line), L"    <http.enable>8090</http.enable>");
}

TEST(XmlLineClassification, RenderedLinesReadBackAsTheSameSetting) {
    for (bool commented : {false, true}) {
        XmlConfigLine line;
        line.section = L"https";
        line.key = L"private-key";
        line.value = L"C:\\keys\\a b.key";
        line.isComment = commented;
        XmlConfigLine back = Classify(RenderXmlConfigLine(line));
        ExpectSetting(back, L"https", L"private-key", L"C:\\keys\\a b.key", commented);
    }
}

TEST(XmlLineClassification, RootEndTagIsRecognisedByItsWholeName) {
    EXPECT_TRUE(IsXmlConfigRootEnd(L"</config>"));
    EXPECT_TRUE(IsXmlConfigRootEnd(L"  </config >"));
    EXPECT_FALSE(IsXmlConfigRootEnd(L"</configuration>"));
    EXPECT_FALSE(IsXmlConfigRootEnd(L"<config>"));
}
