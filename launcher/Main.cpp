// The launcher's entry point: it makes the single application object inside
// its exception barrier.
#include <windows.h>

#include <cstdlib>

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

// The C++ runtime's own handler of an exception that nothing caught writes
// the exception's type, demangled, to the standard error stream, which a
// windowed program does not have, and then aborts. Defined here, it ends
// the process the same way without taking the runtime's demangler and
// formatted output into every installer (about 70 KB). Every exception is
// caught at a barrier (framework/InternalError.h) before it could get here.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return fw::RunApplication([] { return std::make_unique<CSetupApp>(::GetCommandLineW()); },
                              static_cast<int>(outcome::kFailed));
}
