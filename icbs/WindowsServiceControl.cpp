// Starting, stopping, waiting for and deleting a service.
#include "icbs/WindowsService.h"

#include "icbs/ServiceFailureMessage.h"
#include "icbs/SystemErrorText.h"

namespace {

constexpr int kStartPolls = 30;
constexpr int kStopPolls = 120;
constexpr DWORD kPollIntervalMs = 1000;

// The status, or false when it cannot be queried.
bool QueryStatus(SC_HANDLE service, SERVICE_STATUS& status) {
    status = SERVICE_STATUS{};
    return ::QueryServiceStatus(service, &status) != FALSE;
}

// Polls while the service stays in pendingState, at most maxPolls times, one
// second apart. Returns whether the last query succeeded.
bool WaitWhile(SC_HANDLE service, DWORD pendingState, int maxPolls, SERVICE_STATUS& status) {
    for (int poll = 0; poll < maxPolls && status.dwCurrentState == pendingState; ++poll) {
        ::Sleep(kPollIntervalMs);
        if (!QueryStatus(service, status)) return false;
    }
    return true;
}

}  // namespace

DWORD WindowsService::GetState() const {
    SERVICE_STATUS status;
    if (!service_ || !QueryStatus(service_.get(), status)) return 0;
    return status.dwCurrentState;
}

bool WindowsService::Start(std::wstring& message) {
    message.clear();
    if (!service_) return false;
    // Only errors raised from here on count as the reason of a failure.
    ::SetLastError(0);
    SERVICE_STATUS status;
    if (!::StartServiceW(service_.get(), 0, nullptr)) {
        DWORD error = ::GetLastError();
        message = SystemErrorText(error);
        // Some managers (Wine's) wait for the service's first status report
        // and call the start timed out when that already says "stopped": the
        // service ended during start-up, which is told as when polling below.
        if (error == ERROR_SERVICE_REQUEST_TIMEOUT && QueryStatus(service_.get(), status) &&
            status.dwCurrentState == SERVICE_STOPPED &&
            ServiceExitCode(status.dwWin32ExitCode, status.dwServiceSpecificExitCode) != ERROR_SERVICE_NEVER_STARTED)
            message = ServiceFailureMessage(status.dwWin32ExitCode, status.dwServiceSpecificExitCode, 0,
                                            L"Service start-up failed.");
        return false;
    }
    if (QueryStatus(service_.get(), status)) {
        if (status.dwCurrentState == SERVICE_START_PENDING)
            WaitWhile(service_.get(), SERVICE_START_PENDING, kStartPolls - 1, status);
        if (status.dwCurrentState == SERVICE_RUNNING) return true;
    }
    message = ServiceFailureMessage(status.dwWin32ExitCode, status.dwServiceSpecificExitCode, ::GetLastError(),
                                    L"Service start-up failed.");
    return false;
}

bool WindowsService::Stop(std::wstring& message) {
    message.clear();
    SERVICE_STATUS status;
    if (!service_ || !QueryStatus(service_.get(), status) || status.dwCurrentState == SERVICE_STOPPED) return true;
    ::SetLastError(0);
    if (!::ControlService(service_.get(), SERVICE_CONTROL_STOP, &status)) {
        message = SystemErrorText(::GetLastError());
        return false;
    }
    if (status.dwCurrentState == SERVICE_STOP_PENDING && QueryStatus(service_.get(), status))
        WaitWhile(service_.get(), SERVICE_STOP_PENDING, kStopPolls - 1, status);
    if (status.dwCurrentState == SERVICE_STOPPED) return true;
    message = ServiceFailureMessage(status.dwWin32ExitCode, status.dwServiceSpecificExitCode, ::GetLastError(),
                                    L"Service shut-down-up failed.");
    return false;
}

bool WindowsService::WaitUntilStopped() {
    SERVICE_STATUS status;
    if (!service_ || !QueryStatus(service_.get(), status) || status.dwCurrentState != SERVICE_STOP_PENDING)
        return true;
    return WaitWhile(service_.get(), SERVICE_STOP_PENDING, kStopPolls, status) &&
           status.dwCurrentState == SERVICE_STOPPED;
}

bool WindowsService::Delete(std::wstring& message) {
    message.clear();
    if (!service_) return true;
    std::wstring ignored;
    Stop(ignored);
    ::SetLastError(0);
    if (!::DeleteService(service_.get())) {
        message = SystemErrorText(::GetLastError());
        return false;
    }
    // Windows removes a deleted service once its last handle is closed; until
    // then a service of the same name cannot be created again.
    service_.reset();
    return true;
}
