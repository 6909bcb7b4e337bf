// The unpack page: a worker thread unpacks every package that takes part in
// the run into its folder, while the page shows the progress and keeps the
// window responsive; Escape or Cancel stops after the current package.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "execution/ExtractionProgress.h"
#include "framework/Handles.h"
#include "wizard/WizardPageBase.h"

class SetupPackage;

class UnpackWizardPage : public WizardPageBase {
public:
    explicit UnpackWizardPage(CWizardDialog* wizard) : WizardPageBase(wizard, L"UnpackMSIFromEXE") {}

    void Activate() override;
    bool QueryCancel() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void LayOut() override;

    DWORD LastResult() const { return lastResult_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT kStatusMessage = WM_USER + 3;

    void BuildWorkList();
    void Work();
    static DWORD WINAPI WorkerEntry(void* page);
    void ShowStatus(const std::wstring& productName);
    void ApplyStatus();

    HWND title_ = nullptr, subtitle_ = nullptr, status_ = nullptr, progress_ = nullptr;
    std::unique_ptr<ExtractionProgressHandler> handler_;
    std::vector<std::pair<SetupPackage*, unsigned>> workList_;
    DWORD lastResult_ = 0;
    fw::KernelHandle worker_;
    std::mutex statusLock_;
    std::wstring pendingStatus_;
};
