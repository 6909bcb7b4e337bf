// ui_probe.dll: loaded into the launcher's process by the tests to ask what
// only that process can answer: which font a control draws with, whether
// every text fits its control (tests/support/LayoutCheck.cpp), the name a
// screen reader reads for a control; and to make what Wine cannot make:
// a change of DPI, high contrast.
#include <windows.h>
#include <oleacc.h>

#include "tests/support/LayoutCheck.h"
#include "tests/support/UiProbe.h"

using namespace testsupport;

extern "C" __declspec(dllexport) DWORD WINAPI ProbeControlFont(LPVOID parameter) {
    auto* probe = static_cast<FontProbe*>(parameter);
    // A timeout rather than a wait: the test gives up on this thread after a
    // while and frees the memory it reads.
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(probe->control, WM_GETFONT, 0, 0, SMTO_NORMAL, 5000, &answer);
    auto font = reinterpret_cast<HFONT>(answer);
    probe->found = font && ::GetObjectW(font, sizeof(LOGFONTW), &probe->font) == sizeof(LOGFONTW);
    return probe->found ? 1 : 0;
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeLayout(LPVOID parameter) {
    auto* probe = static_cast<LayoutProbe*>(parameter);
    std::wstring report;
    probe->problems = CheckLayout(probe->root, report);
    lstrcpynW(probe->report, report.c_str(), static_cast<int>(sizeof(probe->report) / sizeof(wchar_t)));
    return 1;
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeAccessibleName(LPVOID parameter) {
    auto* probe = static_cast<NameProbe*>(parameter);
    probe->found = FALSE;
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HMODULE oleacc = ::LoadLibraryW(L"oleacc.dll");
    using FromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    auto fromWindow = reinterpret_cast<FromWindowFn>(reinterpret_cast<void*>(::GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
    IAccessible* object = nullptr;
    if (fromWindow && SUCCEEDED(fromWindow(probe->control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))) &&
        object) {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        if (SUCCEEDED(object->get_accName(self, &name)) && name) {
            lstrcpynW(probe->name, name, 512);
            probe->found = TRUE;
            ::SysFreeString(name);
        }
        object->Release();
    }
    ::CoUninitialize();
    return probe->found;
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeDpiChange(LPVOID parameter) {
    auto* probe = static_cast<DpiProbe*>(parameter);
    RECT suggested;
    ::GetWindowRect(probe->window, &suggested);
    constexpr UINT kDpiChanged = 0x02E0;
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(probe->window, kDpiChanged, MAKEWPARAM(probe->dpi, probe->dpi),
                          reinterpret_cast<LPARAM>(&suggested), SMTO_NORMAL, 10000, &answer);
    return 1;
}

namespace {
using ParametersFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
ParametersFn g_systemParameters = nullptr;

BOOL WINAPI ParametersWithHighContrast(UINT action, UINT value, PVOID data, UINT flags) {
    if (action == SPI_GETHIGHCONTRAST && data && static_cast<HIGHCONTRASTW*>(data)->cbSize == sizeof(HIGHCONTRASTW)) {
        auto* contrast = static_cast<HIGHCONTRASTW*>(data);
        contrast->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        contrast->lpszDefaultScheme = nullptr;
        return TRUE;
    }
    return g_systemParameters(action, value, data, flags);
}

// Points the program's import of user32!SystemParametersInfoW at the
// function above.
bool PatchImport(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name; ++entry) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), "user32.dll") != 0 || !entry->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), "SystemParametersInfoW") != 0) continue;
            DWORD old = 0;
            if (!::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old)) return false;
            g_systemParameters = reinterpret_cast<ParametersFn>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&ParametersWithHighContrast);
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            return true;
        }
    }
    return false;
}
}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI ProbeHighContrast(LPVOID parameter) {
    auto* probe = static_cast<ContrastProbe*>(parameter);
    probe->patched = g_systemParameters || PatchImport(::GetModuleHandleW(nullptr));
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(probe->window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_NORMAL, 10000, &answer);
    return probe->patched;
}
