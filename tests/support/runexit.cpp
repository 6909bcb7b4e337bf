// Runs a program and reports its full exit code, which Wine would otherwise
// cut to 8 bits on the way to the Linux side:  runexit.exe PROGRAM [ARGS...]
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: runexit PROGRAM [ARGS...]\n");
        return 2;
    }
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        bool quote = arg.empty() || arg.find_first_of(L" \t") != std::wstring::npos;
        if (i > 1) commandLine += L' ';
        commandLine += quote ? L"\"" + arg + L"\"" : arg;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        fwprintf(stderr, L"cannot start %ls: error %lu\n", argv[1], GetLastError());
        return 2;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    wprintf(L"exit code: %lu\n", code);
    fflush(stdout);
    return static_cast<int>(code);
}
