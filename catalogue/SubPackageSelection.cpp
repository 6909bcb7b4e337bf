#include "catalogue/SubPackageSelection.h"

#include "framework/Text.h"
#include "launcher/SetupApp.h"

std::vector<std::wstring> SubPackagePatterns(const std::wstring& selection) {
    std::vector<std::wstring> patterns;
    size_t start = 0;
    while (start <= selection.size()) {
        size_t comma = selection.find(L',', start);
        std::wstring piece = selection.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
        if (!piece.empty()) patterns.push_back(piece);
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return patterns;
}

void ApplySubPackageSelection(CSetupApp& app) {
    std::vector<std::wstring> patterns = SubPackagePatterns(app.CommandLine().subPackages);
    if (patterns.empty()) return;
    const bool noneMode = patterns.size() == 1 && fw::EqualsNoCase(patterns[0], L"none");
    PackageCatalogue& catalogue = app.Catalogue();
    for (size_t i = 1; i < catalogue.size(); ++i) {
        SetupPackage& package = *catalogue[i];
        bool matched = false;
        for (const std::wstring& pattern : patterns) {
            if (package.name.find(pattern) == std::wstring::npos) continue;
            matched = true;
            app.Log().Write(3, L"ZEL (c): Avoid skipping of sub-package %s due to pattern '%s'.\r\n",
                            package.name.c_str(), pattern.c_str());
        }
        if (noneMode || !matched) {
            package.selected = false;
            app.Log().Write(3, L"ZEL (c): skipped handling of package %s due to command line argument.\r\n",
                            package.name.c_str());
        } else {
            package.selected = true;
            app.Log().Write(3, L"ZEL (c): set default handling of package %s due to command line argument.\r\n",
                            package.name.c_str());
        }
    }
}
