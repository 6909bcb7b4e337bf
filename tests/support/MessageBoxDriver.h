// Finds a message box or small modal dialog that a running launcher shows
// (any top-level dialog of the process other than the wizard frame), reads
// its caption and texts and answers it through window messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class MessageBoxDriver {
public:
    // Waits for a visible top-level dialog of the process that is not the
    // wizard frame; Found() tells whether one appeared.
    MessageBoxDriver(DWORD processId, DWORD timeoutMs = 20000);

    bool Found() const { return box_ != nullptr; }
    HWND Window() const { return box_; }
    std::wstring Caption() const;
    // The texts of its static controls and buttons, in child order.
    std::vector<std::wstring> Texts() const;
    bool HasText(const std::wstring& part) const;
    std::wstring ControlText(int id) const;
    bool IsShown(int id) const;
    // Answers the box as a click on the button with this id would (posted,
    // so the test never waits on the box's own modal loop).
    void Press(int id) const;
    // Clicks a check box so that it ends up unchecked or checked.
    void SetCheck(int id, bool checked) const;
    // Waits until the box has gone.
    bool WaitClosed(DWORD timeoutMs = 20000) const;

private:
    HWND box_ = nullptr;
};

}  // namespace testsupport
