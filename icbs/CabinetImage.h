// A cabinet held in memory: the bytes are read in place, never copied.
// Cabinets embedded in the launcher are type-40 resources laid out as a
// 4-byte little-endian length N followed by N bytes of cabinet.
#pragma once

#include <windows.h>

#include <string>

constexpr WORD kCabinetResourceType = 40;

struct CabinetImage {
    const BYTE* data = nullptr;  // first byte of the cabinet ("MSCF")
    DWORD size = 0;              // bytes of cabinet
    explicit operator bool() const { return data != nullptr && size != 0; }
};

// A cabinet whose bytes are held in a string (no length prefix), for
// example a stream read from a package. The string must outlive the image.
CabinetImage CabinetImageFromBytes(const std::string& bytes);

// The cabinet inside a length-prefixed blob. A length larger than what the
// blob holds is cut to the bytes present (reading past the resource would
// run off the mapped image); a blob shorter than the prefix holds nothing.
CabinetImage CabinetImageFromBlob(const BYTE* blob, DWORD blobSize);

// The cabinet in the type-40 resource `name` of `module` (the program's own
// module when null); empty when the resource or its data is missing.
CabinetImage FindCabinetResource(HMODULE module, const std::wstring& name);
