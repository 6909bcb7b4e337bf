// Shows that the INI and XML readers take any file (binary junk, huge lines,
// unbalanced tags, empty files, files without line ends, marked encodings)
// without failing, and that loading, changing one value, saving and loading
// again gives back every value (and, for XML, every line) unchanged.
// Files come from fixed seeds, so a failure names a repeatable case.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "icbs/ICBSIniFile.h"
#include "icbs/ICBSXMLIniFile.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

using Random = std::mt19937;

const std::vector<std::string> kFragments = {
    "[", "]", "[[Main]]", "[Listen]", "=", "==", "key", "port", "value", "8080", " ", "  ", "\t", "\r", "\n",
    "\r\n", "\r\r\n", ";", "//", "#", "::", ".", "<", ">", "</", "/>", "<!--", "-->", "<!-- ", " -->",
    "<?xml version=\"1.0\"?>", "<config>", "</config>", "<config xmlns=\"urn:x\">", "<http.socket-port>",
    "</http.socket-port>", "<a.b>", "</a.b>", "<a.b attr=\"1\">", "<flag/>", "<x.y/>", "&amp;", "\"", "'",
    std::string("\0", 1), "\x1A", "\xE4", "\xFF", "\xC3\xA4", "\xEF\xBB\xBF", "\xFF\xFE", "\x80"};

std::string BinaryJunk(Random& random) {
    std::uniform_int_distribution<int> size(0, 20000), byte(0, 255);
    std::string bytes(static_cast<size_t>(size(random)), '\0');
    for (char& c : bytes) c = static_cast<char>(byte(random));
    return bytes;
}

std::string FragmentSoup(Random& random, size_t pieces) {
    std::uniform_int_distribution<size_t> pick(0, kFragments.size() - 1);
    std::string bytes;
    for (size_t i = 0; i < pieces; ++i) bytes += kFragments[pick(random)];
    return bytes;
}

// Lines that look like the real files, with tags left open or crossed.
std::string UnbalancedTags(Random& random) {
    std::uniform_int_distribution<int> lines(0, 300), kind(0, 9), number(0, 99999);
    std::string bytes;
    for (int i = lines(random); i > 0; --i) {
        std::string name = std::string(1, 's');
        name += std::to_string(kind(random));
        name += ".k";
        name += std::to_string(kind(random));
        std::string value = std::to_string(number(random));
        switch (kind(random)) {
        case 0: bytes += "<" + name + ">" + value; break;
        case 1: bytes += "<" + name + ">" + value + "</other.tag>"; break;
        case 2: bytes += "  <!-- <" + name + ">" + value + "</" + name + ">"; break;
        case 3: bytes += "-->"; break;
        case 4: bytes += "<" + name + "><" + name + ">" + value + "</" + name + ">"; break;
        case 5: bytes += "[" + name; break;
        case 6: bytes += name + "=" + value; break;
        case 7: bytes += value; break;
        default: bytes += "    <" + name + ">" + value + "</" + name + ">"; break;
        }
        bytes += kind(random) < 8 ? "\r\n" : "\n";
    }
    return bytes;
}

std::string HugeLine(Random& random) {
    std::string line = FragmentSoup(random, 2000);
    std::string filler(100000, 'x');
    std::uniform_int_distribution<int> shape(0, 3);
    switch (shape(random)) {
    case 0: return "key=" + filler;
    case 1: return "<a.b>" + filler + "</a.b>";
    case 2: return "[" + filler + "]\r\n" + filler;
    default: return line + filler + line;
    }
}

std::string WithoutLineEnds(Random& random) {
    std::string bytes = FragmentSoup(random, 400);
    std::string result;
    for (char c : bytes)
        if (c != '\n') result += c;
    return result;
}

std::string MarkedEncoding(Random& random) {
    std::uniform_int_distribution<int> which(0, 2), size(0, 4000), unit(0, 255);
    switch (which(random)) {
    case 0: return "\xEF\xBB\xBF" + FragmentSoup(random, 300);
    case 1: return "\xEF\xBB\xBF[S]\r\nk=M\xC3\xBCller\r\n<a.b>\xE2\x82\xAC</a.b>\r\n";
    default: {
        std::string bytes = "\xFF\xFE";
        for (int i = size(random) * 2; i > 0; --i) bytes += static_cast<char>(unit(random));
        return bytes;
    }
    }
}

struct Case {
    std::string name;
    std::string bytes;
};

std::vector<Case> Cases() {
    std::vector<Case> cases = {{"empty", ""}, {"only line ends", "\r\n\n\r\n"}, {"single CR", "\r"}};
    struct Kind {
        const char* name;
        int count;
        std::function<std::string(Random&)> make;
    };
    const Kind kinds[] = {{"binary junk", 25, BinaryJunk},
                          {"fragment soup", 60, [](Random& r) { return FragmentSoup(r, 600); }},
                          {"unbalanced tags", 40, UnbalancedTags},
                          {"huge line", 6, HugeLine},
                          {"no line ends", 15, WithoutLineEnds},
                          {"marked encoding", 15, MarkedEncoding}};
    for (const Kind& kind : kinds) {
        for (int i = 0; i < kind.count; ++i) {
            unsigned seed = 1000u * static_cast<unsigned>(&kind - kinds) + static_cast<unsigned>(i);
            Random random(seed);
            cases.push_back({std::string(kind.name) + " seed " + std::to_string(seed), kind.make(random)});
        }
    }
    return cases;
}

bool SameValues(const std::vector<ConfigValueEntry>& a, const std::vector<ConfigValueEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].section != b[i].section || a[i].key != b[i].key || a[i].value != b[i].value) return false;
    return true;
}

std::vector<std::wstring> Texts(const ICBSXMLIniFile& xml) {
    std::vector<std::wstring> texts;
    for (const auto& line : xml.Lines()) texts.push_back(line->text);
    return texts;
}

void CheckIni(const std::wstring& path, const std::string& bytes) {
    WriteBytes(path, bytes);
    ICBSIniFile first(path);
    std::vector<ConfigValueEntry> expected = first.Values();
    ASSERT_TRUE(first.SetValue(L"fuzzmarker::zz", L"1"));
    ASSERT_TRUE(first.Save());
    expected.push_back({L"fuzzmarker", L"zz", L"1"});
    ICBSIniFile second(path);
    EXPECT_TRUE(SameValues(second.Values(), expected)) << "values differ after saving";
    EXPECT_FALSE(second.IsModified());
}

void CheckXml(const std::wstring& path, const std::string& bytes) {
    WriteBytes(path, bytes);
    ICBSXMLIniFile first(path);
    std::vector<ConfigValueEntry> values = first.Values();
    std::vector<std::wstring> texts = Texts(first);
    if (!first.SetValue(L"fuzzmarker.zz", L"1")) {
        // Only a file whose end lies inside an open comment refuses a new
        // setting; nothing is changed then.
        EXPECT_FALSE(first.IsModified());
        return;
    }
    size_t added = 0;
    while (!first.Lines()[added]->isChanged) ++added;
    ASSERT_TRUE(first.Save());
    // The new section starts with a blank line, then the setting.
    texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(added - 1), L"");
    texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(added), first.Lines()[added]->text);
    ICBSXMLIniFile second(path);
    std::vector<std::wstring> reread = Texts(second);
    // The saved file has no final line end, so a last empty line reads back
    // as no line at all.
    if (!texts.empty() && texts.back().empty() && reread.size() + 1 == texts.size()) texts.pop_back();
    EXPECT_EQ(reread, texts) << "lines differ after saving";
    std::vector<ConfigValueEntry> after = second.Values();
    std::vector<ConfigValueEntry> withoutMarker;
    int markers = 0;
    for (const auto& entry : after) {
        if (entry.section == L"fuzzmarker" && entry.key == L"zz" && entry.value == L"1")
            ++markers;
        else
            withoutMarker.push_back(entry);
    }
    EXPECT_EQ(markers, 1);
    EXPECT_TRUE(SameValues(withoutMarker, values)) << "values differ after saving";
}

}  // namespace

TEST(ConfigFileRobustness, IniFilesOfAnyContentSaveAndReloadTheSameValues) {
    TempDir dir;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        CheckIni(dir.File(L"fuzz.ini"), c.bytes);
        if (HasFatalFailure()) return;
    }
}

TEST(ConfigFileRobustness, XmlFilesOfAnyContentSaveAndReloadTheSameLines) {
    TempDir dir;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        CheckXml(dir.File(L"fuzz.xml"), c.bytes);
        if (HasFatalFailure()) return;
    }
}
