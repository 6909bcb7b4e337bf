#include "framework/Dialog.h"

#include <algorithm>

#include "framework/InternalError.h"

namespace fw {

CDialog::CDialog(UINT templateId, LANGID language, HMODULE module)
    : templateId_(templateId), language_(language), module_(module ? module : ::GetModuleHandleW(nullptr)) {}

INT_PTR CDialog::DoModal(HWND parent) {
    HRSRC info = nullptr;
    if (language_ != 0)
        info = ::FindResourceExW(module_, RT_DIALOG, MAKEINTRESOURCEW(templateId_), language_);
    if (!info)
        info = ::FindResourceExW(module_, RT_DIALOG, MAKEINTRESOURCEW(templateId_), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!info) info = ::FindResourceW(module_, MAKEINTRESOURCEW(templateId_), RT_DIALOG);
    if (!info) return -1;
    HGLOBAL loaded = ::LoadResource(module_, info);
    auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(::LockResource(loaded));
    if (!dialogTemplate) return -1;
    templateData_ = dialogTemplate;
    templateSize_ = ::SizeofResource(module_, info);
    return ::DialogBoxIndirectParamW(module_, dialogTemplate, parent, StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) {
    if (hwnd_) ::EndDialog(hwnd_, result);
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    try {
        INT_PTR result = self->DialogProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (...) {
        // Nothing may unwind through Windows' own frames. The dialog ends:
        // a hidden one would otherwise wait for ever.
        ReportInternalError(L"the dialog procedure");
        ::EndDialog(hwnd, IDABORT);
        return FALSE;
    }
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        if (message != WM_INITDIALOG) ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return message == WM_INITDIALOG ? result : TRUE;
    }
    switch (message) {
        case WM_INITDIALOG: {
            BOOL result = OnInitDialog();
            // After the dialog has set its texts and its size.
            CentreOnOwner();
            return result;
        }
        case WM_COMMAND: {
            WORD id = LOWORD(wParam);
            if (id == IDOK) OnOK();
            else if (id == IDCANCEL) OnCancel();
            else return OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void CDialog::CentreOnOwner() const {
    HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    if (!owner) return;
    RECT ownerRect, own;
    ::GetWindowRect(owner, &ownerRect);
    ::GetWindowRect(hwnd_, &own);
    int width = own.right - own.left, height = own.bottom - own.top;
    int left = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
    int top = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    MONITORINFO monitor = {sizeof(monitor)};
    if (::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        left = std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
        top = std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
    }
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace fw
