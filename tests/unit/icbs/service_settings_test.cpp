// Shows the start-type words, the executable quoting and the logon choice of a service object.
#include <gtest/gtest.h>

#include "icbs/ServiceLogon.h"
#include "icbs/ServiceStartType.h"
#include "icbs/WindowsService.h"

namespace {
// A name no service in a fresh prefix has: the object only holds settings.
const wchar_t* kAbsentService = L"IcbsNoSuchService";
}  // namespace

TEST(ServiceSettings, NamesFollowStartTypeAndDelay) {
    EXPECT_STREQ(StartTypeName(SERVICE_AUTO_START, false), L"auto");
    EXPECT_STREQ(StartTypeName(SERVICE_AUTO_START, true), L"auto-delayed");
    EXPECT_STREQ(StartTypeName(SERVICE_DEMAND_START, true), L"demand");
    EXPECT_STREQ(StartTypeName(SERVICE_DISABLED, false), L"disabled");
    EXPECT_STREQ(StartTypeName(SERVICE_BOOT_START, false), L"disabled");
    EXPECT_STREQ(StartTypeName(0x20, false), L"disabled");
}

TEST(ServiceSettings, AutoDelayedInAnyCaseGivesDelayedAutomaticStart) {
    for (const wchar_t* word : {L"auto-delayed", L"AUTO-DELAYED", L"Auto-Delayed"}) {
        WindowsService service(kAbsentService);
        ASSERT_FALSE(service.Exists());
        EXPECT_TRUE(service.SetStartTypeName(word)) << word;
        EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_AUTO_START));
        EXPECT_TRUE(service.DelayedAutoStart());
        EXPECT_STREQ(service.GetStartTypeName(), L"auto-delayed");
    }
}

TEST(ServiceSettings, EachWordSetsItsStartType) {
    WindowsService service(kAbsentService);
    ASSERT_TRUE(service.SetStartTypeName(L"auto-delayed"));
    // "demand" and "disabled" keep the delay flag; "auto" clears it.
    EXPECT_TRUE(service.SetStartTypeName(L"Demand"));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_TRUE(service.DelayedAutoStart());
    EXPECT_TRUE(service.SetStartTypeName(L"DISABLED"));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_TRUE(service.DelayedAutoStart());
    EXPECT_TRUE(service.SetStartTypeName(L"auto"));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_FALSE(service.DelayedAutoStart());
    EXPECT_STREQ(service.GetStartTypeName(), L"auto");
}

TEST(ServiceSettings, UnknownWordLeavesServiceDisabled) {
    for (const wchar_t* word : {L"manual", L"", L"auto ", L"automatic"}) {
        WindowsService service(kAbsentService);
        ASSERT_TRUE(service.SetStartTypeName(L"auto"));
        EXPECT_FALSE(service.SetStartTypeName(word)) << word;
        EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DISABLED));
        EXPECT_STREQ(service.GetStartTypeName(), L"disabled");
    }
}

TEST(ServiceSettings, NumericStartTypeAboveDisabledFallsBackToAutomatic) {
    WindowsService service(kAbsentService);
    EXPECT_TRUE(service.SetStartType(SERVICE_DEMAND_START));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_TRUE(service.SetStartType(SERVICE_DISABLED));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_FALSE(service.SetStartType(SERVICE_DISABLED + 1));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_AUTO_START));
}

TEST(ServiceSettings, PathIsQuotedOnceAndArgumentsFollowABlank) {
    WindowsService service(kAbsentService);
    service.SetExecutable(L"C:\\Program Files\\Morvex\\server.exe", L"-service -port 80");
    EXPECT_EQ(service.ExecutablePath(), L"\"C:\\Program Files\\Morvex\\server.exe\"");
    EXPECT_EQ(service.CommandLine(), L"\"C:\\Program Files\\Morvex\\server.exe\" -service -port 80");

    service.SetExecutable(L"\"C:\\srv.exe\"", L"");
    EXPECT_EQ(service.ExecutablePath(), L"\"C:\\srv.exe\"");
    EXPECT_EQ(service.CommandLine(), L"\"C:\\srv.exe\"");

    service.SetExecutable(L"C:\\other.exe");
    EXPECT_EQ(service.ExecutablePath(), L"\"C:\\other.exe\"");
    EXPECT_EQ(service.CommandLine(), L"\"C:\\other.exe\"");
}

TEST(ServiceLogonChoice, PlainAccountBecomesLocalAndKeepsPassword) {
    ServiceLogon logon = ChooseServiceLogon(L"svcuser", L"secret", L"", false);
    EXPECT_EQ(logon.account, L".\\svcuser");
    ASSERT_TRUE(logon.accountArg);
    EXPECT_EQ(*logon.accountArg, L".\\svcuser");
    ASSERT_TRUE(logon.passwordArg);
    EXPECT_EQ(*logon.passwordArg, L"secret");

    logon = ChooseServiceLogon(L"DOMAIN\\svc", L"pw", L"", false);
    EXPECT_EQ(logon.account, L"DOMAIN\\svc");
    ASSERT_TRUE(logon.accountArg && logon.passwordArg);
    EXPECT_EQ(*logon.passwordArg, L"pw");
}

TEST(ServiceLogonChoice, BuiltInServiceAccountsGetNoPassword) {
    for (const wchar_t* account : {L"NT AUTHORITY\\LocalService", L"NT AUTHORITY\\NetworkService"}) {
        ServiceLogon logon = ChooseServiceLogon(account, L"ignored", L"", false);
        ASSERT_TRUE(logon.accountArg) << account;
        EXPECT_EQ(*logon.accountArg, account);
        EXPECT_FALSE(logon.passwordArg) << account;
    }
    // The suffix compares with letter case.
    ServiceLogon logon = ChooseServiceLogon(L"NT AUTHORITY\\localservice", L"pw", L"", false);
    EXPECT_TRUE(logon.passwordArg);
}

TEST(ServiceLogonChoice, LocalSystemInAnyCaseIsPassedAsNoAccount) {
    for (const wchar_t* account : {L"LocalSystem", L"localsystem", L".\\LOCALSYSTEM", L".\\LocalSystem", L""}) {
        ServiceLogon logon = ChooseServiceLogon(account, L"pw", L"", false);
        EXPECT_FALSE(logon.accountArg) << account;
        EXPECT_FALSE(logon.passwordArg) << account;
    }
    EXPECT_EQ(ChooseServiceLogon(L"localsystem", L"", L"", false).account, L".\\localsystem");
}

TEST(ServiceLogonChoice, UnchangedAccountWithoutPasswordLeavesLogonAlone) {
    ServiceLogon logon = ChooseServiceLogon(L"svcuser", L"", L".\\svcuser", true);
    EXPECT_FALSE(logon.accountArg);
    EXPECT_FALSE(logon.passwordArg);
    // A new password, another account, or a reported account that differs in
    // letter case are all passed on.
    logon = ChooseServiceLogon(L"svcuser", L"new", L".\\svcuser", true);
    EXPECT_TRUE(logon.accountArg && logon.passwordArg);
    logon = ChooseServiceLogon(L"other", L"", L".\\svcuser", true);
    ASSERT_TRUE(logon.accountArg);
    EXPECT_EQ(*logon.accountArg, L".\\other");
    logon = ChooseServiceLogon(L"SvcUser", L"", L".\\svcuser", true);
    EXPECT_TRUE(logon.accountArg);
    // A service that is not installed has no logon to keep.
    logon = ChooseServiceLogon(L"svcuser", L"", L".\\svcuser", false);
    EXPECT_TRUE(logon.accountArg);
}

TEST(ServiceLogonChoice, InstalledServiceMovingBackToLocalSystemNamesIt) {
    ServiceLogon logon = ChooseServiceLogon(L"localsystem", L"", L".\\svcuser", true);
    ASSERT_TRUE(logon.accountArg);
    EXPECT_EQ(*logon.accountArg, L"LocalSystem");
    ASSERT_TRUE(logon.passwordArg);
    EXPECT_EQ(*logon.passwordArg, L"");
    // Already on the local system account: nothing is passed.
    for (const wchar_t* reported : {L"LocalSystem", L".\\LocalSystem", L"localsystem"}) {
        logon = ChooseServiceLogon(L"LocalSystem", L"", reported, true);
        EXPECT_FALSE(logon.accountArg) << reported;
        EXPECT_FALSE(logon.passwordArg) << reported;
    }
}
