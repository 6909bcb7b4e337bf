// Writes the packages of an installer (each database packed into an MSZIP
// cabinet behind its 4-byte length) into a new last section of the program
// file, straight from the cabinet compressor into the file, and points the
// resource entries PACKAGE_0, PACKAGE_1, ... (written beforehand with any
// data) at them. No package is ever held in memory; the launcher finds and
// reads them as any other resource.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"

// The section's name in the section table.
constexpr char kPackageSectionName[] = ".package";

// databases[i] becomes PACKAGE_<i>. output names the installer in messages.
bool WritePackageSection(const std::wstring& programFile, const std::vector<std::wstring>& databases,
                         const std::wstring& output, BuildError& error);
