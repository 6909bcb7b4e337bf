#include "wizard/FrameGeometry.h"


#include "framework/DialogTemplate.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Window.h"

bool FrameGeometry::Read(const void* templateData, size_t templateSize) {
    fw::DialogTemplateLayout layout;
    if (!fw::ReadDialogTemplate(templateData, templateSize, layout)) return false;
    fw::GdiObject font(fw::CreateTemplateFont(layout, fw::kDesignDpi));
    SIZE base = fw::DialogBaseUnits(static_cast<HFONT>(font.get()));
    base96_ = base;
    RECT client = fw::DialogUnitsToPixels({0, 0, layout.units.cx, layout.units.cy}, base);
    client96_ = {client.right, client.bottom};
    controls96_.clear();
    for (const fw::DialogTemplateItem& item : layout.items)
        controls96_.emplace_back(item.id, fw::DialogUnitsToPixels(item.units, base));
    return true;
}

void FrameGeometry::AddControl(int id, const RECT& units) {
    controls96_.emplace_back(id, fw::DialogUnitsToPixels(units, base96_));
}

SIZE FrameGeometry::Client(UINT dpi) const { return {fw::ScaleToDpi(client96_.cx, dpi), fw::ScaleToDpi(client96_.cy, dpi)}; }

RECT FrameGeometry::Control(int id, UINT dpi) const {
    for (const auto& [controlId, rect] : controls96_)
        if (controlId == id) return fw::ScaleToDpi(rect, dpi);
    return {0, 0, 0, 0};
}

SIZE FrameGeometry::WindowSize(HWND dialog, UINT dpi) const {
    SIZE client = Client(dpi);
    RECT window = {0, 0, client.cx, client.cy};
    fw::AdjustWindowRectForDpi(window, static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)),
                               static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)), dpi);
    return {window.right - window.left, window.bottom - window.top};
}

void FrameGeometry::Apply(HWND dialog, UINT dpi, const std::function<HWND(int)>& control) const {
    for (const auto& [id, rect96] : controls96_) {
        RECT rect = fw::ScaleToDpi(rect96, dpi);
        // At 96 DPI the template puts most of them in place already.
        if (HWND child = control(id)) fw::PlaceChild(child, rect);
    }
    SIZE size = WindowSize(dialog, dpi);
    RECT window = {0, 0, 0, 0};
    ::GetWindowRect(dialog, &window);
    if (window.right - window.left != size.cx || window.bottom - window.top != size.cy)
        ::SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
