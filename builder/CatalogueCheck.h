// The check at the end of a build: the launcher's own catalogue validation
// (the /v run's list of required resources) over the built file, and the
// catalogue read that a run starts with.
#pragma once

#include <string>

#include "builder/BuildDescription.h"

// False with the first missing resource named in error.reason.
bool CheckBuiltCatalogue(const std::wstring& installer, BuildError& error);
