#include "icbs/ConfigFileAccess.h"

#include <windows.h>

#include <algorithm>

#include "framework/Handles.h"

namespace config_file {

bool Exists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    fw::FindHandle find(::FindFirstFileW(path.c_str(), &data));
    return static_cast<bool>(find);
}

bool ReadAll(const std::wstring& path, std::string& bytes) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bytes.clear();
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) return false;
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
}

namespace {
std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool CreateFolderAndParents(const std::wstring& folder, int depth) {
    if (folder.empty() || depth > 200) return false;
    if (::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS) return true;
    if (!CreateFolderAndParents(FolderOf(folder), depth + 1)) return false;
    return ::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}
}  // namespace

bool CreateParentFolders(const std::wstring& path) { return CreateFolderAndParents(FolderOf(path), 0); }

bool WriteAll(const std::wstring& path, const std::string& bytes) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace config_file
