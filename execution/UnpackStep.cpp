#include "execution/UnpackStep.h"

#include "catalogue/RunSession.h"
#include "engine/CancelFlag.h"
#include "engine/Log.h"
#include "engine/OperationMode.h"
#include "engine/Outcome.h"
#include "engine/SessionObserver.h"
#include "execution/PackageDigest.h"
#include "execution/PackageExtraction.h"
#include "framework/InternalError.h"

void UnpackStep::BuildWorkList() {
    workList_.clear();
    bool transform = TransformLanguageFor(session_.IsMultiLanguage(), mode_.IsFreshInstall() || mode_.IsModify(),
                                          session_.Languages().Current()) != nullptr;
    for (auto& package : session_.Catalogue()) {
        if (mode_.IsRepair() || !package->selected) continue;
        if (!package->msiFileName.empty()) {
            // A kept database is not unpacked again, but the language
            // transform it was installed with may be missing: that is
            // written all the same (nothing to count for the bar).
            if (transform && package->transformFileName.empty()) workList_.emplace_back(package.get(), 0u);
            continue;
        }
        CatalogueBlob blob = session_.Resources().FindCatalogueBlob(package->packageResource);
        workList_.emplace_back(package.get(), blob && blob.size >= 4 ? blob.size - 4 : 0u);
    }
}

bool UnpackStep::Run(HWND progressBar, SessionObserver& observer, const WorkerSupervision& supervision) {
    handler_ = std::make_unique<ExtractionProgressHandler>(progressBar);
    observer_ = &observer;
    BuildWorkList();
    worker_.reset(::CreateThread(nullptr, 0, WorkerEntry, this, CREATE_SUSPENDED, nullptr));
    if (worker_) {
        // Said before the worker runs, so that its own lines follow.
        WriteLog(3, L"ZEL (c): Created SetupWorkerThread\r\n");
        ::ResumeThread(worker_.get());
        if (!SuperviseWorker(worker_.get(), supervision)) return false;
        worker_.reset();
    } else {
        session_.SetOutcome(outcome::kFailed, ::GetLastError());
    }
    if (CancelFlag()) session_.SetOutcome(outcome::kCancelled);
    return true;
}

bool UnpackStep::Cancel() {
    if (!worker_) return true;
    if (CancelFlag()) return false;
    CancelFlag() = true;
    ::WaitForSingleObject(worker_.get(), INFINITE);
    WriteLog(3, L"ZEL (c): Worker-thread stopped\r\n");
    return false;
}

DWORD WINAPI UnpackStep::WorkerEntry(void* step) {
    try {
        static_cast<UnpackStep*>(step)->Work();
    } catch (...) {
        fw::ReportInternalError(L"the unpack worker thread");
        return outcome::kFailed;
    }
    return 0;
}

void UnpackStep::Work() {
    if (CancelFlag()) {
        session_.SetOutcome(outcome::kFailed);
        return;
    }
    unsigned total = 0;
    for (const auto& entry : workList_) total += entry.second;
    handler_->total = total;
    ExtractionContext context;
    context.resources = session_.Resources().Module();
    context.session = &session_;
    context.digestsAhead = &session_.DigestsAhead();
    context.transformLanguage = TransformLanguageFor(session_.IsMultiLanguage(), mode_.IsFreshInstall() || mode_.IsModify(),
                                                     session_.Languages().Current());
    context.showStatus = [this](const std::wstring& name) { observer_->UnpackingProduct(name); };
    // Every package to unpack is checked before the first is unpacked: a
    // damaged one leaves nothing unpacked and nothing installed.
    for (const auto& [package, size] : workList_) {
        CabinetImage cabinet;
        // A resource that is missing or of the wrong size is reported where
        // it is unpacked.
        if (size == 0 || !ReadPackageCabinet(context.resources, package->packageResource, cabinet, false)) continue;
        if (!PayloadMatchesRecord(context.resources, package->packageResource, cabinet, context.digestsAhead)) {
            lastResult_ = ERROR_INSTALL_PACKAGE_INVALID;
            WriteLog(1, L"ZEL (c): Error extracting cabinet file - %d.\r\n", lastResult_);
            session_.SetOutcome(lastResult_);
            return;
        }
    }
    context.payloadChecked = true;
    unsigned doneBefore = 0;
    for (const auto& [package, size] : workList_) {
        handler_->doneBefore = doneBefore;
        doneBefore += size;
        if (CancelFlag()) {
            session_.SetOutcome(outcome::kCancelled);
            return;
        }
        lastResult_ = ExtractProduct(*package, handler_.get(), context);
        if (lastResult_ != 0 && !CancelFlag()) {
            WriteLog(1, L"ZEL (c): Error extracting cabinet file - %d.\r\n", lastResult_);
            session_.SetOutcome(lastResult_);
            return;
        }
    }
    session_.SetOutcome(CancelFlag() ? outcome::kCancelled : outcome::kSuccess);
}
