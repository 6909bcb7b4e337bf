#include "icbs/CabinetStreams.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "framework/InternalError.h"
#include "framework/Text.h"
#include "icbs/CabinetMemoryStream.h"

namespace cabinet_streams {
namespace {

struct Stream {
    bool isFile = false;
    fw::FileHandle file;
    CabinetImage image;
    MemoryStreamPosition memory;
    ICBSCabinetProgressCallbacks* progress = nullptr;
    unsigned long long written = 0;
    bool writeFailed = false;
};

struct Table {
    std::mutex lock;
    std::map<INT_PTR, Stream> streams;
    INT_PTR lastHandle = 0;
    CabinetImage image;
    ICBSCabinetProgressCallbacks* progress = nullptr;
};

Table& Streams() {
    static Table table;
    return table;
}

std::atomic<bool> g_diskFull{false};
std::atomic<bool> g_writeFailed{false};

constexpr UINT kFailed = static_cast<UINT>(-1);

bool IsDiskFullError(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// Caller holds the lock. Handle numbers are never reused, so a stale number
// can never reach another stream.
INT_PTR Register(Table& table, Stream stream) {
    INT_PTR handle = ++table.lastHandle;
    table.streams.emplace(handle, std::move(stream));
    return handle;
}

INT_PTR RegisterFile(fw::FileHandle file) {
    Stream stream;
    stream.isFile = true;
    stream.file = std::move(file);
    Table& table = Streams();
    std::lock_guard<std::mutex> guard(table.lock);
    return Register(table, std::move(stream));
}

INT_PTR OpenFile(const char* name, int oflag, int pmode) {
    DWORD access = 0, share = 0;
    int mode = oflag & (_O_WRONLY | _O_RDWR);
    if (mode == _O_WRONLY) {
        access = FILE_GENERIC_WRITE;
        share = FILE_SHARE_WRITE;
    } else if (mode == _O_RDWR) {
        access = FILE_GENERIC_READ | FILE_GENERIC_WRITE;
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
    if (pmode & _S_IREAD) {
        access |= FILE_GENERIC_READ;
        share |= FILE_SHARE_READ;
    }
    if (pmode & _S_IWRITE) {
        access |= FILE_GENERIC_WRITE;
        share |= FILE_SHARE_WRITE;
    }
    DWORD disposition = (oflag & _O_CREAT) ? CREATE_ALWAYS : OPEN_EXISTING;
    std::wstring path = fw::FromCodePage(name ? name : "", CP_ACP);
    fw::FileHandle file(
        ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? RegisterFile(std::move(file)) : -1;
}

UINT ReadMemory(Stream& stream, void* buffer, UINT count, std::unique_lock<std::mutex>& guard) {
    if (g_writeFailed) return kFailed;
    UINT copied = ReadMemoryStream(stream.image, stream.memory, buffer, count);
    ICBSCabinetProgressCallbacks* progress = stream.progress;
    DWORD size = stream.image.size;
    // Past the end (only a damaged cabinet seeks there) counts as the end.
    DWORD position = static_cast<DWORD>(stream.memory.position);
    if (position > size) position = size;
    guard.unlock();
    if (progress) {
        progress->OnBytes(static_cast<unsigned>(position));
        progress->OnPercent(PercentRead(static_cast<LONG>(position), size));
    }
    return copied;
}

UINT WriteToFile(Table& table, INT_PTR handle, HANDLE file, const BYTE* data, UINT count) {
    // A short write is repeated until everything is written or the system
    // reports why it cannot write more.
    UINT total = 0;
    DWORD error = ERROR_SUCCESS;
    while (total < count) {
        DWORD written = 0;
        if (!::WriteFile(file, data + total, count - total, &written, nullptr)) {
            error = ::GetLastError();
            break;
        }
        if (written == 0) {
            error = ERROR_WRITE_FAULT;
            break;
        }
        total += written;
    }
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.streams.find(handle);
    if (found != table.streams.end()) {
        found->second.written += total;
        if (error != ERROR_SUCCESS) found->second.writeFailed = true;
    }
    if (error != ERROR_SUCCESS) {
        g_writeFailed = true;
        if (IsDiskFullError(error)) g_diskFull = true;
    }
    return total;
}

}  // namespace

void* DIAMONDAPI Alloc(ULONG size) noexcept { return std::malloc(size); }

void DIAMONDAPI Free(void* block) noexcept { std::free(block); }

INT_PTR DIAMONDAPI Open(char* name, int oflag, int pmode) noexcept {
    try {
        Table& table = Streams();
        {
            std::lock_guard<std::mutex> guard(table.lock);
            if (!(oflag & _O_CREAT) && table.image) {
                Stream stream;
                stream.image = table.image;
                stream.progress = table.progress;
                return Register(table, std::move(stream));
            }
        }
        return OpenFile(name, oflag, pmode);
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Open callback");
        return -1;
    }
}

UINT DIAMONDAPI Read(INT_PTR handle, void* buffer, UINT count) noexcept {
    try {
        Table& table = Streams();
        std::unique_lock<std::mutex> guard(table.lock);
        auto found = table.streams.find(handle);
        if (found == table.streams.end()) return kFailed;
        Stream& stream = found->second;
        if (!stream.isFile) return ReadMemory(stream, buffer, count, guard);
        HANDLE file = stream.file.get();
        guard.unlock();
        DWORD read = 0;
        if (!::ReadFile(file, buffer, count, &read, nullptr)) return kFailed;
        return read;
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Read callback");
        return kFailed;
    }
}

UINT DIAMONDAPI Write(INT_PTR handle, void* buffer, UINT count) noexcept {
    try {
        Table& table = Streams();
        HANDLE file;
        {
            std::lock_guard<std::mutex> guard(table.lock);
            auto found = table.streams.find(handle);
            if (found == table.streams.end()) return kFailed;
            if (!found->second.isFile) return 0;
            file = found->second.file.get();
        }
        return WriteToFile(table, handle, file, static_cast<const BYTE*>(buffer), count);
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Write callback");
        return kFailed;
    }
}

int DIAMONDAPI Close(INT_PTR handle) noexcept {
    try {
        Table& table = Streams();
        Stream closing;
        {
            std::lock_guard<std::mutex> guard(table.lock);
            auto found = table.streams.find(handle);
            if (found == table.streams.end()) return -1;
            closing = std::move(found->second);
            table.streams.erase(found);
        }
        return 0;  // the file handle closes as `closing` goes
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Close callback");
        return -1;
    }
}

LONG DIAMONDAPI Seek(INT_PTR handle, LONG distance, int method) noexcept {
    try {
        Table& table = Streams();
        std::unique_lock<std::mutex> guard(table.lock);
        auto found = table.streams.find(handle);
        if (found == table.streams.end()) return -1;
        Stream& stream = found->second;
        if (!stream.isFile) return SeekMemoryStream(stream.image.size, stream.memory, distance, method);
        HANDLE file = stream.file.get();
        guard.unlock();
        DWORD moved = ::SetFilePointer(file, distance, nullptr, static_cast<DWORD>(method));
        if (moved == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return -1;
        return static_cast<LONG>(moved);
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Seek callback");
        return -1;
    }
}

void BeginExtraction(const CabinetImage& image, ICBSCabinetProgressCallbacks* progress) {
    Table& table = Streams();
    std::lock_guard<std::mutex> guard(table.lock);
    table.image = image;
    table.progress = progress;
    g_diskFull = false;
    g_writeFailed = false;
}

void EndExtraction() {
    Table& table = Streams();
    std::lock_guard<std::mutex> guard(table.lock);
    table.image = {};
    table.progress = nullptr;
    // Some failure paths of the library leave the cabinet open; its memory
    // streams belong to this extraction only.
    for (auto stream = table.streams.begin(); stream != table.streams.end();) {
        if (stream->second.isFile) ++stream;
        else stream = table.streams.erase(stream);
    }
}

bool DiskFull() { return g_diskFull; }
void SetDiskFull() { g_diskFull = true; }
void ClearDiskFull() { g_diskFull = false; }
bool WriteFailed() { return g_writeFailed; }

INT_PTR AddOutputFile(fw::FileHandle file) { return file ? RegisterFile(std::move(file)) : 0; }

OutputFileState QueryOutputFile(INT_PTR handle) {
    Table& table = Streams();
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.streams.find(handle);
    if (found == table.streams.end() || !found->second.isFile) return {};
    const Stream& stream = found->second;
    return {true, stream.file.get(), stream.written, stream.writeFailed};
}

size_t OpenStreamCount() {
    Table& table = Streams();
    std::lock_guard<std::mutex> guard(table.lock);
    return table.streams.size();
}

}  // namespace cabinet_streams
