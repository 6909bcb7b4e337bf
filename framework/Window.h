// Windows of the framework: a CWnd owns the window procedure of its window,
// routes messages to virtual handlers and stops every exception before it
// could cross into Windows.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // Creates a child window of this object's own window class.
    bool CreateChild(HWND parent, const RECT& rect, DWORD style = WS_CHILD, DWORD exStyle = 0, UINT id = 0);

    void ShowWindow(int command) const { ::ShowWindow(hwnd_, command); }
    bool IsWindowVisible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(hwnd_, text.c_str()); }
    std::wstring GetWindowText() const;
    virtual HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    void SetDlgItemText(int id, const std::wstring& text) const { ::SetDlgItemTextW(hwnd_, id, text.c_str()); }
    // Enables or disables a control, unless it is so already.
    void EnableDlgItem(int id, bool enable) const;

    // Creates a control (a child of this window) of a system class.
    HWND CreateControl(const wchar_t* className, const std::wstring& text, DWORD style, const RECT& rect, int id,
                       HFONT font = nullptr, DWORD exStyle = 0) const;

protected:
    // The message handler; the default passes the message on to Windows.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnWindowDestroyed() {}
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const wchar_t* RegisterWindowClass();
    friend class CDialog;
};

// The text of any window.
std::wstring WindowText(HWND window);

// Moves and sizes a child window to rect (in its parent's client area),
// unless it is there already: each move costs a round of messages and a
// redraw, and a layout mostly finds its controls in place.
void PlaceChild(HWND child, const RECT& rect);

// Sets a window's text unless it has that text already: a caption or a
// button repaints on every change.
void SetTextIfChanged(HWND window, const std::wstring& text);

}  // namespace fw
