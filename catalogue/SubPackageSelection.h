// subPackages= on the command line: which sub-packages take part in the run.
#pragma once

#include <string>
#include <vector>

class CSetupApp;

// Splits the selection at "," and drops empty pieces.
std::vector<std::wstring> SubPackagePatterns(const std::wstring& selection);

// Overrides the default selection of every sub-package (never the main
// package) from the command line's subPackages= patterns.
void ApplySubPackageSelection(CSetupApp& app);
