// Names that screen readers read for controls whose own text or label does
// not say what they do: a "Change..." button by the section it changes, a
// combo box without a label, a progress bar by its status text. The name is
// given through the control's accessibility object (WM_GETOBJECT); the
// accessibility libraries are loaded only when a reader asks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace fw {

// Every other property of the control's accessibility object stays the
// system's; name is asked each time the name is read.
bool SetAccessibleName(HWND control, std::function<std::wstring()> name);

}  // namespace fw
