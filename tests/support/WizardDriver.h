// Drives a running launcher's wizard through ordinary window messages, as an
// assistive tool would: finds the frame, reads its caption and control
// texts, presses buttons and chooses languages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class WizardDriver {
public:
    // Waits for the wizard frame (the dialog with the page area) of a
    // process; Found() tells whether it appeared.
    WizardDriver(DWORD processId, DWORD timeoutMs = 20000);

    bool Found() const { return frame_ != nullptr; }
    HWND Frame() const { return frame_; }
    bool IsVisible() const { return ::IsWindowVisible(frame_) != FALSE; }

    std::wstring Caption() const;
    std::wstring ControlText(int id) const;
    bool IsEnabled(int id) const;
    bool IsShown(int id) const;

    // The texts of the visible page's controls, top to bottom.
    std::vector<std::wstring> PageTexts() const;
    // The visible page shows a control whose text contains part (a hidden
    // control of the page does not count).
    bool PageShowsText(const std::wstring& part) const;
    // The visible page and its control whose text contains part, shown or
    // hidden; null when there is none.
    HWND VisiblePage() const;
    HWND PageControl(const std::wstring& part) const;
    // Waits until some text of the visible page contains part.
    bool WaitForPageText(const std::wstring& part, DWORD timeoutMs = 10000) const;
    // Waits until a control of the frame is enabled (a page may enable its
    // buttons a moment after its texts change).
    bool WaitForEnabled(int id, DWORD timeoutMs = 5000) const;

    // The control that has the keyboard focus in the launcher (null when
    // none has it).
    HWND FocusedControl() const;
    // The controls Tab visits from the focused one until it comes back,
    // starting with the focused one (the dialog manager's own order).
    std::vector<HWND> TabOrder() const;

    void Press(int id) const;
    // Presses a button without waiting for its handler (which may run a
    // long operation or a modal box of its own).
    void PressPosted(int id) const;
    // Chooses an entry of the language box by its text.
    bool ChooseLanguage(const std::wstring& displayName) const;
    std::vector<std::wstring> LanguageEntries() const;
    std::wstring SelectedLanguage() const;

private:
    HWND frame_ = nullptr;
};

}  // namespace testsupport
