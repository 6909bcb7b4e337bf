#include "builder/ResourceDataEntry.h"

#include <cwctype>
#include <vector>

namespace {

constexpr DWORD kSubdirectory = 0x80000000;
constexpr DWORD kNamed = 0x80000000;
// A directory deeper than type, name and language is not a resource tree.
constexpr WORD kMaxEntries = 0xFFFF;

struct Walk {
    HANDLE file;
    ULONGLONG root;  // the file offset of the root directory

    bool Entries(DWORD directory, std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY>& entries, WORD& named) const {
        IMAGE_RESOURCE_DIRECTORY header = {};
        if (!ReadFileAt(file, root + directory, &header, sizeof(header))) return false;
        named = header.NumberOfNamedEntries;
        DWORD count = static_cast<DWORD>(header.NumberOfNamedEntries) + header.NumberOfIdEntries;
        if (count > kMaxEntries) return false;
        entries.resize(count);
        return count == 0 || ReadFileAt(file, root + directory + sizeof(header), entries.data(),
                                        count * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY));
    }

    bool NameIs(DWORD nameOffset, const std::wstring& name) const {
        WORD length = 0;
        if (!ReadFileAt(file, root + nameOffset, &length, sizeof(length)) || length != name.size()) return false;
        std::wstring stored(length, L'\0');
        if (length && !ReadFileAt(file, root + nameOffset + 2, stored.data(), length * sizeof(wchar_t))) return false;
        for (size_t i = 0; i < stored.size(); ++i)
            if (std::towupper(stored[i]) != std::towupper(name[i])) return false;
        return true;
    }

    // The subdirectory (or, with wantData, the data entry) that an entry of
    // directory names: by number when name is empty, else by name.
    DWORD Find(DWORD directory, WORD id, const std::wstring& name, bool first, bool wantData) const {
        std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries;
        WORD named = 0;
        if (!Entries(directory, entries, named)) return 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry = entries[i];
            bool match = first || (name.empty() ? (i >= named && entry.Name == id)
                                                : (i < named && (entry.Name & kNamed) &&
                                                   NameIs(entry.Name & ~kNamed, name)));
            if (!match) continue;
            bool subdirectory = (entry.OffsetToData & kSubdirectory) != 0;
            if (subdirectory == wantData) return 0;
            return entry.OffsetToData & ~kSubdirectory;
        }
        return 0;
    }
};

}  // namespace

ULONGLONG FindResourceDataEntry(HANDLE file, const ProgramFileLayout& layout, WORD type, const std::wstring& name) {
    if (!layout.Valid() || layout.ResourceDirectory() == 0 || name.empty()) return 0;
    Walk walk{file, layout.FileOffsetOf(layout.ResourceDirectory())};
    if (walk.root == 0) return 0;
    DWORD names = walk.Find(0, type, L"", false, false);
    DWORD languages = names ? walk.Find(names, 0, name, false, false) : 0;
    DWORD data = languages ? walk.Find(languages, 0, L"", true, true) : 0;
    return data ? walk.root + data : 0;
}
