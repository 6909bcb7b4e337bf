// Shows that resources are found and read by type, name and language text
// ("" any language, "1033" US English, "2052" Simplified Chinese and not
// Traditional), copied or in place, and that their languages are listed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "framework/ModulePath.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceModule.h"
#include "tests/support/TestSupport.h"

namespace {
const LPCWSTR kText = MAKEINTRESOURCEW(icbs::kCatalogueType);
std::wstring Probe(HMODULE module, const std::wstring& languageText) {
    return icbs::LoadResourceText(module, L"PROBE", languageText).value_or(L"<missing>");
}
}  // namespace

TEST(ResourceAccess, LanguageTextsSelectTheirInstance) {
    ResourceModule self;
    EXPECT_EQ(Probe(self.Handle(), L"1033"), L"english");
    EXPECT_EQ(Probe(self.Handle(), L"1031"), L"german");
    EXPECT_EQ(Probe(self.Handle(), L"1041"), L"japanese");
    // "2052" reaches Simplified Chinese, even though a Traditional Chinese
    // (1028) instance is there too.
    EXPECT_EQ(Probe(self.Handle(), L"2052"), L"simplified chinese");
    // Texts without an instance of their own fall back to 1033.
    EXPECT_EQ(Probe(self.Handle(), L"German"), L"english");
    EXPECT_EQ(Probe(self.Handle(), L"1028"), L"english");
    EXPECT_EQ(icbs::ResourceLanguageFromText(L"2052"), 2052);
    EXPECT_EQ(icbs::ResourceLanguageFromText(L"1036"), 1036);
    EXPECT_EQ(icbs::ResourceLanguageFromText(L""), 1033);
    // "1034" names Spanish, of which there is no instance.
    EXPECT_FALSE(icbs::ResourceExists(self.Handle(), kText, L"PROBE", L"1034"));
    EXPECT_EQ(icbs::LoadResourceText(self.Handle(), L"PROBE", L"1034"), std::nullopt);
}

TEST(ResourceAccess, AnEmptyLanguageTextTakesAnyInstance) {
    ResourceModule self;
    const std::vector<std::wstring> instances = {L"english", L"german", L"simplified chinese", L"traditional chinese",
                                                 L"japanese"};
    std::wstring any = Probe(self.Handle(), L"");
    EXPECT_NE(std::find(instances.begin(), instances.end(), any), instances.end()) << testing::PrintToString(any);
    EXPECT_TRUE(icbs::ResourceExists(self.Handle(), kText, L"PROBE", L""));
    EXPECT_FALSE(icbs::ResourceExists(self.Handle(), kText, L"ABSENT", L""));
    EXPECT_FALSE(icbs::ResourceExists(self.Handle(), kText, L"ABSENT", L"1033"));
}

TEST(ResourceAccess, DataIsCopiedOrReadInPlace) {
    ResourceModule self;
    icbs::ResourceData inPlace, copy;
    ASSERT_TRUE(icbs::LoadResourceData(self.Handle(), kText, L"PROBE", LANGID(1031), true, inPlace));
    ASSERT_TRUE(icbs::LoadResourceData(self.Handle(), kText, L"PROBE", L"1031", false, copy));
    EXPECT_FALSE(inPlace.IsCopy());
    EXPECT_TRUE(copy.IsCopy());
    EXPECT_EQ(inPlace.Size(), sizeof(L"german"));
    ASSERT_EQ(inPlace.Size(), copy.Size());
    EXPECT_NE(inPlace.Data(), copy.Data());
    EXPECT_EQ(std::memcmp(inPlace.Data(), copy.Data(), copy.Size()), 0);
    // In place means the loaded resource itself.
    HRSRC info = ::FindResourceExW(self.Handle(), kText, L"PROBE", 1031);
    EXPECT_EQ(inPlace.Data(), ::LockResource(::LoadResource(self.Handle(), info)));
    // A missing resource and an empty one both answer false; the empty one
    // reads as an empty text, the missing one as none.
    icbs::ResourceData none;
    EXPECT_FALSE(icbs::LoadResourceData(self.Handle(), kText, L"ABSENT", L"", true, none));
    EXPECT_FALSE(none);
    EXPECT_FALSE(icbs::LoadResourceData(self.Handle(), kText, L"EMPTY", L"1033", true, none));
    EXPECT_EQ(icbs::LoadResourceText(self.Handle(), L"EMPTY", L"1033"), std::wstring());
}

TEST(ResourceAccess, TheLanguagesOfAResourceAreListed) {
    ResourceModule self;
    std::vector<LANGID> languages = icbs::EnumResourceLanguages(self.Handle(), kText, L"PROBE");
    std::sort(languages.begin(), languages.end());
    EXPECT_EQ(languages, (std::vector<LANGID>{1028, 1031, 1033, 1041, 2052}));
    EXPECT_TRUE(icbs::EnumResourceLanguages(self.Handle(), kText, L"ABSENT").empty());
}

TEST(ResourceAccess, OtherFilesAreLoadedAsDataOnly) {
    // The file is loaded for its resources; a file that is no program is
    // not loaded at all.
    ResourceModule other(fw::RunningModulePath());
    ASSERT_TRUE(other);
    EXPECT_EQ(Probe(other.Handle(), L"1031"), L"german");
    ResourceModule launcher(testsupport::BuildDir() + L"\\SetupLauncher.exe");
    ASSERT_TRUE(launcher);
    EXPECT_TRUE(icbs::ResourceExists(launcher.Handle(), RT_DIALOG, MAKEINTRESOURCEW(154), L""));
    EXPECT_FALSE(icbs::ResourceExists(launcher.Handle(), kText, L"PROBE", L""));
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.File(L"text.exe"), "not a program");
    ResourceModule text(dir.File(L"text.exe"));
    EXPECT_FALSE(text);
    EXPECT_NE(text.LoadError(), 0u);
    EXPECT_FALSE(ResourceModule(dir.File(L"missing.exe")));
}
