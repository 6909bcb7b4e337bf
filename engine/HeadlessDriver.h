// Runs the steps of a run below the full user interface level as a plain
// loop over the step sequencer, without any window: each step's page is
// "made" and left at once as the wizard's would be, the step's work is done
// when it is entered, and the log tells of each step at the same points as
// the wizard does ("Activating dialog %s" / "Deactivating dialog %s"). The
// work is given through StepWork, so that the engine knows nothing of what a
// step does; the driver pumps no messages.
#pragma once

#include <string>
#include <vector>

#include "engine/PageTable.h"
#include "engine/StepSequencer.h"

// How a step's work ended.
enum class StepEnd {
    Next,    // the run goes on
    Stay,    // the step did not let the run go on (its check failed)
    Cancel,  // the step cancelled the run (a foreign removal declined or failed)
    Stop,    // the quit message came: the run ends at once
};

class StepWork {
public:
    // The step's page would be made now (what a page reads when it is made).
    virtual void Make(int step) = 0;
    // The step is entered: its work.
    virtual StepEnd Enter(int step) = 0;
    // The step is left (what its page leaves for the run).
    virtual void Leave(int step) = 0;
    // The step is cancelled: records the user's cancel unless the step's
    // own failure is the outcome.
    virtual void Cancel(int step) = 0;
    // A failure has been recorded and not reported yet; Report reports it.
    virtual bool FailurePending() const = 0;
    virtual void ReportFailure() = 0;
    // After a failure with a level that shows progress (/qb, /qr): the
    // finish step, shown in a frame that passes it by itself.
    virtual void ShowFinish() = 0;
    // A line of the run's log (level 3).
    virtual void Log(const std::wstring& line) = 0;

protected:
    ~StepWork() = default;
};

class HeadlessDriver {
public:
    // unattended: /qn, where no finish step is ever shown.
    HeadlessDriver(std::vector<PageKind> steps, bool unattended);

    void Run(StepWork& work);

private:
    bool HasStep(int step) const;
    void Announce(const wchar_t* what, int step, StepWork& work) const;
    // Cancel on the current step; false when the run ends.
    bool CancelStep(StepWork& work);

    std::vector<PageKind> steps_;
    bool unattended_;
    StepSequencer sequencer_;
};
