// ICBSFileUtilities::CopyOpenFile: a copy made from an open file handle
// rather than from a path.
#include "icbs/ICBSFileUtilities.h"

#include <vector>

#include "framework/Handles.h"
#include "icbs/LongPath.h"

namespace {

void ClearReadOnlyAttribute(const std::wstring& apiPath) {
    DWORD attributes = ::GetFileAttributesW(apiPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(apiPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool WriteAllBytes(HANDLE file, const char* data, DWORD count) {
    while (count > 0) {
        DWORD written = 0;
        if (!::WriteFile(file, data, count, &written, nullptr) || written == 0) return false;
        data += written;
        count -= written;
    }
    return true;
}

// Reads from explicit offsets, so that the handle's own file position does
// not matter. (On a synchronous handle such reads still move it.)
bool CopyContents(HANDLE source, HANDLE target) {
    std::vector<char> chunk(ICBSFileUtilities::kCopyChunkBytes);
    ULONGLONG offset = 0;
    for (;;) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!::ReadFile(source, chunk.data(), static_cast<DWORD>(chunk.size()), &read, &at)) {
            return ::GetLastError() == ERROR_HANDLE_EOF;
        }
        if (read == 0) return true;
        if (!WriteAllBytes(target, chunk.data(), read)) return false;
        offset += read;
    }
}

}  // namespace

bool ICBSFileUtilities::CopyOpenFile(HANDLE source, const std::wstring& target, bool failIfExists) {
    if (source == nullptr || source == INVALID_HANDLE_VALUE) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    CreateParentFolders(target);
    std::wstring to = icbs::ApiPath(target);
    if (!failIfExists) ClearReadOnlyAttribute(to);
    // The handle's owner may rely on its file position: it is put back.
    LARGE_INTEGER position = {};
    ::SetFilePointerEx(source, LARGE_INTEGER{}, &position, FILE_CURRENT);
    struct RestorePosition {
        HANDLE file;
        LARGE_INTEGER position;
        ~RestorePosition() {
            DWORD error = ::GetLastError();  // the copy's own result stays readable
            ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
            ::SetLastError(error);
        }
    } restore{source, position};
    fw::FileHandle out(::CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, failIfExists ? CREATE_NEW : CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    if (CopyContents(source, out.get())) return true;
    DWORD error = ::GetLastError();
    out.reset();
    ::DeleteFileW(to.c_str());
    ::SetLastError(error);
    return false;
}
