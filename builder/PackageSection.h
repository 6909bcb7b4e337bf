// Writes the packages of an installer (each database packed into an MSZIP
// cabinet behind its 4-byte length, with the external cabinets it needs)
// into a new last section of the program file, straight from the cabinet
// compressor into the file, and points the resource entries PACKAGE_0,
// PACKAGE_1, ... (written beforehand with any data) at them. The SHA-256 of
// each cabinet is taken as it is written and put into the package's
// PACKAGE_SHA256_<n> text (written beforehand with a stand-in of the same
// length). No package is ever held in memory; the launcher finds and reads
// them as any other resource.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"
#include "builder/SplitPacking.h"
#include "icbs/Sha256.h"

// The section's name in the section table.
constexpr char kPackageSectionName[] = ".package";

// The stand-in text of a package's hash resource: as long as the hash text.
std::wstring HashStandIn();

// packages[i] becomes PACKAGE_<i>; digests[i] receives its cabinet's
// SHA-256. output names the installer in messages.
bool WritePackageSection(const std::wstring& programFile, const std::vector<PackingInput>& packages,
                         const std::wstring& output, std::vector<icbs::Sha256Digest>& digests, BuildError& error);
