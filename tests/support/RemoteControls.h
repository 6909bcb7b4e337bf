// Questions to another process's controls whose answers Windows does not
// carry across processes (rich-edit character formats, tab and tool-tip
// texts, fonts, layouts, accessible names): the structures are placed in the
// control's own process, as assistive tools do, and read back from there.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Whether the characters begin..end of a rich edit are all bold (nothing
// when the control cannot be asked). Moves the control's selection.
std::optional<bool> RichEditBold(HWND richEdit, long begin, long end);
// The colours a rich edit draws its text and its background in (the text
// colour as the system's window text colour when it follows it).
struct RichEditColours {
    COLORREF text;
    COLORREF background;
};
std::optional<RichEditColours> RichEditColoursOf(HWND richEdit);
// The text of a rich edit (WM_GETTEXT, which Windows does carry).
std::wstring RichEditText(HWND richEdit);
// The texts of a tab control's tabs, in order.
std::vector<std::wstring> TabTexts(HWND tabs);
// The tool-tip text that the dialog shows for one of its controls; empty
// when there is none.
std::wstring ToolTipText(HWND dialog, HWND control);
// The font a control draws its text with (WM_GETFONT and GetObjectW asked
// inside the control's process by ui_probe.dll, which lies beside the test
// program); nothing when it has none or cannot be asked.
std::optional<LOGFONTW> ControlFont(HWND control);
// The layout check of a window and all its shown controls (texts that do
// not fit, controls out of their parent, controls covering each other), run
// in its process; one line per problem, none when the layout is sound.
std::vector<std::wstring> LayoutProblems(HWND root);
// The name a screen reader reads for a control.
std::optional<std::wstring> AccessibleName(HWND control);
// Sends a window WM_DPICHANGED for dpi, as Windows does when the window
// moves to a monitor of that DPI (Wine never does).
bool ChangeDpi(HWND window, UINT dpi);
// Makes the window's process see high contrast on (Wine cannot turn it on)
// and announces the change to the window.
bool TurnHighContrastOn(HWND window);

}  // namespace testsupport
