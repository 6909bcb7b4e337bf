// The dialog base of the wizard frame: the background picture painted above
// the separator, and the five fonts the pages use.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/Handles.h"

class CSetupApp;
class LanguageTable;

class CDialogBase : public fw::CDialog {
public:
    CDialogBase(UINT templateId, bool paintBackground);

    HFONT HeadingFont() const { return Font(headingFont_); }
    HFONT SmallHeadingFont() const { return Font(smallHeadingFont_); }
    HFONT TextFont() const { return Font(textFont_); }
    HFONT SmallTextFont() const { return Font(smallTextFont_); }
    HFONT TinyFont() const { return Font(tinyFont_); }

    CSetupApp& App() const { return *app_; }
    LanguageTable& Strings() const { return *strings_; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    static HFONT Font(const fw::GdiObject& font) { return static_cast<HFONT>(font.get()); }
    void CreateFonts();
    void PaintBackground(HDC dc);

    CSetupApp* app_;
    LanguageTable* strings_;
    bool paintBackground_;
    fw::GdiObject background_;
    fw::GdiObject headingFont_, smallHeadingFont_, textFont_, smallTextFont_, tinyFont_;
};
