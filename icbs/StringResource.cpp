#include "icbs/StringResource.h"

#include <cstdarg>
#include <vector>

#include "icbs/TextUtilities.h"

namespace icbs {

namespace {
// The raw text of the resource; empty when there is none.
std::wstring ReadStringResource(HMODULE module, UINT id) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        int length = ::LoadStringW(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) return std::wstring();
        if (static_cast<size_t>(length) < buffer.size() - 2) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() + 256);
    }
}

std::wstring FormatResource(HMODULE module, UINT id, va_list args) {
    std::wstring pattern = ReadStringResource(module, id);
    if (pattern.empty()) return pattern;
    return FormatV(pattern.c_str(), args);
}
}  // namespace

std::wstring LoadStringFrom(HMODULE module, UINT id, ...) {
    va_list args;
    va_start(args, id);
    std::wstring result = FormatResource(module, id, args);
    va_end(args);
    return result;
}

std::wstring LoadString(UINT id, ...) {
    va_list args;
    va_start(args, id);
    std::wstring result = FormatResource(::GetModuleHandleW(nullptr), id, args);
    va_end(args);
    return result;
}

}  // namespace icbs
