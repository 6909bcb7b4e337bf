#include "engine/PageTable.h"

WizardFlags ComputeWizardFlags(const std::vector<CataloguePackageFacts>& packages) {
    WizardFlags flags;
    for (const CataloguePackageFacts& package : packages) {
        const std::wstring& name = package.displayName;
        if (name.find(L"Sollenvey Server") != std::wstring::npos) {
            flags.backup = true;
            break;
        }
        if (name.find(L"Brimcart Server") != std::wstring::npos && name.find(L"Advanced Edition") != std::wstring::npos)
            flags.cluster = true;
    }
    for (const CataloguePackageFacts& package : packages)
        if (package.installsServiceProduct) flags.service = true;
    return flags;
}

std::vector<PageKind> BuildPageTable(size_t packageCount, const WizardFlags& flags, bool uninstall) {
    std::vector<PageKind> pages{PageKind::Welcome};
    if (packageCount > 2) pages.push_back(PageKind::SubPackages);
    if (flags.backup) pages.push_back(PageKind::Backup);
    pages.push_back(PageKind::Unpack);
    if (flags.service && !uninstall) pages.push_back(PageKind::ServiceConfiguration);
    if (flags.cluster && !uninstall) pages.push_back(PageKind::ClusterConfiguration);
    pages.push_back(PageKind::Install);
    if (packageCount <= 1) pages.push_back(PageKind::Empty);
    pages.push_back(PageKind::Finish);
    return pages;
}

const wchar_t* StepName(PageKind kind) {
    switch (kind) {
        case PageKind::Welcome: return L"Welcome";
        case PageKind::SubPackages: return L"IncludedSubPackages";
        case PageKind::Backup: return L"BackupSettings";
        case PageKind::Unpack: return L"UnpackMSIFromEXE";
        case PageKind::ServiceConfiguration: return L"ServiceConfiguration";
        case PageKind::ClusterConfiguration: return L"ClusterConfiguration";
        case PageKind::Install: return L"Install (hidden)";
        case PageKind::Finish: return L"Finish";
        case PageKind::Empty: break;
    }
    return L"";
}

bool AnnouncesActivation(PageKind kind) { return kind != PageKind::Unpack && kind != PageKind::Install; }

bool PassesStepThrough(PageKind kind, bool fullUi, bool quickInstall, size_t packageCount) {
    if (!fullUi) return true;
    return quickInstall && !(kind == PageKind::Finish && packageCount >= 2);
}
