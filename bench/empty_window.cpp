// The baseline of the start-up benchmark: a windowed program built with the
// launcher's flags that shows one window and waits.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"EmptyWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"EmptyWindow", L"Empty", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, instance, nullptr);
    MSG msg;
    while (window && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
