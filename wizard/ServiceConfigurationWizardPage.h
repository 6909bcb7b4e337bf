// The wizard page for the Windows service settings of the server products:
// pre-fills its entries from the machine and the command line, shows one
// tab per entry with three summaries that the "Change..." dialogs edit, and
// leaves the service configuration property string for the installer calls.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/WhiteTabCtrl.h"
#include "server/ServiceStep.h"
#include "wizard/WizardPageBase.h"

class CConnectionDetailsDlg;
class CServiceDetailsDlg;

class ServiceConfigurationWizardPage : public WizardPageBase {
public:
    explicit ServiceConfigurationWizardPage(CWizardDialog* wizard);
    ~ServiceConfigurationWizardPage() override;

    void Prepare() override;
    bool QueryNext() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void LayOut() override;
    void Deactivate() override;
    bool OnCtrlTab(bool backwards) override;
    void OnColoursChanged() override;

    const std::vector<service_config::ServiceSettings>& Entries() const { return entries_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Section {
        HWND title = nullptr;
        HWND summary = nullptr;  // read-only rich edit
        HWND change = nullptr;
    };

    // Another user's account without a password: asks for it in a full
    // run; an unattended run cannot, and ends as an invalid command line.
    bool ObtainMissingPasswords();
    void InsertTabs();
    // The entry of the selected tab; null without tabs.
    service_config::ServiceSettings* SelectedEntry();
    void ShowSections(const std::array<bool, 3>& shown);
    void LayOutSections();
    void OnChange(int section);
    // The answer of a dialog that could not be created is reported here.
    bool DialogCreated(INT_PTR answer, const std::wstring& dialog) const;

    ServiceStep step_;
    std::vector<service_config::ServiceSettings>& entries_;
    HWND intro_ = nullptr;
    fw::CWhiteTabCtrl tabs_;
    std::array<Section, 3> sections_;
    RECT sectionArea_ = {0, 0, 0, 0};
    std::unique_ptr<CServiceDetailsDlg> serviceDialog_;
    std::unique_ptr<CConnectionDetailsDlg> connectionDialog_;
};
