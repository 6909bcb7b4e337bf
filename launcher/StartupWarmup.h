// Start-up work that depends on nothing the run decides first: the Direct2D
// probe and loading the large system libraries (common controls, Windows
// Installer, rich edit). It runs on a thread of its own from the first moment
// of the process, while the main thread reads the command line, opens the log
// and checks the Windows version; the environment check then takes the
// probe's answer instead of probing itself. Nothing it does is visible: the
// checks, their order and their log lines stay the main thread's.
#pragma once

#include "framework/Handles.h"

class StartupWarmup {
public:
    // Starts the thread; when it cannot be started, nothing runs early.
    StartupWarmup();
    // Waits for the thread: the process never ends with a library half
    // loaded.
    ~StartupWarmup();
    StartupWarmup(const StartupWarmup&) = delete;
    StartupWarmup& operator=(const StartupWarmup&) = delete;

    // The probe's answer, waiting for it while the thread is at work; probes
    // on the calling thread when the thread did not run the probe.
    bool Direct2DFound();
    // Whether the thread loads the rich-edit library (so the main path need
    // not wait for it).
    bool LoadsRichEdit() const { return thread_.get() != nullptr; }

    // The process's warm-up, or null when there is none (tests).
    static StartupWarmup* Current();

private:
    static DWORD WINAPI ThreadProc(void* self);
    void Run();

    fw::KernelHandle probed_;  // manual-reset event: the probe has answered
    fw::KernelHandle thread_;
    bool direct2D_ = false;
    bool answered_ = false;  // the thread ran the probe
};

// The Direct2D check of the run: the warm-up's answer when there is one.
bool Direct2DAvailable();
// The main path's rich-edit initialisation: left to the warm-up thread when
// there is one, else done here.
void InitRichEdit();
