#include "launcher/QuietRun.h"

#include <algorithm>

#include "engine/Outcome.h"
#include "engine/RunChoices.h"
#include "execution/ProductOperations.h"
#include "launcher/SetupApp.h"
#include "resources/ResourceIds.h"
#include "server/BackupSettings.h"
#include "wizard/WizardDialog.h"

QuietRun::QuietRun(CSetupApp& app, RunChoices& choices)
    : app_(app), choices_(choices), steps_(choices.Steps()), welcome_(app, choices), unpack_(app, choices) {
    // The service entries are read where the wizard's page would read them.
    if (std::find(steps_.begin(), steps_.end(), PageKind::ServiceConfiguration) != steps_.end())
        service_ = std::make_unique<ServiceStep>(app);
}

QuietRun::~QuietRun() = default;

void QuietRun::Run() { HeadlessDriver(steps_, app_.CommandLine().Ui().IsUnattended()).Run(*this); }

void QuietRun::Make(int step) {
    if (Kind(step) == PageKind::ClusterConfiguration) cluster_.ReadConfiguration(app_.Catalogue());
}

StepEnd QuietRun::Enter(int step) {
    switch (Kind(step)) {
        case PageKind::Welcome: {
            welcome_.DetectUpgrade();
            ForeignCheckResult check = welcome_.CheckForeign(observer_);
            if (check == ForeignCheckResult::Proceed) return StepEnd::Next;
            removalFailed_ = check == ForeignCheckResult::RemovalFailed;
            return StepEnd::Cancel;
        }
        case PageKind::SubPackages:
            // The selection as it stands is the run's choice.
            app_.FixSubPackageSelection();
            return StepEnd::Next;
        case PageKind::Unpack: {
            WorkerSupervision supervision;
            return unpack_.Run(nullptr, observer_, supervision) ? StepEnd::Next : StepEnd::Stop;
        }
        case PageKind::ServiceConfiguration: return EnterServiceStep();
        case PageKind::ClusterConfiguration:
            cluster_.ApplyCommandLine(choices_.CommandLineItems());
            cluster_.Compose(cluster_.Settings().masterPort, choices_);
            return StepEnd::Next;
        case PageKind::Install: ProductOperations(app_, choices_).RunOperations(); return StepEnd::Next;
        case PageKind::Backup:
        case PageKind::Finish:
        case PageKind::Empty: break;
    }
    return StepEnd::Next;
}

StepEnd QuietRun::EnterServiceStep() {
    service_->Prepare([this](UINT id) { return app_.LoadLocalizedString(id); }, choices_.CommandLineItems());
    size_t missing = service_->FirstMissingPassword();
    if (missing < service_->Entries().size()) {
        service_->RefuseMissingPassword(missing);
        return StepEnd::Stay;
    }
    return service_->Compose(choices_) ? StepEnd::Next : StepEnd::Stay;
}

void QuietRun::Leave(int step) {
    // Nobody saw the backup step's choices: the backup is made and the
    // database kept.
    if (Kind(step) == PageKind::Backup) choices_.backupProperties = backup_config::BackupPropertyString(false, false);
}

void QuietRun::Cancel(int step) {
    if (Kind(step) == PageKind::Welcome && removalFailed_) {
        removalFailed_ = false;
        return;
    }
    app_.SetOutcome(outcome::kCancelled, ERROR_INSTALL_USEREXIT);
}

bool QuietRun::FailurePending() const {
    const SetupOutcome& outcome = app_.Outcome();
    return outcome.code != 0 && !outcome.reported;
}

void QuietRun::ReportFailure() { app_.ReportOutcome(); }

void QuietRun::ShowFinish() {
    CWizardDialog frame(app_, app_.AppName(), choices_, true);
    if (frame.DoModal() == -1)
        WriteLog(2, L"ZEL (c): The finish page could not be shown (dialog template %d): error %d\r\n", IDD_WIZARD,
                 static_cast<int>(::GetLastError()));
}

void QuietRun::Log(const std::wstring& line) { WriteLogRaw(3, line); }
