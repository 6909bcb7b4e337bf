// The bare way to unpack a cabinet that a program carries in its own type-40
// resource (4-byte length, then the cabinet): FDICopy with the cabinet
// library's decompression interface, memory streams that read the resource in
// place, and the files written with CreateFile. Shared by the bare benchmark
// programs, so that they all unpack exactly alike.
#pragma once

#include <windows.h>
#include <fcntl.h>
#include <fdi.h>

#include <cstring>
#include <string>

namespace bare {

struct CabinetSource {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// The cabinet of the type-40 resource NAME of this program; empty when missing.
inline CabinetSource OwnCabinet(const wchar_t* name) {
    HRSRC info = ::FindResourceW(nullptr, name, MAKEINTRESOURCEW(40));
    if (!info) return {};
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, info)));
    DWORD size = ::SizeofResource(nullptr, info);
    if (!data || size < 4) return {};
    return {data + 4, size - 4};
}

namespace detail {

inline CabinetSource g_cabinet;
inline std::string g_target;

struct Stream {
    bool memory;
    DWORD position;
    HANDLE file;
};

inline FNALLOC(Alloc) { return ::HeapAlloc(::GetProcessHeap(), 0, cb); }
inline FNFREE(Free) { ::HeapFree(::GetProcessHeap(), 0, pv); }

inline FNOPEN(Open) {
    // The only file the library opens by itself is the cabinet.
    return reinterpret_cast<INT_PTR>(new Stream{true, 0, INVALID_HANDLE_VALUE});
}
inline FNREAD(Read) {
    auto* s = reinterpret_cast<Stream*>(hf);
    if (!s->memory) {
        DWORD got = 0;
        return ::ReadFile(s->file, pv, cb, &got, nullptr) ? got : static_cast<UINT>(-1);
    }
    DWORD size = g_cabinet.size;
    UINT n = s->position >= size ? 0 : (cb < size - s->position ? cb : size - s->position);
    std::memcpy(pv, g_cabinet.data + s->position, n);
    s->position += n;
    return n;
}
inline FNWRITE(Write) {
    auto* s = reinterpret_cast<Stream*>(hf);
    DWORD written = 0;
    return ::WriteFile(s->file, pv, cb, &written, nullptr) ? written : static_cast<UINT>(-1);
}
inline FNCLOSE(Close) {
    auto* s = reinterpret_cast<Stream*>(hf);
    if (!s->memory) ::CloseHandle(s->file);
    delete s;
    return 0;
}
inline FNSEEK(Seek) {
    auto* s = reinterpret_cast<Stream*>(hf);
    if (!s->memory) return static_cast<long>(::SetFilePointer(s->file, dist, nullptr, seektype));
    long base = seektype == SEEK_SET ? 0
                : seektype == SEEK_CUR ? static_cast<long>(s->position)
                                       : static_cast<long>(g_cabinet.size);
    s->position = static_cast<DWORD>(base + dist);
    return static_cast<long>(s->position);
}
inline FNFDINOTIFY(Notify) {
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

}  // namespace detail

// Unpacks every file of CABINET into the existing folder TARGET.
inline bool UnpackCabinet(const CabinetSource& cabinet, const wchar_t* target) {
    if (!cabinet.data) return false;
    char folder[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, target, -1, folder, sizeof(folder), nullptr, nullptr);
    detail::g_cabinet = cabinet;
    detail::g_target = folder;
    ERF erf{};
    HFDI fdi = FDICreate(detail::Alloc, detail::Free, detail::Open, detail::Read, detail::Write, detail::Close,
                         detail::Seek, cpuUNKNOWN, &erf);
    char name[] = "Package.cab", path[] = "";
    BOOL ok = fdi && FDICopy(fdi, name, path, 0, detail::Notify, nullptr, nullptr);
    if (fdi) FDIDestroy(fdi);
    return ok != FALSE;
}

}  // namespace bare
