// ICBSFileUtilities: the current, temporary and Windows folders and short
// path names.
#include "icbs/ICBSFileUtilities.h"

#include "icbs/GrowingQuery.h"

using icbs::GrowingQuery;

std::wstring ICBSFileUtilities::GetCurrentFolder() {
    return GrowingQuery([](DWORD size, wchar_t* buffer) { return ::GetCurrentDirectoryW(size, buffer); });
}

std::wstring ICBSFileUtilities::GetTempFolder() {
    return GrowingQuery([](DWORD size, wchar_t* buffer) { return ::GetTempPathW(size, buffer); });
}

std::wstring ICBSFileUtilities::GetWindowsFolder() {
    return GrowingQuery(
        [](DWORD size, wchar_t* buffer) { return static_cast<DWORD>(::GetWindowsDirectoryW(buffer, size)); });
}

std::wstring ICBSFileUtilities::GetShortPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    DWORD length = ::GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    // 0 is a failure; MAX_PATH or more is the size a longer result would need.
    if (length == 0 || length >= MAX_PATH) return path;
    return std::wstring(buffer, length);
}

bool ICBSFileUtilities::SetCurrentFolder(const std::wstring& path) {
    return ::SetCurrentDirectoryW(path.c_str()) != FALSE;
}
