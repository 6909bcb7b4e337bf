// The application object of the framework: exactly one, made by the entry
// point inside its exception barrier. The entry point calls InitInstance;
// when it returns FALSE the message loop is skipped and ExitInstance's
// result becomes the process exit code.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace fw {

class CWinAppBase {
public:
    CWinAppBase();
    virtual ~CWinAppBase();
    CWinAppBase(const CWinAppBase&) = delete;
    CWinAppBase& operator=(const CWinAppBase&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }
    // An exception stopped at a barrier (fw::ReportInternalError): the run
    // must end. The default ends the main thread's message loops.
    virtual void OnInternalError(const std::wstring& place, const std::wstring& what) noexcept;

    // Retrieves and dispatches one message; false when it was WM_QUIT.
    bool PumpMessage();

    HINSTANCE Instance() const { return instance_; }
    DWORD MainThreadId() const { return mainThreadId_; }
    const std::wstring& AppName() const { return appName_; }
    void SetAppName(std::wstring name) { appName_ = std::move(name); }

    static CWinAppBase* Current();

private:
    HINSTANCE instance_;
    DWORD mainThreadId_;
    std::wstring appName_;
};

// The body of wWinMain: makes the application object with create, runs its
// life and returns the process exit code. No exception leaves it: one thrown
// while the object is made or run is reported as an internal error, then
// ExitInstance still runs; failureExitCode is returned when there is no
// object or ExitInstance itself throws.
int RunApplication(const std::function<std::unique_ptr<CWinAppBase>()>& create, int failureExitCode) noexcept;

}  // namespace fw
