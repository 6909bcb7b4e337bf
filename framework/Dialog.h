// Modal dialogs from templates in the executable's resources, in a chosen
// language, with virtual handlers for initialisation and the buttons.
#pragma once

#include <windows.h>

#include "framework/Window.h"

namespace fw {

class CDialog : public CWnd {
public:
    // templateId: the dialog resource; language: the instance to take (0:
    // any); the neutral and then any instance serve when it is missing.
    explicit CDialog(UINT templateId, LANGID language = 0, HMODULE module = nullptr);

    // Runs the dialog modally; the value given to EndDialog, or -1 when the
    // template is missing or the dialog cannot be created.
    INT_PTR DoModal(HWND parent = nullptr);
    void EndDialog(INT_PTR result);

    void SetTemplateLanguage(LANGID language) { language_ = language; }

protected:
    // The template the running dialog was made from (null before DoModal).
    const void* TemplateData() const { return templateData_; }
    size_t TemplateSize() const { return templateSize_; }

    // Return TRUE to let Windows set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A WM_COMMAND other than IDOK and IDCANCEL; true when handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
    // Every message first; return true and set result to handle it.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Opens the dialog centred on the window that owns it (also while that
    // is not shown yet), inside that monitor's work area; a dialog without
    // an owner stays where its template puts it.
    void CentreOnOwner() const;

    UINT templateId_;
    LANGID language_;
    HMODULE module_;
    const void* templateData_ = nullptr;
    size_t templateSize_ = 0;
};

}  // namespace fw
