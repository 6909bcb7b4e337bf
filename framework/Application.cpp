#include "framework/Application.h"

#include "framework/InternalError.h"

namespace fw {
namespace {
CWinAppBase* g_current = nullptr;

std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}
}  // namespace

CWinAppBase::CWinAppBase()
    : instance_(::GetModuleHandleW(nullptr)), mainThreadId_(::GetCurrentThreadId()), appName_(ModuleBaseName()) {
    g_current = this;
}

CWinAppBase::~CWinAppBase() {
    if (g_current == this) g_current = nullptr;
}

CWinAppBase* CWinAppBase::Current() { return g_current; }

bool CWinAppBase::PumpMessage() {
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) return false;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

int CWinAppBase::Run() {
    while (PumpMessage()) {
    }
    return ExitInstance();
}

void CWinAppBase::OnInternalError(const std::wstring&, const std::wstring&) noexcept {
    ::PostThreadMessageW(mainThreadId_, WM_QUIT, 0, 0);
}

int RunApplication(const std::function<std::unique_ptr<CWinAppBase>()>& create, int failureExitCode) noexcept {
    std::unique_ptr<CWinAppBase> app;
    try {
        app = create();
        if (app && app->InitInstance()) return app->Run();
    } catch (...) {
        ReportInternalError(L"the application's start");
    }
    if (!app) return failureExitCode;
    try {
        return app->ExitInstance();
    } catch (...) {
        ReportInternalError(L"the application's exit");
    }
    return failureExitCode;
}

}  // namespace fw
