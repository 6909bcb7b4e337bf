#include "builder/PathIdentity.h"

#include <windows.h>

#include "framework/Handles.h"
#include "icbs/LongPath.h"

namespace {

std::wstring FullPath(const std::wstring& path) {
    DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(size);
    return full;
}

bool Identity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& information) {
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && ::GetFileInformationByHandle(file.get(), &information);
}

}  // namespace

bool SameFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    std::wstring fullA = FullPath(a), fullB = FullPath(b);
    if (::CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                               static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL)
        return true;
    BY_HANDLE_FILE_INFORMATION first = {}, second = {};
    return Identity(a, first) && Identity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
