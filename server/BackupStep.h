// What the backup step does for the run, apart from its controls: finds the
// mobile-solutions server's data folder, reads its backup settings, and
// measures how large the backup will be and how much space its disk has.
// The measuring runs on the page's worker thread: the figures are read
// while it runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

class BackupStep {
public:
    // The data folder as the machine has it now (none when it is missing).
    BackupStep();

    // The server's backup settings; false when there are none (the step is
    // passed by).
    bool ReadSettings();
    bool AvoidBackup() const { return avoidBackup_; }
    // Stops early when the run's cancel flag is set.
    void Measure();

    uint32_t FreeMegabytes() const { return freeMegabytes_; }
    uint64_t BackupBytes() const { return backupBytes_; }
    int FileCount() const { return fileCount_; }
    int ProgressRange() const { return progressRange_; }

private:
    void WalkFolder(const std::wstring& folder);

    std::wstring dataFolder_, solutionFolder_;
    bool avoidBackup_ = false;
    std::atomic<uint32_t> freeMegabytes_{0};
    std::atomic<uint64_t> backupBytes_{0};
    std::atomic<int> fileCount_{0};
    std::atomic<int> progressRange_{1};
};
