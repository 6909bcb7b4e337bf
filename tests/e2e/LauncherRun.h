// Running a test launcher as a user would, and reading what it left.
#pragma once

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

struct LauncherRun {
    DWORD exitCode = 0;
    std::wstring output;
    std::wstring log;                // the whole log file, empty when none
    std::vector<std::wstring> lines; // the log split into lines
    bool logExists = false;
    std::wstring logPath;            // where %LOG% pointed

    bool LogHas(const std::wstring& part) const { return testsupport::Contains(log, part); }
    bool OutputHas(const std::wstring& part) const { return testsupport::Contains(output, part); }
};

// Runs build/tests/launchers/<variant>/setup.exe with arguments; "%LOG%" in
// arguments is replaced by a log file in a fresh temporary folder.
LauncherRun RunLauncher(const std::wstring& variant, const std::wstring& arguments, DWORD timeoutMs = 60000);
// The same with a launcher given by its path.
LauncherRun RunLauncherFile(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs = 60000);
