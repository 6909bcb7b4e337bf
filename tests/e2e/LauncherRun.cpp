#include "tests/e2e/LauncherRun.h"

#include <gtest/gtest.h>

using namespace testsupport;

LauncherRun RunLauncher(const std::wstring& variant, const std::wstring& arguments, DWORD timeoutMs) {
    return RunLauncherFile(LauncherPath(variant), arguments, timeoutMs);
}

LauncherRun RunLauncherFile(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs) {
    TempDir dir;
    std::wstring logPath = dir.File(L"setup log.txt");
    std::wstring args = arguments;
    for (size_t at; (at = args.find(L"%LOG%")) != std::wstring::npos;)
        args.replace(at, 5, L"\"" + logPath + L"\"");
    RunResult result = Run(path, args, timeoutMs);
    EXPECT_FALSE(result.timedOut) << "the launcher did not end in time";
    LauncherRun run;
    run.exitCode = result.exitCode;
    run.output = result.Text();
    run.logPath = logPath;
    run.logExists = FileExists(logPath);
    if (run.logExists) {
        run.log = ReadUtf16(logPath);
        run.lines = Lines(run.log);
    }
    return run;
}
