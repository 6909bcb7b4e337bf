// The wizard page for the settings backup of the mobile-solutions server:
// measures on a worker thread how large the backup will be and how much
// space the disk has, and lets the user skip the backup or reset the
// database.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/Handles.h"
#include "wizard/WizardPageBase.h"

class BackupWizardPage : public WizardPageBase {
public:
    explicit BackupWizardPage(CWizardDialog* wizard);

    void Activate() override;
    void Deactivate() override;
    bool QueryNext() override;
    bool QueryCancel() override;
    // Both refused while the measuring runs: going back and forth, or on,
    // would start pages under the running measurement.
    bool QueryBack() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void LayOut() override;

private:
    bool Applies() const;
    bool ReadSettings();
    void Measure();
    static DWORD WINAPI WorkerEntry(void* page);
    void WalkFolder(const std::wstring& folder);
    void RefreshFigures();
    void AlignFigures();
    bool Checked(int id) const;

    std::wstring dataFolder_, solutionFolder_;
    bool firstActivation_ = true;
    bool settingsFound_ = false;
    bool avoidBackup_ = false;
    std::atomic<uint32_t> freeMegabytes_{0};
    std::atomic<uint64_t> backupBytes_{0};
    std::atomic<int> fileCount_{0};
    std::atomic<int> progressRange_{1};
    fw::KernelHandle worker_;
    bool measuring_ = false;  // an activation is measuring (its message loop runs)
    HWND intro_ = nullptr, status_ = nullptr, sizeLabel_ = nullptr, sizeValue_ = nullptr, freeLabel_ = nullptr,
         freeValue_ = nullptr, description_ = nullptr, progress_ = nullptr, skip_ = nullptr, reset_ = nullptr;
    UINT statusId_ = 1151;
};
