// Which pages the wizard holds, in order, decided from the catalogue and the
// command line alone.
#pragma once

#include <string>
#include <vector>

enum class PageKind {
    Welcome,
    SubPackages,
    Backup,
    Unpack,
    ServiceConfiguration,
    ClusterConfiguration,
    Install,
    Empty,
    Finish,
};

struct WizardFlags {
    bool backup = false;   // a package is the mobile-solutions server
    bool cluster = false;  // a package is the workflow server's advanced edition
    bool service = false;  // a package installs a server that runs as a service
};

struct CataloguePackageFacts {
    std::wstring displayName;
    bool installsServiceProduct = false;  // a related product runs as a Windows service
};

WizardFlags ComputeWizardFlags(const std::vector<CataloguePackageFacts>& packages);

// The name a step's page goes by in the log ("Activating dialog %s");
// empty for the empty step, which has no page.
const wchar_t* StepName(PageKind kind);
// Whether entering the step writes "Activating dialog": the unpack and
// install steps announce only their leaving.
bool AnnouncesActivation(PageKind kind);

// Whether a step is left as soon as it is entered: at every level but full,
// and at the full level while a Quick Install repeats an installation, save
// a bundle's finish step, which waits for the user even then.
bool PassesStepThrough(PageKind kind, bool fullUi, bool quickInstall, size_t packageCount);

// The page table; the finish page is the last entry.
std::vector<PageKind> BuildPageTable(size_t packageCount, const WizardFlags& flags, bool uninstall);
