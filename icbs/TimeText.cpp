#include "icbs/TimeText.h"

#include "icbs/TextUtilities.h"

namespace icbs {

std::wstring TimestampString(const SYSTEMTIME& time) {
    return Format(L"%04d-%02d-%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                  time.wSecond);
}

std::wstring NowString() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return TimestampString(now);
}

std::wstring DurationString(long seconds) {
    // 64 bits, so that the most negative long can be made positive.
    long long value = seconds;
    std::wstring sign;
    if (value < 0) {
        sign = L"-";
        value = -value;
    }
    long long hours = value / 3600;
    if (hours > 0) return sign + Format(L"%ld:%02ld hours", static_cast<long>(hours), static_cast<long>((value % 3600) / 60));
    long long minutes = value / 60;
    if (minutes > 0) return sign + Format(L"%ld:%02ld minutes", static_cast<long>(minutes), static_cast<long>(value % 60));
    return sign + Format(L"%ld seconds", static_cast<long>(value));
}

}  // namespace icbs
