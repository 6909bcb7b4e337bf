// What the catalogue says about a package, read from its database with the
// project's database layer, and overridden where the builder was told to.
#pragma once

#include <string>

#include "builder/BuildDescription.h"

struct PackageFacts {
    std::wstring name;         // ProductName
    std::wstring productCode;  // ProductCode
    std::wstring packageCode;  // the summary's revision number
    std::wstring version;      // ProductVersion
    std::wstring platform;     // "x64" for a 64-bit package, else the summary's platform ("Intel")
    std::wstring manufacturer; // Manufacturer
    std::wstring productId;
};

// False with error set when the file is missing, is no database, or lacks a
// fact that no override gives.
bool ReadPackageFacts(const PackageInput& input, PackageFacts& facts, BuildError& error);

// The platform part of a summary template ("x64;1033" -> "x64"); 64-bit
// platforms give "x64", an empty one "Intel".
std::wstring CataloguePlatform(const std::wstring& summaryTemplate);
