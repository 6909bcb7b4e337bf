// Keeps a page's window alive while its worker thread runs: pumps the
// thread's messages, turns Escape into a cancel request, and honours a quit
// message by stopping the worker first.
#pragma once

#include <windows.h>

#include <functional>

struct WorkerSupervision {
    // Takes a message before it is dispatched (true: consumed).
    std::function<bool(const MSG&)> filter;
    // Called every refreshMs while the worker runs, and once when it ends.
    std::function<void()> refresh;
    DWORD refreshMs = 250;
    // How long the page stays on screen after the worker has ended.
    DWORD lingerMs = 0;
};

// Runs until the worker ends (true) or WM_QUIT arrives (false: the cancel
// flag is set, the worker waited for, and the quit posted again, so the
// caller returns at once and leaves the page to the closing frame).
bool SuperviseWorker(HANDLE worker, const WorkerSupervision& supervision);
