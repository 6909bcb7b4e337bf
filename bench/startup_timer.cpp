// Measures the time from starting a program to its first visible top-level
// window, several times, and prints the median in milliseconds:
//   startup_timer.exe RUNS PROGRAM [ARGS...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Search {
    DWORD pid;
    bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

double Once(const std::wstring& program, const std::wstring& commandLine) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    std::wstring line = commandLine;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    Search search{info.dwProcessId, false};
    double elapsed = -1;
    for (int i = 0; i < 20000 && !search.found; ++i) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    QueryPerformanceCounter(&now);
    if (search.found) elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return elapsed;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    int runs = _wtoi(argv[1]);
    std::wstring program = argv[2];
    std::wstring commandLine = L"\"" + program + L"\"";
    for (int i = 3; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    Once(program, commandLine);  // warm-up: file cache and Wine's own start
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double t = Once(program, commandLine);
        if (t >= 0) times.push_back(t);
    }
    if (times.empty()) return 1;
    std::sort(times.begin(), times.end());
    wprintf(L"%.1f\n", times[times.size() / 2]);
    return 0;
}
