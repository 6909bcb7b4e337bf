// ICBSFileUtilities: walks over whole folder trees (delete, copy, count).
// Linked folders (junctions, symbolic links) are never entered: their
// contents belong to another place, and a link may lead in a circle.
#include "icbs/ICBSFileUtilities.h"

#include "icbs/FolderEntries.h"
#include "icbs/FolderPath.h"
#include "icbs/LongPath.h"
#include "icbs/OpenEntry.h"

namespace {

bool IsExistingFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(icbs::ApiPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ICBSFileUtilities::DeleteFolderTree(const std::wstring& folder) {
    // By handle: each entry is opened relative to its folder without
    // following a link and deleted through its own handle, so a junction
    // swapped in during the walk is removed as a link, never emptied.
    fw::FileHandle handle = icbs::OpenNoFollow(folder, icbs::kWalkAccess);
    icbs::EntryFacts facts;
    if (!handle) {
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if (!icbs::ReadFacts(handle.get(), nullptr, folder, facts) || !facts.IsFolder()) return false;
    handle.reset();
    if (icbs::RemovePathTree(folder)) return true;
    // A file another program holds open is tried once more after a while.
    ::Sleep(kSharingRetryDelayMs);
    return icbs::RemovePathTree(folder);
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
