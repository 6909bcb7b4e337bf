// Extra handling for a control of a system class (a button, a combo box, a
// rich edit) without a window class of its own: filters see the control's
// messages before its own procedure, in the order they were added; a filter
// that answers a message ends it there. The filters go with the control.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace fw {

using MessageFilter = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

bool AddMessageFilter(HWND control, MessageFilter filter);

}  // namespace fw
