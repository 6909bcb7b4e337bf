#include "framework/ResourcePicture.h"

#include <cstring>

#include "framework/PngImage.h"

namespace fw {
namespace {

const BYTE* ResourceBytes(HMODULE module, const wchar_t* type, UINT id, LANGID language, DWORD& size) {
    HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(id), language);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    size = loaded ? ::SizeofResource(module, found) : 0;
    return loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
}

// A packed device-independent bitmap (a bitmap resource: the header, its
// colour table, the pixels) of any depth or compression, converted by GDI.
GdiObject FromPackedBitmap(const BYTE* data, DWORD size) {
    if (size < sizeof(BITMAPINFOHEADER)) return GdiObject();
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof(header));
    if (header.biSize < sizeof(header) || header.biSize > size || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 16384 || header.biHeight > 16384 || header.biHeight < -16384)
        return GdiObject();
    DWORD colours = header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount) : header.biClrUsed;
    if (colours > 256) return GdiObject();
    DWORD offset = header.biSize + colours * 4;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(header)) offset += 12;
    DWORD height = static_cast<DWORD>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    DWORD needed = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS
                       ? (static_cast<DWORD>(header.biWidth) * header.biBitCount + 31) / 32 * 4 * height
                       : header.biSizeImage;
    // A compressed bitmap must say how long its data is: GDI would read on
    // to its end marker.
    if (offset > size || needed == 0 || needed > size - offset) return GdiObject();
    void* bits = nullptr;
    GdiObject section = NewDibSection(header.biWidth, static_cast<int>(height), bits);
    if (!section) return section;
    HDC screen = ::GetDC(nullptr);
    int lines = ::SetDIBits(screen, static_cast<HBITMAP>(section.get()), 0, height, data + offset,
                            reinterpret_cast<const BITMAPINFO*>(data), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return lines == static_cast<int>(height) ? std::move(section) : GdiObject();
}

GdiObject FromPng(const BYTE* data, DWORD size) {
    DecodedPicture picture;
    if (!DecodePng(data, size, picture)) return GdiObject();
    void* bits = nullptr;
    GdiObject section = NewDibSection(picture.width, picture.height, bits);
    if (section) std::memcpy(bits, picture.rows.data(), picture.rows.size());
    return section;
}

}  // namespace

GdiObject NewDibSection(int width, int height, void*& bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    return GdiObject(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

GdiObject LoadResourcePicture(HMODULE module, UINT id, LANGID language) {
    DWORD size = 0;
    if (const BYTE* bitmap = ResourceBytes(module, RT_BITMAP, id, language, size)) return FromPackedBitmap(bitmap, size);
    const BYTE* png = ResourceBytes(module, L"PNG", id, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), size);
    return png ? FromPng(png, size) : GdiObject();
}

}  // namespace fw
