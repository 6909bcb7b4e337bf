#include "icbs/CabinetFiles.h"

#include <windows.h>

#include <vector>

#include "framework/Handles.h"
#include "framework/Text.h"

namespace cabinet_files {

std::wstring TempFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD length = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::wstring CreateUniqueFile(const std::wstring& folder, const wchar_t* pattern, int attempts) {
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
    for (int counter = 0; counter < attempts; ++counter) {
        std::wstring path = prefix + fw::Format(pattern, counter);
        fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return path;
    }
    return std::wstring();
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace cabinet_files
