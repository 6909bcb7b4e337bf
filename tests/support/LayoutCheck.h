// The layout check of a window and every shown control in it, run inside
// the process that owns the window: each text measured in its control's
// font must fit the control, each control must lie inside its parent, and
// no two shown siblings may cover each other (a static text counts where its
// text is; a tab control may hold controls in its display area).
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// The number of problems; report gets one line per problem.
int CheckLayout(HWND root, std::wstring& report);

}  // namespace testsupport
