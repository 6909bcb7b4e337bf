// The application object of the framework: exactly one, a static object.
// The entry point calls InitInstance; when it returns FALSE the message loop
// is skipped and ExitInstance's result becomes the process exit code.
#pragma once

#include <windows.h>

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

// The body of wWinMain: runs the application object's life and returns the
// process exit code. No exception leaves it.
int RunApplication();

}  // namespace fw
