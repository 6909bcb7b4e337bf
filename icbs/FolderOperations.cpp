// ICBSFileUtilities: creating folders, looking into them, and recognising
// reparse points.
#include "icbs/ICBSFileUtilities.h"

#include "framework/Handles.h"
#include "icbs/FilePath.h"
#include "icbs/FolderEntries.h"
#include "icbs/LongPath.h"
#include "icbs/SecurityDescriptor.h"

namespace {

bool IsExistingFolder(const std::wstring& apiPath) {
    DWORD attributes = ::GetFileAttributesW(apiPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// CreateDirectoryW; a folder that is already there counts as success, a file
// of that name does not.
bool CreateOrFindFolder(const std::wstring& path, SECURITY_ATTRIBUTES* security) {
    std::wstring apiPath = icbs::ApiPath(path, icbs::kMaxPlainFolderPath);
    if (::CreateDirectoryW(apiPath.c_str(), security)) return true;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    if (IsExistingFolder(apiPath)) return true;
    ::SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

// The folder, creating its missing parents first when it cannot be created
// directly. Each step goes to a strictly shorter path, so this ends.
bool CreateFolderChain(const std::wstring& folder) {
    if (folder.empty()) return false;
    if (CreateOrFindFolder(folder, nullptr)) return true;
    std::wstring parent = FilePath(folder).Folder().Path();
    if (!parent.empty()) CreateFolderChain(parent);
    return CreateOrFindFolder(folder, nullptr);
}

}  // namespace

bool ICBSFileUtilities::CreateFolder(const std::wstring& path, bool secured) {
    if (!secured) return CreateOrFindFolder(path, nullptr);
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(kSecuredFolderSddl);
    if (!descriptor) return false;
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor.get(), FALSE};
    return CreateOrFindFolder(path, &security);
}

bool ICBSFileUtilities::CreateParentFolders(const std::wstring& filePath) {
    return CreateFolderChain(FilePath(filePath).Folder().Path());
}

bool ICBSFileUtilities::CreateFolderTree(const std::wstring& folder) { return CreateFolderChain(folder); }

bool ICBSFileUtilities::IsFolderEmpty(const std::wstring& folder) {
    bool empty = true;
    icbs::ForEachEntry(folder, L"*", [&](const WIN32_FIND_DATAW&) {
        empty = false;
        return false;
    });
    return empty;
}

std::vector<std::wstring> ICBSFileUtilities::ListFiles(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> files;
    FolderPath parent(folder);
    icbs::ForEachEntry(folder, pattern, [&](const WIN32_FIND_DATAW& entry) {
        if (!icbs::IsFolderEntry(entry)) files.push_back(parent.Child(entry.cFileName));
        return true;
    });
    return files;
}

bool ICBSFileUtilities::IsReparsePoint(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(icbs::ApiPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
