// Property assignments: unknown ones are passed on with a warning on the
// console; listed port properties must be numeric, and an assignment Windows
// Installer could not take is refused: nothing is installed (1639).
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"

TEST(Properties, UnknownPropertyWarnsAndGoesOn) {
    LauncherRun run = RunLauncher(L"single", L"/qn FOO=1 /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.OutputHas(L"Warning: the property 'FOO' specified on the command line is not directly supported "
                              L"by this installer but will be passed on neverthless.\r\n"));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): All information collected. Start processing.\r\n"));
}

TEST(Properties, KeywordsAreNotWarnedAbout) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qn TRANSFORMS=a.mst TRANSFORMS=b.mst subPackages=none lang=German");
    // No a.mst to apply: nothing is installed.
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INSTALL_TRANSFORM_FAILURE));
    EXPECT_FALSE(run.OutputHas(L"Warning"));
}

TEST(Properties, NonNumericPortIsRefusedOnTheConsole) {
    LauncherRun run = RunLauncher(L"brimcart", L"/qn BC_WebServer_Port=abc hb_sslwebserver_port=443 /L*v %LOG%");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE));
    EXPECT_EQ(run.output, L"\r\nError: Parameter BC_WebServer_Port must be numeric\n\r\n\r\n");
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Invalid command line: the value of BC_WebServer_Port must be numeric\r\n"));
    EXPECT_FALSE(run.LogHas(L"Reading package information."));
}

TEST(Properties, AssignmentsWindowsInstallerCannotTakeAreRefused) {
    for (const wchar_t* assignment : {L"=value", L"\"MY PROP=1\"", L"PROP=a\\\"b"}) {
        LauncherRun run = RunLauncher(L"single", std::wstring(L"/qn ") + assignment + L" /L*v %LOG%");
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(ERROR_INVALID_COMMAND_LINE)) << assignment;
        EXPECT_TRUE(run.LogHas(L"ZEL (c): Invalid command line: ")) << assignment;
        EXPECT_FALSE(run.LogHas(L"Reading package information.")) << assignment;
    }
}

TEST(Properties, NumericPortsAndListedPropertiesPassQuietly) {
    LauncherRun run = RunLauncher(L"brimcart", L"/qn BC_WebServer_Port=8080 BC_Service_Password=Secret /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.output.empty()) << run.output.c_str();
    EXPECT_TRUE(run.LogHas(L"ZEL (c): All information collected. Start processing.\r\n"));
}

TEST(Properties, PortPropertyOfAnotherProductIsOnlyWarned) {
    LauncherRun run = RunLauncher(L"single", L"/qn BC_WebServer_Port=abc");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.OutputHas(L"Warning: the property 'BC_WebServer_Port'"));
}
