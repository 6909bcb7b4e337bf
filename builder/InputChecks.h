// Every check of a build's inputs before anything is written: the values
// given, each package's facts and transforms, the pictures, and that no
// file the build writes is one of its inputs. Warnings are things the user
// should know that still give a working installer.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"
#include "builder/PackageFacts.h"

// facts[i] of d.packages[i]; false with error at the first fault (the
// multi-language check names every missing transform at once).
bool CheckBuildInputs(const BuildDescription& d, const std::wstring& templatePath, std::vector<PackageFacts>& facts,
                      std::vector<std::wstring>& warnings, BuildError& error);

// The winget PackageIdentifier the build writes: the one given, or
// Manufacturer.ProductName with the characters winget refuses left out.
std::wstring WingetIdentifier(const BuildDescription& d, const PackageFacts& main);
