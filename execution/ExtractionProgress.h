// Progress of unpacking: the cabinet reader's byte positions become values
// 0 to 30 on the unpack page's bar, posted to the page at most every 500 ms
// (the final value always).
#pragma once

#include <windows.h>

#include "icbs/CabinetProgress.h"

constexpr UINT kProgressMessage = WM_USER + 1;

// (doneBefore + bytes) / total of range, truncated; 0 without a total.
int ProgressValue(unsigned doneBefore, unsigned bytes, unsigned total, int range);
// A value is posted when it differs from the last one and more than 500 ms
// have passed since the last post, or when it is the final value.
bool ShouldPostProgress(int value, int lastValue, DWORD now, DWORD lastTick, int range);

class ExtractionProgressHandler : public ICBSCabinetProgressCallbacks {
public:
    explicit ExtractionProgressHandler(HWND progressBar) : progressBar_(progressBar) {}
    virtual ~ExtractionProgressHandler() = default;

    void OnPercent(int) override {}
    void OnBytes(unsigned bytes) override;
    int GetRange() override { return range_; }

    unsigned total = 0;       // the sizes of all cabinets of the work list
    unsigned doneBefore = 0;  // the sizes of the cabinets already unpacked

private:
    HWND progressBar_;
    int range_ = 30;
    int lastValue_ = 0;
    DWORD lastTick_ = 0;
};
