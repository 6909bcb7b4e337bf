// Windows names and the OS requirement: parsing, aliases, comparison and the
// welcome text it selects.
#include <gtest/gtest.h>

#include "launcher/EnvironmentChecks.h"

TEST(WindowsName, NamesByVersionAndProductType) {
    const BYTE ws = VER_NT_WORKSTATION, server = VER_NT_SERVER;
    EXPECT_EQ(WindowsName(5, 0, 0, 0, 0, ws, 0), L"Windows 2000");
    EXPECT_EQ(WindowsName(5, 1, 3, 0, 0, ws, 0), L"Windows XP ServicePack 3");
    EXPECT_EQ(WindowsName(6, 0, 2, 0, 0, server, 0), L"Windows Server 2008 ServicePack 2");
    EXPECT_EQ(WindowsName(6, 1, 1, 0, 7601, ws, 0), L"Windows 7 ServicePack 1");
    EXPECT_EQ(WindowsName(6, 1, 0, 0, 7600, server, 0), L"Windows Server 2008 R2");
    EXPECT_EQ(WindowsName(6, 2, 0, 0, 9200, ws, 0), L"Windows 8");
    EXPECT_EQ(WindowsName(6, 2, 0, 0, 9200, server, 0), L"Windows Server 2012");
    EXPECT_EQ(WindowsName(6, 3, 0, 0, 9600, ws, 0), L"Windows 6.3");
    EXPECT_EQ(WindowsName(10, 0, 0, 0, 19041, ws, 0), L"Windows 10.0.19041");
    EXPECT_EQ(WindowsName(5, 1, 2, 1, 0, ws, 0), L"Windows XP ServicePack 2.1");
}

TEST(WindowsName, Version52Variants) {
    EXPECT_EQ(WindowsName(5, 2, 0, 0, 0, VER_NT_SERVER, 0, false, true), L"Windows Server 2003 R2");
    EXPECT_EQ(WindowsName(5, 2, 0, 0, 0, VER_NT_SERVER, 0x2000), L"Windows Storage Server 2003");
    EXPECT_EQ(WindowsName(5, 2, 0, 0, 0, VER_NT_SERVER, 0x8000), L"Windows Home Server");
    EXPECT_EQ(WindowsName(5, 2, 0, 0, 0, VER_NT_WORKSTATION, 0, true), L"Windows XP Professional x64 Edition");
    EXPECT_EQ(WindowsName(5, 2, 0, 0, 0, VER_NT_WORKSTATION, 0, false), L"Windows Server 2003");
}

TEST(OsRequirement, ParsingAndAliases) {
    OsRequirement r = ParseOsRequirement(L"6.1.1");
    EXPECT_EQ(r.major, 6u);
    EXPECT_EQ(r.minor, 1u);
    EXPECT_EQ(r.spMajor, 1u);
    EXPECT_EQ(r.spMinor, 0u);
    EXPECT_FALSE(r.hasRestriction);
    OsRequirement xp = ParseOsRequirement(L"WinXP/WSOnly");
    EXPECT_EQ(xp.major, 5u);
    EXPECT_EQ(xp.minor, 1u);
    EXPECT_EQ(xp.spMajor, 2u);
    EXPECT_EQ(xp.restriction, L"WSOnly");
    EXPECT_EQ(ParseOsRequirement(L"WinNT").major, 4u);
    EXPECT_EQ(ParseOsRequirement(L"").major, 0u);
    EXPECT_EQ(ParseOsRequirement(L"10").minor, 0u);
    EXPECT_EQ(ParseOsRequirement(L"6.1.1.4").spMinor, 4u);
}

TEST(OsRequirement, ComparisonWithRunningSystem) {
    WindowsFacts win7{6, 1, 0, 0};
    WindowsFacts win7sp1{6, 1, 1, 0};
    WindowsFacts win10{10, 0, 0, 0};
    OsRequirement sp1 = ParseOsRequirement(L"6.1.1");
    EXPECT_FALSE(MeetsRequirement(win7, sp1));
    EXPECT_TRUE(MeetsRequirement(win7sp1, sp1));
    EXPECT_TRUE(MeetsRequirement(win10, sp1));
    OsRequirement xp = ParseOsRequirement(L"WinXP");
    EXPECT_TRUE(MeetsRequirement(WindowsFacts{5, 1, 2, 0}, xp));
    EXPECT_FALSE(MeetsRequirement(WindowsFacts{5, 1, 1, 0}, xp));
    EXPECT_FALSE(MeetsRequirement(win7sp1, ParseOsRequirement(L"6.2")));
    EXPECT_TRUE(MeetsRequirement(WindowsFacts{6, 2, 0, 0}, ParseOsRequirement(L"6.1.3")));
}

TEST(OsRequirement, WelcomeTextByRequirement) {
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"5.1.3")), 1042);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.0")), 1043);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.0.2")), 1043);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.1")), 1044);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.1.1")), 1324);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"6.1.2")), 35);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"WinXP")), 35);
    EXPECT_EQ(WelcomeTextIdFor(ParseOsRequirement(L"10.0")), 35);
}
