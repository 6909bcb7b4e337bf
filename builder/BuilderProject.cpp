// The project file: an [installer] section with the installer's settings
// and one section per package ("[package ...]", in file order), with the
// keys of the long options (without "--"):
//
//   [installer]
//   out = setup.exe
//   os = 6.1.1
//   product-image = Editor.ico
//   background.1031 = Background_de.bmp
//
//   [package editor]
//   file = Editor.msi
//   product-id = ED
//   transform.1031 = Editor_de.mst
#include "builder/BuilderArguments.h"

#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/ICBSIniFile.h"

namespace {

bool IsRelative(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') return false;
    return !(path.size() >= 1 && (path[0] == L'\\' || path[0] == L'/'));
}

std::wstring FromProjectFolder(const std::wstring& folder, const std::wstring& path) {
    return IsRelative(path) && !folder.empty() ? folder + L"\\" + path : path;
}

// One key of a section; false for a key the section does not know.
bool ApplyInstallerKey(BuildDescription& d, const std::wstring& key, const std::wstring& value,
                       const std::wstring& folder) {
    if (fw::EqualsNoCase(key, L"template")) d.templatePath = FromProjectFolder(folder, value);
    else if (fw::EqualsNoCase(key, L"out")) d.output = FromProjectFolder(folder, value);
    else if (fw::EqualsNoCase(key, L"os")) d.os = value;
    else if (fw::EqualsNoCase(key, L"minimum-msi")) d.minimumMsi = value;
    else if (fw::EqualsNoCase(key, L"properties")) d.properties = value;
    else if (fw::EqualsNoCase(key, L"product-image")) d.productImage = FromProjectFolder(folder, value);
    else if (fw::StartsWithNoCase(key, L"background."))
        d.backgrounds.push_back({key.substr(11), FromProjectFolder(folder, value)});
    else
        return false;
    return true;
}

bool ApplyPackageKey(PackageInput& p, const std::wstring& key, const std::wstring& value, const std::wstring& folder) {
    if (fw::EqualsNoCase(key, L"file")) p.msi = FromProjectFolder(folder, value);
    else if (fw::EqualsNoCase(key, L"product-id")) p.productId = value;
    else if (fw::EqualsNoCase(key, L"name")) p.name = value;
    else if (fw::EqualsNoCase(key, L"product-code")) p.productCode = value;
    else if (fw::EqualsNoCase(key, L"package-code")) p.packageCode = value;
    else if (fw::EqualsNoCase(key, L"version")) p.version = value;
    else if (fw::EqualsNoCase(key, L"platform")) p.platform = value;
    else if (fw::StartsWithNoCase(key, L"transform."))
        p.transforms.push_back({key.substr(10), FromProjectFolder(folder, value)});
    else
        return false;
    return true;
}

}  // namespace

bool ReadBuilderProject(const std::wstring& path, BuildDescription& description, BuildError& error) {
    if (!ICBSFileUtilities::FileExists(path)) {
        error = {path, L"the project file does not exist"};
        return false;
    }
    ICBSIniFile project(path);
    if (!project.HasContent()) {
        error = {path, L"the project file holds no settings"};
        return false;
    }
    size_t separator = path.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
    const std::wstring* section = nullptr;
    bool inPackage = false;
    for (const ConfigValueEntry& entry : project.Values()) {
        std::wstring value = fw::Trim(entry.value, L" \t\r\n");
        if (!section || entry.section != *section) {
            section = &entry.section;
            inPackage = fw::StartsWithNoCase(entry.section, L"package");
            if (inPackage) description.packages.push_back(PackageInput{});
        }
        bool known = inPackage ? ApplyPackageKey(description.packages.back(), entry.key, value, folder)
                               : fw::EqualsNoCase(entry.section, L"installer") &&
                                     ApplyInstallerKey(description, entry.key, value, folder);
        if (!known) {
            error = {path, L"unknown key \"" + entry.key + L"\" in section [" + entry.section + L"]"};
            return false;
        }
    }
    for (const PackageInput& package : description.packages) {
        if (package.msi.empty()) {
            error = {path, L"a [package] section has no \"file\""};
            return false;
        }
    }
    return true;
}
