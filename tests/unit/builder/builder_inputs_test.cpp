// Shows the builder's plain decisions about its inputs: the project file's
// strict syntax (every fault with its line), the values it checks
// (properties, platforms, codes, Windows versions, product ids), whether a
// transform applies to a package, and the winget identifier and version.
#include <gtest/gtest.h>

#include "builder/BuildOutputs.h"
#include "builder/InputChecks.h"
#include "builder/PackageFacts.h"
#include "builder/ProjectFile.h"
#include "builder/TransformFit.h"
#include "builder/ValueChecks.h"
#include "tests/support/TestSupport.h"

using testsupport::Contains;

TEST(ProjectFile, SectionsKeepTheirOrderAndQuotedValuesAreUnquoted) {
    std::vector<ProjectSection> sections;
    std::wstring error;
    ASSERT_TRUE(ParseProjectText(L"; comment\r\n[installer]\r\nout = setup.exe\r\nproperties = \"A=\"\"x y\"\"\"\r\n"
                                 L"\r\n# another\r\n[package tools]\r\nfile=Tools.msi\r\n[Package editor]\r\n"
                                 L"file = \" Editor.msi \"\r\n",
                                 sections, error))
        << error;
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_FALSE(sections[0].isPackage);
    EXPECT_EQ(sections[0].settings[1].value, L"A=\"x y\"");
    EXPECT_EQ(sections[1].name, L"tools");
    EXPECT_EQ(sections[2].name, L"editor");
    EXPECT_EQ(sections[2].settings[0].value, L" Editor.msi ");
    EXPECT_EQ(sections[2].settings[0].line, 10);
}

TEST(ProjectFile, EveryFaultNamesItsLine) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;  // line and a part of the reason
    };
    const Case cases[] = {
        {L"[package a]\nfile = a.msi\n[package A]\nfile = b.msi\n", L"line 3: section [package A] appears a second time "
                                                                    L"(first at line 1)"},
        {L"[installer]\nout = a.exe\nOUT = b.exe\n", L"line 3: \"OUT\" is set a second time"},
        {L"[package a]\nfile = a.msi\ntransform.1031 = a_de.mst\n  a_es.mst\n", L"line 4: \"a_es.mst\" is not a setting"},
        {L"[packages]\nfile = a.msi\n", L"line 1: unknown section [packages]"},
        {L"[package]\nfile = a.msi\n", L"line 1: a package section needs a name"},
        {L"out = a.exe\n[installer]\n", L"line 1: a setting before the first section"},
        {L"[installer]\nproperties = \"A=1\n", L"line 2: unbalanced quote"},
        {L"[installer]\nproperties = \"A=\"1\"\n", L"line 2: unbalanced quote"},
        {L"[installer\n", L"line 1: a section header without its closing"},
        {L"[installer]\n[installer]\n", L"line 2: section [installer] appears a second time"},
    };
    for (const Case& c : cases) {
        std::vector<ProjectSection> sections;
        std::wstring error;
        EXPECT_FALSE(ParseProjectText(c.text, sections, error)) << c.text;
        EXPECT_TRUE(Contains(error, c.expected)) << testing::PrintToString(error);
    }
}

TEST(ProjectFile, TextIsUtf8OrUtf16) {
    std::wstring text;
    ASSERT_TRUE(DecodeProjectBytes("\xEF\xBB\xBF[installer]\nout = Stra\xC3\x9F" "e.exe\n", text));
    EXPECT_EQ(text, L"[installer]\nout = Stra\u00DFe.exe\n");
    ASSERT_TRUE(DecodeProjectBytes(std::string("\xFF\xFE[\0a\0]\0", 8), text));
    EXPECT_EQ(text, L"[a]");
}

TEST(ValueChecks, PropertiesAreNameValueItemsWithBalancedQuotes) {
    std::wstring reason;
    for (const wchar_t* good : {L"", L"A=1", L"A=1 B=\"two words\"  C=\"say \"\"hi\"\"\"", L"INSTALLDIR=C:\\X Y_Z.1=",
                                L"EMPTY=\"\""})
        EXPECT_TRUE(CheckPropertiesText(good, reason)) << good << ": " << testing::PrintToString(reason);
    const std::pair<const wchar_t*, const wchar_t*> bad[] = {
        {L"A=\"unbalanced", L"no closing quote"},
        {L"A=\"x\"y", L"followed by more text"},
        {L"A=x\"y", L"a quote inside"},
        {L"JUSTANAME", L"not a NAME=value item"},
        {L"=value", L"not a NAME=value item"},
        {L"1A=x", L"not a NAME=value item"},
    };
    for (const auto& [text, part] : bad) {
        EXPECT_FALSE(CheckPropertiesText(text, reason)) << text;
        EXPECT_TRUE(Contains(reason, part)) << text << ": " << testing::PrintToString(reason);
    }
}

TEST(ValueChecks, PlatformsAreNormalisedOrRefused) {
    std::wstring platform, reason;
    for (const wchar_t* x64 : {L"x64", L"X64", L"amd64", L"AMD64", L"x86_64"}) {
        ASSERT_TRUE(NormalisePlatform(x64, platform, reason)) << x64;
        EXPECT_EQ(platform, L"x64") << x64;
    }
    for (const wchar_t* intel : {L"Intel", L"intel", L"x86", L"i386"}) {
        ASSERT_TRUE(NormalisePlatform(intel, platform, reason)) << intel;
        EXPECT_EQ(platform, L"Intel") << intel;
    }
    for (const wchar_t* refused : {L"Arm64", L"Intel64", L"banana", L""})
        EXPECT_FALSE(NormalisePlatform(refused, platform, reason)) << refused;
    ASSERT_TRUE(DatabasePlatform(L"x64;1033", platform, reason));
    EXPECT_EQ(platform, L"x64");
    ASSERT_TRUE(DatabasePlatform(L";1033", platform, reason));
    EXPECT_EQ(platform, L"Intel");
    ASSERT_TRUE(DatabasePlatform(L"AMD64,Intel;1031", platform, reason));
    EXPECT_EQ(platform, L"x64");
    EXPECT_FALSE(DatabasePlatform(L"Arm64;1033", platform, reason));
    EXPECT_TRUE(Contains(reason, L"Arm64;1033")) << testing::PrintToString(reason);
}

TEST(ValueChecks, CodesWindowsVersionsProductIdsAndInstallerVersions) {
    std::wstring reason;
    EXPECT_TRUE(CheckInstallerCode(L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}", reason));
    for (const wchar_t* bad : {L"6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001", L"{6b1d0a10-3c55-4e7e-9a51-0c7e1e2a0001}",
                               L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A000}", L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A000G}"})
        EXPECT_FALSE(CheckInstallerCode(bad, reason)) << bad;
    for (const wchar_t* os : {L"6.1.1", L"6.1", L"10", L"10.0.0.0", L"5.2.2/WSOnly", L"WinXP", L"WinNT"})
        EXPECT_TRUE(CheckOsText(os, reason)) << os;
    for (const wchar_t* os : {L"banana", L"", L"0", L"0.0", L"6.1.1.1.1", L"6.x", L"6.1/Server", L"winxp"})
        EXPECT_FALSE(CheckOsText(os, reason)) << os;
    EXPECT_TRUE(CheckProductId(L"", reason));
    EXPECT_TRUE(CheckProductId(L"DY::E", reason));
    EXPECT_TRUE(CheckProductId(L"TW::E", reason));
    EXPECT_FALSE(CheckProductId(L"ED", reason));
    EXPECT_TRUE(Contains(reason, L"DY::E") && Contains(reason, L"BC::S") && Contains(reason, L"TW::P (bundle)"))
        << testing::PrintToString(reason);
    EXPECT_FALSE(CheckProductId(L"dy::e", reason));
    EXPECT_TRUE(CheckMinimumMsi(L"200", reason));
    EXPECT_FALSE(CheckMinimumMsi(L"2.0", reason));
}

TEST(TransformFit, TheSummarysConditionsAgainstThePackage) {
    PackageFacts package;
    package.productCode = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}";
    package.upgradeCode = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2AA001}";
    package.language = L"1033";
    package.version = L"1.2.0";
    auto misfit = [&](const wchar_t* revision, const wchar_t* templateText, unsigned validation) {
        return TransformMisfit(ParseTransformSummary(revision, templateText, validation), package);
    };
    const wchar_t* mine = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}1.2.0;{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}1.2.0;"
                          L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2AA001}";
    const wchar_t* other = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0002}1.0.3;{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0002}1.0.3;"
                           L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2AA002}";
    EXPECT_EQ(misfit(mine, L"Intel;1033", 0x802 | 0x1 | 0x20), L"");
    EXPECT_TRUE(Contains(misfit(other, L"Intel;1033", 0x2), L"made for product {6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0002}"));
    EXPECT_TRUE(Contains(misfit(other, L"Intel;1033", 0x800), L"upgrade code"));
    EXPECT_EQ(misfit(other, L"Intel;1033", 0), L"") << "a transform without conditions applies to any package";
    EXPECT_TRUE(Contains(misfit(mine, L"Intel;1031", 0x1), L"language 1031"));
    // Versions: the parts the flags name, and how they compare.
    const wchar_t* older = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}1.1.0;;";
    EXPECT_TRUE(Contains(misfit(older, L";1033", 0x10), L"made for version 1.1.0"));
    EXPECT_EQ(misfit(older, L";1033", 0x8), L"") << "the major versions agree";
    EXPECT_EQ(misfit(older, L";1033", 0x10 | 0x400), L"") << "1.2 is newer than the base 1.1";
    EXPECT_FALSE(misfit(older, L";1033", 0x10 | 0x40).empty()) << "1.2 is not older than 1.1";
}

TEST(BuildOutputs, WingetIdentifierAndMinimumWindows) {
    BuildDescription d;
    PackageFacts main;
    main.manufacturer = L"Morvex Ltd.";
    main.name = L"Test Editor 2024";
    EXPECT_EQ(WingetIdentifier(d, main), L"MorvexLtd.TestEditor2024");
    d.wingetId = L"Morvex.Editor";
    EXPECT_EQ(WingetIdentifier(d, main), L"Morvex.Editor");
    for (const wchar_t* bad : {L"Editor", L"Morvex..Editor", L"Morvex.Ed itor", L"Morvex.Editor."}) {
        d.wingetId = bad;
        EXPECT_EQ(WingetIdentifier(d, main), L"") << bad;
    }
    EXPECT_EQ(WingetMinimumOs(L"6.1.1"), L"6.1.0");
    EXPECT_EQ(WingetMinimumOs(L"10"), L"10.0.0");
    EXPECT_EQ(WingetMinimumOs(L"5.2.2/WSOnly"), L"5.2.0");
    EXPECT_EQ(WingetMinimumOs(L"WinXP"), L"5.1.0");
}
