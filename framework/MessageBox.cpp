#include "framework/MessageBox.h"

#include "framework/Application.h"

namespace fw {

int ShowMessageBox(bool unattended, const std::wstring& text, UINT type) {
    if (unattended) return IDOK;
    CWinAppBase* app = CWinAppBase::Current();
    const wchar_t* caption = app ? app->AppName().c_str() : L"";
    HWND owner = ::GetActiveWindow();
    return ::MessageBoxW(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
}

}  // namespace fw
