// The floor of cabinet extraction: FDICopy of the cabinet in this program's
// own type-40 resource (4-byte length, then the cabinet) into a folder, with
// the cabinet library's decompression interface and nothing else. Memory
// streams read the resource in place; the files are written with CreateFile.
//   bench_bare_fdicopy.exe RESOURCE TARGET_FOLDER
// Prints the time FDICopy took, in milliseconds.
#include <windows.h>
#include <fcntl.h>
#include <fdi.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const BYTE* g_cabinet = nullptr;
DWORD g_size = 0;
std::string g_target;

struct Stream {
    bool memory;
    DWORD position;
    HANDLE file;
};

FNALLOC(Alloc) { return ::HeapAlloc(::GetProcessHeap(), 0, cb); }
FNFREE(Free) { ::HeapFree(::GetProcessHeap(), 0, pv); }

FNOPEN(Open) {
    // The only file the library opens by itself is the cabinet.
    return reinterpret_cast<INT_PTR>(new Stream{true, 0, INVALID_HANDLE_VALUE});
}
FNREAD(Read) {
    auto* s = reinterpret_cast<Stream*>(hf);
    if (!s->memory) {
        DWORD got = 0;
        return ::ReadFile(s->file, pv, cb, &got, nullptr) ? got : static_cast<UINT>(-1);
    }
    UINT n = s->position >= g_size ? 0 : (cb < g_size - s->position ? cb : g_size - s->position);
    std::memcpy(pv, g_cabinet + s->position, n);
    s->position += n;
    return n;
}
FNWRITE(Write) {
    auto* s = reinterpret_cast<Stream*>(hf);
    DWORD written = 0;
    return ::WriteFile(s->file, pv, cb, &written, nullptr) ? written : static_cast<UINT>(-1);
}
FNCLOSE(Close) {
    auto* s = reinterpret_cast<Stream*>(hf);
    if (!s->memory) ::CloseHandle(s->file);
    delete s;
    return 0;
}
FNSEEK(Seek) {
    auto* s = reinterpret_cast<Stream*>(hf);
    if (!s->memory) return static_cast<long>(::SetFilePointer(s->file, dist, nullptr, seektype));
    long base = seektype == SEEK_SET ? 0 : seektype == SEEK_CUR ? static_cast<long>(s->position) : static_cast<long>(g_size);
    s->position = static_cast<DWORD>(base + dist);
    return static_cast<long>(s->position);
}
FNFDINOTIFY(Notify) {
    if (fdint == fdintCOPY_FILE) {
        std::string path = g_target + "\\" + pfdin->psz1;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return -1;
        return reinterpret_cast<INT_PTR>(new Stream{false, 0, file});
    }
    if (fdint == fdintCLOSE_FILE_INFO) {
        Close(pfdin->hf);
        return TRUE;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    HRSRC info = ::FindResourceW(nullptr, argv[1], MAKEINTRESOURCEW(40));
    if (!info) return 3;
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, info)));
    g_cabinet = data + 4;
    g_size = ::SizeofResource(nullptr, info) - 4;
    char target[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, argv[2], -1, target, sizeof(target), nullptr, nullptr);
    g_target = target;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ERF erf{};
    HFDI fdi = FDICreate(Alloc, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &erf);
    char name[] = "Package.cab", path[] = "";
    BOOL ok = fdi && FDICopy(fdi, name, path, 0, Notify, nullptr, nullptr);
    if (fdi) FDIDestroy(fdi);
    ::QueryPerformanceCounter(&end);
    std::printf("%.1f\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    return ok ? 0 : 1;
}
