// Shows how INI configuration files are read (headers, pairs, continuations,
// comments, letter case) and written back (regenerated, CR LF, only when
// modified, never corrupted).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "icbs/ICBSIniFile.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// The bytes of the object's file on disk.
std::string FileBytes(const ICBSIniFile& file) { return ReadBytes(file.Path().FullPath()); }

std::unique_ptr<ICBSIniFile> LoadIni(const TempDir& dir, const std::string& content) {
    std::wstring path = dir.File(L"settings.ini");
    WriteBytes(path, content);
    return std::make_unique<ICBSIniFile>(path);
}

}  // namespace

TEST(IniFileReading, BlankAfterTheEqualsSignBelongsToTheValue) {
    TempDir dir;
    auto ini = LoadIni(dir, "[Listen]\r\nkey = value  \r\n\tport=8080\r\n");
    EXPECT_EQ(ini->GetValue(L"Listen", L"key"), L" value") << "trailing blanks go with the line end";
    EXPECT_EQ(ini->GetValue(L"Listen::port"), L"8080");
    EXPECT_TRUE(ini->HasContent());
    EXPECT_FALSE(ini->IsModified());
    EXPECT_FALSE(ini->HasUnparsedLines());
}

TEST(IniFileReading, HeaderBracketsAreAllStripped) {
    TempDir dir;
    auto ini = LoadIni(dir, "[[Main]]\nname=x\n[Other\ny=2\n");
    EXPECT_EQ(ini->GetValue(L"Main::name"), L"x");
    EXPECT_EQ(ini->GetValue(L"Other::y"), L"2") << "a header needs no closing bracket";
}

TEST(IniFileReading, PairsBeforeAnyHeaderBelongToTheUnnamedSection) {
    TempDir dir;
    auto ini = LoadIni(dir, "top=1\n[A]\nk=2\n[]\nlate=3\n");
    EXPECT_EQ(ini->GetValue(L"", L"top"), L"1");
    EXPECT_EQ(ini->GetValue(L"top"), L"1") << "a path without :: names the unnamed section";
    EXPECT_EQ(ini->GetValue(L"late"), L"3") << "an empty header is the unnamed section again";
    EXPECT_EQ(ini->GetValue(nullptr, L"top"), L"1") << "a null section is the empty one";
    EXPECT_FALSE(ini->HasValue(L"A", nullptr));
}

TEST(IniFileReading, NamesIgnoreLetterCaseButValuesDoNot) {
    TempDir dir;
    auto ini = LoadIni(dir, "[Listen]\nport=8087\n[LISTEN]\nHost=a\n");
    EXPECT_EQ(ini->GetValue(L"LISTEN::Port"), L"8087");
    EXPECT_EQ(ini->GetValue(L"listen", L"HOST"), L"a") << "headers differing in case are one section";
    EXPECT_TRUE(ini->SetValue(L"Listen::host", L"A")) << "values compare exactly";
    EXPECT_EQ(ini->Values().size(), 2u);
}

TEST(IniFileReading, ALineWithoutEqualsSignContinuesThePreviousValue) {
    TempDir dir;
    auto ini = LoadIni(dir, "[S]\na=1\n  2  \nthree\nb=x=y\n");
    EXPECT_EQ(ini->GetValue(L"S::a"), L"1\r\n\t2\r\n\tthree");
    EXPECT_EQ(ini->GetValue(L"S::b"), L"x=y") << "only the first = splits";
}

TEST(IniFileReading, AContinuationUnderANewHeaderGoesToTheNewSection) {
    TempDir dir;
    auto ini = LoadIni(dir, "[A]\nkey=1\n[B]\nmore\n");
    EXPECT_EQ(ini->GetValue(L"A::key"), L"1");
    EXPECT_EQ(ini->GetValue(L"B::key"), L"1\r\n\tmore");
}

TEST(IniFileReading, CommentsAndBlankLinesAreSkipped) {
    TempDir dir;
    auto ini = LoadIni(dir, "; comment=1\n// also=2\n\n   \n[S]\n  ;x=3\n#hash=4\n");
    EXPECT_FALSE(ini->HasValue(L"; comment"));
    EXPECT_FALSE(ini->HasValue(L"S::;x"));
    EXPECT_EQ(ini->GetValue(L"S::#hash"), L"4") << "# does not start a comment";
    EXPECT_EQ(ini->Values().size(), 1u);
}

TEST(IniFileReading, RepeatedKeyReplacesAndEmptyValueRemoves) {
    TempDir dir;
    auto ini = LoadIni(dir, "[S]\nk=1\nk=2\ngone=x\ngone=\n");
    EXPECT_EQ(ini->GetValue(L"S::k"), L"2");
    EXPECT_FALSE(ini->HasValue(L"S::gone"));
    EXPECT_FALSE(ini->IsModified()) << "loading leaves the object unmodified";
}

TEST(IniFileReading, AHeaderAloneMakesNoSection) {
    TempDir dir;
    auto ini = LoadIni(dir, "[Empty]\n; nothing\n");
    EXPECT_FALSE(ini->HasContent());
}

TEST(IniFileReading, MissingFileGivesAnEmptyUnmodifiedObject) {
    TempDir dir;
    std::wstring path = dir.File(L"missing.ini");
    {
        ICBSIniFile ini(path);
        EXPECT_FALSE(ini.HasContent());
        EXPECT_FALSE(ini.IsModified());
        EXPECT_EQ(ini.GetValue(L"a::b"), L"");
        EXPECT_EQ(&ini.GetValue(L"a::b"), &ini.GetValue(L"c", L"d")) << "one shared empty string";
        EXPECT_TRUE(ini.Save());
    }
    EXPECT_FALSE(testsupport::FileExists(path)) << "nothing to save, nothing written";
}

TEST(IniFileReading, AFolderInPlaceOfTheFileReadsAsMissing) {
    TempDir dir;
    ICBSIniFile ini(dir.Path());
    EXPECT_FALSE(ini.HasContent());
}

TEST(IniFileWriting, SameValueChangesNothingAndEmptyValueRemoves) {
    TempDir dir;
    auto ini = LoadIni(dir, "[S]\na=1\nb=2\nc=3\n");
    EXPECT_FALSE(ini->SetValue(L"S::a", L"1"));
    EXPECT_FALSE(ini->IsModified());
    EXPECT_FALSE(ini->SetValue(L"S::none", L"")) << "nothing to remove, nothing created";
    EXPECT_FALSE(ini->IsModified());
    EXPECT_TRUE(ini->SetValue(L"S::b", L""));
    EXPECT_TRUE(ini->IsModified());
    EXPECT_FALSE(ini->HasValue(L"S::b"));
    EXPECT_FALSE(ini->SetValue(L"S::b", nullptr)) << "a null value is empty";
    ASSERT_TRUE(ini->Save());
    EXPECT_FALSE(ini->IsModified());
    EXPECT_EQ(FileBytes(*ini), "[S]\r\na=1\r\nc=3\r\n") << "the remaining entries keep their order";
}

TEST(IniFileWriting, SavedFileIsRegeneratedWithUnnamedSectionFirst) {
    TempDir dir;
    auto ini = LoadIni(dir, "; header comment\n[B]\n  x = 1\n[Empty]\n[A]\ny=2\n");
    EXPECT_TRUE(ini->SetValue(L"top", L"t"));
    EXPECT_TRUE(ini->SetValue(L"New::z", L"3"));
    ASSERT_TRUE(ini->Save());
    EXPECT_EQ(FileBytes(*ini), "top=t\r\n\r\n[B]\r\nx= 1\r\n\r\n[A]\r\ny=2\r\n\r\n[New]\r\nz=3\r\n");
}

TEST(IniFileWriting, EmptyKeyCreatesOnlyTheSection) {
    TempDir dir;
    auto ini = LoadIni(dir, "");
    EXPECT_TRUE(ini->SetValue(L"Only", L"", L"value"));
    EXPECT_TRUE(ini->HasContent());
    EXPECT_TRUE(ini->Values().empty());
    ASSERT_TRUE(ini->Save());
    EXPECT_EQ(FileBytes(*ini), "[Only]\r\n");
}

TEST(IniFileWriting, ContinuedValueReadsBackTheSame) {
    TempDir dir;
    auto ini = LoadIni(dir, "[S]\na=1\n2\n");
    EXPECT_TRUE(ini->SetValue(L"S::b", L"x"));
    ASSERT_TRUE(ini->Save());
    ICBSIniFile again(ini->Path().FullPath());
    EXPECT_EQ(again.GetValue(L"S::a"), L"1\r\n\t2");
    EXPECT_EQ(again.GetValue(L"S::b"), L"x");
}

TEST(IniFileWriting, UnchangedObjectDoesNotTouchTheDisk) {
    TempDir dir;
    auto ini = LoadIni(dir, "[S]\na=1\n");
    ASSERT_TRUE(::DeleteFileW(ini->Path().FullPath().c_str()));
    EXPECT_TRUE(ini->Save());
    ini.reset();
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"settings.ini")));
}

TEST(IniFileWriting, DestructorSavesAModifiedFile) {
    TempDir dir;
    std::wstring path = dir.File(L"settings.ini");
    {
        ICBSIniFile ini(path);
        ini.SetValue(L"Master::port", L"4646");
    }
    EXPECT_EQ(ReadBytes(path), "[Master]\r\nport=4646\r\n");
}

TEST(IniFileWriting, SaveCreatesMissingFolders) {
    TempDir dir;
    std::wstring path = dir.Path() + L"\\Morvex\\BrimcartServer\\2024\\data\\brimcart.ini";
    ICBSIniFile ini(path);
    ini.SetValue(L"Master::host", L"server1");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(path), "[Master]\r\nhost=server1\r\n");
}

TEST(IniFileWriting, UnwritableFileFailsAndStaysModified) {
    TempDir dir;
    ICBSIniFile ini(dir.Path());  // a folder stands where the file should be
    ini.SetValue(L"S::k", L"v");
    EXPECT_FALSE(ini.Save());
    EXPECT_TRUE(ini.IsModified());
}

TEST(IniFileWriting, UnwritableCharacterLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string original = "[S]\nk=1\n";
    auto ini = LoadIni(dir, original);
    EXPECT_TRUE(ini->SetValue(L"S::k", L"\u20ac"));
    EXPECT_FALSE(ini->Save());
    EXPECT_TRUE(ini->IsModified());
    EXPECT_EQ(FileBytes(*ini), original);
    EXPECT_TRUE(ini->SetValue(L"S::k", L"\u00e9"));  // one byte in the file's form
    EXPECT_TRUE(ini->Save());
    EXPECT_EQ(FileBytes(*ini), "[S]\r\nk=\xE9\r\n");
}

TEST(IniFileWriting, Utf8FileWithMarkKeepsItsForm) {
    TempDir dir;
    auto ini = LoadIni(dir, "\xEF\xBB\xBF[SSL]\r\ncertificate=C:\\Zertifikate\\Schl\xC3\xBCssel.pem\r\n");
    EXPECT_EQ(ini->GetValue(L"SSL::certificate"), L"C:\\Zertifikate\\Schl\u00fcssel.pem");
    EXPECT_TRUE(ini->SetValue(L"SSL::private_key", L"\u20ac.key"));
    ASSERT_TRUE(ini->Save());
    EXPECT_EQ(FileBytes(*ini), "\xEF\xBB\xBF[SSL]\r\ncertificate=C:\\Zertifikate\\Schl\xC3\xBCssel.pem\r\n"
                                      "private_key=\xE2\x82\xAC.key\r\n");
}

namespace {
// A form that answers every lookup of one section itself: the path forms
// must reach it through the interface.
class OverridingIni : public ICBSIniFile {
public:
    using ICBSIniFile::ICBSIniFile;
    const std::wstring& GetValue(const wchar_t* section, const wchar_t* key) const override {
        static const std::wstring answer = L"from the override";
        if (section != nullptr && std::wstring(section) == L"Virtual") return answer;
        return ICBSIniFile::GetValue(section, key);
    }
    using ICBSIniFile::GetValue;
};
}  // namespace

TEST(IniFileReading, PathFormsGoThroughTheSectionAndKeyForms) {
    TempDir dir;
    WriteBytes(dir.File(L"o.ini"), "[Real]\nk=1\n");
    OverridingIni ini(dir.File(L"o.ini"));
    const ICBSIniFileBase& base = ini;
    EXPECT_EQ(base.GetValue(L"Virtual::anything"), L"from the override");
    EXPECT_EQ(base.GetValue(L"Real::k"), L"1");
}
