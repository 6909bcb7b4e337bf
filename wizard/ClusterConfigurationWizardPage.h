// The wizard page for the workflow server's cluster role: standalone,
// master (with the port of its master interface) or worker.
#pragma once

#include "server/ClusterStep.h"
#include "wizard/WizardPageBase.h"

// Control ids of the page (created in code).
enum : int {
    IDC_CLUSTER_STANDALONE = 1401,
    IDC_CLUSTER_MASTER = 1402,
    IDC_CLUSTER_WORKER = 1403,
    IDC_CLUSTER_PORT = 1404,
};

class ClusterConfigurationWizardPage : public WizardPageBase {
public:
    explicit ClusterConfigurationWizardPage(CWizardDialog* wizard);
    void OnAnnounced() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void Prepare() override;
    void Deactivate() override;
    bool QueryNext() override;


protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnRoleClicked();

    ClusterStep step_;
    cluster_config::ClusterSettings& settings_ = step_.Settings();
    bool shown_ = false;
    HWND title_ = nullptr, subtitle_ = nullptr, description_ = nullptr, portLabel_ = nullptr, port_ = nullptr;
    HWND radios_[3] = {};
};
