// Shows that version blocks are read only when complete (every standard
// string, exactly one translation), that a written block reads back the same,
// and that the writer's block is the resource compiler's block of the same
// values, byte for byte.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/ModulePath.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceModule.h"
#include "icbs/VersionInfo.h"
#include "tests/icbs/resources/ResourceTestSupport.h"

TEST(VersionInfoRead, ACompleteBlockGivesItsFixedInfoTranslationAndStrings) {
    VersionInfo info;
    ASSERT_TRUE(info.Read(fw::RunningModulePath(), 1033));
    EXPECT_EQ(info.fixed.dwFileVersionMS, static_cast<DWORD>(MAKELONG(1, 2024)));
    EXPECT_EQ(info.fixed.dwFileVersionLS, static_cast<DWORD>(MAKELONG(3, 2)));
    EXPECT_EQ(info.fixed.dwProductVersionMS, static_cast<DWORD>(MAKELONG(1, 2024)));
    EXPECT_EQ(info.fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.language, 0x0409);
    EXPECT_EQ(info.codePage, 1200);
    EXPECT_EQ(info.strings.size(), 12u);
    EXPECT_EQ(info.strings[L"Comments"], L"Known block");
    EXPECT_EQ(info.strings[L"ProductName"], L"Morvex Resource Fixture");
    EXPECT_EQ(info.strings[L"SpecialBuild"], L"special");
    for (const std::wstring& name : VersionInfo::StandardNames())
        EXPECT_EQ(info.strings.count(name), 1u) << testing::PrintToString(name);
}

TEST(VersionInfoRead, IncompleteOrAmbiguousBlocksFail) {
    VersionInfo info;
    // The German block has no "Comments": nothing is read after it.
    EXPECT_FALSE(info.Read(fw::RunningModulePath(), 1031));
    EXPECT_TRUE(info.strings.empty());
    // The French block names two translations.
    EXPECT_FALSE(info.Read(fw::RunningModulePath(), 1036));
    EXPECT_TRUE(info.strings.empty());
    // No block in that language, and no file.
    EXPECT_FALSE(info.Read(fw::RunningModulePath(), 1041));
    testsupport::TempDir dir;
    EXPECT_FALSE(info.Read(dir.File(L"missing.exe"), 1033));
}

TEST(VersionInfoWrite, TheBlockIsTheResourceCompilersBlockOfTheSameValues) {
    VersionInfo info;
    ASSERT_TRUE(info.Read(fw::RunningModulePath(), 1033));
    ResourceModule self;
    icbs::ResourceData compiled;
    ASSERT_TRUE(icbs::LoadResourceData(self.Handle(), RT_VERSION, MAKEINTRESOURCEW(1), LANGID(1033), true, compiled));
    std::vector<BYTE> written = info.Block();
    ASSERT_EQ(written.size(), compiled.Size());
    EXPECT_EQ(std::memcmp(written.data(), compiled.Data(), written.size()), 0);
    // The fixed parts of the published layout, read straight from the bytes.
    auto word = [&](size_t offset) { return static_cast<unsigned>(written[offset] | written[offset + 1] << 8); };
    EXPECT_EQ(word(0), static_cast<unsigned>(written.size()));  // the root's length
    EXPECT_EQ(word(2), 52u);             // its value: VS_FIXEDFILEINFO
    EXPECT_EQ(word(4), 0u);              // binary
    // "VarFileInfo" (68 bytes) with "Translation" (36 bytes, value length 4)
    // ends the block.
    size_t var = written.size() - 68;
    EXPECT_EQ(word(var), 68u);
    EXPECT_EQ(word(var + 4), 1u);
    EXPECT_EQ(word(var + 32), 36u);
    EXPECT_EQ(word(var + 34), 4u);
    EXPECT_EQ(word(var + 36), 0u);
    EXPECT_EQ(word(written.size() - 4), 0x0409u);
    EXPECT_EQ(word(written.size() - 2), 1200u);
}

// Every structure's length is a 16-bit field: a block past 64 KiB is refused
// whole (its lengths would wrap around), and the file stays as it was.
TEST(VersionInfoWrite, ABlockPastSixtyFourKibibytesIsRefused) {
    testsupport::TempDir dir;
    std::wstring target = resourcetest::CopyOfBareLauncher(dir, L"target.exe");
    std::string before = testsupport::ReadBytes(target);
    VersionInfo info;
    info.fixed.dwSignature = 0xFEEF04BD;
    info.language = 0x0409;
    info.codePage = 1200;
    for (const std::wstring& name : VersionInfo::StandardNames()) info.strings[name] = L"x";
    // Each value fits, the string table does not.
    info.strings[L"Comments"] = std::wstring(20000, L'c');
    info.strings[L"LegalCopyright"] = std::wstring(20000, L'l');
    EXPECT_TRUE(info.Block().empty());
    EXPECT_FALSE(info.Write(target, 1033));
    // One value past its own length field.
    info.strings[L"LegalCopyright"] = L"x";
    info.strings[L"Comments"] = std::wstring(70000, L'c');
    EXPECT_TRUE(info.Block().empty());
    EXPECT_FALSE(info.Write(target, 1033));
    EXPECT_EQ(testsupport::ReadBytes(target), before);
    // Just within the limits it is written.
    info.strings[L"Comments"] = std::wstring(30000, L'c');
    EXPECT_FALSE(info.Block().empty());
    EXPECT_LE(info.Block().size(), 0xFFFFu);
}

TEST(VersionInfoWrite, WriteThenReadGivesTheSameValues) {
    testsupport::TempDir dir;
    std::wstring target = resourcetest::CopyOfBareLauncher(dir, L"target.exe");
    VersionInfo info;
    info.fixed.dwSignature = 0xFEEF04BD;
    info.fixed.dwStrucVersion = 0x10000;
    info.fixed.dwFileVersionMS = MAKELONG(5, 7);
    info.fixed.dwFileVersionLS = MAKELONG(11, 9);
    info.fixed.dwProductVersionMS = MAKELONG(0, 2025);
    info.fixed.dwFileOS = VOS_NT_WINDOWS32;
    info.fixed.dwFileType = VFT_APP;
    info.language = 0x0407;
    info.codePage = 1200;
    for (const std::wstring& name : VersionInfo::StandardNames()) info.strings[name] = L"Wert von " + name + L" äöü";
    info.strings[L"PrivateBuild"] = L"";  // an empty value has no value
    info.strings[L"Comments"] = L"odd";   // values of odd and even length
    ASSERT_TRUE(info.Write(target, 1031));

    VersionInfo back;
    ASSERT_TRUE(back.Read(target, 1031));
    EXPECT_EQ(std::memcmp(&back.fixed, &info.fixed, sizeof(VS_FIXEDFILEINFO)), 0);
    EXPECT_EQ(back.language, info.language);
    EXPECT_EQ(back.codePage, info.codePage);
    EXPECT_EQ(back.strings, info.strings);
    // The launcher's own block in 1033 is still there beside it.
    VersionInfo original;
    EXPECT_TRUE(original.Read(target, 1033));
    EXPECT_EQ(original.strings[L"ProductName"], L"SetupLauncher");
}
