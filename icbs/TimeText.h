// Texts for display: the local time as a timestamp and a duration.
#pragma once

#include <windows.h>

#include <string>

namespace icbs {

// "YYYY-MM-DD hh:mm:ss" of the given time, and of the local time now.
std::wstring TimestampString(const SYSTEMTIME& time);
std::wstring NowString();

// A duration for display: "-" first when negative; then "h:mm hours" when it
// is at least one hour, "m:ss minutes" when at least one minute, otherwise
// "s seconds" (for example "1:02 hours", "2:05 minutes", "7 seconds").
std::wstring DurationString(long seconds);

}  // namespace icbs
