// Shows that the uninstall entry's commands start the kept launcher copy with the launcher's own switches, quoted when the path holds a blank; the packed product code; and which Windows versions count as old.
#include "execution/PackedProductCode.h"
#include "execution/UninstallEntryTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "catalogue/LanguageTable.h"
#include "engine/CommandLineInfo.h"
#include "framework/CommandLine.h"

namespace {

const wchar_t* const kFolders[] = {
    L"C:\\ProgramData\\Morvex\\{6B1D0A10-3C55-4E7E-9A51-0C7E1E2B0032}",
    L"C:\\ProgramData\\Morvex Packages\\{6B1D0A10-3C55-4E7E-9A51-0C7E1E2B0032}",
    L"C:\\Program Files (x86)\\Morvex\\Kept Setup",
    L"\\\\server\\share with blank\\kept",
};

TEST(UninstallEntryTexts, TheCopyTakesTheLaunchersFileNameInThePackageFolder) {
    EXPECT_EQ(LauncherCopyPath(L"C:\\Data\\pkg", L"D:\\Downloads\\Setup Editor 2024.exe"),
              L"C:\\Data\\pkg\\Setup Editor 2024.exe");
    EXPECT_EQ(LauncherCopyPath(L"C:\\Data\\pkg", L"D:/downloads/setup.exe"), L"C:\\Data\\pkg\\setup.exe");
    EXPECT_EQ(LauncherCopyPath(L"C:\\Data\\pkg", L"setup.exe"), L"C:\\Data\\pkg\\setup.exe");
}

// Windows splits a command line at the first blank outside quotes to find
// the program: whatever the folder, the first argument must be the copy.
TEST(UninstallEntryTexts, TheProgramOfEveryCommandIsTheWholeCopyPath) {
    for (const wchar_t* folder : kFolders) {
        std::wstring copy = LauncherCopyPath(folder, L"C:\\Users\\me\\Downloads\\setup.exe");
        for (const std::wstring& arguments : {std::wstring(), std::wstring(L" /x"), std::wstring(L" /x lang=French")}) {
            std::wstring command = LauncherCommand(copy, arguments);
            std::vector<std::wstring> parts = fw::SplitCommandLine(command);
            ASSERT_FALSE(parts.empty());
            EXPECT_EQ(parts[0], copy) << command;
            bool hasBlank = copy.find(L' ') != std::wstring::npos;
            EXPECT_EQ(command.front() == L'"', hasBlank);
            EXPECT_EQ(command, (hasBlank ? L"\"" + copy + L"\"" : copy) + arguments);
        }
    }
}

TEST(UninstallEntryTexts, WithoutALanguageTheUninstallCommandIsThePathAndSlashX) {
    EXPECT_EQ(LanguageArgument(false, L"German"), L"");
    std::wstring copy = L"C:\\ProgramData\\Morvex\\pkg\\setup.exe";
    EXPECT_EQ(LauncherCommand(copy, L" /x" + LanguageArgument(false, L"German")), copy + L" /x");
    EXPECT_EQ(LauncherCommand(copy, LanguageArgument(false, L"German")), copy);
}

// The kept copy, started from the entry, must understand its own arguments:
// /x asks for removal, lang= selects the language of the installation.
TEST(UninstallEntryTexts, TheLauncherReadsBackTheSwitchesOfBothCommands) {
    LanguageTable languages;
    for (const auto& row : languages.Rows()) {
        std::wstring copy = L"C:\\ProgramData\\Morvex Packages\\pkg\\setup.exe";
        std::wstring argument = LanguageArgument(true, row->englishName);
        EXPECT_EQ(argument.find(L" lang="), 0u);

        CSetupAppCommandLineInfo uninstall;
        fw::ParseCommandLine(uninstall, LauncherCommand(copy, L" /x" + argument));
        EXPECT_TRUE(uninstall.uninstall);
        EXPECT_FALSE(uninstall.usageError);
        EXPECT_TRUE(uninstall.properties.empty());
        LanguageTable selected;
        selected.SelectLanguage(uninstall.language);
        EXPECT_EQ(selected.Current().languageId, row->languageId);

        CSetupAppCommandLineInfo modify;
        fw::ParseCommandLine(modify, LauncherCommand(copy, argument));
        EXPECT_FALSE(modify.uninstall);
        EXPECT_EQ(modify.language, row->englishName);
    }
}

TEST(UninstallEntryTexts, OnlyVersionsBeforeWindows7AreOld) {
    for (DWORD major = 3; major <= 11; ++major) {
        for (DWORD minor = 0; minor <= 4; ++minor) {
            bool older = std::make_pair(major, minor) < std::make_pair(DWORD{6}, DWORD{1});
            EXPECT_EQ(IsOldWindows(major, minor), older) << major << "." << minor;
        }
    }
}

TEST(UninstallEntryTexts, PackedCodeEachGroupIsReorderedAsTheInstallerStoresIt) {
    // Built from a code whose digits all differ by position, so that every
    // move shows: the packed text must be a permutation of its digits.
    std::wstring code = L"{01234567-89AB-CDEF-0123-456789ABCDEF}";
    std::wstring packed = PackProductCode(code);
    ASSERT_EQ(packed.size(), 32u);
    std::wstring digits;
    for (wchar_t c : code)
        if (c != L'{' && c != L'}' && c != L'-') digits.push_back(c);
    std::wstring sortedPacked = packed, sortedDigits = digits;
    std::sort(sortedPacked.begin(), sortedPacked.end());
    std::sort(sortedDigits.begin(), sortedDigits.end());
    EXPECT_EQ(sortedPacked, sortedDigits);
    // Packing twice swaps the pairs back and reverses the groups back: the
    // packed form read as a code again gives the original digits.
    std::wstring again = L"{" + packed.substr(0, 8) + L"-" + packed.substr(8, 4) + L"-" + packed.substr(12, 4) + L"-" +
                         packed.substr(16, 4) + L"-" + packed.substr(20, 12) + L"}";
    EXPECT_EQ(PackProductCode(again), digits);
    // And each group did move: an identity mapping passes both checks above.
    EXPECT_NE(packed, digits);
    auto reversed = [](std::wstring text) {
        std::reverse(text.begin(), text.end());
        return text;
    };
    EXPECT_EQ(packed.substr(0, 8), reversed(digits.substr(0, 8)));
    EXPECT_EQ(packed.substr(8, 4), reversed(digits.substr(8, 4)));
    EXPECT_EQ(packed.substr(12, 4), reversed(digits.substr(12, 4)));
    for (size_t pair = 16; pair < 32; pair += 2) {
        EXPECT_EQ(packed[pair], digits[pair + 1]) << pair;
        EXPECT_EQ(packed[pair + 1], digits[pair]) << pair;
    }
}

TEST(UninstallEntryTexts, PackedCodeTextsThatAreNoProductCodesHaveNoPackedForm) {
    for (const wchar_t* text : {L"", L"{}", L"6B1D0A10-3C55-4E7E-9A51-0C7E1E2B0032",
                                L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2B003}", L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2B00321}",
                                L"{6B1D0A10+3C55-4E7E-9A51-0C7E1E2B0032}", L"{6B1D0A1G-3C55-4E7E-9A51-0C7E1E2B0032}",
                                L"(6B1D0A10-3C55-4E7E-9A51-0C7E1E2B0032)"})
        EXPECT_EQ(PackProductCode(text), L"") << text;
}

}  // namespace
