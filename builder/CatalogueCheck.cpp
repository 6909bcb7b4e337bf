#include "builder/CatalogueCheck.h"

#include "catalogue/CatalogueResources.h"
#include "icbs/ResourceModule.h"

bool CheckBuiltCatalogue(const std::wstring& installer, BuildError& error) {
    ResourceModule module(installer);
    if (!module) {
        error = {installer, L"the built installer cannot be loaded"};
        return false;
    }
    CatalogueResources resources(module.Handle());
    bool multiLanguage = resources.DetectMultiLanguage();
    resources.SetMultiLanguage(multiLanguage);
    int count = ParsePackageCount(resources.ReadString(L"PACKAGE_COUNT").value_or(L""));
    if (count < 1) {
        error = {installer, L"validation failed: no packages in the catalogue"};
        return false;
    }
    // The language of the launcher's current row does not matter: every row
    // name reaches the 1033 instance of the catalogue strings.
    for (const RequiredResource& required : RequiredResources(count, multiLanguage, L"English")) {
        if (resources.CatalogueResourceExists(required.name, required.language)) continue;
        std::wstring reason = L"validation failed: " + required.name + L" is missing";
        if (multiLanguage && required.language && *required.language != L"English")
            reason += L" (an installer with a German transform for its main product is multi-language: every "
                      L"package needs its 1031, 1034 and 1041 transforms)";
        error = {installer, reason};
        return false;
    }
    return true;
}
