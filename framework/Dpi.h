// Display scale: the launcher's layouts are drawn for 96 DPI and scaled to
// the DPI of the window they are shown in, rounded as Windows rounds dialog
// units (MulDiv). The per-monitor functions of newer Windows versions are
// bound at run time; older systems answer with the system DPI.
#pragma once

#include <windows.h>

// Messages of per-monitor awareness, for headers that predate it.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace fw {

constexpr UINT kDesignDpi = 96;

// A length of the 96-DPI layout at dpi.
inline int ScaleToDpi(int pixels, UINT dpi) { return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDesignDpi)); }
// Every edge scaled, so that rectangles that meet at 96 DPI still meet.
RECT ScaleToDpi(const RECT& rect, UINT dpi);

// The DPI a window is shown at (the monitor's, for a per-monitor aware
// process on Windows 10), else the system's.
UINT DpiOfWindow(HWND window);
// A system metric (check-box glyph, scroll bar, icon sizes) at dpi.
int SystemMetricForDpi(int index, UINT dpi);
// The window rectangle around a client rectangle at dpi.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
// Leaves the re-layout of a dialog on a DPI change to its own code (Windows
// would otherwise rescale the template's controls and fonts itself).
void KeepOwnLayoutOnDpiChange(HWND dialog);

}  // namespace fw
