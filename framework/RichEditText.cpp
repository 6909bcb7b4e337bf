#include "framework/RichEditText.h"

#include <richedit.h>

namespace fw {

std::wstring JoinRuns(const std::vector<TextRun>& runs) {
    std::wstring text;
    for (const TextRun& run : runs) text += run.text;
    return text;
}

namespace {
void SetBold(HWND richEdit, LONG begin, LONG end, bool bold) {
    CHARRANGE range = {begin, end};
    ::SendMessageW(richEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD;
    format.dwEffects = bold ? CFE_BOLD : 0;
    ::SendMessageW(richEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}
}  // namespace

void ShowRuns(HWND richEdit, const std::vector<TextRun>& runs) {
    std::wstring text = JoinRuns(runs);
    ::SendMessageW(richEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    LONG length = static_cast<LONG>(text.size());
    SetBold(richEdit, 0, length, false);
    LONG at = 0;
    for (const TextRun& run : runs) {
        LONG end = at + static_cast<LONG>(run.text.size());
        if (run.emphasised && end > at) SetBold(richEdit, at, end, true);
        at = end;
    }
    CHARRANGE none = {0, 0};
    ::SendMessageW(richEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
}

void SetRichEditColours(HWND richEdit, COLORREF text, COLORREF background) {
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.dwEffects = text == kAutomaticColour ? CFE_AUTOCOLOR : 0;
    format.crTextColor = text == kAutomaticColour ? 0 : text;
    // The default format too, so that text set later has these colours.
    ::SendMessageW(richEdit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(richEdit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(richEdit, EM_SETBKGNDCOLOR, 0, background);
}

}  // namespace fw
