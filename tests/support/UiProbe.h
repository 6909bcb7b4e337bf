// What ui_probe.dll is asked and answers, in the memory of the launcher's
// process: window handles and fonts mean nothing outside the process that
// made them, so the questions are asked inside it (as assistive tools do).
#pragma once

#include <windows.h>

namespace testsupport {

struct FontProbe {
    HWND control;
    BOOL found;
    LOGFONTW font;
};

// Every shown control of root, its children's children included: texts
// that do not fit their control, controls reaching out of their parent, and
// shown siblings that cover each other. One problem per line.
struct LayoutProbe {
    HWND root;
    int problems;
    wchar_t report[8192];
};

// The name a screen reader reads for a control (its accessibility object's).
struct NameProbe {
    HWND control;
    BOOL found;
    wchar_t name[512];
};

// WM_DPICHANGED for a window, as Windows sends it when the window moves to
// a monitor of another DPI (the suggested rectangle keeps its corner).
struct DpiProbe {
    HWND window;
    UINT dpi;
};

// High contrast reported on to the process (SPI_GETHIGHCONTRAST answers
// with it on), then the change announced to window.
struct ContrastProbe {
    HWND window;
    BOOL patched;
};

}  // namespace testsupport
