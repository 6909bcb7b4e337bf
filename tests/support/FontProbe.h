// What font_probe.dll answers, in the memory of the control's process.
#pragma once

#include <windows.h>

namespace testsupport {

struct FontProbe {
    HWND control;
    BOOL found;
    LOGFONTW font;
};

}  // namespace testsupport
