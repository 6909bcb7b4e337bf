// The floor of the start-up benchmark: a windowed program built with the
// launcher's flags and manifest that does only what the launcher must do
// before its first window may show, each the plainest way: the Direct2D 1.1
// probe, the common controls (version 6), Windows Installer loaded and asked
// for one product's state, then one window with a push button.
#include <windows.h>
#include <commctrl.h>
#include <msi.h>

namespace {

bool ProbeDirect2D() {
    HMODULE library = LoadLibraryExW(L"d2d1.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library) return false;
    using CreateFn = HRESULT(WINAPI*)(int, REFIID, const void*, void**);
    auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(library, "D2D1CreateFactory")));
    static const GUID kFactory = {0x06152247, 0x6f50, 0x465a, {0x92, 0x45, 0x11, 0x8b, 0xfd, 0x3b, 0x60, 0x07}};
    static const GUID kFactory1 = {0xbb12d362, 0xdaee, 0x4b9a, {0xaa, 0x1d, 0x14, 0xba, 0x40, 0x1c, 0xfa, 0x1f}};
    IUnknown* factory = nullptr;
    IUnknown* factory1 = nullptr;
    bool found = create && SUCCEEDED(create(0, kFactory, nullptr, reinterpret_cast<void**>(&factory))) && factory &&
                 SUCCEEDED(factory->QueryInterface(kFactory1, reinterpret_cast<void**>(&factory1)));
    if (factory1) factory1->Release();
    if (factory) factory->Release();
    FreeLibrary(library);
    return found;
}

bool QueryOneProduct() {
    HMODULE msi = LoadLibraryExW(L"msi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!msi) return false;
    using QueryFn = INSTALLSTATE(WINAPI*)(LPCWSTR);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(msi, "MsiQueryProductStateW")));
    return query && query(L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}") != INSTALLSTATE_INVALIDARG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    if (!ProbeDirect2D()) return 5;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!QueryOneProduct()) return 1;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"StartupFloor";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"StartupFloor", L"Floor", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                instance, nullptr);
    CreateWindowW(L"BUTTON", L"&Next >", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 300, 240, 80, 24, window, nullptr,
                  instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (window && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
