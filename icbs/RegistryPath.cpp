#include "icbs/RegistryPath.h"

RegistryPathParts ComposeRegistryPath(const std::wstring& parentName, const std::wstring& parentParentPath,
                                      const std::wstring& subPath) {
    RegistryPathParts parts;
    parts.parentPath = JoinRegistryPath(parentParentPath, parentName);
    size_t lastSeparator = subPath.rfind(L'\\');
    if (lastSeparator == std::wstring::npos) {
        parts.name = subPath;
    } else {
        parts.parentPath += L'\\';
        parts.parentPath += subPath.substr(0, lastSeparator);
        parts.name = subPath.substr(lastSeparator + 1);
    }
    return parts;
}

void SplitRegistryRoot(const std::wstring& fullPath, std::wstring& rootName, std::wstring& rest) {
    size_t separator = fullPath.find(L'\\');
    if (separator == std::wstring::npos) {
        rootName = fullPath;
        rest.clear();
    } else {
        rootName = fullPath.substr(0, separator);
        rest = fullPath.substr(separator + 1);
    }
}

std::wstring JoinRegistryPath(const std::wstring& parentPath, const std::wstring& name) {
    return parentPath.empty() ? name : parentPath + L'\\' + name;
}
