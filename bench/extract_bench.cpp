// The launcher's extraction inside one process: CabinetExtractor over the
// cabinet in this program's own type-40 resource, with the launcher's
// progress handler or without any progress interface.
//   bench_extract.exe RESOURCE TARGET_FOLDER progress|none
// Prints the time the extraction took, in milliseconds.
#include <windows.h>

#include <cstdio>
#include <string>

#include "execution/ExtractionProgress.h"
#include "icbs/CabinetExtractor.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    bool progress = std::wstring(argv[3]) == L"progress";
    HWND bar = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10,
                                 ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
                                 nullptr, nullptr, nullptr);
    ExtractionProgressHandler handler(bar);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    CabinetExtractor extractor(L"Package.cab", argv[1], argv[2]);
    handler.total = 0xFFFFFFFFu;
    bool ok = extractor.ExtractAll(progress ? &handler : nullptr);
    ::QueryPerformanceCounter(&end);
    std::printf("%.1f\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    return ok ? 0 : 1;
}
