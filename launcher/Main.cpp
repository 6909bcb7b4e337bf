// The launcher's entry point: it makes the single application object inside
// its exception barrier.
#include <windows.h>

#include "engine/Outcome.h"
#include "framework/Application.h"
#include "launcher/SetupApp.h"

namespace {

// Runs before anything else in the process: DLLs load from the system folder
// only, never from the (possibly writable) folder the launcher started from.
struct DllSearchHardening {
    DllSearchHardening() {
        using SetDirsFn = BOOL(WINAPI*)(DWORD);
        auto setDirs = reinterpret_cast<SetDirsFn>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
        if (!setDirs || !setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryW(L"");
    }
} g_hardening;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return fw::RunApplication([] { return std::make_unique<CSetupApp>(::GetCommandLineW()); },
                              static_cast<int>(outcome::kFailed));
}
