// The dialog base of the wizard frame: the background picture painted above
// the separator, and the five fonts the pages use, made for the DPI the
// window is shown at.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/Handles.h"

class LanguageTable;
class WizardSession;

class CDialogBase : public fw::CDialog {
public:
    CDialogBase(WizardSession& session, UINT templateId, bool paintBackground);

    HFONT HeadingFont() const { return Font(headingFont_); }
    HFONT SmallHeadingFont() const { return Font(smallHeadingFont_); }
    HFONT TextFont() const { return Font(textFont_); }
    HFONT SmallTextFont() const { return Font(smallTextFont_); }
    HFONT TinyFont() const { return Font(tinyFont_); }
    // The DPI the fonts are made for.
    UINT Dpi() const { return dpi_; }

    WizardSession& Session() const { return session_; }
    LanguageTable& Strings() const { return *strings_; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // Makes the fonts for dpi; fonts made before are replaced in every
    // control of the dialog that used them, then deleted.
    void MakeFontsForDpi(UINT dpi);
    // Another font made for a new DPI in place of an old one.
    void ReplaceFontInControls(HFONT old, HFONT replacement) const;

private:
    static HFONT Font(const fw::GdiObject& font) { return static_cast<HFONT>(font.get()); }
    void PaintBackground(HDC dc);

    WizardSession& session_;
    LanguageTable* strings_;
    bool paintBackground_;
    UINT dpi_ = 0;
    fw::GdiObject background_;
    fw::GdiObject headingFont_, smallHeadingFont_, textFont_, smallTextFont_, tinyFont_;
};
