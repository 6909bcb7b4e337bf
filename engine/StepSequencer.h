// Where the wizard goes from the step it is on, without any window: the
// steps are numbered from 0, the finish step is one of them (the last) or
// missing (-1). Next moves on when the step lets it; a failure reported on
// the way jumps to the finish step unless that has been passed; Back from the
// first step is a cancel; Cancel ends the run on the finish step or without
// one, and goes to the finish step from anywhere else.
#pragma once

class StepSequencer {
public:
    StepSequencer() = default;
    StepSequencer(int count, int finish) : count_(count), finish_(finish) {}

    int Current() const { return current_; }
    int Count() const { return count_; }
    int Finish() const { return finish_; }
    bool AtFirst() const { return current_ == 0; }

    void Start() { current_ = 0; }
    // The current step was left with Next; ok: it let the run go on.
    void Next(bool ok) {
        if (ok) ++current_;
    }
    // A failure has just been reported: the finish step follows unless it has
    // been passed already, also when the failing step is the one just before
    // it (true); otherwise the run ends (false, Current() is past the steps).
    bool JumpToFinishAfterFailure();
    // Back from the current step; false on the first step, where Back cancels.
    bool Back();
    // Cancel ends the run at once without a finish step and on it.
    bool CancelEndsRun() const { return finish_ < 1 || finish_ == current_; }
    void ToFinish() { current_ = finish_; }

private:
    int count_ = 0;
    int finish_ = -1;
    int current_ = 0;
};
