#include "icbs/CabinetFciCallbacks.h"

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/Handles.h"
#include "framework/InternalError.h"
#include "framework/Text.h"
#include "icbs/CabinetWriteDigest.h"
#include "icbs/ICBSFileUtilities.h"

namespace cabinet_fci {
namespace {

constexpr UINT kFailed = static_cast<UINT>(-1);

void SetError(int* error, int value) {
    if (error) *error = value;
}

}  // namespace

std::string EncodeName(const std::wstring& name) { return fw::ToCodePage(name, CP_UTF8); }

std::wstring DecodeName(const char* name) { return fw::FromCodePage(name ? name : "", CP_UTF8); }

int DIAMONDAPI FilePlaced(PCCAB, char*, LONG, BOOL, void*) noexcept { return 1; }

void* DIAMONDAPI Alloc(ULONG size) noexcept { return std::malloc(size); }

void DIAMONDAPI Free(void* block) noexcept { std::free(block); }

namespace {

bool IsInto(const void* user, const char* name) {
    const UserData* data = static_cast<const UserData*>(user);
    return data && data->intoFile && name && data->intoName == name;
}

// A descriptor of its own for the caller's file, at the cabinet's start.
int OpenInto(UserData& data, int* error) {
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), data.intoFile, ::GetCurrentProcess(), &duplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        SetError(error, EACCES);
        return -1;
    }
    fw::FileHandle owned(duplicate);
    int file = _open_osfhandle(reinterpret_cast<intptr_t>(owned.get()), _O_BINARY);
    if (file == -1) {
        SetError(error, EMFILE);
        return -1;
    }
    owned.release();  // the descriptor owns it now
    if (_lseek(file, data.intoOffset, SEEK_SET) != data.intoOffset) {
        SetError(error, errno);
        _close(file);
        return -1;
    }
    data.intoFd = file;
    return file;
}

}  // namespace

INT_PTR DIAMONDAPI Open(char* name, int oflag, int pmode, int* error, void* user) noexcept {
    try {
        if (IsInto(user, name)) return OpenInto(*static_cast<UserData*>(user), error);
        // Others may read a file being read, never one being written; the
        // handle is not inherited by processes started meanwhile.
        int share = (pmode & _S_IWRITE) ? _SH_DENYRW : _SH_DENYWR;
        int file = _wsopen(DecodeName(name).c_str(), oflag | _O_BINARY | _O_NOINHERIT, share, pmode);
        if (file == -1) SetError(error, errno);
        return file;
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Open callback");
        SetError(error, ENOMEM);
        return -1;
    }
}

UINT DIAMONDAPI Read(INT_PTR file, void* buffer, UINT count, int* error, void* user) noexcept {
    UserData* data = static_cast<UserData*>(user);
    bool range = data && data->sourceFd != -1 && data->sourceFd == file;
    if (range && count > data->sourceLeft) count = static_cast<UINT>(data->sourceLeft);
    int read = count == 0 ? 0 : _read(static_cast<int>(file), buffer, count);
    if (read == -1) {
        SetError(error, errno);
        return kFailed;
    }
    if (range) data->sourceLeft -= static_cast<UINT>(read);
    return static_cast<UINT>(read);
}

UINT DIAMONDAPI Write(INT_PTR file, void* buffer, UINT count, int* error, void* user) noexcept {
    int written = _write(static_cast<int>(file), buffer, count);
    if (written == -1) {
        SetError(error, errno);
        return kFailed;
    }
    UserData* data = static_cast<UserData*>(user);
    if (data && data->intoDigest && data->intoFd != -1 && data->intoFd == file &&
        !data->intoDigest->Written(static_cast<int>(file), data->intoOffset, buffer, static_cast<unsigned>(written))) {
        SetError(error, EIO);
        return kFailed;
    }
    return static_cast<UINT>(written);
}

int DIAMONDAPI Close(INT_PTR file, int* error, void* user) noexcept {
    UserData* data = static_cast<UserData*>(user);
    if (data && data->intoFd == file) data->intoFd = -1;
    if (data && data->sourceFd == file) data->sourceFd = -1;
    int result = _close(static_cast<int>(file));
    if (result == -1) SetError(error, errno);
    return result;
}

LONG DIAMONDAPI Seek(INT_PTR file, LONG distance, int method, int* error, void* user) noexcept {
    const UserData* data = static_cast<const UserData*>(user);
    bool into = data && data->intoFd != -1 && data->intoFd == file;
    LONG base = into ? data->intoOffset : 0;
    if (method == SEEK_SET) distance += base;
    long position = _lseek(static_cast<int>(file), distance, method);
    if (position == -1) {
        SetError(error, errno);
        return -1;
    }
    if (into && data->intoDigest) data->intoDigest->MovedTo(position - base);
    return position - base;
}

int DIAMONDAPI Delete(char* name, int* error, void* user) noexcept {
    try {
        // The caller's file is the caller's to discard.
        if (IsInto(user, name)) return 0;
        int result = _wremove(DecodeName(name).c_str());
        if (result == -1) SetError(error, errno);
        return result;
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's Delete callback");
        SetError(error, ENOMEM);
        return -1;
    }
}

BOOL DIAMONDAPI GetTempFile(char* name, int size, void* user) noexcept {
    try {
        const UserData* data = static_cast<const UserData*>(user);
        std::wstring path = ICBSFileUtilities::CreateUniqueFile(ICBSFileUtilities::GetTempFolder(),
                                                                data ? data->tempPattern : kTempFilePattern,
                                                                kTempFileAttempts);
        if (path.empty()) return FALSE;
        // The name is now reserved; the library creates the file itself and
        // insists on creating it new.
        ::DeleteFileW(path.c_str());
        std::string encoded = EncodeName(path);
        if (size <= 0 || encoded.size() >= static_cast<size_t>(size)) return FALSE;
        std::memcpy(name, encoded.c_str(), encoded.size() + 1);
        return TRUE;
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's GetTempFile callback");
        return FALSE;
    }
}

BOOL DIAMONDAPI GetNextCabinet(PCCAB, ULONG, void*) noexcept { return FALSE; }

LONG DIAMONDAPI Status(UINT type, ULONG, ULONG size2, void*) noexcept {
    // For statusCabinet the library proposes the cabinet's size; it is kept.
    return type == statusCabinet ? static_cast<LONG>(size2) : 0;
}

INT_PTR DIAMONDAPI GetOpenInfo(char* name, USHORT* date, USHORT* time, USHORT* attributes, int* error,
                               void* user) noexcept {
    try {
        int file = _wsopen(DecodeName(name).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYWR);
        if (file == -1) {
            SetError(error, errno);
            return -1;
        }
        BY_HANDLE_FILE_INFORMATION information = {};
        FILETIME local = {};
        HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(file));
        UserData* data = static_cast<UserData*>(user);
        bool stamped = data && data->fixedTime;
        if (!::GetFileInformationByHandle(handle, &information) ||
            (!stamped && (!::FileTimeToLocalFileTime(&information.ftLastWriteTime, &local) ||
                          !::FileTimeToDosDateTime(&local, date, time)))) {
            SetError(error, EIO);
            _close(file);
            return -1;
        }
        // The DOS attributes read-only, hidden, system and archive have the
        // same bit values as the Windows ones.
        DWORD dosBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                        FILE_ATTRIBUTE_ARCHIVE;
        if (stamped) {
            *date = data->entryDate;
            *time = data->entryTime;
        }
        // A stamped cabinet depends on the files' bytes alone: no attribute
        // bits of the file system either.
        *attributes = stamped ? 0 : static_cast<USHORT>(information.dwFileAttributes & dosBits);
        if (data) *attributes |= data->nameAttributes;
        if (data && data->sourceRange) {
            if (_lseeki64(file, static_cast<__int64>(data->sourceOffset), SEEK_SET) == -1) {
                SetError(error, errno);
                _close(file);
                return -1;
            }
            data->sourceFd = file;
            data->sourceLeft = data->sourceLength;
        }
        return file;
    } catch (...) {
        fw::ReportInternalError(L"the cabinet library's GetOpenInfo callback");
        SetError(error, ENOMEM);
        return -1;
    }
}

}  // namespace cabinet_fci
