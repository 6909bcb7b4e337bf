#include "builder/SplitPacking.h"

#include <fci.h>

#include <algorithm>
#include <cstring>

#include "builder/ProgramFileLayout.h"
#include "framework/Handles.h"
#include "icbs/CabinetCompressor.h"
#include "icbs/CabinetFciCallbacks.h"
#include "icbs/CabinetWriteDigest.h"
#include "icbs/LongPath.h"

namespace {

constexpr ULONGLONG kBlock = 32768;           // the cabinet library's block of uncompressed data
constexpr ULONGLONG kSplitFrom = 4ull << 20;  // smaller databases are packed in one piece
constexpr DWORD kMaxBlocks = 0xFFFF;          // a folder counts its blocks in 16 bits

struct Part {
    std::wstring folder, name, cabinet;
    ULONGLONG offset = 0, length = 0;
    USHORT dosDate = 0, dosTime = 0;
    bool packed = false;
};

DWORD WINAPI PackPart(void* context) noexcept {
    Part& part = *static_cast<Part*>(context);
    try {
        CabinetCompressor compressor(part.cabinet, tcompTYPE_MSZIP);
        compressor.UseTemporaryPattern(cabinet_fci::kSecondTempFilePattern);
        compressor.UseEntryTime(part.dosDate, part.dosTime);
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

// The second cabinet's blocks behind the first's (hashed as they are
// copied), and the joined cabinet's size, block count and file size in the
// first's header: the first's header already carries them when the digest
// grew it while it was written; written again they change nothing.
bool Join(HANDLE file, ULONGLONG offset, HANDLE part, const CabinetHead& next, ULONGLONG firstLength,
          CabinetWriteDigest& digest) {
    CabinetHead first;
    if (!ReadHead(file, offset, first)) return false;
    ULONGLONG end = FileSizeOf(file);
    // The library fills every block but the last with 32 KiB of the file.
    ULONGLONG firstBlocks = (firstLength + kBlock - 1) / kBlock;
    if (firstBlocks + next.blocks > kMaxBlocks || end <= offset) return false;
    std::string piece(256 << 10, '\0');
    for (DWORD at = next.dataAt; at < next.size;) {
        DWORD length = std::min<DWORD>(static_cast<DWORD>(piece.size()), next.size - at);
        if (!ReadFileAt(part, at, piece.data(), length) || !WriteFileAt(file, end, piece.data(), length))
            return false;
        digest.Appended(piece.data(), length);
        at += length;
        end += length;
    }
    if (end - offset > MAXDWORD) return false;
    DWORD size = static_cast<DWORD>(end - offset);
    DWORD fileSize = static_cast<DWORD>(firstLength) + next.fileSize;
    WORD blocks = static_cast<WORD>(firstBlocks + next.blocks);
    return WriteFileAt(file, offset + 8, &size, 4) && WriteFileAt(file, offset + 40, &blocks, 2) &&
           WriteFileAt(file, offset + first.filesAt, &fileSize, 4);
}

struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { ::DeleteFileW(icbs::ApiPath(path).c_str()); }
};

std::pair<std::wstring, std::wstring> FolderAndName(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {L".", path};
    return {path.substr(0, separator), path.substr(separator + 1)};
}

// The database and the external cabinets, by one compressor.
bool PackWhole(CabinetCompressor& compressor, const PackingInput& input) {
    auto [folder, name] = FolderAndName(input.database);
    if (!compressor.IsValid() || !compressor.AddFile(folder, name)) return false;
    for (const std::wstring& cabinet : input.cabinets) {
        auto [cabinetFolder, cabinetName] = FolderAndName(cabinet);
        if (!compressor.AddStoredFile(cabinetFolder, cabinetName)) return false;
    }
    return compressor.Flush();
}

}  // namespace

bool PackDatabaseInto(HANDLE file, LONG offset, const PackingInput& input, const std::wstring& scratchCabinet,
                      CabinetWriteDigest& digest) {
    auto [folder, name] = FolderAndName(input.database);
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    if (!::GetFileAttributesExW(icbs::ApiPath(input.database).c_str(), GetFileExInfoStandard, &facts)) return false;
    ULONGLONG size = (static_cast<ULONGLONG>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    CabinetCompressor first(file, offset, tcompTYPE_MSZIP);
    first.UseEntryTime(input.dosDate, input.dosTime);
    first.UseDigest(&digest);
    if (size < kSplitFrom || system.dwNumberOfProcessors < 2 || !input.cabinets.empty())
        return PackWhole(first, input);

    RemovedAtEnd removed{scratchCabinet};
    ULONGLONG half = size / 2 / kBlock * kBlock;
    Part second{folder, name, scratchCabinet, half, size - half, input.dosDate, input.dosTime};
    fw::KernelHandle worker(::CreateThread(nullptr, 0, PackPart, &second, 0, nullptr));
    bool packed = first.IsValid() && first.AddFilePart(folder, name, 0, half);
    // The first half's cabinet is written once the second's counts are
    // known, so that its header goes into the file (and the digest) as the
    // joined cabinet has it.
    if (worker)
        ::WaitForSingleObject(worker.get(), INFINITE);
    else
        PackPart(&second);
    if (!packed || !second.packed) return false;
    fw::FileHandle part(::CreateFileW(icbs::ApiPath(scratchCabinet).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    CabinetHead next;
    if (!part || !ReadHead(part.get(), 0, next)) return false;
    digest.GrowHead({next.size - next.dataAt, next.blocks, next.fileSize});
    return first.Flush() && Join(file, offset, part.get(), next, half, digest);
}
