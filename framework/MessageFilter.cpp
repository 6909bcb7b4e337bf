#include "framework/MessageFilter.h"

#include <vector>

#include "framework/InternalError.h"

namespace fw {

namespace {
constexpr wchar_t kProperty[] = L"SetupLauncher.MessageFilters";

struct FilterChain {
    WNDPROC original = nullptr;
    std::vector<MessageFilter> filters;
};

LRESULT CALLBACK FilteredProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* chain = static_cast<FilterChain*>(::GetPropW(hwnd, kProperty));
    if (!chain) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    WNDPROC original = chain->original;
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kProperty);
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        delete chain;
        return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    try {
        for (const MessageFilter& filter : chain->filters)
            if (std::optional<LRESULT> answer = filter(hwnd, message, wParam, lParam)) return *answer;
    } catch (...) {
        ReportInternalError(L"a control's message filter");
    }
    return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
}
}  // namespace

bool AddMessageFilter(HWND control, MessageFilter filter) {
    if (!control || !::IsWindow(control)) return false;
    auto* chain = static_cast<FilterChain*>(::GetPropW(control, kProperty));
    if (!chain) {
        chain = new FilterChain;
        if (!::SetPropW(control, kProperty, chain)) {
            delete chain;
            return false;
        }
        chain->original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FilteredProc)));
    }
    chain->filters.push_back(std::move(filter));
    return true;
}

}  // namespace fw
