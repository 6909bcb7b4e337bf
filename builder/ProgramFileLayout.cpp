#include "builder/ProgramFileLayout.h"

#include <algorithm>
#include <cstring>

namespace {

// Offsets in the optional header, the same for PE32 and PE32+.
constexpr DWORD kSizeOfInitializedData = 8;
constexpr DWORD kSectionAlignment = 32;
constexpr DWORD kFileAlignment = 36;
constexpr DWORD kSizeOfImage = 56;
constexpr DWORD kSizeOfHeaders = 60;
constexpr DWORD kCheckSum = 64;
constexpr WORD kPe32 = 0x10B;
constexpr WORD kPe32Plus = 0x20B;

DWORD RoundUp(DWORD value, DWORD alignment) { return (value + alignment - 1) / alignment * alignment; }

template <class T>
bool ReadValue(HANDLE file, ULONGLONG offset, T& value) {
    return ReadFileAt(file, offset, &value, sizeof(T));
}
template <class T>
bool WriteValue(HANDLE file, ULONGLONG offset, const T& value) {
    return WriteFileAt(file, offset, &value, sizeof(T));
}

// The address just past a section in the image.
DWORD SectionEnd(const IMAGE_SECTION_HEADER& section, DWORD alignment) {
    DWORD size = section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
    return section.VirtualAddress + RoundUp(size, alignment);
}

}  // namespace

bool ReadFileAt(HANDLE file, ULONGLONG offset, void* buffer, DWORD size) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ::ReadFile(file, buffer, size, &read, &at) && read == size;
}

bool WriteFileAt(HANDLE file, ULONGLONG offset, const void* buffer, DWORD size) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    return ::WriteFile(file, buffer, size, &written, &at) && written == size;
}

ULONGLONG FileSizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file, &size) ? static_cast<ULONGLONG>(size.QuadPart) : 0;
}

ProgramFileLayout::ProgramFileLayout(HANDLE file) : file_(file) {
    WORD mz = 0, magic = 0, optionalSize = 0;
    DWORD signature = 0, directoryCount = 0;
    if (!ReadValue(file, 0, mz) || mz != IMAGE_DOS_SIGNATURE || !ReadValue(file, 0x3C, peOffset_)) return;
    if (!ReadValue(file, peOffset_, signature) || signature != IMAGE_NT_SIGNATURE) return;
    optionalOffset_ = peOffset_ + 4 + sizeof(IMAGE_FILE_HEADER);
    if (!ReadValue(file, peOffset_ + 4 + 2, sectionCount_) || !ReadValue(file, peOffset_ + 4 + 16, optionalSize) ||
        !ReadValue(file, optionalOffset_, magic) || (magic != kPe32 && magic != kPe32Plus))
        return;
    pe32Plus_ = magic == kPe32Plus;
    DWORD directories = optionalOffset_ + (pe32Plus_ ? 112 : 96);
    if (!ReadValue(file, directories - 4, directoryCount) ||
        !ReadValue(file, optionalOffset_ + kSectionAlignment, sectionAlignment_) ||
        !ReadValue(file, optionalOffset_ + kFileAlignment, fileAlignment_) ||
        !ReadValue(file, optionalOffset_ + kSizeOfHeaders, sizeOfHeaders_))
        return;
    if (directoryCount > IMAGE_DIRECTORY_ENTRY_RESOURCE &&
        !ReadValue(file, directories + IMAGE_DIRECTORY_ENTRY_RESOURCE * 8, resourceDirectory_))
        return;
    if (sectionCount_ == 0 || fileAlignment_ == 0 || sectionAlignment_ < fileAlignment_) return;
    sectionTable_ = optionalOffset_ + optionalSize;
    sections_.resize(sectionCount_);
    if (!ReadFileAt(file, sectionTable_, sections_.data(), sectionCount_ * sizeof(IMAGE_SECTION_HEADER))) return;
    // The new entry must fit in the headers, before the first section's data.
    DWORD firstData = sizeOfHeaders_;
    for (const IMAGE_SECTION_HEADER& section : sections_)
        if (section.PointerToRawData != 0) firstData = std::min<DWORD>(firstData, section.PointerToRawData);
    valid_ = sectionTable_ + (sectionCount_ + 1u) * sizeof(IMAGE_SECTION_HEADER) <= firstData;
}

ULONGLONG ProgramFileLayout::FileOffsetOf(DWORD address) const {
    for (const IMAGE_SECTION_HEADER& section : sections_) {
        DWORD size = std::max<DWORD>(section.Misc.VirtualSize, section.SizeOfRawData);
        if (address >= section.VirtualAddress && address - section.VirtualAddress < size &&
            address - section.VirtualAddress < section.SizeOfRawData)
            return section.PointerToRawData + (address - section.VirtualAddress);
    }
    return 0;
}

ULONGLONG ProgramFileLayout::NewSectionFileOffset() const {
    ULONGLONG end = FileSizeOf(file_);
    return (end + fileAlignment_ - 1) / fileAlignment_ * fileAlignment_;
}

DWORD ProgramFileLayout::NewSectionAddress() const {
    DWORD end = 0;
    for (const IMAGE_SECTION_HEADER& section : sections_)
        end = std::max(end, SectionEnd(section, sectionAlignment_));
    return end;
}

bool ProgramFileLayout::AddSection(const char* name, ULONGLONG fileOffset, DWORD dataSize, DWORD rawSize) {
    if (!valid_ || fileOffset > MAXDWORD || fileOffset % fileAlignment_ || rawSize % fileAlignment_) return false;
    IMAGE_SECTION_HEADER section = {};
    std::memcpy(section.Name, name, std::min<size_t>(std::strlen(name), IMAGE_SIZEOF_SHORT_NAME));
    section.Misc.VirtualSize = dataSize;
    section.VirtualAddress = NewSectionAddress();
    section.SizeOfRawData = rawSize;
    section.PointerToRawData = static_cast<DWORD>(fileOffset);
    section.Characteristics = IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ;
    sections_.push_back(section);
    ++sectionCount_;
    return WriteHeaders();
}

bool ProgramFileLayout::WriteHeaders() {
    DWORD initialised = 0, imageSize = 0;
    for (const IMAGE_SECTION_HEADER& section : sections_) {
        if (section.Characteristics & IMAGE_SCN_CNT_INITIALIZED_DATA) initialised += section.SizeOfRawData;
        imageSize = std::max(imageSize, SectionEnd(section, sectionAlignment_));
    }
    return WriteValue(file_, peOffset_ + 4 + 2, sectionCount_) &&
           WriteFileAt(file_, sectionTable_, sections_.data(),
                       static_cast<DWORD>(sections_.size() * sizeof(IMAGE_SECTION_HEADER))) &&
           WriteValue(file_, optionalOffset_ + kSizeOfInitializedData, initialised) &&
           WriteValue(file_, optionalOffset_ + kSizeOfImage, imageSize);
}

bool ProgramFileLayout::SetTimeStamp(DWORD secondsSince1970) {
    return valid_ && WriteValue(file_, peOffset_ + 4 + 4, secondsSince1970);
}

bool ProgramFileLayout::UpdateChecksum() {
    DWORD current = 0, checksum = 0;
    if (!ReadValue(file_, optionalOffset_ + kCheckSum, current)) return false;
    if (current == 0) return true;
    return ProgramFileChecksum(file_, optionalOffset_ + kCheckSum, checksum) &&
           WriteValue(file_, optionalOffset_ + kCheckSum, checksum);
}

bool ProgramFileChecksum(HANDLE file, ULONGLONG checksumOffset, DWORD& checksum) {
    const ULONGLONG size = FileSizeOf(file);
    constexpr DWORD kPiece = 1 << 20;  // even, so that words never straddle pieces
    std::vector<BYTE> piece(kPiece);
    ULONGLONG sum = 0;
    for (ULONGLONG offset = 0; offset < size; offset += kPiece) {
        DWORD length = static_cast<DWORD>(std::min<ULONGLONG>(kPiece, size - offset));
        if (!ReadFileAt(file, offset, piece.data(), length)) return false;
        if (checksumOffset >= offset && checksumOffset + 4 <= offset + length)
            std::memset(piece.data() + (checksumOffset - offset), 0, 4);
        if (length % 2) piece[length++] = 0;
        // Four bytes at a time: 2^16 is 1 modulo 0xFFFF, so a 32-bit word
        // adds what its two 16-bit halves add to the one's complement sum.
        DWORD i = 0;
        for (; i + 4 <= length; i += 4) {
            DWORD word = 0;
            std::memcpy(&word, piece.data() + i, 4);
            sum += word;
        }
        if (i < length) sum += piece[i] | (piece[i + 1] << 8);
        while (sum >> 32) sum = (sum & 0xFFFFFFFF) + (sum >> 32);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    sum = (sum & 0xFFFF) + (sum >> 16);
    sum = (sum & 0xFFFF) + (sum >> 16);
    checksum = static_cast<DWORD>(sum + size);
    return true;
}
