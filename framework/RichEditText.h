// Text of a read-only rich-edit control as runs, each plain or emphasised
// (bold): the decision of what is emphasised stays with the caller.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

struct TextRun {
    std::wstring text;
    bool emphasised = false;

    bool operator==(const TextRun&) const = default;
};

// The runs joined, as the control shows them.
std::wstring JoinRuns(const std::vector<TextRun>& runs);

// Replaces the control's text with the runs, the emphasised ones in bold.
void ShowRuns(HWND richEdit, const std::vector<TextRun>& runs);

// The text colour that follows the system's window text colour.
constexpr COLORREF kAutomaticColour = CLR_INVALID;
// Colours of all of the control's text (kept when ShowRuns replaces it) and
// of its background.
void SetRichEditColours(HWND richEdit, COLORREF text, COLORREF background);

}  // namespace fw
