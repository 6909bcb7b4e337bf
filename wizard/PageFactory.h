// Creates the page of each kind of the page table.
#pragma once

#include <memory>

#include "engine/PageTable.h"

class CWizardDialog;
class WizardPageBase;

// Null for an empty entry.
std::unique_ptr<WizardPageBase> CreateWizardPage(PageKind kind, CWizardDialog* wizard);
