#include "icbs/MsiCabinetEntry.h"

#include "framework/Handles.h"
#include "framework/Text.h"

#include <fcntl.h>

#include <cstdlib>

namespace {

struct EntryJob {
    std::string entryName;
    std::wstring targetPath;
    bool written = false;
};

void* DIAMONDAPI Allocate(ULONG size) { return std::malloc(size); }
void DIAMONDAPI Free(void* memory) { std::free(memory); }

INT_PTR DIAMONDAPI Open(char* name, int flags, int mode) {
    bool create = (flags & _O_CREAT) != 0;
    bool write = (flags & (_O_WRONLY | _O_RDWR)) != 0;
    HANDLE file = ::CreateFileA(name, write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                                create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
}

UINT DIAMONDAPI Read(INT_PTR file, void* buffer, UINT count) {
    DWORD read = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(file), buffer, count, &read, nullptr)) return static_cast<UINT>(-1);
    return read;
}

UINT DIAMONDAPI Write(INT_PTR file, void* buffer, UINT count) {
    DWORD written = 0;
    if (!::WriteFile(reinterpret_cast<HANDLE>(file), buffer, count, &written, nullptr)) return static_cast<UINT>(-1);
    return written;
}

int DIAMONDAPI Close(INT_PTR file) { return ::CloseHandle(reinterpret_cast<HANDLE>(file)) ? 0 : -1; }

LONG DIAMONDAPI Seek(INT_PTR file, LONG distance, int method) {
    DWORD moved = ::SetFilePointer(reinterpret_cast<HANDLE>(file), distance, nullptr, static_cast<DWORD>(method));
    return moved == INVALID_SET_FILE_POINTER ? -1 : static_cast<LONG>(moved);
}

INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification) {
    auto* job = static_cast<EntryJob*>(notification->pv);
    if (type == fdintCOPY_FILE) {
        if (job->written || job->entryName != notification->psz1) return 0;
        HANDLE file = ::CreateFileW(job->targetPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
    }
    if (type == fdintCLOSE_FILE_INFO) {
        ::CloseHandle(reinterpret_cast<HANDLE>(notification->hf));
        job->written = true;
        return TRUE;
    }
    return 0;
}

}  // namespace

bool ExtractCabinetEntry(const std::wstring& cabinetPath, const std::string& entryName,
                         const std::wstring& targetPath) {
    size_t slash = cabinetPath.find_last_of(L"\\/");
    std::string folder = fw::ToCodePage(slash == std::wstring::npos ? L"" : cabinetPath.substr(0, slash + 1), CP_ACP);
    std::string name = fw::ToCodePage(slash == std::wstring::npos ? cabinetPath : cabinetPath.substr(slash + 1), CP_ACP);
    ERF error{};
    fw::FdiContext context(
        fw::Cabinet().FDICreate(Allocate, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &error));
    if (!context) return false;
    EntryJob job{entryName, targetPath};
    BOOL copied = fw::Cabinet().FDICopy(context.get(), name.data(), folder.data(), 0, Notify, nullptr, &job);
    return copied && job.written;
}
