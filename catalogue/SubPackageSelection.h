// subPackages= on the command line: which sub-packages take part in the run.
#pragma once

#include <string>
#include <vector>

class RunSession;

// Splits the selection at "," and drops empty pieces.
std::vector<std::wstring> SubPackagePatterns(const std::wstring& selection);

// The patterns that occur in no sub-package's name (none when the
// selection is "none").
std::vector<std::wstring> UnmatchedSubPackagePatterns(const std::vector<std::wstring>& patterns,
                                                      const std::vector<std::wstring>& subPackageNames);

// Overrides the default selection of every sub-package (never the main
// package) from the command line's subPackages= patterns, and fixes it
// (RunSession::FixSubPackageSelection). A pattern that matches no
// sub-package is logged and shown on the console; the run goes on.
void ApplySubPackageSelection(RunSession& session);
