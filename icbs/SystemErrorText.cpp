#include "icbs/SystemErrorText.h"

#include "framework/Handles.h"

std::wstring SystemErrorText(DWORD error) {
    if (error == 0) return std::wstring();
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    fw::LocalMemory owner(text);
    if (length == 0 || text == nullptr) return std::wstring();
    return std::wstring(text, length);
}
