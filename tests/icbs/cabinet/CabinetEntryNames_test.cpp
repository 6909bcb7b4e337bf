// Shows that no cabinet entry name (folder parts, "..", drive letters, absolute, UNC or device names) gets a file written outside the target folder: usable names land there under their last component, the rest fail the extraction.
#include <gtest/gtest.h>

#include <algorithm>

#include "icbs/CabinetExtractor.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::ReadBytes;
using testsupport::TempDir;

namespace {

// A temporary folder holding the target folder "target" and nothing else.
struct Scene {
    TempDir outer;
    TempDir scratch;
    std::wstring target = MakeFolder(outer.File(L"target"));
};

bool ExistsAnywhere(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

}  // namespace

TEST(CabinetEntryNames, PathsInNamesLandInTheTargetUnderTheirLastComponent) {
    Scene scene;
    std::vector<std::pair<std::wstring, std::wstring>> forms = {
        {L"sub\\deeper\\folder-part.txt", L"folder-part.txt"},
        {L"..\\..\\dotdot.txt", L"dotdot.txt"},
        {L"../forward-slash.txt", L"forward-slash.txt"},
        {L"sub/mixed\\..//mixed.txt", L"mixed.txt"},
        {L"C:\\windows\\absolute.txt", L"absolute.txt"},
        {L"\\rooted.txt", L"rooted.txt"},
        {L"\\\\server\\share\\unc.txt", L"unc.txt"},
        {scene.outer.Path() + L"\\aimed-at-outer.txt", L"aimed-at-outer.txt"},
        {L"\\\\?\\" + scene.outer.Path() + L"\\device-path.txt", L"device-path.txt"},
        {L"..\\target\\..\\..\\round-about.txt", L"round-about.txt"},
    };
    std::vector<Entry> entries;
    std::vector<std::wstring> expected;
    for (size_t i = 0; i < forms.size(); ++i) {
        entries.push_back({forms[i].first, "contents " + std::to_string(i)});
        expected.push_back(forms[i].second);
    }
    std::string cabinet = MakeCabinet(entries, tcompTYPE_MSZIP, scene.scratch.Path());
    ASSERT_FALSE(cabinet.empty());

    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), scene.target);
    EXPECT_TRUE(extractor.ExtractAll(nullptr));

    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(scene.target), expected);
    for (size_t i = 0; i < forms.size(); ++i)
        EXPECT_EQ(ReadBytes(scene.target + L"\\" + forms[i].second), entries[i].contents) << forms[i].second;
    EXPECT_EQ(FolderEntries(scene.outer.Path()), std::vector<std::wstring>{L"target"});
    EXPECT_FALSE(ExistsAnywhere(ParentOf(scene.outer.Path()) + L"\\dotdot.txt"));
    EXPECT_FALSE(ExistsAnywhere(L"C:\\windows\\absolute.txt"));
    EXPECT_FALSE(ExistsAnywhere(L"C:\\rooted.txt"));
}

TEST(CabinetEntryNames, NamesWithoutAUsableLastComponentFailTheExtraction) {
    for (const wchar_t* stored : {L"C:drive-relative.txt", L"..", L".", L"sub\\..", L"sub\\", L"...",
                                  L"file.txt:stream", L"NUL", L"con.txt", L"sub\\COM1", L"LPT9.log",
                                  L"wild*.txt", L"what?.txt"}) {
        SCOPED_TRACE(std::wstring(L"stored name: ") + stored);
        Scene scene;
        std::string cabinet = MakeCabinet({{stored, "payload"}}, tcompTYPE_NONE, scene.scratch.Path());
        ASSERT_FALSE(cabinet.empty());
        wchar_t current[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, current);

        CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), scene.target);
        EXPECT_FALSE(extractor.ExtractAll(nullptr));
        EXPECT_FALSE(CabinetExtractor::DiskFull());

        EXPECT_TRUE(FolderEntries(scene.target).empty());
        EXPECT_EQ(FolderEntries(scene.outer.Path()), std::vector<std::wstring>{L"target"});
        EXPECT_FALSE(ExistsAnywhere(L"C:\\drive-relative.txt"));
        EXPECT_FALSE(ExistsAnywhere(std::wstring(current) + L"\\drive-relative.txt"));
        EXPECT_FALSE(ExistsAnywhere(scene.target + L"\\file.txt"));
    }
}

TEST(CabinetEntryNames, ARequestMatchesTheStoredNameOrItsLastComponent) {
    Scene scene;
    std::string cabinet = MakeCabinet({{L"..\\..\\by-full-name.txt", "one"},
                                       {L"C:\\x\\by-last-part.txt", "two"},
                                       {L"untouched.txt", "three"}},
                                      tcompTYPE_MSZIP, scene.scratch.Path());
    ASSERT_FALSE(cabinet.empty());
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), scene.target);
    EXPECT_TRUE(extractor.ExtractFiles({{L"..\\..\\by-full-name.txt", L"", L""}, {L"by-last-part.txt", L"", L""}}));
    EXPECT_EQ(FolderEntries(scene.target), (std::vector<std::wstring>{L"by-full-name.txt", L"by-last-part.txt"}));
    EXPECT_EQ(FolderEntries(scene.outer.Path()), std::vector<std::wstring>{L"target"});
}

TEST(CabinetEntryNames, ARequestCanGiveAnUnusableEntryAName) {
    Scene scene;
    std::string cabinet = MakeCabinet({{L"..", "named by the caller"}}, tcompTYPE_NONE, scene.scratch.Path());
    ASSERT_FALSE(cabinet.empty());
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), scene.target);
    EXPECT_TRUE(extractor.ExtractFiles({{L"..", L"renamed.txt", L""}}));
    EXPECT_EQ(FolderEntries(scene.target), std::vector<std::wstring>{L"renamed.txt"});
    EXPECT_EQ(ReadBytes(scene.target + L"\\renamed.txt"), "named by the caller");
}

TEST(CabinetEntryNames, NamesOutsideTheAnsiCodePageComeBackWhole) {
    Scene scene;
    std::wstring german = L"Gr\u00F6\u00DFe-\u00FC.txt";
    std::wstring japanese = L"\u30C6\u30B9\u30C8.txt";
    std::string cabinet = MakeCabinet({{L"sub\\" + german, "de"}, {japanese, "ja"}}, tcompTYPE_MSZIP,
                                      scene.scratch.Path());
    ASSERT_FALSE(cabinet.empty());
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), scene.target);
    EXPECT_TRUE(extractor.ExtractAll(nullptr));
    std::vector<std::wstring> expected = {german, japanese};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(scene.target), expected);
    EXPECT_EQ(ReadBytes(scene.target + L"\\" + japanese), "ja");
}
