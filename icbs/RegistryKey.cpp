#include "icbs/RegistryKey.h"

#include "icbs/RegistryPath.h"

namespace {

constexpr REGSAM kViewBits = KEY_WOW64_64KEY | KEY_WOW64_32KEY;

// The extra access of a key opened below a parent: the parent's bits plus the
// requested ones, where a view named in the request replaces the parent's.
REGSAM CombineExtraAccess(REGSAM inherited, REGSAM requested) {
    if (requested & kViewBits) inherited &= ~kViewBits;
    return inherited | requested;
}

}  // namespace

RegistryKey::RegistryKey(HKEY predefinedRoot, const std::wstring& rootName)
    : name_(rootName), handle_(predefinedRoot) {}

RegistryKey::RegistryKey(const RegistryKey& parent, const std::wstring& subPath, bool readOnly, bool create,
                         REGSAM extraAccess) {
    OpenBelow(parent, subPath, readOnly, create, extraAccess);
}

RegistryKey::RegistryKey(const std::wstring& fullPath, bool readOnly, bool create, REGSAM extraAccess) {
    std::wstring rootName;
    std::wstring rest;
    SplitRegistryRoot(fullPath, rootName, rest);
    const RegistryKey* root = FindRoot(rootName);
    if (root) OpenBelow(*root, rest, readOnly, create, extraAccess);
}

const RegistryKey& RegistryKey::LocalMachine() {
    static const RegistryKey root(HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE");
    return root;
}

const RegistryKey& RegistryKey::ClassesRoot() {
    static const RegistryKey root(HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT");
    return root;
}

const RegistryKey& RegistryKey::CurrentUser() {
    static const RegistryKey root(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER");
    return root;
}

const RegistryKey* RegistryKey::FindRoot(const std::wstring& rootName) {
    for (const RegistryKey* root : {&LocalMachine(), &ClassesRoot(), &CurrentUser()}) {
        if (root->name_ == rootName) return root;
    }
    return nullptr;
}

void RegistryKey::OpenBelow(const RegistryKey& parent, const std::wstring& subPath, bool readOnly, bool create,
                            REGSAM extraAccess) {
    if (!parent.IsOpen()) return;
    RegistryPathParts parts = ComposeRegistryPath(parent.name_, parent.parentPath_, subPath);
    parentPath_ = std::move(parts.parentPath);
    name_ = std::move(parts.name);
    extraAccess_ = CombineExtraAccess(parent.extraAccess_, extraAccess);

    REGSAM access = extraAccess_ | (readOnly ? KEY_READ : KEY_ALL_ACCESS);
    HKEY opened = nullptr;
    LSTATUS status;
    if (create) {
        status = ::RegCreateKeyExW(parent.Handle(), subPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                   nullptr, &opened, nullptr);
    } else {
        status = ::RegOpenKeyExW(parent.Handle(), subPath.c_str(), 0, access, &opened);
    }
    if (status == ERROR_SUCCESS) handle_.reset(opened);
}

std::wstring RegistryKey::FullPath() const { return JoinRegistryPath(parentPath_, name_); }

void RegistryKey::Close() {
    handle_.reset();
    parentPath_.clear();
}
