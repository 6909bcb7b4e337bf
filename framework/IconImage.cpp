#include "framework/IconImage.h"

namespace fw {

namespace {
#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

HRSRC FindIn(HMODULE module, const wchar_t* name, const wchar_t* type, LANGID language) {
    return language ? ::FindResourceExW(module, type, name, language) : ::FindResourceW(module, name, type);
}

const void* Bytes(HMODULE module, HRSRC resource, DWORD& size) {
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    size = resource ? ::SizeofResource(module, resource) : 0;
    return loaded ? ::LockResource(loaded) : nullptr;
}

int Pixels(BYTE value) { return value ? value : 256; }

// The smallest entry at least size pixels wide (the deepest colours among
// equals), else the largest.
const GroupEntry* Choose(const GroupEntry* entries, WORD count, int size) {
    const GroupEntry* best = nullptr;
    for (WORD i = 0; i < count; ++i) {
        const GroupEntry& entry = entries[i];
        if (!best) {
            best = &entry;
            continue;
        }
        int width = Pixels(entry.width), bestWidth = Pixels(best->width);
        bool fits = width >= size, bestFits = bestWidth >= size;
        if (fits != bestFits) {
            if (fits) best = &entry;
        } else if (width != bestWidth) {
            if (fits ? width < bestWidth : width > bestWidth) best = &entry;
        } else if (entry.bitCount > best->bitCount) {
            best = &entry;
        }
    }
    return best;
}
}  // namespace

IconHandle LoadIconAtSize(HMODULE module, const wchar_t* name, int size, LANGID language) {
    DWORD groupSize = 0;
    const auto* group = static_cast<const GroupHeader*>(Bytes(module, FindIn(module, name, RT_GROUP_ICON, language), groupSize));
    if (!group || groupSize < sizeof(GroupHeader) || groupSize < sizeof(GroupHeader) + group->count * sizeof(GroupEntry))
        return IconHandle();
    const GroupEntry* entry = Choose(reinterpret_cast<const GroupEntry*>(group + 1), group->count, size);
    if (!entry) return IconHandle();
    DWORD imageSize = 0;
    const void* image = Bytes(module, FindIn(module, MAKEINTRESOURCEW(entry->id), RT_ICON, language), imageSize);
    if (!image) return IconHandle();
    return IconHandle(::CreateIconFromResourceEx(static_cast<PBYTE>(const_cast<void*>(image)), imageSize, TRUE, 0x30000,
                                                 size, size, LR_DEFAULTCOLOR));
}

}  // namespace fw
