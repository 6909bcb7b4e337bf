// Reads a text from a Windows function that fills a caller's buffer and
// answers with the size it needs when the buffer is too small
// (GetCurrentDirectoryW, GetTempPathW, GetWindowsDirectoryW).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace icbs {

// Asks with a 260-character buffer, and again with the size the function
// asked for while that was too small. fill(size, buffer) answers the length
// written, the size needed (more than size - 1), or 0 on failure. Empty on
// failure.
template <class Fill>
std::wstring GrowingQuery(Fill fill) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD length = fill(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.assign(static_cast<size_t>(length) + 1, L'\0');
    }
    return {};
}

}  // namespace icbs
