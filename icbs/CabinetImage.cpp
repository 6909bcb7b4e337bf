#include "icbs/CabinetImage.h"

CabinetImage CabinetImageFromBytes(const std::string& bytes) {
    return {reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())};
}

CabinetImage CabinetImageFromBlob(const BYTE* blob, DWORD blobSize) {
    if (!blob || blobSize < 4) return {};
    DWORD length = static_cast<DWORD>(blob[0]) | static_cast<DWORD>(blob[1]) << 8 |
                   static_cast<DWORD>(blob[2]) << 16 | static_cast<DWORD>(blob[3]) << 24;
    DWORD available = blobSize - 4;
    if (length > available) length = available;
    if (length == 0) return {};
    return {blob + 4, length};
}

CabinetImage FindCabinetResource(HMODULE module, const std::wstring& name) {
    if (!module) module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(kCabinetResourceType));
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    if (!loaded) return {};
    const void* data = ::LockResource(loaded);
    if (!data) return {};
    return CabinetImageFromBlob(static_cast<const BYTE*>(data), ::SizeofResource(module, info));
}
