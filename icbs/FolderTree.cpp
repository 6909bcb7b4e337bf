// ICBSFileUtilities: walks over whole folder trees (delete, copy, count).
// Linked folders (junctions, symbolic links) are never entered: their
// contents belong to another place, and a link may lead in a circle.
#include "icbs/ICBSFileUtilities.h"

#include "icbs/FolderEntries.h"
#include "icbs/FolderPath.h"
#include "icbs/LongPath.h"

namespace {

// Removes an empty folder or a folder link; a folder that is not there
// counts as removed.
bool RemoveFolder(const std::wstring& path, bool isLink) {
    std::wstring apiPath = icbs::ApiPath(path);
    DWORD attributes = ::GetFileAttributesW(apiPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(apiPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (::RemoveDirectoryW(apiPath.c_str())) return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    // Some file systems remove a link to a folder only as a file.
    if (isLink && ::DeleteFileW(apiPath.c_str())) return true;
    ::SetLastError(error);
    return false;
}

bool IsExistingFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(icbs::ApiPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ICBSFileUtilities::DeleteFolderTree(const std::wstring& folder) {
    FolderPath parent(folder);
    bool complete = true;
    icbs::ForEachEntry(folder, L"*.*", [&](const WIN32_FIND_DATAW& entry) {
        std::wstring path = parent.Child(entry.cFileName);
        if (icbs::IsLinkedFolderEntry(entry)) complete = RemoveFolder(path, true);
        else if (icbs::IsFolderEntry(entry)) complete = DeleteFolderTree(path);
        else complete = DeleteOneFile(path);
        return complete;
    });
    return complete && RemoveFolder(folder, false);
}

bool ICBSFileUtilities::CopyFolderTree(const std::wstring& source, const std::wstring& target) {
    if (!IsExistingFolder(source) || !CreateFolderTree(target)) return false;
    FolderPath from(source), to(target);
    bool complete = true;
    icbs::ForEachEntry(source, L"*", [&](const WIN32_FIND_DATAW& entry) {
        std::wstring name = entry.cFileName;
        if (icbs::IsLinkedFolderEntry(entry)) complete = CreateFolder(to.Child(name), false);
        else if (icbs::IsFolderEntry(entry)) complete = CopyFolderTree(from.Child(name), to.Child(name));
        else complete = CopyOneFile(from.Child(name), to.Child(name), true);
        return complete;
    });
    return complete;
}

int ICBSFileUtilities::CountFolders(const std::wstring& folder) {
    FolderPath parent(folder);
    int count = 1;
    icbs::ForEachEntry(folder, L"*", [&](const WIN32_FIND_DATAW& entry) {
        if (icbs::IsLinkedFolderEntry(entry)) count += 1;
        else if (icbs::IsFolderEntry(entry)) count += CountFolders(parent.Child(entry.cFileName));
        return true;
    });
    return count;
}
