// A small real Windows service for the service-control tests. Its behaviour
// is chosen by arguments, taken from its configured command line and from the
// start arguments:
//   --fail N          stop during start-up with service-specific exit code N
//   --fail-at-once N  as --fail, without reporting "start pending" first
//   --quit            stop during start-up without any exit code
//   --stop-delay MS   on a stop request, stay "stop pending" for MS ms first
//   --refuse-stop     do not accept the stop control
//   --ignore-stop     accept the stop control but keep running
// Without arguments it reports running and stops on request.
#include <windows.h>

#include <cwchar>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Behaviour {
    DWORD failCode = 0;
    bool failAtOnce = false;
    bool quit = false;
    DWORD stopDelayMs = 0;
    bool refuseStop = false;
    bool ignoreStop = false;
};

void ReadArguments(int argc, wchar_t** argv, Behaviour& behaviour) {
    for (int i = 0; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--fail" && i + 1 < argc) behaviour.failCode = std::wcstoul(argv[++i], nullptr, 10);
        else if (arg == L"--stop-delay" && i + 1 < argc) behaviour.stopDelayMs = std::wcstoul(argv[++i], nullptr, 10);
        else if (arg == L"--fail-at-once" && i + 1 < argc) {
            behaviour.failCode = std::wcstoul(argv[++i], nullptr, 10);
            behaviour.failAtOnce = true;
        } else if (arg == L"--quit") behaviour.quit = true;
        else if (arg == L"--refuse-stop") behaviour.refuseStop = true;
        else if (arg == L"--ignore-stop") behaviour.ignoreStop = true;
    }
}

Behaviour g_behaviour;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopRequested = nullptr;
DWORD g_checkPoint = 0;

void Report(DWORD state, DWORD win32ExitCode = NO_ERROR, DWORD specificCode = 0, DWORD waitHint = 0) {
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    bool settled = state == SERVICE_RUNNING || state == SERVICE_STOPPED;
    status.dwControlsAccepted = (state == SERVICE_RUNNING && !g_behaviour.refuseStop) ? SERVICE_ACCEPT_STOP : 0;
    status.dwWin32ExitCode = win32ExitCode;
    status.dwServiceSpecificExitCode = specificCode;
    status.dwCheckPoint = settled ? 0 : ++g_checkPoint;
    status.dwWaitHint = waitHint;
    SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
    if (control == SERVICE_CONTROL_STOP) {
        if (g_behaviour.ignoreStop) {
            Report(SERVICE_RUNNING);
        } else {
            Report(SERVICE_STOP_PENDING, NO_ERROR, 0, g_behaviour.stopDelayMs + 2000);
            SetEvent(g_stopRequested);
        }
        return NO_ERROR;
    }
    if (control == SERVICE_CONTROL_INTERROGATE) return NO_ERROR;
    return ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD argc, wchar_t** argv) {
    ReadArguments(static_cast<int>(argc), argv, g_behaviour);
    g_statusHandle = RegisterServiceCtrlHandlerExW(argc > 0 ? argv[0] : L"", Handler, nullptr);
    if (!g_statusHandle) return;
    if (!g_behaviour.failAtOnce) Report(SERVICE_START_PENDING, NO_ERROR, 0, 3000);
    if (g_behaviour.failCode != 0) {
        Report(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR, g_behaviour.failCode);
        return;
    }
    if (g_behaviour.quit) {
        Report(SERVICE_STOPPED);
        return;
    }
    g_stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_RUNNING);
    WaitForSingleObject(g_stopRequested, INFINITE);
    if (g_behaviour.stopDelayMs) Sleep(g_behaviour.stopDelayMs);
    Report(SERVICE_STOPPED);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ReadArguments(argc, argv, g_behaviour);
    wchar_t name[] = L"";
    SERVICE_TABLE_ENTRYW table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(GetLastError());
}
