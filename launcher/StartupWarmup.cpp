#include "launcher/StartupWarmup.h"

#include "framework/CommonControls.h"
#include "framework/SystemApi.h"
#include "launcher/EnvironmentChecks.h"

namespace {
StartupWarmup* g_current = nullptr;
}

StartupWarmup::StartupWarmup() {
    probed_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (probed_) thread_.reset(::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
    g_current = this;
}

StartupWarmup::~StartupWarmup() {
    if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE);
    if (g_current == this) g_current = nullptr;
}

StartupWarmup* StartupWarmup::Current() { return g_current; }

DWORD WINAPI StartupWarmup::ThreadProc(void* self) {
    try {
        static_cast<StartupWarmup*>(self)->Run();
    } catch (...) {
    }
    return 0;
}

void StartupWarmup::Run() {
    direct2D_ = HasDirect2D();
    answered_ = true;
    ::SetEvent(probed_.get());
    // In the order the main thread needs them; rich edit is used by no
    // page before the first one shows.
    fw::InitCommonControls();
    fw::Msi();
    fw::LoadSystemLibrary(L"riched20.dll");
}

bool StartupWarmup::Direct2DFound() {
    if (thread_) ::WaitForSingleObject(probed_.get(), INFINITE);
    return answered_ ? direct2D_ : HasDirect2D();
}

bool Direct2DAvailable() {
    StartupWarmup* warmup = StartupWarmup::Current();
    return warmup ? warmup->Direct2DFound() : HasDirect2D();
}

void InitRichEdit() {
    StartupWarmup* warmup = StartupWarmup::Current();
    if (warmup && warmup->LoadsRichEdit()) return;
    // The library stays loaded for the rest of the run.
    static HMODULE richEdit = fw::LoadSystemLibrary(L"riched20.dll");
    (void)richEdit;
}
