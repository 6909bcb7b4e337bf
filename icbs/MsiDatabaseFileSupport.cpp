#include "icbs/MsiDatabaseFileSupport.h"

#include "framework/Handles.h"

#include <vector>

namespace {

// Paths too long for the plain form take the "\\?\" form.
std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.rfind(L"\\\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

}  // namespace

bool MsiCopyFileFailIfExists(const std::wstring& source, const std::wstring& target) {
    return ::CopyFileW(LongPathForm(source).c_str(), LongPathForm(target).c_str(), TRUE) != FALSE;
}

std::wstring MsiNewTemporaryFile() {
    std::vector<wchar_t> folder(MAX_PATH + 1);
    DWORD length = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length > folder.size()) {
        folder.resize(length + 1);
        length = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    }
    if (length == 0 || length > folder.size()) return std::wstring();
    wchar_t name[MAX_PATH + 16];
    if (!::GetTempFileNameW(folder.data(), L"msi", 0, name)) return std::wstring();
    return name;
}

bool MsiWriteFileBytes(const std::wstring& path, const std::string& bytes) {
    fw::FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}
