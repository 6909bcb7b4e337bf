// ICBSFileUtilities::RunProcessCaptured: a hidden child process whose
// standard input, output and error are pipes of the launcher.
#include "icbs/ICBSFileUtilities.h"

#include <string>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/EnvironmentOverride.h"

namespace {

struct Pipe {
    fw::KernelHandle read;
    fw::KernelHandle write;
};

// The child's three pipes; the launcher's ends are not inherited.
struct ChildPipes {
    Pipe input, output, error;
};

bool CreateChildPipe(Pipe& pipe, bool parentReads, DWORD size) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    if (!::CreatePipe(pipe.read.put(), pipe.write.put(), &inherit, size)) return false;
    return ::SetHandleInformation(parentReads ? pipe.read.get() : pipe.write.get(), HANDLE_FLAG_INHERIT, 0) != FALSE;
}

// Reads whatever is waiting in the pipe, without blocking; true when there
// was something.
bool TakeWaiting(HANDLE pipe, std::string& bytes) {
    bool took = false;
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return took;
        size_t before = bytes.size();
        bytes.resize(before + available);
        DWORD read = 0;
        if (!::ReadFile(pipe, bytes.data() + before, available, &read, nullptr)) read = 0;
        bytes.resize(before + read);
        if (read == 0) return took;
        took = true;
    }
}

void WriteInput(Pipe& input, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(input.write.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                         nullptr) ||
            written == 0)
            break;  // the child closed its input
        done += written;
    }
    input.write.reset();
}

bool Cancelled(const std::atomic<bool>* cancelFlag) { return cancelFlag && cancelFlag->load(); }

// Collects output and error until the process ends, GetExitCodeProcess
// fails or the caller cancels. Returns the exit code, 259 after a cancel.
DWORD CollectUntilEnd(HANDLE process, ChildPipes& pipes, std::string& out, std::string& err,
                      const std::atomic<bool>* cancelFlag) {
    for (;;) {
        bool tookOutput = TakeWaiting(pipes.output.read.get(), out);
        bool tookError = TakeWaiting(pipes.error.read.get(), err);
        if (Cancelled(cancelFlag)) return STILL_ACTIVE;
        DWORD exitCode = 0;
        if (!::GetExitCodeProcess(process, &exitCode)) return ::GetLastError();
        if (exitCode != STILL_ACTIVE) {
            // What the child wrote just before it ended is still in the pipes.
            TakeWaiting(pipes.output.read.get(), out);
            TakeWaiting(pipes.error.read.get(), err);
            return exitCode;
        }
        // A child that is writing fast may be waiting for room in a pipe:
        // look again at once while output keeps coming.
        if (!tookOutput && !tookError) ::WaitForSingleObject(process, ICBSFileUtilities::kCapturePollMs);
    }
}

}  // namespace

DWORD ICBSFileUtilities::RunProcessCaptured(const std::wstring& commandLine, const std::wstring& inputText,
                                            std::wstring& outText, std::wstring& errText,
                                            const EnvironmentOverrides& environment,
                                            const std::atomic<bool>* cancelFlag, HANDLE* processHandleOut) {
    if (processHandleOut) *processHandleOut = nullptr;
    icbs::EnvironmentOverride overrides(environment);
    std::string input = fw::ToCodePage(inputText, CP_UTF8);
    ChildPipes pipes;
    // The input pipe holds the whole input, so writing it never waits for
    // the child to read.
    if (!CreateChildPipe(pipes.input, false, static_cast<DWORD>(input.size())) ||
        !CreateChildPipe(pipes.output, true, 0) || !CreateChildPipe(pipes.error, true, 0))
        return ::GetLastError();

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = pipes.input.read.get();
    startup.hStdOutput = pipes.output.write.get();
    startup.hStdError = pipes.error.write.get();
    std::wstring commandText = commandLine;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, commandText.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return ::GetLastError();
    fw::KernelHandle process(info.hProcess), thread(info.hThread);
    // The child has its own copies of its ends now.
    pipes.input.read.reset();
    pipes.output.write.reset();
    pipes.error.write.reset();
    if (processHandleOut) *processHandleOut = process.get();

    WriteInput(pipes.input, input);
    std::string out, err;
    DWORD exitCode = CollectUntilEnd(process.get(), pipes, out, err, cancelFlag);
    if (processHandleOut) *processHandleOut = nullptr;
    // Decoded as a whole, so no character is split between two reads.
    outText += fw::FromCodePage(out, CP_UTF8);
    errText = fw::Trim(errText + fw::FromCodePage(err, CP_UTF8), L" \t");
    return exitCode;
}
