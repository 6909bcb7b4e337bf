// The wizard page for the settings backup of the mobile-solutions server:
// has server/BackupStep measure on a worker thread how large the backup will
// be and how much space the disk has, shows the figures as they grow, and
// lets the user skip the backup or reset the database.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"
#include "server/BackupStep.h"
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
    static DWORD WINAPI WorkerEntry(void* page);
    void RefreshFigures();
    void AlignFigures();
    bool Checked(int id) const;

    BackupStep step_;
    bool firstActivation_ = true;
    fw::KernelHandle worker_;
    bool measuring_ = false;  // an activation is measuring (its message loop runs)
    HWND intro_ = nullptr, status_ = nullptr, sizeLabel_ = nullptr, sizeValue_ = nullptr, freeLabel_ = nullptr,
         freeValue_ = nullptr, description_ = nullptr, progress_ = nullptr, skip_ = nullptr, reset_ = nullptr;
    UINT statusId_ = 1151;
};
