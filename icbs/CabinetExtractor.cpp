#include "icbs/CabinetExtractor.h"

#include <mutex>

#include "framework/InternalError.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "icbs/CabinetStreams.h"
#include "icbs/LongPath.h"

namespace {

std::mutex& ExtractionLock() {
    static std::mutex lock;
    return lock;
}

// One file that the library writes for this extraction.
struct OutputFile {
    INT_PTR handle = 0;
    std::wstring path;
    unsigned long long expected = 0;
    bool complete = false;
};

// The state of one FDICopy run, reached from the notification callback.
class ExtractionJob {
public:
    ExtractionJob(std::vector<ExtractRequest>& requests, const std::wstring& targetFolder)
        : requests_(requests), picking_(!requests.empty()), targetFolder_(targetFolder) {}

    INT_PTR OnCopyFile(const FDINOTIFICATION& info);
    INT_PTR OnCloseFile(const FDINOTIFICATION& info);
    bool Failed() const { return failed_; }
    void RemoveIncompleteFiles();

private:
    std::vector<ExtractRequest>& requests_;
    const bool picking_;  // began with requests: only named files are wanted
    const std::wstring& targetFolder_;
    std::vector<OutputFile> outputs_;
    bool failed_ = false;
};

INT_PTR ExtractionJob::OnCopyFile(const FDINOTIFICATION& info) {
    if (failed_ || cabinet_streams::WriteFailed()) return -1;
    std::wstring stored = DecodeEntryName(info.psz1, info.attribs);
    EntryTarget target = ChooseEntryTarget(stored, picking_, requests_, targetFolder_);
    if (target.kind == EntryTarget::Skip) return 0;
    if (target.kind == EntryTarget::Refuse) {
        failed_ = true;
        return -1;
    }
    // Listed before it exists, so that a failure from here on removes it.
    outputs_.push_back({0, target.path, static_cast<unsigned long long>(static_cast<ULONG>(info.cb)), false});
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(target.path).c_str(), FILE_GENERIC_WRITE, FILE_SHARE_WRITE,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = ::GetLastError();
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) cabinet_streams::SetDiskFull();
        outputs_.pop_back();
        failed_ = true;
        return -1;
    }
    INT_PTR handle = cabinet_streams::AddOutputFile(std::move(file));
    outputs_.back().handle = handle;
    if (handle == 0) failed_ = true;
    return handle != 0 ? handle : -1;
}

INT_PTR ExtractionJob::OnCloseFile(const FDINOTIFICATION& info) {
    cabinet_streams::OutputFileState state = cabinet_streams::QueryOutputFile(info.hf);
    if (state.open) {
        FILETIME local, created;
        if (::DosDateTimeToFileTime(info.date, info.time, &local) && ::LocalFileTimeToFileTime(&local, &created))
            ::SetFileTime(state.file, &created, nullptr, nullptr);
    }
    cabinet_streams::Close(info.hf);
    for (OutputFile& output : outputs_) {
        if (output.handle != info.hf) continue;
        // The library announces the end of a file also after it failed to
        // decompress it; only a file with all its bytes is complete.
        output.complete = state.open && !state.writeFailed && state.written == output.expected;
        if (!output.complete) failed_ = true;
    }
    return TRUE;
}

void ExtractionJob::RemoveIncompleteFiles() {
    for (const OutputFile& output : outputs_) {
        if (output.complete) continue;
        cabinet_streams::Close(output.handle);  // when the library left it open
        ::DeleteFileW(output.path.c_str());
    }
}

INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION info) noexcept {
    try {
        auto* job = static_cast<ExtractionJob*>(info->pv);
        switch (type) {
        case fdintCOPY_FILE: return job->OnCopyFile(*info);
        case fdintCLOSE_FILE_INFO: return job->OnCloseFile(*info);
        default: return 0;
        }
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Notify callback");
        return -1;
    }
}

}  // namespace

CabinetExtractor::CabinetExtractor(const std::wstring& cabinetName, const std::wstring& resourceName,
                                   const std::wstring& targetFolder)
    : CabinetExtractor(nullptr, cabinetName, resourceName, targetFolder) {}

CabinetExtractor::CabinetExtractor(HMODULE module, const std::wstring& cabinetName,
                                   const std::wstring& resourceName, const std::wstring& targetFolder)
    : resourceName_(resourceName) {
    Create(cabinetName, targetFolder);
    cabinet_ = FindCabinetResource(module, resourceName);
}

CabinetExtractor::CabinetExtractor(const std::wstring& cabinetName, const CabinetImage& cabinet,
                                   const std::wstring& targetFolder)
    : cabinet_(cabinet) {
    Create(cabinetName, targetFolder);
}

void CabinetExtractor::Create(const std::wstring& cabinetName, const std::wstring& targetFolder) {
    cabinetName_ = fw::ToCodePage(cabinetName, CP_ACP);
    targetFolder_ = targetFolder;
    cabinet_streams::ClearDiskFull();
    context_.reset(fw::Cabinet().FDICreate(cabinet_streams::Alloc, cabinet_streams::Free, cabinet_streams::Open,
                                           cabinet_streams::Read, cabinet_streams::Write, cabinet_streams::Close,
                                           cabinet_streams::Seek, cpuUNKNOWN, &error_));
}

bool CabinetExtractor::ExtractAll(ICBSCabinetProgressCallbacks* progress) { return Run(progress); }

bool CabinetExtractor::ExtractFiles(std::vector<ExtractRequest> requests) {
    requests_ = std::move(requests);
    bool extracted = Run(nullptr) && requests_.empty();
    requests_.clear();
    return extracted;
}

bool CabinetExtractor::DiskFull() { return cabinet_streams::DiskFull(); }

bool CabinetExtractor::Run(ICBSCabinetProgressCallbacks* progress) {
    try {
        std::lock_guard<std::mutex> guard(ExtractionLock());
        cabinet_streams::BeginExtraction(cabinet_, progress);
        struct End {
            ~End() { cabinet_streams::EndExtraction(); }
        } end;
        // Without a cabinet nothing is opened at all: no file that happens to
        // carry the cabinet's name may stand in for a missing resource.
        if (!cabinet_ || !context_) return false;
        ExtractionJob job(requests_, targetFolder_);
        BOOL copied = fw::Cabinet().FDICopy(context_.get(), cabinetName_.data(), cabinetPath_.data(), 0, Notify,
                                            nullptr, &job);
        bool extracted = copied && !job.Failed() && !cabinet_streams::WriteFailed();
        if (!extracted) job.RemoveIncompleteFiles();
        return extracted;
    } catch (...) {
        return false;
    }
}
