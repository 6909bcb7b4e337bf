// What the unpack step does for the run, apart from its controls: a worker
// thread unpacks every package that takes part in the run into its folder
// (each one's payload checked before the first is unpacked) while the
// calling thread supervises it. The page and the quiet run call it alike;
// the page gives its bar and status line, the quiet run nothing.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "execution/ExtractionProgress.h"
#include "execution/WorkerSupervisor.h"
#include "framework/Handles.h"

class OperationMode;
class RunSession;
class SetupPackage;

class UnpackStep {
public:
    // Called on the worker thread with the name of each product unpacked.
    using StatusFn = std::function<void(const std::wstring& productName)>;

    UnpackStep(RunSession& session, const OperationMode& mode) : session_(session), mode_(mode) {}

    // progressBar: the bar the worker's progress goes to (its parent gets
    // kProgressMessage), or null. Records the outcome; false when the quit
    // message came (the worker has been stopped, the run ends).
    bool Run(HWND progressBar, StatusFn status, const WorkerSupervision& supervision);
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
    StatusFn status_;
    std::vector<std::pair<SetupPackage*, unsigned>> workList_;
    DWORD lastResult_ = 0;
    fw::KernelHandle worker_;
};
