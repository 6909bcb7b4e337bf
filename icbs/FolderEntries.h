// Enumeration of the entries of a folder, without "." and "..".
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace icbs {

// Calls visit for each entry of folder + "\" + pattern except "." and "..",
// in enumeration order, until visit returns false. False when the folder
// cannot be enumerated (missing, not a folder, no access).
bool ForEachEntry(const std::wstring& folder, const std::wstring& pattern,
                  const std::function<bool(const WIN32_FIND_DATAW&)>& visit);

inline bool IsFolderEntry(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
// A folder entry that is a junction or a link to another folder: walks do
// not enter it (its contents belong elsewhere, and it may lead in a circle).
inline bool IsLinkedFolderEntry(const WIN32_FIND_DATAW& entry) {
    return IsFolderEntry(entry) && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace icbs
