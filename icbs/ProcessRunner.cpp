// ICBSFileUtilities: starting a child process and waiting for it with a
// time limit.
#include "icbs/ICBSFileUtilities.h"

#include "framework/Handles.h"
#include "icbs/EnvironmentOverride.h"

namespace {
// TerminateProcess only starts the end of the process; this bounds the wait
// for it, so the exit code read afterwards is the one given.
constexpr DWORD kTerminationWaitMs = 10000;
}  // namespace

DWORD ICBSFileUtilities::Wait(PROCESS_INFORMATION& processInfo, DWORD timeoutMs) {
    fw::KernelHandle process(processInfo.hProcess), thread(processInfo.hThread);
    processInfo.hProcess = nullptr;
    processInfo.hThread = nullptr;
    if (::WaitForSingleObject(process.get(), timeoutMs) == WAIT_TIMEOUT) {
        ::OutputDebugStringW(L"ICBSFileUtilities::Wait: Terminate process");
        if (::TerminateProcess(process.get(), 1)) ::WaitForSingleObject(process.get(), kTerminationWaitMs);
    }
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process.get(), &exitCode)) return kProcessNotStarted;
    return exitCode;
}

DWORD ICBSFileUtilities::RunProcess(const std::wstring& commandLine, bool wait, const std::wstring& currentFolder,
                                    const EnvironmentOverrides& environment, DWORD timeoutMs, bool showWindow,
                                    HANDLE* processHandleOut) {
    if (processHandleOut) *processHandleOut = nullptr;
    // The child inherits the launcher's environment as it is while it starts.
    icbs::EnvironmentOverride overrides(environment);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    std::wstring commandText = commandLine;  // CreateProcessW may write into it
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, commandText.data(), nullptr, nullptr, FALSE, showWindow ? 0 : CREATE_NO_WINDOW,
                          nullptr, currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info))
        return kProcessNotStarted;
    if (!wait) {
        fw::KernelHandle process(info.hProcess), thread(info.hThread);
        return 0;
    }
    if (processHandleOut) *processHandleOut = info.hProcess;
    DWORD exitCode = Wait(info, timeoutMs);
    if (processHandleOut) *processHandleOut = nullptr;
    return exitCode;
}
