// What a run does and how it treats its user, decided from the command line
// as the launcher parses it: the mode for every combination of /u, /f and /x
// with and without the main product installed, and what each UI level means.
#include <gtest/gtest.h>

#include "engine/CommandLineInfo.h"
#include "engine/RunMode.h"

namespace {
CSetupAppCommandLineInfo Parse(const std::wstring& arguments) {
    CSetupAppCommandLineInfo info;
    fw::ParseCommandLine(info, L"setup.exe " + arguments);
    return info;
}
RunSwitches SwitchesOf(const CSetupAppCommandLineInfo& info) { return {info.extractAll, info.repair, info.uninstall}; }
}  // namespace

TEST(RunMode, EverySwitchCombinationWithAndWithoutTheMainProduct) {
    struct Row {
        const wchar_t* arguments;
        RunMode notInstalled, installed;        // the work
        RunMode namedNotInstalled, namedInstalled;  // what the pages name
    };
    using M = RunMode;
    const Row rows[] = {
        {L"", M::Install, M::Modify, M::Install, M::Modify},
        {L"/u", M::Extract, M::Extract, M::Install, M::Modify},
        {L"/f", M::Repair, M::Repair, M::Repair, M::Repair},
        {L"/x", M::Uninstall, M::Uninstall, M::Uninstall, M::Uninstall},
        {L"/u /f", M::Extract, M::Extract, M::Repair, M::Repair},
        {L"/f /u", M::Extract, M::Extract, M::Repair, M::Repair},
        {L"/u /x", M::Extract, M::Extract, M::Uninstall, M::Uninstall},
        {L"/f /x", M::Repair, M::Repair, M::Repair, M::Repair},
        {L"/x /f", M::Repair, M::Repair, M::Repair, M::Repair},
        {L"/u /f /x", M::Extract, M::Extract, M::Repair, M::Repair},
        {L"/a /x", M::Uninstall, M::Uninstall, M::Uninstall, M::Uninstall},
        {L"/a", M::Install, M::Modify, M::Install, M::Modify},
    };
    for (const Row& row : rows) {
        CSetupAppCommandLineInfo info = Parse(row.arguments);
        ASSERT_FALSE(info.usageError) << testing::PrintToString(std::wstring(row.arguments));
        RunSwitches switches = SwitchesOf(info);
        const std::wstring name = row.arguments;
        EXPECT_EQ(DecideRunMode(switches, false), row.notInstalled) << testing::PrintToString(name);
        EXPECT_EQ(DecideRunMode(switches, true), row.installed) << testing::PrintToString(name);
        EXPECT_EQ(DecideMaintenance(info.repair, info.uninstall, false), row.namedNotInstalled)
            << testing::PrintToString(name);
        EXPECT_EQ(DecideMaintenance(info.repair, info.uninstall, true), row.namedInstalled)
            << testing::PrintToString(name);
    }
}

TEST(RunMode, WhatEachUiLevelMeans) {
    struct Row {
        const wchar_t* arguments;
        bool full, silent, unattended;
    };
    const Row rows[] = {
        {L"", true, false, false},      {L"/qf", true, false, false},  {L"/qr", false, false, false},
        {L"/qb", false, true, false},   {L"/qb+", false, true, false},
        {L"/qn", false, true, true},    {L"/qn+", false, true, true},  {L"/q", false, true, true},
    };
    for (const Row& row : rows) {
        CSetupAppCommandLineInfo info = Parse(row.arguments);
        const std::wstring name = row.arguments;
        ASSERT_FALSE(info.usageError) << testing::PrintToString(name);
        UiLevel level = info.Ui();
        EXPECT_EQ(level.IsFull(), row.full) << testing::PrintToString(name);
        EXPECT_EQ(level.PassesPagesThrough(), !row.full) << testing::PrintToString(name);
        EXPECT_EQ(level.IsSilent(), row.silent) << testing::PrintToString(name);
        EXPECT_EQ(level.IsUnattended(), row.unattended) << testing::PrintToString(name);
    }
}
