#include "wizard/DialogBase.h"

#include "framework/Dpi.h"
#include "framework/ResourcePicture.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardSession.h"

CDialogBase::CDialogBase(WizardSession& session, UINT templateId, bool paintBackground)
    : fw::CDialog(templateId),
      session_(session),
      strings_(&session.Languages()),
      paintBackground_(paintBackground) {
    SetTemplateLanguage(strings_->Current().languageId);
}

BOOL CDialogBase::OnInitDialog() {
    background_ = fw::LoadResourcePicture(::GetModuleHandleW(nullptr), IDB_BACKGROUND, strings_->Current().languageId);
    MakeFontsForDpi(fw::DpiOfWindow(hwnd_));
    return TRUE;
}

void CDialogBase::MakeFontsForDpi(UINT dpi) {
    if (headingFont_ && dpi == dpi_) return;
    dpi_ = dpi;
    auto make = [dpi](const wchar_t* face, int points, int weight) {
        LOGFONTW font = {};
        font.lfHeight = -::MulDiv(points, static_cast<int>(dpi), 72);
        font.lfWeight = weight;
        wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
        return fw::GdiObject(::CreateFontIndirectW(&font));
    };
    struct Made {
        fw::GdiObject& font;
        fw::GdiObject replacement;
    };
    Made made[] = {{headingFont_, make(L"Tahoma", 9, FW_BOLD)},
                   {smallHeadingFont_, make(L"Tahoma", 8, FW_BOLD)},
                   {textFont_, make(L"Tahoma", 9, FW_NORMAL)},
                   {smallTextFont_, make(L"Tahoma", 8, FW_NORMAL)},
                   {tinyFont_, make(L"Arial", 7, FW_NORMAL)}};
    for (Made& font : made) {
        if (font.font) ReplaceFontInControls(Font(font.font), Font(font.replacement));
        font.font = std::move(font.replacement);
    }
}

namespace {
struct FontSwap {
    HFONT old, replacement;
};
BOOL CALLBACK SwapFont(HWND control, LPARAM data) {
    auto* fonts = reinterpret_cast<FontSwap*>(data);
    if (reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)) == fonts->old)
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->replacement), FALSE);
    return TRUE;
}
}  // namespace

void CDialogBase::ReplaceFontInControls(HFONT old, HFONT replacement) const {
    FontSwap swap{old, replacement};
    ::EnumChildWindows(hwnd_, SwapFont, reinterpret_cast<LPARAM>(&swap));
}

void CDialogBase::PaintBackground(HDC dc) {
    if (!paintBackground_ || !background_) return;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    int bottom = client.bottom;
    if (HWND separator = ::GetDlgItem(hwnd_, IDC_WIZARD_SEPARATOR)) {
        RECT line;
        ::GetWindowRect(separator, &line);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&line), 2);
        bottom = line.top;
    }
    BITMAP info = {};
    ::GetObjectW(background_.get(), sizeof(info), &info);
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, background_.get());
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchBlt(dc, 0, 0, client.right, bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

bool CDialogBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message != WM_ERASEBKGND) return false;
    // The dialog's own erase first (the dialog face colour), then the picture.
    RECT client;
    ::GetClientRect(hwnd_, &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_3DFACE));
    PaintBackground(reinterpret_cast<HDC>(wParam));
    result = TRUE;
    return true;
}
