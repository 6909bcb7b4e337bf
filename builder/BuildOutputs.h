// What the builder tells a release pipeline besides the installer: a JSON
// report of what was built and a winget installer manifest (schema 1.6) of
// the installer, both from the facts the build used.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"
#include "builder/PackageFacts.h"
#include "icbs/Sha256.h"

struct BuiltInstaller {
    std::wstring path;  // full path of the output
    unsigned long long size = 0;
    icbs::Sha256Digest digest{};
    bool is64 = false;  // the template is a 64-bit program
};

// The JSON report (UTF-8): the installer's path, size and SHA-256, and for
// each package its facts, transform languages, external cabinets and the
// SHA-256 recorded in the installer.
std::string BuildReportJson(const BuildDescription& d, const BuiltInstaller& installer,
                            const std::vector<PackageFacts>& facts, const std::vector<icbs::Sha256Digest>& digests);

// The winget installer manifest (UTF-8 YAML): an exe installer with the
// launcher's switches and return codes, the main package's product code
// and entry, the installer's SHA-256.
std::string WingetManifestYaml(const BuildDescription& d, const BuiltInstaller& installer,
                               const std::vector<PackageFacts>& facts, const std::wstring& identifier);

// A --os value as a winget MinimumOSVersion ("6.1.1" -> "6.1.0").
std::wstring WingetMinimumOs(const std::wstring& os);
