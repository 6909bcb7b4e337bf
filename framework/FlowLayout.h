// The layout of a page of controls, drawn for 96 DPI and placed at any DPI:
// every edge is scaled, an edge may be counted from the far side of the
// client area (the page width or height), and static texts that measure
// taller than their rectangle grow it and move what lies below them down.
#pragma once

#include <windows.h>

#include <vector>

namespace fw {

// An edge at 96 DPI, counted from the left or top of the client area, or
// from its right or bottom.
struct Edge {
    int pixels = 0;
    bool fromEnd = false;
};
constexpr Edge At(int pixels) { return {pixels, false}; }
constexpr Edge FromEnd(int pixels) { return {pixels, true}; }
struct DesignRect {
    Edge left, top, right, bottom;
};

// The pixel rectangle of a design rectangle in a client area of the given
// size at dpi.
RECT PlaceRect(const DesignRect& rect, int width, int height, UINT dpi);

// The height a control's text needs at the given width, wrapped as the
// control wraps it, in the control's font.
int TextHeight(HWND control, int width);

class FlowLayout {
public:
    enum class Kind { Fixed, Text };

    void Add(HWND control, const DesignRect& rect, Kind kind = Kind::Text);
    // The design rectangle of a control added before.
    const DesignRect* Find(HWND control) const;

    // Places the controls in a client area of the given size at dpi. A shown
    // static text taller than its rectangle grows it, and each shown control
    // below it (sharing columns with it) moves down by that growth; no
    // control starts above the end of a text over it. Hidden controls are
    // placed but move nothing. Returns the lowest bottom edge of a shown
    // control.
    int Apply(int width, int height, UINT dpi) const;

private:
    struct Item {
        HWND control;
        DesignRect rect;
        Kind kind;
    };
    std::vector<Item> items_;
};

}  // namespace fw
