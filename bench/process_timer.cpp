// Whole-process time of a command under Wine, with the Wine server already
// running: starts COMMAND_LINE n times, one after another, and prints the
// median wall time from CreateProcess to the end of the process, in ms.
// A run that exits with a code other than 0 is not a measure: the timer then
// names the code on the error output, prints no time and exits with 4.
//   bench_process_timer.exe N COMMAND_LINE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    int runs = _wtoi(argv[1]);
    if (runs < 1) return 2;
    std::vector<double> times;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < runs; ++i) {
        std::wstring command = argv[2];
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION process{};
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 3;
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::QueryPerformanceCounter(&end);
        DWORD code = 0;
        bool known = ::GetExitCodeProcess(process.hProcess, &code) != FALSE;
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        if (!known || code != 0) {
            std::fprintf(stderr, "run %d failed: exit code %lu\n", i + 1, known ? code : ~0ul);
            return 4;
        }
        times.push_back((end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}
