// Tool tips on a dialog's controls: one tool-tip window per dialog, owned
// by it (the system destroys it with the dialog).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Creates the tool-tip window of dialog; null when it cannot.
HWND CreateToolTips(HWND dialog);
// Shows text while the pointer rests on control.
bool AddToolTip(HWND toolTips, HWND dialog, HWND control, const std::wstring& text);

}  // namespace fw
