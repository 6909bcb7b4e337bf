#include "icbs/CabinetImage.h"

#include "icbs/ResourceAccess.h"

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
    icbs::ResourceData data;
    if (!icbs::LoadResourceData(module, MAKEINTRESOURCEW(kCabinetResourceType), name.c_str(), std::wstring(), true,
                                data))
        return {};
    return CabinetImageFromBlob(data.Data(), data.Size());
}
