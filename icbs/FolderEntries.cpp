#include "icbs/FolderEntries.h"

#include "framework/Handles.h"
#include "icbs/FolderPath.h"
#include "icbs/LongPath.h"

namespace icbs {

bool ForEachEntry(const std::wstring& folder, const std::wstring& pattern,
                  const std::function<bool(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW data;
    fw::FindHandle find(::FindFirstFileW(ApiPath(FolderPath(folder).Child(pattern)).c_str(), &data));
    if (!find) return false;
    do {
        std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!visit(data)) break;
    } while (::FindNextFileW(find.get(), &data));
    return true;
}

}  // namespace icbs
