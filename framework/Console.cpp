#include "framework/Console.h"

#include <windows.h>

#include "framework/Text.h"

namespace fw {

void AttachParentConsole() {
    using AttachFn = BOOL(WINAPI*)(DWORD);
    static bool tried = false;
    if (tried) return;
    tried = true;
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto attach = kernel ? reinterpret_cast<AttachFn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "AttachConsole")))
                         : nullptr;
    if (attach) attach(ATTACH_PARENT_PROCESS);
}

void WriteConsoleText(const std::wstring& text) {
    if (text.empty()) return;
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (::WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) return;
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) codePage = ::GetOEMCP();
    std::string bytes = ToCodePage(text, codePage);
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace fw
