#include "framework/ToolTip.h"

#include <commctrl.h>

namespace fw {

HWND CreateToolTips(HWND dialog) {
    HWND tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (tips) ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 400);
    return tips;
}

bool AddToolTip(HWND toolTips, HWND dialog, HWND control, const std::wstring& text) {
    if (!toolTips || !control) return false;
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    // The control copies the text.
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return ::SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

}  // namespace fw
