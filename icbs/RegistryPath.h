// The textual side of registry keys: how a key's name and the path of the
// folder that holds it follow from its parent and the sub-path it was opened
// with, and how a full path splits into its root name and the rest.
#pragma once

#include <string>

struct RegistryPathParts {
    std::wstring parentPath;  // full path of the folder holding the key, from the root name on
    std::wstring name;        // the key's own name (last component)
};

// The parts of a key opened as subPath below a key called parentName whose
// own parentPath is parentParentPath (empty for a root).
RegistryPathParts ComposeRegistryPath(const std::wstring& parentName, const std::wstring& parentParentPath,
                                      const std::wstring& subPath);

// Splits a full path at its first backslash into the root name and the rest;
// without a backslash the whole path is the root name and the rest is empty.
void SplitRegistryRoot(const std::wstring& fullPath, std::wstring& rootName, std::wstring& rest);

// parentPath + "\" + name, or name alone for a root.
std::wstring JoinRegistryPath(const std::wstring& parentPath, const std::wstring& name);
