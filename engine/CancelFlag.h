// The process-wide cancel flag: set by the user-interface thread (Escape,
// Cancel), read by worker threads between their steps.
#pragma once

#include <atomic>

std::atomic<bool>& CancelFlag();
