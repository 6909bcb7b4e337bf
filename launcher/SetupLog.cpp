#include "launcher/SetupLog.h"

#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "icbs/LongPath.h"
#include "icbs/OpenEntry.h"
#include "icbs/SecurityDescriptor.h"
#include "icbs/UuidString.h"

namespace {
// The installer's side file: only Administrators, SYSTEM (the installer's
// service) and its owner, the launcher's user, may read or write it.
constexpr const wchar_t* kSideFileSddl = L"D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FA;;;OW)";
}  // namespace

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
    file_ = OpenLogFile(path_, (logAttributes & 1) == 0, identity_);
    usable_ = identityKnown_ = static_cast<bool>(file_);
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

fw::FileHandle SetupLog::OpenLogFile(const std::wstring& path, bool truncate, FileIdentity& identity) {
    // An existing file is opened as it is (a link as the link, where the
    // system allows it); a missing one is made new, which fails on a link
    // that points nowhere rather than creating its target.
    fw::FileHandle file;
    for (int attempt = 0; attempt < 2 && !file; ++attempt) {
        file.reset(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file && ::GetLastError() == ERROR_FILE_NOT_FOUND)
            file.reset(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        else if (!file)
            break;
    }
    icbs::EntryFacts facts;
    if (!file || !icbs::ReadFacts(file.get(), nullptr, path, facts) || facts.IsLink() || facts.IsFolder() ||
        facts.links != 1 || !IdentityOf(file.get(), identity))
        return fw::FileHandle();
    LARGE_INTEGER start = {};
    if (truncate && (!::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.get())))
        return fw::FileHandle();
    ::SetFilePointerEx(file.get(), start, nullptr, FILE_END);
    return file;
}

bool SetupLog::CreateSideFile() {
    // A new name for every call, which nobody can have made beforehand: a
    // file planted under a name of the log's is never read into the log.
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(kSideFileSddl);
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor.get(), FALSE};
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring unique;
        if (!icbs::NewUuidString(unique)) return false;
        std::wstring side = path_ + L"." + unique + L".installer";
        fw::FileHandle file(::CreateFileW(icbs::ApiPath(side).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0,
                                          descriptor ? &security : nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
        if (file && IdentityOf(file.get(), sideIdentity_)) {
            sideFile_ = side;
            return true;
        }
    }
    return false;
}

void SetupLog::HandToInstaller() {
    if (file_) {
        WriteRaw(1, L"\r\n");
        ::FlushFileBuffers(file_.get());
        file_.reset();
    }
    // A log the launcher could not open is none for the installer either:
    // Windows Installer fails every call (1622) with a log file it cannot
    // open. Logging enabled for an earlier call is turned off again.
    if (!usable_ || path_.empty() || (sideFile_.empty() && !CreateSideFile())) {
        if (installerLogging_) fw::Msi().MsiEnableLogW(0, nullptr, 0);
        installerLogging_ = false;
        return;
    }
    installerLogging_ = true;
    // Windows Installer writes into the side file, which Reopen appends:
    // some installers (Wine's) write such a file from its start instead of
    // appending, which would overwrite the launcher's lines.
    fw::Msi().MsiEnableLogW(mode_, sideFile_.c_str(), INSTALLLOGATTRIBUTES_APPEND);
}

// The log stays UTF-16LE throughout: an installer log in the ANSI code page
// is converted, a UTF-16 one is taken without its byte-order mark; both in
// chunks, so that a large one needs little memory. Only the side file this
// run made is taken, and it is gone afterwards.
void SetupLog::AppendInstallerLog() {
    if (sideFile_.empty()) return;
    if (!MergeInstallerLog(sideFile_, file_.get(), 64 * 1024, &sideIdentity_)) {
        WriteRaw(1, L"ZEL (c): The installer's log " + sideFile_ + L" could not be appended\r\n");
        icbs::RemovePathTree(sideFile_);
    }
    sideFile_.clear();
}

void SetupLog::Reopen() {
    if (file_ || path_.empty()) return;
    FileIdentity identity;
    file_ = OpenLogFile(path_, false, identity);
    // The same file as the one opened first: one that took its place
    // meanwhile is not written to.
    if (file_ && identityKnown_ && !(identity == identity_)) file_.reset();
    if (file_ && !identityKnown_) identity_ = identity;
    identityKnown_ = identityKnown_ || static_cast<bool>(file_);
    usable_ = static_cast<bool>(file_);
    if (!file_) return;
    AppendInstallerLog();
}

void SetupLog::WriteFooter() { WriteRaw(1, L"=== SetupLauncher stopped: " + Timestamp() + L"\r\n"); }
