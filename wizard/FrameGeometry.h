// Where the wizard frame's own controls go at any DPI: the pixel layout its
// template has at 96 DPI, scaled. Windows lays a template out from its
// font's metrics at the DPI it is created at, which do not grow in step with
// the DPI; the pages inside the frame are drawn in 96-DPI pixels, so the
// frame around them is scaled the same way.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

class FrameGeometry {
public:
    // Reads the dialog's template. When the dialog was made at 96 DPI, its
    // controls' own rectangles are the 96-DPI layout; otherwise they are
    // computed from the template as Windows would have placed them at 96 DPI.
    bool Read(HWND dialog, const void* templateData, size_t templateSize, UINT creationDpi);

    SIZE Client(UINT dpi) const;
    // A control's rectangle in the client area; empty for an unknown id.
    RECT Control(int id, UINT dpi) const;
    // Places the controls and sizes the window (its top-left corner kept).
    void Apply(HWND dialog, UINT dpi) const;
    // The window size for dpi, frame and caption included.
    SIZE WindowSize(HWND dialog, UINT dpi) const;

private:
    SIZE client96_ = {0, 0};
    std::vector<std::pair<int, RECT>> controls96_;
};
