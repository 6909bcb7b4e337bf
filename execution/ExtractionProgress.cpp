#include "execution/ExtractionProgress.h"

int ProgressValue(unsigned doneBefore, unsigned bytes, unsigned total, int range) {
    if (total == 0) return 0;
    double share = (static_cast<double>(doneBefore) + static_cast<double>(bytes)) / static_cast<double>(total);
    return static_cast<int>(share * range);
}

bool ShouldPostProgress(int value, int lastValue, DWORD now, DWORD lastTick, int range) {
    if (value == range) return true;
    return value != lastValue && now - lastTick > 500;
}

void ExtractionProgressHandler::OnBytes(unsigned bytes) {
    if (!progressBar_) return;  // a run without windows shows no progress
    int value = ProgressValue(doneBefore, bytes, total, range_);
    DWORD now = ::GetTickCount();
    if (!ShouldPostProgress(value, lastValue_, now, lastTick_, range_)) return;
    lastTick_ = now;
    lastValue_ = value;
    ::PostMessageW(::GetParent(progressBar_), kProgressMessage, static_cast<WPARAM>(value), 0);
}
