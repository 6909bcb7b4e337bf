// The callbacks that the cabinet library's compression interface (FCI) calls
// while it builds a cabinet: memory, files through the C run-time, temporary
// files, status. Every file name that passes through FCI to these callbacks
// (sources, the cabinet, temporary files) is UTF-8, so any path works. None
// of them lets an exception out.
#pragma once

#include <windows.h>
#include <fci.h>

#include <string>

class CabinetWriteDigest;

namespace cabinet_fci {

// Temporary files: "QTX_CAB%x.tmp" in the user's temporary folder, with the
// counter 0 to 254.
constexpr const wchar_t* kTempFilePattern = L"QTX_CAB%x.tmp";
constexpr int kTempFileAttempts = 255;
// The pattern of a second compressor working beside the first.
constexpr const wchar_t* kSecondTempFilePattern = L"QTX_CAP%x.tmp";

// What the compressor hands to every callback through FCI's user pointer.
struct UserData {
    // Attribute bits added to the file being added (_A_NAME_IS_UTF when its
    // stored name is UTF-8).
    USHORT nameAttributes = 0;
    // A cabinet written into a file of the caller's instead of a file of its
    // own: the library opens it under intoName, and gets a file that starts
    // at intoOffset of intoFile (seeks are counted from there). intoFd is the
    // cabinet's descriptor while the library has it open.
    std::string intoName;
    HANDLE intoFile = nullptr;
    LONG intoOffset = 0;
    int intoFd = -1;
    // Takes the digest of the cabinet written into intoFile (may be null).
    CabinetWriteDigest* intoDigest = nullptr;
    // The time stamp of every entry (DOS date and time) instead of each
    // source file's last-write time, and no attribute bits from the file
    // system: the cabinet then depends on the files' bytes alone.
    bool fixedTime = false;
    USHORT entryDate = 0;
    USHORT entryTime = 0;
    // A part of the source file instead of all of it: sourceLength bytes
    // from sourceOffset on. sourceFd and sourceLeft while it is being read.
    bool sourceRange = false;
    ULONGLONG sourceOffset = 0;
    ULONGLONG sourceLength = 0;
    int sourceFd = -1;
    ULONGLONG sourceLeft = 0;
    // The temporary files' names (compressors working side by side need
    // patterns of their own, or they would reserve the same names).
    const wchar_t* tempPattern = kTempFilePattern;
};


std::string EncodeName(const std::wstring& name);
std::wstring DecodeName(const char* name);

int DIAMONDAPI FilePlaced(PCCAB cabinet, char* name, LONG size, BOOL continuation, void* user) noexcept;
void* DIAMONDAPI Alloc(ULONG size) noexcept;
void DIAMONDAPI Free(void* block) noexcept;
INT_PTR DIAMONDAPI Open(char* name, int oflag, int pmode, int* error, void* user) noexcept;
UINT DIAMONDAPI Read(INT_PTR file, void* buffer, UINT count, int* error, void* user) noexcept;
UINT DIAMONDAPI Write(INT_PTR file, void* buffer, UINT count, int* error, void* user) noexcept;
int DIAMONDAPI Close(INT_PTR file, int* error, void* user) noexcept;
LONG DIAMONDAPI Seek(INT_PTR file, LONG distance, int method, int* error, void* user) noexcept;
int DIAMONDAPI Delete(char* name, int* error, void* user) noexcept;
BOOL DIAMONDAPI GetTempFile(char* name, int size, void* user) noexcept;
BOOL DIAMONDAPI GetNextCabinet(PCCAB cabinet, ULONG previousSize, void* user) noexcept;
LONG DIAMONDAPI Status(UINT type, ULONG size1, ULONG size2, void* user) noexcept;
INT_PTR DIAMONDAPI GetOpenInfo(char* name, USHORT* date, USHORT* time, USHORT* attributes, int* error,
                               void* user) noexcept;

}  // namespace cabinet_fci
