// Shows which file a cabinet entry becomes: the last component of its stored name inside the chosen folder, nothing for names that cannot be a plain file there, and the rules by which requests pick, rename and place entries.
#include <gtest/gtest.h>

#include <fci.h>

#include "icbs/CabinetEntryTarget.h"

namespace {

std::vector<ExtractRequest> NoRequests() { return {}; }

}  // namespace

TEST(CabinetEntryTarget, KeepsOnlyTheLastComponentOfAStoredName) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* fileName;
    };
    for (const Case& c : {Case{L"plain.txt", L"plain.txt"}, Case{L"a\\b\\c.txt", L"c.txt"},
                          Case{L"..\\..\\up.txt", L"up.txt"}, Case{L"../up.txt", L"up.txt"},
                          Case{L"a/b\\c/d.txt", L"d.txt"}, Case{L"C:\\abs\\x.txt", L"x.txt"},
                          Case{L"\\\\server\\share\\unc.txt", L"unc.txt"}, Case{L"\\\\?\\C:\\long.txt", L"long.txt"},
                          Case{L"\\rooted", L"rooted"}, Case{L"name with spaces.txt", L"name with spaces.txt"},
                          Case{L".hidden", L".hidden"}, Case{L"trailing.", L"trailing."},
                          Case{L"CONFIG.SYS", L"CONFIG.SYS"}, Case{L"COM10", L"COM10"}, Case{L"console", L"console"},
                          Case{L"\u00FCber.txt", L"\u00FCber.txt"}}) {
        EXPECT_EQ(EntryFileName(c.stored), c.fileName) << c.stored;
    }
}

TEST(CabinetEntryTarget, NamesThatCannotBeAPlainFileInTheFolderGiveNothing) {
    for (const wchar_t* stored :
         {L"", L".", L"..", L"...", L" ", L". .", L"a\\..", L"a\\.", L"a\\", L"a/", L"C:", L"C:x.txt",
          L"x.txt:stream", L"x.txt::$DATA", L"NUL", L"nul", L"nul.txt", L"CON", L"a\\con.log", L"PRN", L"AUX",
          L"COM1", L"com9.txt", L"LPT1", L"lpt9", L"CONIN$", L"conout$", L"NUL .txt", L"wild*", L"q?",
          L"quote\"", L"less<", L"more>", L"pipe|", L"tab\there", L"nl\nx"}) {
        EXPECT_EQ(EntryFileName(stored), L"") << stored;
    }
}

TEST(CabinetEntryTarget, JoinsFolderAndNameWithOneBackslash) {
    std::vector<ExtractRequest> none;
    auto pathIn = [&](const std::wstring& folder) { return ChooseEntryTarget(L"x.txt", false, none, folder).path; };
    EXPECT_EQ(pathIn(L"C:\\target"), L"C:\\target\\x.txt");
    EXPECT_EQ(pathIn(L"C:\\target\\"), L"C:\\target\\x.txt");
    EXPECT_EQ(pathIn(L"C:\\"), L"C:\\x.txt");
    EXPECT_EQ(pathIn(L""), L"x.txt");
}

TEST(CabinetEntryTarget, DecodesStoredNamesByTheirUtf8Mark) {
    // "ü" as UTF-8 is two bytes; in the ANSI code page those are two characters.
    const char utf8[] = "\xC3\xBC.txt";
    EXPECT_EQ(DecodeEntryName(utf8, _A_NAME_IS_UTF), L"\u00FC.txt");
    EXPECT_EQ(DecodeEntryName(utf8, _A_NAME_IS_UTF | _A_ARCH), L"\u00FC.txt");
    EXPECT_EQ(DecodeEntryName(utf8, 0).size(), 6u);
    EXPECT_EQ(DecodeEntryName("plain.txt", 0), L"plain.txt");
    EXPECT_EQ(DecodeEntryName(nullptr, 0), L"");
}

TEST(CabinetEntryTarget, WithoutPickingEveryEntryGoesToTheTargetFolder) {
    auto requests = NoRequests();
    EntryTarget target = ChooseEntryTarget(L"..\\sub\\x.txt", false, requests, L"C:\\t");
    EXPECT_EQ(target.kind, EntryTarget::Write);
    EXPECT_EQ(target.path, L"C:\\t\\x.txt");
    EXPECT_EQ(ChooseEntryTarget(L"sub\\..", false, requests, L"C:\\t").kind, EntryTarget::Refuse);
    EXPECT_EQ(ChooseEntryTarget(L"C:evil", false, requests, L"C:\\t").kind, EntryTarget::Refuse);
}

TEST(CabinetEntryTarget, APickingRequestDecidesNameAndFolderAndIsUsedUp) {
    std::vector<ExtractRequest> requests = {{L"a.txt", L"", L""},
                                            {L"b.txt", L"renamed.txt", L""},
                                            {L"dir\\c.txt", L"", L"D:\\other"},
                                            {L"a.txt", L"second.txt", L"D:\\second"}};
    EntryTarget a = ChooseEntryTarget(L"a.txt", true, requests, L"C:\\t");
    EXPECT_EQ(a.kind, EntryTarget::Write);
    EXPECT_EQ(a.path, L"C:\\t\\a.txt");
    ASSERT_EQ(requests.size(), 3u);

    EXPECT_EQ(ChooseEntryTarget(L"x\\b.txt", true, requests, L"C:\\t").path, L"C:\\t\\renamed.txt");
    EXPECT_EQ(ChooseEntryTarget(L"dir\\c.txt", true, requests, L"C:\\t").path, L"D:\\other\\c.txt");
    // The later request for the same name is next in line.
    EXPECT_EQ(ChooseEntryTarget(L"a.txt", true, requests, L"C:\\t").path, L"D:\\second\\second.txt");
    EXPECT_TRUE(requests.empty());
    // Every request used up: later entries are left alone.
    EXPECT_EQ(ChooseEntryTarget(L"a.txt", true, requests, L"C:\\t").kind, EntryTarget::Skip);
    EXPECT_EQ(ChooseEntryTarget(L"z.txt", true, requests, L"C:\\t").kind, EntryTarget::Skip);
}

TEST(CabinetEntryTarget, RequestNamesMatchExactlyAndCaseSensitively) {
    std::vector<ExtractRequest> requests = {{L"Setup.msi", L"", L""}};
    EXPECT_EQ(ChooseEntryTarget(L"setup.msi", true, requests, L"C:\\t").kind, EntryTarget::Skip);
    EXPECT_EQ(ChooseEntryTarget(L"Setup.msi ", true, requests, L"C:\\t").kind, EntryTarget::Skip);
    EXPECT_EQ(ChooseEntryTarget(L"sub\\Setup.msix", true, requests, L"C:\\t").kind, EntryTarget::Skip);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(ChooseEntryTarget(L"sub\\Setup.msi", true, requests, L"C:\\t").kind, EntryTarget::Write);
}

TEST(CabinetEntryTarget, ARequestedEntryWithoutAUsableNameNeedsANewName) {
    std::vector<ExtractRequest> requests = {{L"..", L"", L""}, {L"nul", L"device.txt", L""}};
    EXPECT_EQ(ChooseEntryTarget(L"..", true, requests, L"C:\\t").kind, EntryTarget::Refuse);
    EntryTarget renamed = ChooseEntryTarget(L"nul", true, requests, L"C:\\t");
    EXPECT_EQ(renamed.kind, EntryTarget::Write);
    EXPECT_EQ(renamed.path, L"C:\\t\\device.txt");
}
