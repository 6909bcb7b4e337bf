// The base of every wizard page: a plain child window inside the frame's
// page area, with the page operations the frame calls and the layout helpers
// for texts.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Window.h"

class CWizardDialog;
class LanguageTable;

class WizardPageBase : public fw::CWnd {
public:
    WizardPageBase(CWizardDialog* wizard, std::wstring pageName);
    ~WizardPageBase() override = default;

    virtual void Activate();
    virtual void Deactivate();
    virtual bool QueryNext() { return true; }
    virtual bool QueryCancel();
    virtual bool QueryBack() { return true; }
    virtual void Prepare() {}
    virtual void CreateControls(HWND parent, int width, int height) = 0;
    virtual void UpdateTexts() = 0;

    const std::wstring& PageName() const { return pageName_; }

    // Layout of texts: the change in height or width after fitting the
    // control to its text; the control's rectangle in its parent; a move.
    int FitHeightToText(HWND control) const;
    int FitWidthToText(HWND control, bool singleLine) const;
    static RECT GetRectInParent(HWND control);
    static void MoveBy(HWND control, int dx, int dy);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::wstring Text(UINT id) const;

    CWizardDialog* wizard_;
    std::wstring pageName_;
    LanguageTable* strings_;
};
