// ICBSFileUtilities: single files (existence, creation, copy, move, delete,
// attributes, appending, reading and writing whole files, size).
#include "icbs/ICBSFileUtilities.h"

#include <algorithm>
#include <vector>

#include "framework/Handles.h"
#include "icbs/LongPath.h"

using icbs::ApiPath;

namespace {

void ClearReadOnly(const std::wstring& apiPath) {
    DWORD attributes = ::GetFileAttributesW(apiPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(apiPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

fw::FileHandle OpenForAppending(const std::wstring& path) {
    return fw::FileHandle(::CreateFileW(ApiPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

fw::FileHandle OpenForReading(const std::wstring& path, DWORD share) {
    return fw::FileHandle(::CreateFileW(ApiPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, const void* buffer, DWORD count) {
    DWORD written = 0;
    return ::WriteFile(file, buffer, count, &written, nullptr) && written == count;
}

}  // namespace

bool ICBSFileUtilities::FileExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    fw::FindHandle find(::FindFirstFileW(ApiPath(path).c_str(), &data));
    return static_cast<bool>(find);
}

bool ICBSFileUtilities::CreateEmptyFile(const std::wstring& path, DWORD attributes) {
    CreateParentFolders(path);
    fw::FileHandle file(::CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                      CREATE_ALWAYS, attributes, nullptr));
    return static_cast<bool>(file);
}

bool ICBSFileUtilities::CopyOneFile(const std::wstring& source, const std::wstring& target, bool failIfExists) {
    CreateParentFolders(target);
    // Both paths take the extended form as soon as one of them needs it.
    bool extended = source.size() > icbs::kMaxPlainFilePath || target.size() > icbs::kMaxPlainFilePath;
    std::wstring from = extended ? ApiPath(source, 0) : source;
    std::wstring to = extended ? ApiPath(target, 0) : target;
    ClearReadOnly(to);
    return ::CopyFileW(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool ICBSFileUtilities::MoveOneFile(const std::wstring& source, const std::wstring& target) {
    CreateParentFolders(target);
    std::wstring to = ApiPath(target);
    ClearReadOnly(to);
    return ::MoveFileW(ApiPath(source).c_str(), to.c_str()) != FALSE;
}

bool ICBSFileUtilities::DeleteOneFile(const std::wstring& path) {
    std::wstring apiPath = ApiPath(path);
    ClearReadOnly(apiPath);
    for (int attempt = 0;; ++attempt) {
        if (::DeleteFileW(apiPath.c_str())) return true;
        DWORD error = ::GetLastError();
        // Nothing to delete is what the caller wants.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        if (error != ERROR_SHARING_VIOLATION || attempt > 0) return false;
        ::Sleep(kSharingRetryDelayMs);
    }
}

bool ICBSFileUtilities::SetReadOnly(const std::wstring& path, bool on) {
    return ::SetFileAttributesW(ApiPath(path).c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) !=
           FALSE;
}

bool ICBSFileUtilities::AppendFile(const std::wstring& target, const std::wstring& source) {
    fw::FileHandle to = OpenForAppending(target);
    if (!to) return false;
    // The source must not be open for writing elsewhere: appending a file to
    // itself fails here instead of growing without end.
    fw::FileHandle from = OpenForReading(source, FILE_SHARE_READ);
    if (!from) return false;
    std::vector<char> chunk(kCopyChunkBytes);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(from.get(), chunk.data(), kCopyChunkBytes, &read, nullptr)) return false;
        if (read == 0) return true;
        if (!WriteAll(to.get(), chunk.data(), read)) return false;
    }
}

bool ICBSFileUtilities::AppendBytes(const std::wstring& path, const void* buffer, DWORD count) {
    fw::FileHandle file = OpenForAppending(path);
    return file && WriteAll(file.get(), buffer, count);
}

bool ICBSFileUtilities::ReadBytes(const std::wstring& path, void* buffer, DWORD count, DWORD* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    fw::FileHandle file = OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file) return false;
    DWORD total = 0;
    while (total < count) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), static_cast<char*>(buffer) + total, count - total, &read, nullptr)) return false;
        if (read == 0) break;
        total += read;
    }
    if (bytesRead) *bytesRead = total;
    return true;
}

bool ICBSFileUtilities::ReadAllBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    fw::FileHandle file = OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file) return false;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr)) return false;
        if (read == 0) return true;
        bytes.append(chunk, read);
    }
}

bool ICBSFileUtilities::WriteAllBytes(const std::wstring& path, const std::string& bytes) {
    fw::FileHandle file(::CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // Written in pieces, so that no single call has to take a huge count.
    constexpr size_t kPiece = 1u << 20;
    for (size_t done = 0; done < bytes.size();) {
        DWORD piece = static_cast<DWORD>(std::min(bytes.size() - done, kPiece));
        if (!WriteAll(file.get(), bytes.data() + done, piece)) return false;
        done += piece;
    }
    return true;
}

ULONGLONG ICBSFileUtilities::FileSizeOf(const std::wstring& path) {
    fw::FileHandle file = OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size)) return kUnknownSize;
    return static_cast<ULONGLONG>(size.QuadPart);
}
