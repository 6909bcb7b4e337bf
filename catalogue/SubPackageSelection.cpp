#include "catalogue/SubPackageSelection.h"

#include "catalogue/RunSession.h"
#include "engine/Log.h"
#include "framework/Console.h"
#include "framework/Text.h"

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

std::vector<std::wstring> UnmatchedSubPackagePatterns(const std::vector<std::wstring>& patterns,
                                                      const std::vector<std::wstring>& subPackageNames) {
    std::vector<std::wstring> unmatched;
    if (patterns.size() == 1 && fw::EqualsNoCase(patterns[0], L"none")) return unmatched;
    for (const std::wstring& pattern : patterns) {
        bool found = false;
        for (const std::wstring& name : subPackageNames) found = found || name.find(pattern) != std::wstring::npos;
        if (!found) unmatched.push_back(pattern);
    }
    return unmatched;
}

void ApplySubPackageSelection(RunSession& session) {
    std::vector<std::wstring> patterns = SubPackagePatterns(session.CommandLine().subPackages);
    if (patterns.empty()) return;
    // The command line's choice stands: the welcome page's upgrade handling
    // no longer selects the sub-packages by what is installed.
    session.FixSubPackageSelection();
    const bool noneMode = patterns.size() == 1 && fw::EqualsNoCase(patterns[0], L"none");
    PackageCatalogue& catalogue = session.Catalogue();
    std::vector<std::wstring> names;
    for (size_t i = 1; i < catalogue.size(); ++i) names.push_back(catalogue[i]->name);
    for (const std::wstring& pattern : UnmatchedSubPackagePatterns(patterns, names)) {
        WriteLog(1, L"ZEL (c): The sub-package pattern '%s' matches no sub-package.\r\n", pattern.c_str());
        fw::AttachParentConsole();
        fw::WriteConsoleText(fw::Format(session.Languages().LoadLocalizedString(1360).c_str(), pattern.c_str()) + L"\r\n");
    }
    for (size_t i = 1; i < catalogue.size(); ++i) {
        SetupPackage& package = *catalogue[i];
        bool matched = false;
        for (const std::wstring& pattern : patterns) {
            if (package.name.find(pattern) == std::wstring::npos) continue;
            matched = true;
            WriteLog(3, L"ZEL (c): Avoid skipping of sub-package %s due to pattern '%s'.\r\n",
                     package.name.c_str(), pattern.c_str());
        }
        if (noneMode || !matched) {
            package.selected = false;
            WriteLog(3, L"ZEL (c): skipped handling of package %s due to command line argument.\r\n",
                     package.name.c_str());
        } else {
            package.selected = true;
            WriteLog(3, L"ZEL (c): set default handling of package %s due to command line argument.\r\n",
                     package.name.c_str());
        }
    }
}
