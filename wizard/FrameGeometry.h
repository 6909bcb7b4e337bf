// Where the wizard frame's own controls go at any DPI: the pixel layout its
// template has at 96 DPI, scaled. Windows lays a template out from its
// font's metrics at the DPI it is created at, which do not grow in step with
// the DPI; the pages inside the frame are drawn in 96-DPI pixels, so the
// frame around them is scaled the same way.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class FrameGeometry {
public:
    // Reads the dialog's template: its controls placed as Windows places
    // them at 96 DPI (the dialog units of its font at 96 DPI).
    bool Read(const void* templateData, size_t templateSize);
    // A control the template does not hold, placed in its dialog units.
    void AddControl(int id, const RECT& units);

    SIZE Client(UINT dpi) const;
    // A control's rectangle in the client area; empty for an unknown id.
    RECT Control(int id, UINT dpi) const;
    // Places the controls and sizes the window (its top-left corner kept).
    // control: the dialog's control of an id, or null.
    void Apply(HWND dialog, UINT dpi, const std::function<HWND(int)>& control) const;
    // The window size for dpi, frame and caption included.
    SIZE WindowSize(HWND dialog, UINT dpi) const;

private:
    SIZE client96_ = {0, 0};
    SIZE base96_ = {0, 0};  // the template font's dialog base units at 96 DPI
    std::vector<std::pair<int, RECT>> controls96_;
};
