#include "builder/SplitPacking.h"

#include <fci.h>

#include <algorithm>
#include <cstring>

#include "builder/ProgramFileLayout.h"
#include "framework/Handles.h"
#include "icbs/CabinetCompressor.h"
#include "icbs/CabinetFciCallbacks.h"
#include "icbs/LongPath.h"

namespace {

constexpr ULONGLONG kBlock = 32768;           // the cabinet library's block of uncompressed data
constexpr ULONGLONG kSplitFrom = 4ull << 20;  // smaller databases are packed in one piece
constexpr DWORD kMaxBlocks = 0xFFFF;          // a folder counts its blocks in 16 bits

struct Part {
    std::wstring folder, name, cabinet;
    ULONGLONG offset = 0, length = 0;
    bool packed = false;
};

DWORD WINAPI PackPart(void* context) noexcept {
    Part& part = *static_cast<Part*>(context);
    try {
        CabinetCompressor compressor(part.cabinet, tcompTYPE_MSZIP);
        compressor.UseTemporaryPattern(cabinet_fci::kSecondTempFilePattern);
        part.packed = compressor.IsValid() && compressor.AddFilePart(part.folder, part.name, part.offset, part.length) &&
                      compressor.Flush();
    } catch (...) {
        part.packed = false;
    }
    return 0;
}

// The fields of a cabinet of one folder and one file that joining changes.
struct CabinetHead {
    DWORD size = 0, filesAt = 0, dataAt = 0, fileSize = 0;
    WORD blocks = 0;
};

bool ReadHead(HANDLE file, ULONGLONG at, CabinetHead& head) {
    BYTE bytes[44] = {};
    if (!ReadFileAt(file, at, bytes, sizeof(bytes)) || memcmp(bytes, "MSCF", 4) != 0) return false;
    auto word = [&](int i) { return static_cast<WORD>(bytes[i] | bytes[i + 1] << 8); };
    auto dword = [&](int i) { return static_cast<DWORD>(word(i) | word(i + 2) << 16); };
    // One folder, one file, no reserved areas, no neighbouring cabinets.
    if (word(26) != 1 || word(28) != 1 || word(30) != 0) return false;
    head.size = dword(8);
    head.filesAt = dword(16);
    head.dataAt = dword(36);
    head.blocks = word(40);
    return head.dataAt <= head.size && ReadFileAt(file, at + head.filesAt, &head.fileSize, 4);
}

// The second cabinet's blocks behind the first's, and the first's counts.
bool Join(HANDLE file, ULONGLONG offset, const std::wstring& second) {
    fw::FileHandle part(::CreateFileW(icbs::ApiPath(second).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    CabinetHead first, next;
    if (!part || !ReadHead(file, offset, first) || !ReadHead(part.get(), 0, next)) return false;
    if (static_cast<DWORD>(first.blocks) + next.blocks > kMaxBlocks || FileSizeOf(file) != offset + first.size)
        return false;
    std::string piece(256 << 10, '\0');
    ULONGLONG end = offset + first.size;
    for (DWORD at = next.dataAt; at < next.size;) {
        DWORD length = std::min<DWORD>(static_cast<DWORD>(piece.size()), next.size - at);
        if (!ReadFileAt(part.get(), at, piece.data(), length) || !WriteFileAt(file, end, piece.data(), length))
            return false;
        at += length;
        end += length;
    }
    DWORD size = first.size + (next.size - next.dataAt), fileSize = first.fileSize + next.fileSize;
    WORD blocks = static_cast<WORD>(first.blocks + next.blocks);
    return WriteFileAt(file, offset + 8, &size, 4) && WriteFileAt(file, offset + 40, &blocks, 2) &&
           WriteFileAt(file, offset + first.filesAt, &fileSize, 4);
}

struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { ::DeleteFileW(icbs::ApiPath(path).c_str()); }
};

}  // namespace

bool PackDatabaseInto(HANDLE file, LONG offset, const std::wstring& database, const std::wstring& scratchCabinet) {
    size_t separator = database.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? L"." : database.substr(0, separator);
    std::wstring name = separator == std::wstring::npos ? database : database.substr(separator + 1);
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    if (!::GetFileAttributesExW(icbs::ApiPath(database).c_str(), GetFileExInfoStandard, &facts)) return false;
    ULONGLONG size = (static_cast<ULONGLONG>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    CabinetCompressor first(file, offset, tcompTYPE_MSZIP);
    if (size < kSplitFrom || system.dwNumberOfProcessors < 2)
        return first.IsValid() && first.AddFile(folder, name) && first.Flush();

    RemovedAtEnd removed{scratchCabinet};
    ULONGLONG half = size / 2 / kBlock * kBlock;
    Part second{folder, name, scratchCabinet, half, size - half};
    fw::KernelHandle worker(::CreateThread(nullptr, 0, PackPart, &second, 0, nullptr));
    bool packed = first.IsValid() && first.AddFilePart(folder, name, 0, half) && first.Flush();
    if (worker)
        ::WaitForSingleObject(worker.get(), INFINITE);
    else
        PackPart(&second);
    return packed && second.packed && Join(file, offset, scratchCabinet);
}
