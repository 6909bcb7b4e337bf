#include "framework/Window.h"

#include "framework/InternalError.h"

namespace fw {

CWnd::~CWnd() {
    if (hwnd_ && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void PlaceChild(HWND child, const RECT& rect) {
    RECT now;
    if (::GetWindowRect(child, &now)) {
        ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&now), 2);
        if (::EqualRect(&now, &rect)) return;
    }
    ::SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetTextIfChanged(HWND window, const std::wstring& text) {
    if (window && WindowText(window) != text) ::SetWindowTextW(window, text.c_str());
}

std::wstring WindowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring CWnd::GetWindowText() const { return WindowText(hwnd_); }

const wchar_t* CWnd::RegisterWindowClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"SetupLauncherWindow";
        ::RegisterClassExW(&wc);
        return L"SetupLauncherWindow";
    }();
    return name;
}

bool CWnd::CreateChild(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id) {
    HWND created = ::CreateWindowExW(exStyle, RegisterWindowClass(), L"", style | WS_CHILD, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), this);
    return created != nullptr;
}

HWND CWnd::CreateControl(const wchar_t* className, const std::wstring& text, DWORD style, const RECT& rect, int id,
                         HFONT font, DWORD exStyle) const {
    HWND control = ::CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                     nullptr);
    if (control && font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void CWnd::EnableDlgItem(int id, bool enable) const {
    HWND item = GetDlgItem(id);
    if (item && (::IsWindowEnabled(item) != FALSE) != enable) ::EnableWindow(item, enable);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CWnd*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        LRESULT result = self->WindowProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnWindowDestroyed();
        }
        return result;
    } catch (...) {
        // Nothing may unwind through Windows' own frames.
        ReportInternalError(L"the window procedure");
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace fw
