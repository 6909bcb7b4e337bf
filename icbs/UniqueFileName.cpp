// ICBSFileUtilities::CreateUniqueFile and the check of its name pattern.
#include "icbs/UniqueFileName.h"

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/FolderPath.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/LongPath.h"

namespace icbs {

namespace {
// Reads one conversion after its '%' at text[i]; returns the index after it,
// or npos when it is not an integer conversion. "%%" gives the type '%'.
size_t ReadConversion(const std::wstring& text, size_t i, wchar_t& type) {
    ++i;  // the '%'
    while (i < text.size() && std::wstring_view(L"-+ #0").find(text[i]) != std::wstring_view::npos) ++i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') ++i;
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') ++i;
    }
    if (i >= text.size()) return std::wstring::npos;
    type = text[i];
    return i + 1;
}
}  // namespace

bool IsCounterPattern(const std::wstring& pattern) {
    int counters = 0;
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] != L'%') {
            ++i;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == L'%') {
            i += 2;
            continue;
        }
        wchar_t type = 0;
        size_t next = ReadConversion(pattern, i, type);
        if (next == std::wstring::npos) return false;
        if (std::wstring_view(L"diuxXo").find(type) == std::wstring_view::npos) return false;
        ++counters;
        i = next;
    }
    return counters == 1;
}

}  // namespace icbs

std::wstring ICBSFileUtilities::CreateUniqueFile(const std::wstring& folder, const std::wstring& pattern,
                                                 int attempts) {
    if (!icbs::IsCounterPattern(pattern)) return {};
    FolderPath parent(folder);
    for (int counter = 0; counter < attempts; ++counter) {
        std::wstring path = parent.Child(fw::Format(pattern.c_str(), counter));
        fw::FileHandle file(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return path;
    }
    return {};
}
