// The base of every wizard page: a plain child window inside the frame's
// page area, with the page operations the frame calls and the layout helpers
// for texts.
#pragma once

#include <windows.h>

#include <string>

#include "engine/PageTable.h"
#include "framework/FlowLayout.h"
#include "framework/Window.h"

class CWizardDialog;
class LanguageTable;

class WizardPageBase : public fw::CWnd {
public:
    WizardPageBase(CWizardDialog* wizard, PageKind kind);
    ~WizardPageBase() override = default;

    // The page is made (its "Deactivating dialog" line, and what it reads
    // from the machine then); its controls are made only when it is first
    // shown (Create).
    void Announce();
    // Makes the page's window and controls in the frame's page area, once.
    void Create(HWND area, const RECT& rect);
    virtual void Activate();
    virtual void Deactivate();
    virtual bool QueryNext() { return true; }
    virtual bool QueryCancel();
    virtual bool QueryBack() { return true; }
    virtual void Prepare() {}
    virtual void CreateControls(HWND parent, int width, int height) = 0;
    virtual void UpdateTexts() = 0;
    // Places the controls for the page's size, the window's DPI and the
    // texts they hold now; runs after every change of texts and of DPI.
    virtual void LayOut();
    // The control that takes the focus when the page has been activated:
    // the frame's default button while it is enabled, else the page's first
    // control that takes input, else Cancel.
    virtual HWND FocusControl() const;
    // Ctrl+Tab and Ctrl+Shift+Tab; true when the page switched something.
    virtual bool OnCtrlTab(bool backwards) { return false; }
    // The system's colours changed, or high contrast went on or off.
    virtual void OnColoursChanged() {}
    // What the page reads when it is made, before its line.
    virtual void OnAnnounced() {}

    const std::wstring& PageName() const { return pageName_; }
    PageKind Kind() const { return kind_; }

    // Layout of texts: the change in height or width after fitting the
    // control to its text; the control's rectangle in its parent; a move.
    int FitHeightToText(HWND control) const;
    int FitWidthToText(HWND control, bool singleLine) const;
    static RECT GetRectInParent(HWND control);
    static void MoveBy(HWND control, int dx, int dy);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::wstring Text(UINT id) const;

    // A length of the 96-DPI layout at the window's DPI.
    int Scale(int pixels) const;
    SIZE ClientSize() const;
    // Creates a control where the 96-DPI rectangle puts it and adds it to
    // the page's layout (a static text grows with its text).
    HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, const fw::DesignRect& rect, int id,
                    HFONT font, fw::FlowLayout::Kind kind = fw::FlowLayout::Kind::Text);

    fw::FlowLayout layout_;

    CWizardDialog* wizard_;
    PageKind kind_;
    std::wstring pageName_;
    bool made_ = false;  // its controls exist and were left once
    LanguageTable* strings_;
};
