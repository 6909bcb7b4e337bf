// The setup log: the launcher's own trace, written into the file named with
// /L, which Windows Installer appends its logs to around every call.
// UTF-16LE without byte-order mark; lines end in CR LF. The installer writes
// into a side file of a new name for each call, which only this run made,
// and which is merged into the log after the call.
#pragma once

#include <windows.h>

#include <string>

#include "engine/Log.h"
#include "framework/Handles.h"
#include "launcher/InstallerLogMerge.h"

class SetupLog {
public:
    // Verbosity from the Windows Installer log-mode mask: error 1, warning 2,
    // info 3, verbose 4, the last hit in that order; 0 without any of them.
    static int VerbosityFromMode(DWORD logMode);

    // Opens path (appending when append is set, truncating otherwise) and
    // writes the header line. An empty path means no log at all.
    void Open(const std::wstring& path, DWORD logMode, DWORD logAttributes, const std::wstring& exePath);

    // Writes text as it is when level is within the verbosity.
    bool WriteRaw(int level, const std::wstring& text);
    bool Write(int level, const wchar_t* format, ...);
    bool WriteV(int level, const wchar_t* format, va_list args);

    // Around every Windows Installer call: close the file and let the
    // installer append to it, then take it back. The installer's logging is
    // enabled only while the launcher's own log is open.
    void HandToInstaller();
    void Reopen();

    void WriteFooter();

    bool IsOpen() const { return static_cast<bool>(file_); }
    int Verbosity() const { return verbosity_; }
    const std::wstring& Path() const { return path_; }
    DWORD Mode() const { return mode_; }

    static std::wstring Timestamp();

    // Opens the log file at path for writing, never through a link and
    // never a file with more than one name; with truncate it is emptied.
    // The file's identity is given back. Empty when refused or failed.
    static fw::FileHandle OpenLogFile(const std::wstring& path, bool truncate, FileIdentity& identity);

private:
    bool CreateSideFile();
    void AppendInstallerLog();

    fw::FileHandle file_;
    FileIdentity identity_;          // the log file opened first; reopened only as that file
    bool identityKnown_ = false;
    std::wstring sideFile_;          // the installer's side file this run made; empty when none
    FileIdentity sideIdentity_;
    std::wstring path_;
    DWORD mode_ = 0x397;
    DWORD attributes_ = 0;
    int verbosity_ = 0;
    bool usable_ = false;            // the file could be opened when it was last tried
    bool installerLogging_ = false;  // MsiEnableLogW was last called with a file
};
