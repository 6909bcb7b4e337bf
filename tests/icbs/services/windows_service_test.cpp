// Shows services created, reconfigured, started, stopped and deleted through Wine's service control manager.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/WindowsService.h"
#include "tests/support/TestSupport.h"

using testsupport::SystemText;

namespace {

const wchar_t* kName = L"IcbsTestService";

std::wstring TestServicePath() { return testsupport::BuildDir() + L"\\tests\\icbs_test_service.exe"; }

// The configuration as the service control manager reports it, read with
// the plain service functions.
struct RawConfig {
    bool installed = false;
    DWORD startType = 0;
    std::wstring displayName;
    std::wstring binaryPath;
    std::wstring account;
    std::wstring description;
};

RawConfig ReadRawConfig(const std::wstring& name) {
    RawConfig result;
    fw::ServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    fw::ServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_CONFIG));
    if (!service) return result;
    std::vector<BYTE> buffer(8192);
    DWORD needed = 0;
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!::QueryServiceConfigW(service.get(), config, static_cast<DWORD>(buffer.size()), &needed)) return result;
    result.installed = true;
    result.startType = config->dwStartType;
    result.displayName = config->lpDisplayName ? config->lpDisplayName : L"";
    result.binaryPath = config->lpBinaryPathName ? config->lpBinaryPathName : L"";
    result.account = config->lpServiceStartName ? config->lpServiceStartName : L"";
    auto* description = reinterpret_cast<SERVICE_DESCRIPTIONW*>(buffer.data());
    if (::QueryServiceConfig2W(service.get(), SERVICE_CONFIG_DESCRIPTION, buffer.data(),
                               static_cast<DWORD>(buffer.size()), &needed) &&
        description->lpDescription)
        result.description = description->lpDescription;
    return result;
}

DWORD RawState(const std::wstring& name) {
    fw::ServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    fw::ServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
    SERVICE_STATUS status = {};
    if (!service || !::QueryServiceStatus(service.get(), &status)) return 0;
    return status.dwCurrentState;
}

// Installs the test service on demand start with the given arguments.
void Install(const std::wstring& arguments) {
    WindowsService service(kName);
    service.SetDisplayName(L"Icbs Test Service");
    service.SetStartTypeName(L"demand");
    service.SetAccount(L"LocalSystem");
    service.SetExecutable(TestServicePath(), arguments);
    std::wstring message = L"stale";
    ASSERT_TRUE(service.Apply(message)) << message;
    EXPECT_EQ(message, L"");
}

}  // namespace

TEST(WindowsServiceApply, CreatesServiceThatReadsBack) {
    {
        WindowsService absent(kName);
        EXPECT_FALSE(absent.Exists());
        EXPECT_EQ(absent.GetState(), 0u);
        EXPECT_EQ(absent.DisplayName(), L"");
        EXPECT_EQ(absent.CommandLine(), L"");
        absent.SetDisplayName(L"Icbs Test Service");
        absent.SetDescription(L"Serves the tests.");
        absent.SetStartTypeName(L"auto");
        absent.SetAccount(L".\\LocalSystem");
        absent.SetPassword(L"ignored");
        absent.SetExecutable(TestServicePath(), L"--stop-delay 10");
        std::wstring message;
        ASSERT_TRUE(absent.Apply(message)) << message;
        EXPECT_TRUE(absent.Exists());
        EXPECT_EQ(absent.GetState(), static_cast<DWORD>(SERVICE_STOPPED));
    }
    RawConfig raw = ReadRawConfig(kName);
    ASSERT_TRUE(raw.installed);
    EXPECT_EQ(raw.startType, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(raw.displayName, L"Icbs Test Service");
    EXPECT_EQ(raw.binaryPath, L"\"" + TestServicePath() + L"\" --stop-delay 10");
    EXPECT_EQ(raw.description, L"Serves the tests.");
    EXPECT_TRUE(fw::EqualsNoCase(raw.account, L"LocalSystem")) << raw.account;

    WindowsService installed(kName);
    ASSERT_TRUE(installed.Exists());
    EXPECT_EQ(installed.ServiceName(), kName);
    EXPECT_EQ(installed.DisplayName(), raw.displayName);
    EXPECT_EQ(installed.Description(), raw.description);
    EXPECT_EQ(installed.CommandLine(), raw.binaryPath);
    EXPECT_EQ(installed.StartType(), raw.startType);
    EXPECT_STREQ(installed.GetStartTypeName(), L"auto");
    EXPECT_EQ(installed.ReportedAccount(), raw.account);
}

TEST(WindowsServiceApply, ReconfiguresAndStopsAnInstalledService) {
    Install(L"");
    {
        WindowsService service(kName);
        std::wstring message;
        ASSERT_TRUE(service.Start(message)) << message;
    }
    ASSERT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_RUNNING));

    WindowsService service(kName);
    service.SetDisplayName(L"Renamed Service");
    service.SetDescription(L"Second description.");
    service.SetStartTypeName(L"disabled");
    service.SetExecutable(TestServicePath(), L"--fail 3");
    std::wstring message;
    ASSERT_TRUE(service.Apply(message)) << message;
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_STOPPED));
    RawConfig raw = ReadRawConfig(kName);
    EXPECT_EQ(raw.displayName, L"Renamed Service");
    EXPECT_EQ(raw.description, L"Second description.");
    EXPECT_EQ(raw.startType, static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_EQ(raw.binaryPath, L"\"" + TestServicePath() + L"\" --fail 3");
    EXPECT_STREQ(WindowsService(kName).GetStartTypeName(), L"disabled");
}

TEST(WindowsServiceApply, AccountsAreAppliedAsLocalBuiltInOrSystem) {
    WindowsService service(kName);
    service.SetExecutable(TestServicePath());
    service.SetStartTypeName(L"demand");
    service.SetAccount(L"svcuser");
    service.SetPassword(L"Secret1!");
    std::wstring message;
    ASSERT_TRUE(service.Apply(message)) << message;
    EXPECT_EQ(service.Account(), L".\\svcuser");
    EXPECT_EQ(ReadRawConfig(kName).account, L".\\svcuser");

    {
        // Read back: the local prefix is dropped from the account only.
        WindowsService reread(kName);
        EXPECT_EQ(reread.Account(), L"svcuser");
        EXPECT_EQ(reread.ReportedAccount(), L".\\svcuser");
        // Re-applied unchanged with no password: the logon stays.
        reread.SetDescription(L"touched");
        ASSERT_TRUE(reread.Apply(message)) << message;
        EXPECT_EQ(ReadRawConfig(kName).account, L".\\svcuser");
        EXPECT_EQ(ReadRawConfig(kName).description, L"touched");
    }
    {
        WindowsService reread(kName);
        reread.SetAccount(L"NT AUTHORITY\\LocalService");
        ASSERT_TRUE(reread.Apply(message)) << message;
        EXPECT_EQ(ReadRawConfig(kName).account, L"NT AUTHORITY\\LocalService");
    }
    {
        // Back to the local system account, named in any letter case.
        WindowsService reread(kName);
        EXPECT_EQ(reread.Account(), L"NT AUTHORITY\\LocalService");
        reread.SetAccount(L".\\LOCALSYSTEM");
        ASSERT_TRUE(reread.Apply(message)) << message;
        EXPECT_TRUE(fw::EqualsNoCase(ReadRawConfig(kName).account, L"LocalSystem")) << ReadRawConfig(kName).account;
    }
}

TEST(WindowsServiceApply, DelayedStartFollowsWhatTheSystemSupports) {
    Install(L"");
    // Whether this system knows delayed automatic start at all, asked
    // directly; Wine 8 answers that it does not know the level.
    DWORD delayedError = 0;
    {
        fw::ServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        fw::ServiceHandle raw(::OpenServiceW(manager.get(), kName, SERVICE_ALL_ACCESS));
        SERVICE_DELAYED_AUTO_START_INFO info = {FALSE};
        if (!::ChangeServiceConfig2W(raw.get(), SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &info))
            delayedError = ::GetLastError();
    }

    WindowsService service(kName);
    EXPECT_FALSE(service.DelayedAutoStart());
    std::wstring message;
    ASSERT_TRUE(service.SetStartTypeName(L"auto"));
    EXPECT_TRUE(service.Apply(message)) << message;  // nothing to delay: fine either way
    EXPECT_EQ(ReadRawConfig(kName).startType, static_cast<DWORD>(SERVICE_AUTO_START));

    ASSERT_TRUE(service.SetStartTypeName(L"Auto-Delayed"));
    bool applied = service.Apply(message);
    if (delayedError == 0) {
        EXPECT_TRUE(applied) << message;
        EXPECT_STREQ(WindowsService(kName).GetStartTypeName(), L"auto-delayed");
    } else {
        EXPECT_EQ(delayedError, static_cast<DWORD>(ERROR_INVALID_LEVEL));
        EXPECT_FALSE(applied);
        EXPECT_EQ(message, SystemText(delayedError));
        EXPECT_STREQ(WindowsService(kName).GetStartTypeName(), L"auto");
    }
}

TEST(WindowsServiceControl, StartRunsAndStopStops) {
    Install(L"");
    WindowsService service(kName);
    EXPECT_EQ(service.GetState(), static_cast<DWORD>(SERVICE_STOPPED));
    std::wstring message = L"stale";
    ASSERT_TRUE(service.Stop(message)) << message;  // already stopped
    EXPECT_EQ(message, L"");
    ASSERT_TRUE(service.Start(message)) << message;
    EXPECT_EQ(message, L"");
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(service.GetState(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_TRUE(service.WaitUntilStopped());  // not stopping: nothing to wait for

    // Starting a running service fails with the system's words.
    message.clear();
    EXPECT_FALSE(service.Start(message));
    EXPECT_EQ(message, SystemText(ERROR_SERVICE_ALREADY_RUNNING));

    ASSERT_TRUE(service.Stop(message)) << message;
    EXPECT_EQ(message, L"");
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST(WindowsServiceControl, StartUpFailureReportsServiceSpecificCode) {
    const DWORD code = 4711;
    Install(fw::Format(L"--fail %u", code));
    WindowsService service(kName);
    std::wstring message;
    EXPECT_FALSE(service.Start(message));
    EXPECT_EQ(message, fw::Format(L"Service returned error code %d.", static_cast<int>(code)));
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_STOPPED));
    // A stopped service needs no stop.
    EXPECT_TRUE(service.Stop(message));
    EXPECT_EQ(message, L"");
}

TEST(WindowsServiceControl, ImmediateStartUpFailureReportsServiceSpecificCode) {
    // The service stops before the manager has seen it start: Wine's manager
    // then fails the start request itself.
    const DWORD code = 31337;
    Install(fw::Format(L"--fail-at-once %u", code));
    WindowsService service(kName);
    std::wstring message;
    EXPECT_FALSE(service.Start(message));
    EXPECT_EQ(message, fw::Format(L"Service returned error code %d.", static_cast<int>(code)));
}

TEST(WindowsServiceControl, StartUpEndingWithoutCodeGivesStartUpFailure) {
    Install(L"--quit");
    WindowsService service(kName);
    std::wstring message;
    EXPECT_FALSE(service.Start(message));
    EXPECT_EQ(message, L"Service start-up failed.");
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST(WindowsServiceControl, RefusedStopGivesSystemText) {
    Install(L"--refuse-stop");
    WindowsService service(kName);
    std::wstring message;
    ASSERT_TRUE(service.Start(message)) << message;
    EXPECT_FALSE(service.Stop(message));
    EXPECT_EQ(message, SystemText(ERROR_INVALID_SERVICE_CONTROL));
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST(WindowsServiceControl, IgnoredStopGivesShutDownFailure) {
    Install(L"--ignore-stop");
    WindowsService service(kName);
    std::wstring message;
    ASSERT_TRUE(service.Start(message)) << message;
    EXPECT_FALSE(service.Stop(message));
    EXPECT_EQ(message, L"Service shut-down-up failed.");
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST(WindowsServiceControl, WaitUntilStoppedFollowsASlowStop) {
    const DWORD delayMs = 1500;
    Install(fw::Format(L"--stop-delay %u", delayMs));
    WindowsService service(kName);
    std::wstring message;
    ASSERT_TRUE(service.Start(message)) << message;

    // Someone else asks the service to stop; it stays "stop pending" a while.
    {
        fw::ServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
        fw::ServiceHandle raw(::OpenServiceW(manager.get(), kName, SERVICE_STOP));
        SERVICE_STATUS status = {};
        ASSERT_TRUE(::ControlService(raw.get(), SERVICE_CONTROL_STOP, &status));
    }
    ASSERT_EQ(service.GetState(), static_cast<DWORD>(SERVICE_STOP_PENDING));
    DWORD started = ::GetTickCount();
    EXPECT_TRUE(service.WaitUntilStopped());
    EXPECT_GE(::GetTickCount() - started, delayMs / 2);
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST(WindowsServiceControl, StopWaitsThroughStopPending) {
    Install(L"--stop-delay 1200");
    WindowsService service(kName);
    std::wstring message;
    ASSERT_TRUE(service.Start(message)) << message;
    ASSERT_TRUE(service.Stop(message)) << message;
    EXPECT_EQ(RawState(kName), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST(WindowsServiceDelete, DeleteStopsAndRemovesAndAllowsReinstall) {
    Install(L"");
    WindowsService service(kName);
    std::wstring message;
    ASSERT_TRUE(service.Start(message)) << message;
    ASSERT_TRUE(service.Delete(message)) << message;
    EXPECT_EQ(message, L"");
    EXPECT_FALSE(service.Exists());
    // Windows removes the service once its process has ended and the last
    // handle is closed; the process may still be on its way out.
    DWORD waited = 0;
    while (ReadRawConfig(kName).installed && waited < 10000) {
        ::Sleep(100);
        waited += 100;
    }
    EXPECT_FALSE(ReadRawConfig(kName).installed);
    EXPECT_FALSE(WindowsService(kName).Exists());
    // Deleting what is not there succeeds; the same object can install anew.
    EXPECT_TRUE(service.Delete(message));
    service.SetExecutable(TestServicePath());
    service.SetStartTypeName(L"demand");
    service.SetAccount(L"LocalSystem");
    ASSERT_TRUE(service.Apply(message)) << message;
    EXPECT_TRUE(ReadRawConfig(kName).installed);
}

TEST(WindowsServiceControl, OperationsOnAMissingServiceAnswerWithoutTouchingWindows) {
    WindowsService service(L"IcbsNoSuchService");
    std::wstring message = L"stale";
    EXPECT_FALSE(service.Start(message));
    EXPECT_EQ(message, L"");
    EXPECT_TRUE(service.Stop(message));
    EXPECT_TRUE(service.WaitUntilStopped());
    EXPECT_TRUE(service.Delete(message));
    EXPECT_EQ(message, L"");
    // Apply without a command line cannot create anything and says why.
    EXPECT_FALSE(service.Apply(message));
    EXPECT_FALSE(message.empty());
    EXPECT_FALSE(ReadRawConfig(L"IcbsNoSuchService").installed);
}
