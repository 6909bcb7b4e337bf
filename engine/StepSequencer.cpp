#include "engine/StepSequencer.h"

bool StepSequencer::JumpToFinishAfterFailure() {
    if (finish_ >= 1 && current_ <= finish_) {
        current_ = finish_;
        return true;
    }
    current_ = count_;
    return false;
}

bool StepSequencer::Back() {
    if (current_ == 0) return false;
    --current_;
    return true;
}
