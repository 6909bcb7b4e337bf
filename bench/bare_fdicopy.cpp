// The floor of cabinet extraction: FDICopy of the cabinet in this program's
// own type-40 resource (4-byte length, then the cabinet) into a folder, with
// the cabinet library's decompression interface and nothing else. Memory
// streams read the resource in place; the files are written with CreateFile.
//   bench_bare_fdicopy.exe RESOURCE TARGET_FOLDER
// Prints the time FDICopy took, in milliseconds.
#include <windows.h>

#include <cstdio>

#include "bare_cabinet.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    bare::CabinetSource cabinet = bare::OwnCabinet(argv[1]);
    if (!cabinet.data) return 3;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    bool ok = bare::UnpackCabinet(cabinet, argv[2]);
    ::QueryPerformanceCounter(&end);
    std::printf("%.1f\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    return ok ? 0 : 1;
}
