// The launcher's command line: UI levels, log modes, repair modes, keywords,
// property assignments and the FASTOEM rule.
#include <gtest/gtest.h>

#include "engine/CommandLineInfo.h"

namespace {
CSetupAppCommandLineInfo Parse(const std::wstring& arguments) {
    CSetupAppCommandLineInfo info;
    fw::ParseCommandLine(info, L"setup.exe " + arguments);
    return info;
}
}  // namespace

TEST(CommandLineUiLevel, Levels) {
    EXPECT_EQ(Parse(L"").uiLevel, 0x85u);
    EXPECT_EQ(Parse(L"/q").uiLevel, 2u);
    EXPECT_EQ(Parse(L"/qn").uiLevel, 2u);
    EXPECT_EQ(Parse(L"/qb").uiLevel, 3u);
    EXPECT_EQ(Parse(L"/qr").uiLevel, 4u);
    EXPECT_EQ(Parse(L"/qf").uiLevel, 5u);
    EXPECT_EQ(Parse(L"/q+").uiLevel, 0x82u);
    EXPECT_EQ(Parse(L"/qb+").uiLevel, 0x83u);
    EXPECT_EQ(Parse(L"/qn+").uiLevel, 0x82u);
    EXPECT_EQ(Parse(L"-QB").uiLevel, 3u);
}

TEST(CommandLineUiLevel, MalformedLevelsAreUsageErrors) {
    EXPECT_FALSE(Parse(L"/qb+").usageError);
    EXPECT_TRUE(Parse(L"/qb+x").usageError);
    EXPECT_TRUE(Parse(L"/qbx").usageError);
    auto z = Parse(L"/qz");
    EXPECT_TRUE(z.usageError);
    EXPECT_EQ(z.uiLevel, 2u);
    EXPECT_TRUE(Parse(L"/q+n").usageError);
}

TEST(CommandLineUiLevel, SilentMeansBitTwo) {
    EXPECT_TRUE(Parse(L"/qn").IsSilent());
    EXPECT_TRUE(Parse(L"/qb+").IsSilent());
    EXPECT_FALSE(Parse(L"/qr").IsSilent());
    EXPECT_FALSE(Parse(L"/qf").IsSilent());
    EXPECT_FALSE(Parse(L"").IsSilent());
}

TEST(CommandLineLog, ModeLettersAndPath) {
    auto star = Parse(L"/L*v log.txt");
    EXPECT_EQ(star.logMode, 0xF9Fu | 0x1000u);
    EXPECT_EQ(star.logPath, L"log.txt");
    auto plain = Parse(L"/L log.txt");
    EXPECT_EQ(plain.logMode, 0x397u);
    EXPECT_EQ(plain.logPath, L"log.txt");
    EXPECT_EQ(Parse(L"/Le x").logMode, 0x2u);
    EXPECT_EQ(Parse(L"/Liwe x").logMode, 0x16u);
    // Upper-case letters other than the switch letter are ignored.
    EXPECT_EQ(Parse(L"/LV x").logMode, 0u);
}

TEST(CommandLineLog, AttributesAndMissingPath) {
    auto append = Parse(L"/L+! log.txt");
    EXPECT_EQ(append.logAttributes, 3u);
    // Attributes alone keep the default mode.
    EXPECT_EQ(append.logMode, 0x397u);
    auto verboseAppend = Parse(L"/Lv+ log.txt");
    EXPECT_EQ(verboseAppend.logMode, 0x1000u);
    EXPECT_EQ(verboseAppend.logAttributes, 1u);
    auto last = Parse(L"/qn /L");
    EXPECT_TRUE(last.logPath.empty());
    EXPECT_FALSE(last.usageError);
    // Only the first argument after /L is the path; the next one is a property.
    auto two = Parse(L"/L a.txt b.txt");
    EXPECT_EQ(two.logPath, L"a.txt");
    EXPECT_TRUE(two.usageError);
}

TEST(CommandLineRepair, ReinstallModes) {
    auto plain = Parse(L"/f");
    EXPECT_TRUE(plain.repair);
    EXPECT_EQ(plain.reinstallMode, 0x7C0u);
    EXPECT_EQ(Parse(L"/fvomus").reinstallMode, 0x784u);
    EXPECT_EQ(Parse(L"/fpoedcamusv").reinstallMode, 0x7FEu);
    EXPECT_EQ(Parse(L"/fz").reinstallMode, 0u);
}

TEST(CommandLineSwitches, SimpleSwitches) {
    EXPECT_TRUE(Parse(L"/?").help);
    EXPECT_TRUE(Parse(L"/H").help);
    EXPECT_TRUE(Parse(L"/x").uninstall);
    EXPECT_TRUE(Parse(L"/a").administrative);
    EXPECT_TRUE(Parse(L"/u").extractAll);
    EXPECT_TRUE(Parse(L"/v").validateOnly);
    EXPECT_TRUE(Parse(L"/z").usageError);
    EXPECT_TRUE(Parse(L"/xx").usageError);
    auto mif = Parse(L"/m status.mif");
    EXPECT_EQ(mif.mifPath, L"status.mif");
    EXPECT_FALSE(mif.usageError);
}

TEST(CommandLineSwitches, ModeSwitchesAccumulateUntilAllFour) {
    auto three = Parse(L"/a /f /x");
    EXPECT_TRUE(three.administrative && three.repair && three.uninstall);
    EXPECT_FALSE(three.usageError);
    auto four = Parse(L"/a /f /x /u");
    EXPECT_TRUE(four.usageError);
    EXPECT_FALSE(four.extractAll);
}

TEST(CommandLineKeywords, TransformsLangSubPackages) {
    auto info = Parse(L"TRANSFORMS=a.mst transforms=b.mst lang=German LANG=French subPackages=\"Server,Tools\"");
    EXPECT_EQ(info.transforms, L"a.mst");
    // The second TRANSFORMS= is passed on as a property.
    ASSERT_EQ(info.properties.size(), 1u);
    EXPECT_EQ(info.properties[0], L"transforms=b.mst");
    EXPECT_EQ(info.language, L"French");
    EXPECT_EQ(info.subPackages, L"Server,Tools");
    EXPECT_TRUE(Parse(L"subPackages=all").subPackages.empty());
    EXPECT_TRUE(Parse(L"SUBPACKAGES=\"ALL\"").subPackages.empty());
    EXPECT_EQ(Parse(L"subPackages=none").subPackages, L"none");
}

TEST(CommandLineProperties, ValuesAreTrimmedAndQuoted) {
    auto info = Parse(L"\"A = x y \" B= C=\"\"\"q \"\"\"\" r\"\"\" D=plain \"E=tab\there\"");
    EXPECT_FALSE(info.usageError);
    ASSERT_EQ(info.properties.size(), 5u);
    EXPECT_EQ(info.properties[0], L"A=\"x y\"");
    EXPECT_EQ(info.properties[1], L"B=\"\"");
    // A value that is one quoted value already is passed as it is.
    EXPECT_EQ(info.properties[2], L"C=\"q \"\" r\"");
    EXPECT_EQ(info.properties[3], L"D=plain");
    EXPECT_EQ(info.properties[4], L"E=\"tab\there\"");
}

// What Windows Installer could not take as one property is refused here,
// with the reason for the log.
TEST(CommandLineProperties, AssignmentsThatCannotWorkAreUsageErrors) {
    for (const wchar_t* text : {L"=value", L"\" = value\"", L"\"MY PROP=1\"", L"PROP=a\\\"b", L"1ST=x", L"A-B=1",
                                L"C=\\\"a\\\"b\\\"", L"D=\\\"a\\\"\\\""}) {
        auto info = Parse(text);
        EXPECT_TRUE(info.usageError) << text;
        EXPECT_TRUE(info.properties.empty()) << text;
        EXPECT_EQ(info.usageProblems.size(), 1u) << text;
    }
    EXPECT_TRUE(IsPropertyName(L"_Private.Name2"));
    EXPECT_FALSE(IsPropertyName(L"N\u00c4ME"));
    EXPECT_TRUE(IsUsablePropertyValue(L"\"\""));
    EXPECT_TRUE(IsUsablePropertyValue(L"\"a \"\"b\"\"\""));
    EXPECT_FALSE(IsUsablePropertyValue(L"\"a\"\""));
    EXPECT_FALSE(IsUsablePropertyValue(L"\""));
}

TEST(CommandLineProperties, AllowDowngradeIsTheLaunchersOwn) {
    auto allowed = Parse(L"allowdowngrade=1 X=1");
    EXPECT_TRUE(allowed.allowDowngrade);
    EXPECT_EQ(allowed.properties, std::vector<std::wstring>{L"X=1"});
    EXPECT_FALSE(Parse(L"ALLOWDOWNGRADE=0").allowDowngrade);
    EXPECT_TRUE(Parse(L"ALLOWDOWNGRADE=yes").usageError);
}

TEST(CommandLineSwitches, EachUsageErrorSaysWhy) {
    auto info = Parse(L"/bogus /qz /p x.msp");
    EXPECT_EQ(info.usageProblems,
              (std::vector<std::wstring>{L"unknown switch /bogus", L"unknown user interface level /qz",
                                         L"unknown switch /p", L"\"x.msp\" is neither a switch nor a property assignment"}));
    EXPECT_TRUE(Parse(L"/h").usageProblems.empty());
}

TEST(CommandLineProperties, OrderAndDuplicatesKeptBareWordIsUsageError) {
    auto info = Parse(L"X=1 Y=2 X=3");
    EXPECT_EQ(info.properties, (std::vector<std::wstring>{L"X=1", L"Y=2", L"X=3"}));
    EXPECT_FALSE(info.usageError);
    EXPECT_TRUE(Parse(L"install").usageError);
}

TEST(CommandLineFastOem, PassedOnlyForSilentPerMachinePlainInstall) {
    auto has = [](const CSetupAppCommandLineInfo& info) {
        return std::find(info.properties.begin(), info.properties.end(), L"FASTOEM=1") != info.properties.end();
    };
    auto yes = Parse(L"FASTOEM=1 ALLUSERS=1 /qn");
    EXPECT_TRUE(yes.fastOemActive);
    EXPECT_TRUE(has(yes));
    EXPECT_FALSE(has(Parse(L"FASTOEM=1 /qn")));
    EXPECT_FALSE(has(Parse(L"FASTOEM=1 ALLUSERS=1")));
    EXPECT_FALSE(has(Parse(L"FASTOEM=1 ALLUSERS=1 /qn /x")));
    EXPECT_TRUE(has(Parse(L"ALLUSERS=1 /qn FASTOEM=1")));
    // Only the exact spelling is recognised.
    auto lower = Parse(L"fastoem=1 ALLUSERS=1 /qn");
    EXPECT_FALSE(lower.fastOemIsOne);
    EXPECT_EQ(lower.properties[0], L"fastoem=1");
}
