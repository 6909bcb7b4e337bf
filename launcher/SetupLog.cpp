#include "launcher/SetupLog.h"

#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "launcher/InstallerLogMerge.h"

int SetupLog::VerbosityFromMode(DWORD logMode) {
    int verbosity = 0;
    if (logMode & 0x2) verbosity = 1;
    if (logMode & 0x4) verbosity = 2;
    if (logMode & 0x10) verbosity = 3;
    if (logMode & 0x1000) verbosity = 4;
    return verbosity;
}

std::wstring SetupLog::Timestamp() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return fw::Format(L"%04d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                      now.wSecond);
}

void SetupLog::Open(const std::wstring& path, DWORD logMode, DWORD logAttributes, const std::wstring& exePath) {
    path_ = path;
    mode_ = logMode;
    attributes_ = logAttributes;
    verbosity_ = VerbosityFromMode(logMode);
    if (path_.empty()) return;
    DWORD disposition = (logAttributes & 1) ? OPEN_ALWAYS : CREATE_ALWAYS;
    file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_) ::SetFilePointer(file_.get(), 0, nullptr, FILE_END);
    usable_ = static_cast<bool>(file_);
    WriteRaw(1, L"=== SetupLauncher started: " + Timestamp() + L" Build type: SHIP ANSI " + exePath + L"\r\n");
}

bool SetupLog::WriteRaw(int level, const std::wstring& text) {
    if (!file_ || level > verbosity_ || text.empty()) return true;
    DWORD written = 0;
    ::WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::FlushFileBuffers(file_.get());
    return true;
}

bool SetupLog::WriteV(int level, const wchar_t* format, va_list args) {
    if (!file_ || level > verbosity_) return true;
    return WriteRaw(level, fw::FormatV(format, args));
}

bool SetupLog::Write(int level, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(level, format, args);
    va_end(args);
    return true;
}

void SetupLog::HandToInstaller() {
    if (file_) {
        // A side file that an interrupted run left behind is merged before
        // the installer starts a new one: it is never lost unmerged.
        if (::GetFileAttributesW(InstallerLogPath().c_str()) != INVALID_FILE_ATTRIBUTES) {
            WriteRaw(2, L"ZEL (c): Appending the installer log left behind by an earlier run\r\n");
            AppendInstallerLog();
        }
        WriteRaw(1, L"\r\n");
        ::FlushFileBuffers(file_.get());
        file_.reset();
    }
    // A log the launcher could not open is none for the installer either:
    // Windows Installer fails every call (1622) with a log file it cannot
    // open. Logging enabled for an earlier call is turned off again.
    if (!usable_) {
        if (installerLogging_) fw::Msi().MsiEnableLogW(0, nullptr, 0);
        installerLogging_ = false;
        return;
    }
    if (path_.empty()) return;
    installerLogging_ = true;
    // Windows Installer writes into a file of its own beside the log, which
    // Reopen appends: some installers (Wine's) write such a file from its
    // start instead of appending, which would overwrite the launcher's lines.
    std::wstring installerLog = InstallerLogPath();
    fw::Msi().MsiEnableLogW(mode_, installerLog.c_str(), INSTALLLOGATTRIBUTES_APPEND);
}

std::wstring SetupLog::InstallerLogPath() const { return path_ + L".installer"; }

// The log stays UTF-16LE throughout: an installer log in the ANSI code page
// is converted, a UTF-16 one is taken without its byte-order mark; both in
// chunks, so that a large one needs little memory.
void SetupLog::AppendInstallerLog() { MergeInstallerLog(InstallerLogPath(), file_.get()); }

void SetupLog::Reopen() {
    if (file_ || path_.empty()) return;
    file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    usable_ = static_cast<bool>(file_);
    if (!file_) return;
    ::SetFilePointer(file_.get(), 0, nullptr, FILE_END);
    AppendInstallerLog();
}

void SetupLog::WriteFooter() { WriteRaw(1, L"=== SetupLauncher stopped: " + Timestamp() + L"\r\n"); }
