// Makes a product installer: checks every input, writes the catalogue, the
// packages (each database packed into an MSZIP cabinet behind its 4-byte
// length), the transforms, the pictures and the version block into a copy of
// the template beside the output, checks the result with the launcher's own
// catalogue validation, and only then renames it to the output. A failed
// build leaves no partial installer and keeps an existing output.
#pragma once

#include <string>

#include "builder/BuildDescription.h"

// True on success; otherwise error names the file and the reason. report
// receives one line per step that the user should know of.
bool BuildInstaller(const BuildDescription& description, const std::wstring& builderFolder, BuildError& error,
                    std::wstring& report);
