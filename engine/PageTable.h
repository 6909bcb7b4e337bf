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

// The page table; the finish page is the last entry.
std::vector<PageKind> BuildPageTable(size_t packageCount, const WizardFlags& flags, bool uninstall);
