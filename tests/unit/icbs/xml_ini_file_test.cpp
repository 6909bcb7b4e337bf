// Shows that the XML configuration file finds, brings back, comments out and
// adds settings, and writes every line it did not change exactly as it read
// it, on a realistic server configuration.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "icbs/ICBSXMLIniFile.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// The bytes of the object's file on disk.
std::string FileBytes(const ICBSXMLIniFile& file) { return ReadBytes(file.Path().FullPath()); }

std::unique_ptr<ICBSXMLIniFile> LoadXml(const TempDir& dir, const std::string& content) {
    std::wstring path = dir.File(L"server_config.xml");
    WriteBytes(path, content);
    return std::make_unique<ICBSXMLIniFile>(path);
}

// The file's lines as bytes, split at CR LF; a final CR LF ends the last line.
std::vector<std::string> ByteLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Fixture() {
    return ReadBytes(testsupport::SourceDir() + L"\\tests\\fixtures\\server_config.xml");
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) return i;
    return std::string::npos;
}

}  // namespace

TEST(XmlIniFileSetting, LookupsSeeOnlySettingsInForce) {
    TempDir dir;
    auto xml = LoadXml(dir, Fixture());
    EXPECT_EQ(xml->GetValue(L"http.enable"), L"1");
    EXPECT_EQ(xml->GetValue(L"HTTP.Request-Timeout"), L"30") << "names ignore letter case";
    EXPECT_EQ(xml->GetValue(L"http", L"bind-address"), L"0.0.0.0");
    EXPECT_FALSE(xml->HasValue(L"http.socket-port")) << "commented out";
    EXPECT_EQ(xml->GetValue(L"http.socket-port"), L"");
    EXPECT_FALSE(xml->HasValue(L"queue.workers")) << "inside a comment block";
    EXPECT_EQ(xml->GetValue(L"queue.max-size"), L"1000") << "not the value inside the comment block";
    EXPECT_EQ(xml->GetValue(L"queue.directory"), L"D:\\Jobs &amp; Archive") << "not unescaped";
    EXPECT_FALSE(xml->HasValue(L"service.flags")) << "an empty element is no setting of section service";
    EXPECT_TRUE(xml->HasValue(L"", L"service.flags"));
    EXPECT_TRUE(xml->HasContent());
    EXPECT_TRUE(xml->HasUnparsedLines()) << "the root tag's attribute lines";
    EXPECT_FALSE(xml->IsModified());
}

TEST(XmlIniFileSetting, SettingACommentedOutDefaultBringsItBack) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n  <!-- <http.socket-port>8087</http.socket-port> -->\r\n</config>\r\n");
    EXPECT_TRUE(xml->SetValue(L"http.socket-port", L"8090"));
    EXPECT_EQ(xml->GetValue(L"http.socket-port"), L"8090");
    ASSERT_TRUE(xml->Save());
    EXPECT_EQ(FileBytes(*xml), "<config>\r\n    <http.socket-port>8090</http.socket-port>\r\n</config>");
}

TEST(XmlIniFileSetting, BringingBackWithTheSameValueKeepsTheChange) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n<!-- <https.enable>1</https.enable> -->\r\n</config>");
    EXPECT_FALSE(xml->SetValue(L"https.enable", L"1"));
    EXPECT_TRUE(xml->IsModified());
    EXPECT_EQ(xml->GetValue(L"https.enable"), L"1");
    ASSERT_TRUE(xml->Save());
    EXPECT_EQ(FileBytes(*xml), "<config>\r\n    <https.enable>1</https.enable>\r\n</config>");
}

TEST(XmlIniFileSetting, EmptyValueCommentsOutAndKeepsTheOldValue) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n\t<https.enable>1</https.enable>\r\n</config>");
    EXPECT_TRUE(xml->SetValue(L"https.enable", L""));
    EXPECT_FALSE(xml->HasValue(L"https.enable"));
    EXPECT_FALSE(xml->SetValue(L"https.enable", nullptr)) << "already out of force";
    ASSERT_TRUE(xml->Save());
    EXPECT_EQ(FileBytes(*xml), "<config>\r\n    <!--<https.enable>1</https.enable>-->\r\n</config>");
    ICBSXMLIniFile again(xml->Path().FullPath());
    EXPECT_TRUE(again.SetValue(L"https.enable", L"0")) << "the commented line is found again";
    EXPECT_EQ(again.GetValue(L"https.enable"), L"0");
}

TEST(XmlIniFileSetting, SameValueAndMissingEmptyValueChangeNothing) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n<a.b>1</a.b>\r\n</config>");
    EXPECT_FALSE(xml->SetValue(L"a.b", L"1"));
    EXPECT_FALSE(xml->SetValue(L"a.none", L""));
    EXPECT_FALSE(xml->IsModified());
}

TEST(XmlIniFileSetting, NewKeyGoesBeforeTheLastLineOfItsSection) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n<http.a>1</http.a>\r\n<!-- <http.b>2</http.b> -->\r\n<log.c>3</log.c>\r\n"
                            "</config>");
    EXPECT_TRUE(xml->SetValue(L"http.new", L"x"));
    ASSERT_TRUE(xml->Save());
    EXPECT_EQ(FileBytes(*xml), "<config>\r\n<http.a>1</http.a>\r\n    <http.new>x</http.new>\r\n"
                                      "<!-- <http.b>2</http.b> -->\r\n<log.c>3</log.c>\r\n</config>");
}

TEST(XmlIniFileSetting, NewSectionGoesBeforeTheFirstSettingWithASection) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n<flag/>\r\n<http.a>1</http.a>\r\n</config>");
    EXPECT_TRUE(xml->SetValue(L"cluster.role", L"master"));
    ASSERT_TRUE(xml->Save());
    EXPECT_EQ(FileBytes(*xml),
              "<config>\r\n<flag/>\r\n\r\n    <cluster.role>master</cluster.role>\r\n<http.a>1</http.a>\r\n</config>");
}

TEST(XmlIniFileSetting, MissingFileStartsFromTheSkeleton) {
    TempDir dir;
    std::wstring path = dir.File(L"etc\\server_config.xml");
    {
        ICBSXMLIniFile xml(path);
        ASSERT_EQ(xml.Lines().size(), 3u);
        EXPECT_TRUE(xml.HasContent());
        EXPECT_FALSE(xml.IsModified());
        EXPECT_TRUE(xml.Values().empty());
    }
    EXPECT_FALSE(testsupport::FileExists(path)) << "a skeleton alone is never written";
    {
        ICBSXMLIniFile xml(path);
        EXPECT_TRUE(xml.SetValue(L"http.socket-port", L"8087"));
    }  // the destructor saves, making the folder
    std::string expected = std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n") +
                           fw::ToCodePage(ICBSXMLIniFile::kSkeletonRootTag, 28591) +
                           "\r\n\r\n    <http.socket-port>8087</http.socket-port>\r\n</config>";
    EXPECT_EQ(ReadBytes(path), expected);
    ICBSXMLIniFile reread(path);
    EXPECT_EQ(reread.GetValue(L"http.socket-port"), L"8087");
    EXPECT_FALSE(reread.HasUnparsedLines());
}

TEST(XmlIniFileSetting, SkeletonRootTagDeclaresTheNamespacesAndSchema) {
    std::wstring root = ICBSXMLIniFile::kSkeletonRootTag;
    EXPECT_EQ(root.rfind(L"<config ", 0), 0u);
    EXPECT_EQ(root.back(), L'>');
    EXPECT_NE(root.find(L" xmlns=\""), std::wstring::npos);
    EXPECT_NE(root.find(L" config.xsd\""), std::wstring::npos);
    EXPECT_NE(root.find(L"xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""), std::wstring::npos);
    EXPECT_NE(root.find(L"xmlns:xs=\"http://www.w3.org/2001/XMLSchema\""), std::wstring::npos);
    EXPECT_NE(root.find(L"xsi:schemaLocation=\""), std::wstring::npos);
}

TEST(XmlIniFileSetting, UnparsedLinesAreNeitherFoundNorChanged) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n<a.b>1</a.b> junk\r\n<a.c>2\r\n</a.c>\r\n</config>");
    EXPECT_FALSE(xml->HasValue(L"a.b"));
    EXPECT_FALSE(xml->HasValue(L"a.c")) << "an end tag on another line is not seen";
    EXPECT_TRUE(xml->SetValue(L"a.b", L"9"));
    EXPECT_TRUE(xml->SetValue(L"a.c", L"8"));
    ASSERT_TRUE(xml->Save());
    // a.b opens the new section before the root end tag; a.c then goes before
    // the last line of that section.
    EXPECT_EQ(FileBytes(*xml), "<config>\r\n<a.b>1</a.b> junk\r\n<a.c>2\r\n</a.c>\r\n\r\n"
                                      "    <a.c>8</a.c>\r\n    <a.b>9</a.b>\r\n</config>");
}

TEST(XmlIniFileSetting, ValuesAreWrittenAsTheyStand) {
    TempDir dir;
    auto xml = LoadXml(dir, "<config>\r\n<a.b>1</a.b>\r\n</config>");
    EXPECT_TRUE(xml->SetValue(L"a.b", L"x < y & z"));
    ASSERT_TRUE(xml->Save());
    EXPECT_EQ(FileBytes(*xml), "<config>\r\n    <a.b>x < y & z</a.b>\r\n</config>");
}

TEST(XmlIniFileSetting, NoSettingIsAddedInsideAnUnclosedComment) {
    TempDir dir;
    auto xml = LoadXml(dir, "<!-- everything below is commented out\r\n<a.b>1</a.b>\r\n");
    EXPECT_FALSE(xml->HasValue(L"a.b"));
    EXPECT_FALSE(xml->SetValue(L"x.y", L"1")) << "it would not count there";
    EXPECT_FALSE(xml->IsModified());
}

TEST(XmlIniFileSetting, UnwritableFileFailsAndStaysModified) {
    TempDir dir;
    ICBSXMLIniFile xml(dir.Path());  // a folder stands where the file should be
    EXPECT_TRUE(xml.SetValue(L"a.b", L"1"));
    EXPECT_FALSE(xml.Save());
    EXPECT_TRUE(xml.IsModified());
}

TEST(XmlIniFileSetting, UnwritableCharacterLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string original = "<config>\r\n<a.b>1</a.b>\r\n</config>";
    auto xml = LoadXml(dir, original);
    EXPECT_TRUE(xml->SetValue(L"a.b", L"\u0411"));
    EXPECT_FALSE(xml->Save());
    EXPECT_EQ(FileBytes(*xml), original);
}

TEST(XmlIniFilePreservation, EveryUnchangedLineStaysByteForByte) {
    TempDir dir;
    const std::string original = Fixture();
    auto xml = LoadXml(dir, original);
    EXPECT_TRUE(xml->SetValue(L"http.socket-port", L"8090"));     // a commented-out default brought back
    EXPECT_TRUE(xml->SetValue(L"https.certificate", L"D:\\c.crt"));  // an active setting with attributes
    EXPECT_TRUE(xml->SetValue(L"http.enable", L""));              // an active setting commented out
    EXPECT_TRUE(xml->SetValue(L"log.keep-days", L"7"));           // a new key of an existing section
    ASSERT_TRUE(xml->Save());

    const std::string saved = FileBytes(*xml);
    EXPECT_NE(saved.substr(saved.size() - 2), "\r\n") << "no final line end";
    std::vector<std::string> before = ByteLines(original);
    std::vector<std::string> after = ByteLines(saved);
    ASSERT_EQ(after.size(), before.size() + 1);

    const std::string changedPort = "  <!-- <http.socket-port>8087</http.socket-port> -->";
    const std::string changedCertificate =
        "    <https.certificate type=\"pem\">C:\\ProgramData\\Morvex\\certs\\server.crt</https.certificate>";
    const std::string changedEnable = "    <http.enable>1</http.enable>";
    const std::string lastLogLine = "    <log.file-pattern><![CDATA[server-%d.log]]></log.file-pattern>";
    size_t added = IndexOf(before, lastLogLine);
    ASSERT_NE(added, std::string::npos);
    for (size_t i = 0, j = 0; i < before.size(); ++i, ++j) {
        if (i == added) {
            EXPECT_EQ(after[j], "    <log.keep-days>7</log.keep-days>");
            ++j;
        }
        if (before[i] == changedPort)
            EXPECT_EQ(after[j], "    <http.socket-port>8090</http.socket-port>");
        else if (before[i] == changedCertificate)
            EXPECT_EQ(after[j], "    <https.certificate>D:\\c.crt</https.certificate>");
        else if (before[i] == changedEnable)
            EXPECT_EQ(after[j], "    <!--<http.enable>1</http.enable>-->");
        else
            EXPECT_EQ(after[j], before[i]) << "line " << i + 1 << " changed";
    }
}

TEST(XmlIniFilePreservation, SavedFileReadsBackWithTheSameSettings) {
    TempDir dir;
    auto xml = LoadXml(dir, Fixture());
    xml->SetValue(L"https.socket-port", L"8443");
    xml->SetValue(L"queue.workers", L"8");
    ASSERT_TRUE(xml->Save());
    ICBSXMLIniFile again(xml->Path().FullPath());
    std::vector<ConfigValueEntry> expected = xml->Values(), actual = again.Values();
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].section, expected[i].section);
        EXPECT_EQ(actual[i].key, expected[i].key);
        EXPECT_EQ(actual[i].value, expected[i].value);
    }
    EXPECT_EQ(again.GetValue(L"queue.workers"), L"8") << "added outside the comment block";
    EXPECT_FALSE(again.IsModified());
}

TEST(XmlIniFilePreservation, UnchangedFileIsNotWritten) {
    TempDir dir;
    const std::string original = Fixture();
    {
        auto xml = LoadXml(dir, original);
        EXPECT_FALSE(xml->SetValue(L"http.enable", L"1"));
        EXPECT_TRUE(xml->Save());
    }
    EXPECT_EQ(ReadBytes(dir.File(L"server_config.xml")), original) << "the final line end is still there";
}
