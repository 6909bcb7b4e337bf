#include "framework/WhiteTabCtrl.h"

#include <commctrl.h>

#include "framework/Handles.h"
#include "framework/InternalError.h"

namespace fw {

CWhiteTabCtrl::~CWhiteTabCtrl() {
    // The control may outlive this object inside its parent: it goes back
    // to the system's own procedure.
    if (hwnd_ && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
}

bool CWhiteTabCtrl::Create(HWND parent, const RECT& rect, int id, HFONT font) {
    hwnd_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, rect.left,
                              rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    if (font) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    systemProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWhiteTabCtrl::SubclassProc)));
    return true;
}

LRESULT CALLBACK CWhiteTabCtrl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CWhiteTabCtrl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->systemProc_) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        if (message == WM_ERASEBKGND) {
            RECT client;
            ::GetClientRect(hwnd, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, self->Background());
            return TRUE;
        }
        LRESULT result = ::CallWindowProcW(self->systemProc_, hwnd, message, wParam, lParam);
        if (message == WM_SIZE) self->ExcludeDisplayArea();
        return result;
    } catch (...) {
        ReportInternalError(L"the tab control");
        return 0;
    }
}

int CWhiteTabCtrl::InsertItem(int index, const std::wstring& text, LPARAM data) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = data;
    return static_cast<int>(::SendMessageW(hwnd_, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
}

void CWhiteTabCtrl::SetItemText(int index, const std::wstring& text) const {
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(hwnd_, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
}

int CWhiteTabCtrl::GetItemCount() const { return static_cast<int>(::SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0)); }

int CWhiteTabCtrl::GetCurSel() const { return static_cast<int>(::SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)); }

void CWhiteTabCtrl::SetCurSel(int index) const { ::SendMessageW(hwnd_, TCM_SETCURSEL, index, 0); }

LPARAM CWhiteTabCtrl::GetItemData(int index, LPARAM fallback) const {
    TCITEMW item = {};
    item.mask = TCIF_PARAM;
    if (index < 0 || !::SendMessageW(hwnd_, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return fallback;
    return item.lParam;
}

HBRUSH CWhiteTabCtrl::Background() const {
    return highContrast_ ? ::GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

void CWhiteTabCtrl::SetHighContrast(bool on) {
    highContrast_ = on;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void CWhiteTabCtrl::LeaveDisplayAreaToSiblings(bool leave) {
    leaveDisplayArea_ = leave;
    ExcludeDisplayArea();
}

void CWhiteTabCtrl::ExcludeDisplayArea() const {
    if (!hwnd_) return;
    if (!leaveDisplayArea_) {
        ::SetWindowRgn(hwnd_, nullptr, TRUE);
        return;
    }
    RECT client, display;
    ::GetClientRect(hwnd_, &client);
    display = client;
    ::SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    fw::GdiObject region(::CreateRectRgn(client.left, client.top, client.right, client.bottom));
    fw::GdiObject inside(::CreateRectRgn(display.left, display.top, display.right, display.bottom));
    ::CombineRgn(static_cast<HRGN>(region.get()), static_cast<HRGN>(region.get()), static_cast<HRGN>(inside.get()), RGN_DIFF);
    // The window owns the region once it is set.
    if (::SetWindowRgn(hwnd_, static_cast<HRGN>(region.get()), TRUE)) region.release();
}

RECT CWhiteTabCtrl::DisplayRect() const {
    RECT rect;
    ::GetClientRect(hwnd_, &rect);
    ::SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    ::MapWindowPoints(hwnd_, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace fw
