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

}  // namespace

int ChooseIconImage(const std::vector<IconImageSize>& images, int size) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(images.size()); ++i) {
        if (best < 0) {
            best = i;
            continue;
        }
        const IconImageSize& image = images[static_cast<size_t>(i)];
        const IconImageSize& chosen = images[static_cast<size_t>(best)];
        bool fits = image.pixels >= size, chosenFits = chosen.pixels >= size;
        if (fits != chosenFits) {
            if (fits) best = i;
        } else if (image.pixels != chosen.pixels) {
            if (fits ? image.pixels < chosen.pixels : image.pixels > chosen.pixels) best = i;
        } else if (image.bitCount > chosen.bitCount) {
            best = i;
        }
    }
    return best;
}

IconHandle LoadIconAtSize(HMODULE module, const wchar_t* name, int size, LANGID language) {
    DWORD groupSize = 0;
    const auto* group = static_cast<const GroupHeader*>(Bytes(module, FindIn(module, name, RT_GROUP_ICON, language), groupSize));
    if (!group || groupSize < sizeof(GroupHeader) || groupSize < sizeof(GroupHeader) + group->count * sizeof(GroupEntry))
        return IconHandle();
    const auto* entries = reinterpret_cast<const GroupEntry*>(group + 1);
    std::vector<IconImageSize> images;
    for (WORD i = 0; i < group->count; ++i) images.push_back({Pixels(entries[i].width), entries[i].bitCount});
    int chosen = ChooseIconImage(images, size);
    if (chosen < 0) return IconHandle();
    const GroupEntry* entry = &entries[chosen];
    DWORD imageSize = 0;
    const void* image = Bytes(module, FindIn(module, MAKEINTRESOURCEW(entry->id), RT_ICON, language), imageSize);
    if (!image) return IconHandle();
    return IconHandle(::CreateIconFromResourceEx(static_cast<PBYTE>(const_cast<void*>(image)), imageSize, TRUE, 0x30000,
                                                 size, size, LR_DEFAULTCOLOR));
}

}  // namespace fw
