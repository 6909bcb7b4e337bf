#include "builder/PackageSection.h"

#include <algorithm>

#include "builder/BuildFailure.h"
#include "builder/ProgramFileLayout.h"
#include "builder/ResourceDataEntry.h"
#include "framework/Handles.h"
#include "icbs/CabinetWriteDigest.h"
#include "framework/Text.h"
#include "icbs/LongPath.h"
#include "icbs/ResourceAccess.h"

namespace {

// Where each package starts in the section.
constexpr ULONGLONG kPackageAlignment = 8;
// Offsets handed to the cabinet library are signed 32-bit numbers.
constexpr ULONGLONG kLargestOffset = 0x7FFFFFFF;

ULONGLONG RoundUp(ULONGLONG value, ULONGLONG alignment) { return (value + alignment - 1) / alignment * alignment; }

// Zeros from the file's end up to offset.
bool PadTo(HANDLE file, ULONGLONG offset) {
    static const BYTE zeros[4096] = {};
    for (ULONGLONG end = FileSizeOf(file); end < offset;) {
        DWORD piece = static_cast<DWORD>(std::min<ULONGLONG>(sizeof(zeros), offset - end));
        if (!WriteFileAt(file, end, zeros, piece)) return false;
        end += piece;
    }
    return true;
}

// The digest of bytes of the file, read back: only where the cabinet
// library wrote its cabinet in an order the write digest cannot follow.
bool DigestOfRange(HANDLE file, ULONGLONG from, ULONGLONG to, icbs::Sha256Digest& digest) {
    icbs::Sha256 hash;
    std::string piece(1 << 20, '\0');
    for (ULONGLONG at = from; at < to;) {
        DWORD length = static_cast<DWORD>(std::min<ULONGLONG>(piece.size(), to - at));
        if (!ReadFileAt(file, at, piece.data(), length)) return false;
        hash.Update(piece.data(), length);
        at += length;
    }
    digest = hash.Final();
    return true;
}

// One package at the file's end (aligned): its length, then the cabinet
// the compressor writes behind it. start and size: where it went.
bool AppendPackage(HANDLE file, const PackingInput& package, const std::wstring& scratch, ULONGLONG& start,
                   DWORD& size, icbs::Sha256Digest& digest) {
    start = RoundUp(FileSizeOf(file), kPackageAlignment);
    const DWORD none = 0;
    if (start + 4 > kLargestOffset || !PadTo(file, start) || !WriteFileAt(file, start, &none, 4)) return false;
    CabinetWriteDigest written;
    if (!PackDatabaseInto(file, static_cast<LONG>(start + 4), package, scratch, written)) return false;
    ULONGLONG end = FileSizeOf(file);
    if (end <= start + 4 || end > kLargestOffset) return false;
    DWORD length = static_cast<DWORD>(end - start - 4);
    size = length + 4;
    if (written.Complete())
        digest = written.Final();
    else if (!DigestOfRange(file, start + 4, end, digest))
        return false;
    return WriteFileAt(file, start, &length, 4);
}

ULONGLONG EntryOf(HANDLE file, const ProgramFileLayout& layout, const std::wstring& name) {
    return FindResourceDataEntry(file, layout, icbs::kCatalogueType, name);
}

bool PointEntryAt(HANDLE file, const ProgramFileLayout& layout, int index, DWORD address, DWORD size) {
    ULONGLONG entry = EntryOf(file, layout, fw::Format(L"PACKAGE_%d", index));
    if (entry == 0) return false;
    IMAGE_RESOURCE_DATA_ENTRY data = {};
    data.OffsetToData = address;
    data.Size = size;
    return WriteFileAt(file, entry, &data, sizeof(data));
}

// The hash text over its stand-in, which has the same length.
bool WriteHashText(HANDLE file, const ProgramFileLayout& layout, int index, const icbs::Sha256Digest& digest) {
    ULONGLONG entry = EntryOf(file, layout, fw::Format(L"PACKAGE_SHA256_%d", index));
    IMAGE_RESOURCE_DATA_ENTRY data = {};
    std::wstring text = icbs::DigestText(digest);
    DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (entry == 0 || !ReadFileAt(file, entry, &data, sizeof(data)) || data.Size != bytes) return false;
    ULONGLONG at = layout.FileOffsetOf(data.OffsetToData);
    return at != 0 && WriteFileAt(file, at, text.c_str(), bytes);
}

}  // namespace

std::wstring HashStandIn() { return std::wstring(64, L'0'); }

bool WritePackageSection(const std::wstring& programFile, const std::vector<PackingInput>& packages,
                         const std::wstring& output, std::vector<icbs::Sha256Digest>& digests, BuildError& error) {
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(programFile).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return Fail(error, output, L"cannot write the packages: " + ErrorReason(::GetLastError()));
    ProgramFileLayout layout(file.get());
    if (!layout.Valid())
        return Fail(error, output, L"cannot write the packages: the template's headers have no room for a section");
    const ULONGLONG sectionStart = layout.NewSectionFileOffset();
    const DWORD sectionAddress = layout.NewSectionAddress();
    if (!PadTo(file.get(), sectionStart))
        return Fail(error, output, L"cannot write the packages: " + ErrorReason(::GetLastError()));
    digests.assign(packages.size(), {});
    for (size_t i = 0; i < packages.size(); ++i) {
        ULONGLONG start = 0;
        DWORD size = 0;
        ::SetLastError(0);
        if (!AppendPackage(file.get(), packages[i], programFile + L".part.cab", start, size, digests[i]))
            return Fail(error, packages[i].database, L"cannot pack the database into the installer: " +
                                                         ErrorReason(::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT));
        DWORD address = sectionAddress + static_cast<DWORD>(start - sectionStart);
        if (!PointEntryAt(file.get(), layout, static_cast<int>(i), address, size))
            return Fail(error, output, fw::Format(L"cannot point PACKAGE_%d at its data", static_cast<int>(i)));
        if (!WriteHashText(file.get(), layout, static_cast<int>(i), digests[i]))
            return Fail(error, output, fw::Format(L"cannot write PACKAGE_SHA256_%d", static_cast<int>(i)));
    }
    const ULONGLONG dataEnd = FileSizeOf(file.get());
    const ULONGLONG rawEnd = RoundUp(dataEnd, layout.FileAlignment());
    if (rawEnd > kLargestOffset || !PadTo(file.get(), rawEnd) ||
        !layout.AddSection(kPackageSectionName, sectionStart, static_cast<DWORD>(dataEnd - sectionStart),
                           static_cast<DWORD>(rawEnd - sectionStart)) ||
        !layout.UpdateChecksum())
        return Fail(error, output, L"cannot write the package section: " + ErrorReason(::GetLastError()));
    return true;
}
