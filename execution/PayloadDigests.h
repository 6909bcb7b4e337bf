// The SHA-256 of the package cabinets worked out ahead, on a thread of its
// own, while a quiet run does its checks and reads the machine: the payload
// check before the first package is unpacked then waits only for what is
// left of it. The check itself, its place and its log lines stay at the
// unpacking (PayloadMatchesRecord); a digest that was not worked out here
// is worked out there.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "icbs/CabinetImage.h"
#include "icbs/Sha256.h"

class PayloadDigests {
public:
    struct Cabinet {
        std::wstring resource;  // "PACKAGE_<n>"
        CabinetImage image;
    };

    PayloadDigests() = default;
    PayloadDigests(const PayloadDigests&) = delete;
    PayloadDigests& operator=(const PayloadDigests&) = delete;
    // Stops the thread and waits for it.
    ~PayloadDigests();

    // Starts hashing the cabinets in the order given. When the thread or its
    // events cannot be made nothing is started (logged), and every digest is
    // worked out at the check as before.
    void Start(std::vector<Cabinet> cabinets);
    // The digest of the resource's cabinet, once the thread has worked it
    // out; nullopt when it was not started for exactly this cabinet or was
    // stopped before it.
    std::optional<icbs::Sha256Digest> Wait(const std::wstring& resource, const CabinetImage& image) const;
    // The thread ends at its next step (a mebibyte at most); what it had not
    // finished is nullopt.
    void Stop();

private:
    struct Job {
        Cabinet cabinet;
        icbs::Sha256Digest digest{};
        bool done = false;
        fw::KernelHandle ready;  // set when the job is done or given up
    };
    static DWORD WINAPI ThreadEntry(void* self);
    void Run();

    std::vector<Job> jobs_;  // fixed once the thread runs
    std::atomic<bool> stop_{false};
    fw::KernelHandle thread_;
};
