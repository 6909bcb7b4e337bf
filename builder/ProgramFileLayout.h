// The headers of a program file (PE32 or PE32+) as far as the builder
// changes them: the section table, the image size and the checksum. Read
// from and written back to an open file in place, a few hundred bytes at a
// time, so that a large program file is never held in memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ProgramFileLayout {
public:
    // Reads the headers of the file; Valid() tells whether it is a program
    // file whose headers hold room for one more section.
    explicit ProgramFileLayout(HANDLE file);

    bool Valid() const { return valid_; }
    // A 64-bit program (PE32+).
    bool Is64() const { return pe32Plus_; }
    // The file offset of an address of the image; 0 when no section holds it.
    ULONGLONG FileOffsetOf(DWORD address) const;
    // The resource directory's address (0 when the file has none).
    DWORD ResourceDirectory() const { return resourceDirectory_; }
    DWORD FileAlignment() const { return fileAlignment_; }
    // Where the raw data of a new last section would start: the end of the
    // file rounded up to the file alignment.
    ULONGLONG NewSectionFileOffset() const;
    // The address a new last section would get.
    DWORD NewSectionAddress() const;

    // Adds a section of initialised, read-only data as the last one, at
    // NewSectionAddress(): name (up to 8 characters), its raw data at
    // fileOffset (NewSectionFileOffset() before the caller wrote it), dataSize
    // bytes of data padded to rawSize, a multiple of the file alignment. Fixes
    // the section count, the size of the image and of the initialised data,
    // and writes the headers.
    bool AddSection(const char* name, ULONGLONG fileOffset, DWORD dataSize, DWORD rawSize);
    // The file header's time stamp (seconds since 1970).
    bool SetTimeStamp(DWORD secondsSince1970);
    // When the headers carry a checksum, computes it anew over the whole file
    // and writes it.
    bool UpdateChecksum();

private:
    bool WriteHeaders();

    HANDLE file_;
    bool valid_ = false;
    bool pe32Plus_ = false;
    DWORD peOffset_ = 0;
    DWORD optionalOffset_ = 0;
    DWORD sectionTable_ = 0;
    DWORD sizeOfHeaders_ = 0;
    DWORD fileAlignment_ = 0;
    DWORD sectionAlignment_ = 0;
    DWORD resourceDirectory_ = 0;
    WORD sectionCount_ = 0;
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

// The standard checksum of a program file (the one the image help library
// computes): the 16-bit one's-complement sum of the file, without the 4 bytes
// of the checksum field at checksumOffset, plus the file's length. Reads the
// file in pieces; false when it cannot be read.
bool ProgramFileChecksum(HANDLE file, ULONGLONG checksumOffset, DWORD& checksum);

// Random access to an open file: exactly size bytes at offset.
bool ReadFileAt(HANDLE file, ULONGLONG offset, void* buffer, DWORD size);
bool WriteFileAt(HANDLE file, ULONGLONG offset, const void* buffer, DWORD size);
ULONGLONG FileSizeOf(HANDLE file);
