// A run below the full user interface level (/qn, /qb, /qr): the steps of
// the wizard's page table, driven by engine/HeadlessDriver without any page
// or window. Each step does what its page does for the run, through the same
// step objects, and reads nothing back from a control; the log tells of the
// steps as the wizard's would. After a failure at /qb or /qr the frame shows
// the finish page alone and passes it by itself.
#pragma once

#include <memory>
#include <vector>

#include "engine/HeadlessDriver.h"
#include "engine/HeadlessObserver.h"
#include "execution/UnpackStep.h"
#include "server/ClusterStep.h"
#include "server/ServiceStep.h"
#include "wizard/WelcomeStep.h"

class CSetupApp;
class RunChoices;

class QuietRun : public StepWork {
public:
    QuietRun(CSetupApp& app, RunChoices& choices);
    ~QuietRun();

    void Run();

    void Make(int step) override;
    StepEnd Enter(int step) override;
    void Leave(int step) override;
    void Cancel(int step) override;
    bool FailurePending() const override;
    void ReportFailure() override;
    void ShowFinish() override;
    void Log(const std::wstring& line) override;

private:
    PageKind Kind(int step) const { return steps_[static_cast<size_t>(step)]; }
    StepEnd EnterServiceStep();

    CSetupApp& app_;
    RunChoices& choices_;
    std::vector<PageKind> steps_;
    HeadlessObserver observer_;  // nobody is asked, nothing is shown
    WelcomeStep welcome_;
    UnpackStep unpack_;
    std::unique_ptr<ServiceStep> service_;  // read when the run has the step
    ClusterStep cluster_;
    // A foreign removal failed and its result is the outcome: the cancel
    // that ends the run must not turn it into a user's cancel.
    bool removalFailed_ = false;
};
