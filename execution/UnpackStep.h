// What the unpack step does for the run, apart from its controls: a worker
// thread unpacks every package that takes part in the run into its folder
// (each one's payload checked before the first is unpacked) while the
// calling thread supervises it. The page and the quiet run call it alike;
// the page gives its bar, and each gives its observer, which hears of every
// product as it is unpacked.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "execution/ExtractionProgress.h"
#include "execution/WorkerSupervisor.h"
#include "framework/Handles.h"

class OperationMode;
class RunSession;
class SessionObserver;
class SetupPackage;

class UnpackStep {
public:
    UnpackStep(RunSession& session, const OperationMode& mode) : session_(session), mode_(mode) {}

    // progressBar: the bar the worker's progress goes to (its parent gets
    // kProgressMessage), or null; observer: told on the worker thread of
    // each product unpacked. Records the outcome; false when the quit
    // message came (the worker has been stopped, the run ends).
    bool Run(HWND progressBar, SessionObserver& observer, const WorkerSupervision& supervision);
    // Cancel while the worker runs: the worker stops after the current
    // package. True when no worker runs (the step may be left).
    bool Cancel();
    DWORD LastResult() const { return lastResult_; }

private:
    void BuildWorkList();
    void Work();
    static DWORD WINAPI WorkerEntry(void* step);

    RunSession& session_;
    const OperationMode& mode_;
    std::unique_ptr<ExtractionProgressHandler> handler_;
    SessionObserver* observer_ = nullptr;
    std::vector<std::pair<SetupPackage*, unsigned>> workList_;
    DWORD lastResult_ = 0;
    fw::KernelHandle worker_;
};
