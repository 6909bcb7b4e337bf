// The run's choices as the catalogue starts them: the page table's flags from
// the catalogue's products, and whether the main product is installed.
#pragma once

#include "catalogue/SetupPackage.h"
#include "engine/RunChoices.h"

class RunSession;

// Installer results go to the session's outcome.
RunChoices ChoicesFor(RunSession& session);
// Whether the catalogue's main product is installed now.
bool MainProductInstalled(const PackageCatalogue& catalogue);
