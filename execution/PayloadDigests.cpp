#include "execution/PayloadDigests.h"

#include <algorithm>

#include "engine/Log.h"

namespace {
constexpr size_t kStep = 1u << 20;
}  // namespace

PayloadDigests::~PayloadDigests() { Stop(); }

void PayloadDigests::Start(std::vector<Cabinet> cabinets) {
    if (thread_ || cabinets.empty()) return;
    jobs_.clear();
    jobs_.reserve(cabinets.size());
    for (Cabinet& cabinet : cabinets) {
        Job& job = jobs_.emplace_back();
        job.cabinet = std::move(cabinet);
        job.ready.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!job.ready) {
            WriteLog(2, L"ZEL (c): The package hashes are worked out at the unpacking: CreateEvent failed (%u).\r\n",
                     static_cast<unsigned>(::GetLastError()));
            jobs_.clear();
            return;
        }
    }
    thread_.reset(::CreateThread(nullptr, 0, ThreadEntry, this, 0, nullptr));
    if (!thread_) {
        WriteLog(2, L"ZEL (c): The package hashes are worked out at the unpacking: CreateThread failed (%u).\r\n",
                 static_cast<unsigned>(::GetLastError()));
        jobs_.clear();
    }
}

DWORD WINAPI PayloadDigests::ThreadEntry(void* self) {
    // Nothing here throws (hashing in place, no allocation); the thread
    // touches nothing but its jobs.
    static_cast<PayloadDigests*>(self)->Run();
    return 0;
}

void PayloadDigests::Run() {
    for (Job& job : jobs_) {
        icbs::Sha256 hash;
        const BYTE* data = job.cabinet.image.data;
        size_t left = job.cabinet.image.size;
        while (left > 0 && !stop_.load(std::memory_order_relaxed)) {
            size_t step = std::min(left, kStep);
            hash.Update(data, step);
            data += step;
            left -= step;
        }
        if (left == 0 && !stop_.load(std::memory_order_relaxed)) {
            job.digest = hash.Final();
            job.done = true;
        }
        ::SetEvent(job.ready.get());
    }
}

std::optional<icbs::Sha256Digest> PayloadDigests::Wait(const std::wstring& resource, const CabinetImage& image) const {
    if (!thread_) return std::nullopt;
    for (const Job& job : jobs_) {
        if (job.cabinet.resource != resource || job.cabinet.image.data != image.data ||
            job.cabinet.image.size != image.size)
            continue;
        // The event is set once the job is done or given up, and the
        // thread writes the job before it sets it.
        ::WaitForSingleObject(job.ready.get(), INFINITE);
        if (job.done) return job.digest;
        return std::nullopt;
    }
    return std::nullopt;
}

void PayloadDigests::Stop() {
    if (!thread_) return;
    stop_ = true;
    ::WaitForSingleObject(thread_.get(), INFINITE);
}
