#include "engine/HeadlessDriver.h"

#include <algorithm>

HeadlessDriver::HeadlessDriver(std::vector<PageKind> steps, bool unattended)
    : steps_(std::move(steps)), unattended_(unattended) {
    auto finish = std::find(steps_.begin(), steps_.end(), PageKind::Finish);
    sequencer_ = StepSequencer(static_cast<int>(steps_.size()),
                               finish == steps_.end() ? -1 : static_cast<int>(finish - steps_.begin()));
}

bool HeadlessDriver::HasStep(int step) const {
    return step >= 0 && step < static_cast<int>(steps_.size()) && steps_[static_cast<size_t>(step)] != PageKind::Empty;
}

void HeadlessDriver::Announce(const wchar_t* what, int step, StepWork& work) const {
    work.Log(std::wstring(L"ZEL (c): ") + what + L" dialog " + StepName(steps_[static_cast<size_t>(step)]) + L"\r\n");
}

void HeadlessDriver::Run(StepWork& work) {
    // Every page is made, and left, before the first is entered.
    for (int step = 0; step < static_cast<int>(steps_.size()); ++step) {
        if (!HasStep(step)) continue;
        work.Make(step);
        Announce(L"Deactivating", step, work);
    }
    sequencer_.Start();
    while (HasStep(sequencer_.Current())) {
        int step = sequencer_.Current();
        if (AnnouncesActivation(steps_[static_cast<size_t>(step)])) Announce(L"Activating", step, work);
        StepEnd end = work.Enter(step);
        if (end == StepEnd::Stop) return;
        if (end == StepEnd::Cancel) {
            if (!CancelStep(work)) return;
            continue;
        }
        work.Leave(step);
        Announce(L"Deactivating", step, work);
        sequencer_.Next(end == StepEnd::Next);
        if (!work.FailurePending()) continue;
        work.ReportFailure();
        if (sequencer_.JumpToFinishAfterFailure() && !unattended_) {
            work.ShowFinish();
            return;
        }
    }
}

bool HeadlessDriver::CancelStep(StepWork& work) {
    int step = sequencer_.Current();
    work.Cancel(step);
    work.Leave(step);
    Announce(L"Deactivating", step, work);
    if (sequencer_.CancelEndsRun()) return false;
    if (work.FailurePending()) work.ReportFailure();
    sequencer_.ToFinish();
    return true;
}
