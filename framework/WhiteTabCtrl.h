// A tab control drawn on a white background, for the white page area of
// the wizard: the system's tab control, its background erased in white.
// Each tab carries a number of the caller's (its data).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class CWhiteTabCtrl {
public:
    CWhiteTabCtrl() = default;
    CWhiteTabCtrl(const CWhiteTabCtrl&) = delete;
    CWhiteTabCtrl& operator=(const CWhiteTabCtrl&) = delete;
    ~CWhiteTabCtrl();

    // Creates the control as a child of parent; false when it cannot.
    bool Create(HWND parent, const RECT& rect, int id, HFONT font);
    HWND GetSafeHwnd() const { return hwnd_; }

    int InsertItem(int index, const std::wstring& text, LPARAM data);
    void SetItemText(int index, const std::wstring& text) const;
    int GetItemCount() const;
    int GetCurSel() const;
    void SetCurSel(int index) const;
    // The data of a tab; fallback when there is no such tab.
    LPARAM GetItemData(int index, LPARAM fallback) const;
    // The area below the tabs, in the parent's coordinates.
    RECT DisplayRect() const;
    // Leaves the display area to the controls placed on it (the control
    // draws only its tabs and its border, also after a size change), so
    // that it can stand before them in the Tab order.
    void LeaveDisplayAreaToSiblings(bool leave);
    // In high contrast the background is the system's window colour.
    void SetHighContrast(bool on);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    void ExcludeDisplayArea() const;
    HBRUSH Background() const;

    HWND hwnd_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    bool leaveDisplayArea_ = false;
    bool highContrast_ = false;
};

}  // namespace fw
