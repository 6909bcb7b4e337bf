#include "framework/Dpi.h"

namespace fw {

namespace {
template <class F>
F User32Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}
}  // namespace

RECT ScaleToDpi(const RECT& rect, UINT dpi) {
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

UINT DpiOfWindow(HWND window) {
    static const auto dpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto metricForDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (metricForDpi) return metricForDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi = User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

void KeepOwnLayoutOnDpiChange(HWND dialog) {
    // DDC_DISABLE_ALL: no resizing, no re-layout, no font change.
    constexpr DWORD kDisableAll = 1;
    static const auto behaviour = User32Function<BOOL(WINAPI*)(HWND, DWORD, DWORD)>("SetDialogDpiChangeBehavior");
    if (behaviour) behaviour(dialog, kDisableAll, kDisableAll);
}

}  // namespace fw
