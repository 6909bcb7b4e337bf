// Helpers for tests that run under Wine: where the build put things, running
// a program as a user would (full exit code, captured output), files and
// folders of the test's own prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The build and source folders as Windows paths (Z:\...).
std::wstring BuildDir();
std::wstring SourceDir();
std::wstring FixtureDir();
// build/tests/launchers/<variant>/setup.exe
std::wstring LauncherPath(const std::wstring& variant);

// The program files folders of 64-bit Windows, the same whichever bitness
// the test program has: where 32-bit packages install (Program Files (x86))
// and where 64-bit ones do.
std::wstring ProgramFiles32();
std::wstring ProgramFiles64();

struct RunResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::string output;  // standard output and standard error, as bytes
    // The output decoded from the OEM code page.
    std::wstring Text() const;
};

// Starts program with arguments (a command line tail), waits up to
// timeoutMs, and collects its output through a pipe.
RunResult Run(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs = 60000,
              const std::wstring& workingDir = std::wstring());

// A process that keeps running while the test goes on.
class Background {
public:
    Background(const std::wstring& program, const std::wstring& arguments);
    ~Background();
    DWORD Wait(DWORD timeoutMs);
    HANDLE Process() const { return process_; }
    DWORD Id() const { return ::GetProcessId(process_); }

private:
    HANDLE process_ = nullptr;
};

// The prefix's temporary folder as GetTempPathW gives it (with a closing "\").
std::wstring TempFolder();

// A fresh folder under the prefix's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A visible top-level window of a process: a message box or a dialog.
struct FoundWindow {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring caption;
    std::wstring text;  // the texts of its static controls, joined by LF
};
// Waits up to timeoutMs for a visible top-level window of the process other
// than except, of the given class when one is named (looks once when the
// time is 0).
FoundWindow WaitForWindow(DWORD processId, DWORD timeoutMs, HWND except = nullptr, const wchar_t* className = nullptr);
// Presses a button of a dialog as a user would (by control id).
void PressButton(HWND dialog, int controlId);
// Waits until a window has been destroyed (a box closes a moment after its
// button is pressed).
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);

bool FileExists(const std::wstring& path);
// The names in a folder (no "." and ".."), sorted; empty when it cannot be
// listed.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
// A UTF-16LE file without byte-order mark, as wide text.
std::wstring ReadUtf16(const std::wstring& path);
// Splits at LF; a CR before the LF is removed.
std::vector<std::wstring> Lines(const std::wstring& text);
bool Contains(const std::wstring& text, const std::wstring& part);
// The system's own message text for a Windows error, straight from
// FormatMessageW (so that expectations do not come from the code under test).
std::wstring SystemText(DWORD error);


// Makes launchers named setup.exe in this prefix report another Windows
// version ("winxp", "vista", "win7", "win10", ...).
void SetWindowsVersionFor(const std::wstring& exeName, const std::wstring& version);

}  // namespace testsupport
