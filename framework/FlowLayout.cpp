#include "framework/FlowLayout.h"

#include <algorithm>
#include <string>

#include "framework/Dpi.h"
#include "framework/Window.h"

namespace fw {

namespace {
int PlaceEdge(const Edge& edge, int extent, UINT dpi) {
    int scaled = ScaleToDpi(edge.pixels, dpi);
    return edge.fromEnd ? extent - scaled : scaled;
}

UINT StaticDrawFlags(HWND control) {
    LONG style = ::GetWindowLongW(control, GWL_STYLE);
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
    return flags;
}

bool Overlaps(long a1, long a2, long b1, long b2) { return a1 < b2 && b1 < a2; }
}  // namespace

RECT PlaceRect(const DesignRect& rect, int width, int height, UINT dpi) {
    return {PlaceEdge(rect.left, width, dpi), PlaceEdge(rect.top, height, dpi), PlaceEdge(rect.right, width, dpi),
            PlaceEdge(rect.bottom, height, dpi)};
}

int TextHeight(HWND control, int width) {
    std::wstring text = WindowText(control);
    if (text.empty()) return 0;
    RECT rect = {0, 0, width, 0};
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | StaticDrawFlags(control));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return rect.bottom - rect.top;
}

void FlowLayout::Add(HWND control, const DesignRect& rect, Kind kind) { items_.push_back({control, rect, kind}); }

const DesignRect* FlowLayout::Find(HWND control) const {
    for (const Item& item : items_)
        if (item.control == control) return &item.rect;
    return nullptr;
}

int FlowLayout::Apply(int width, int height, UINT dpi) const {
    struct Placed {
        const Item* item;
        RECT design;  // where the 96-DPI layout puts it at this DPI
        RECT rect;    // where it goes
        int textBottom;
        bool shown;
    };
    std::vector<Placed> placed;
    for (const Item& item : items_) {
        RECT rect = PlaceRect(item.rect, width, height, dpi);
        placed.push_back({&item, rect, rect, rect.top, (::GetWindowLongW(item.control, GWL_STYLE) & WS_VISIBLE) != 0});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.design.top < b.design.top; });
    int lowest = 0;
    for (size_t i = 0; i < placed.size(); ++i) {
        Placed& current = placed[i];
        int top = current.design.top;
        for (size_t j = 0; j < i; ++j) {
            const Placed& above = placed[j];
            if (!above.shown || above.design.top >= current.design.top ||
                !Overlaps(above.design.left, above.design.right, current.design.left, current.design.right))
                continue;
            int growth = (above.rect.bottom - above.rect.top) - (above.design.bottom - above.design.top);
            top = std::max(top, static_cast<int>(current.design.top + (above.rect.top - above.design.top) + growth));
            top = std::max(top, above.textBottom);
        }
        int rectHeight = current.design.bottom - current.design.top;
        int textHeight = current.item->kind == Kind::Text && current.shown
                             ? TextHeight(current.item->control, current.design.right - current.design.left)
                             : 0;
        current.rect = {current.design.left, top, current.design.right, top + std::max(rectHeight, textHeight)};
        current.textBottom = current.item->kind == Kind::Text ? top + textHeight : current.rect.bottom;
        PlaceChild(current.item->control, current.rect);
        if (current.shown) lowest = std::max(lowest, static_cast<int>(current.rect.bottom));
    }
    return lowest;
}

}  // namespace fw
