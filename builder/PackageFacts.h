// What the catalogue says about a package, read from its database with the
// project's database layer, and overridden where the builder was told to;
// with the external cabinets its Media table names.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"

struct PackageFacts {
    std::wstring name;          // ProductName
    std::wstring productCode;   // ProductCode
    std::wstring packageCode;   // the summary's revision number
    std::wstring version;       // ProductVersion
    std::wstring platform;      // "x64" or "Intel"
    std::wstring manufacturer;  // Manufacturer
    std::wstring upgradeCode;   // UpgradeCode (may be empty)
    std::wstring language;      // ProductLanguage
    std::wstring productId;
    // The external cabinets, as full paths beside the database, in Media
    // table order, each once.
    std::vector<std::wstring> cabinets;
};

// False with error set when the file is missing, is no installable
// database (a patch, a transform, a program file: said so), lacks a fact
// that no override gives, has a fact the launcher would misread (codes
// that are no GUIDs, a platform it does not install), or names an external
// cabinet that is not beside it (the error names the cabinet).
bool ReadPackageFacts(const PackageInput& input, PackageFacts& facts, BuildError& error);
