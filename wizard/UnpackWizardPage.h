// The unpack page: while its step (execution/UnpackStep.h) unpacks every
// package that takes part in the run, the page shows the progress and keeps
// the window responsive; Escape or Cancel stops after the current package.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "execution/UnpackStep.h"
#include "wizard/WizardPageBase.h"

class UnpackWizardPage : public WizardPageBase {
public:
    explicit UnpackWizardPage(CWizardDialog* wizard);

    void Activate() override;
    bool QueryCancel() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void LayOut() override;

    DWORD LastResult() const { return step_.LastResult(); }
    // The product being unpacked, on the status line (from the worker
    // thread, through the frame's observer: it never waits for the window).
    void ShowStatus(const std::wstring& productName);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT kStatusMessage = WM_USER + 3;

    void ApplyStatus();

    HWND title_ = nullptr, subtitle_ = nullptr, status_ = nullptr, progress_ = nullptr;
    UnpackStep step_;
    std::mutex statusLock_;
    std::wstring pendingStatus_;
};
