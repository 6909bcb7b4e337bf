// The project file: an [installer] section with the installer's settings
// and one section per package ("[package NAME]", in file order), with the
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
//   product-id = DY::E
//   transform.1031 = Editor_de.mst
#include "builder/BuilderArguments.h"

#include "builder/ProjectFile.h"
#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"

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
    auto file = [&](std::wstring& target) { target = FromProjectFolder(folder, value); };
    if (fw::EqualsNoCase(key, L"template")) file(d.templatePath);
    else if (fw::EqualsNoCase(key, L"out")) file(d.output);
    else if (fw::EqualsNoCase(key, L"os")) d.os = value;
    else if (fw::EqualsNoCase(key, L"minimum-msi")) d.minimumMsi = value;
    else if (fw::EqualsNoCase(key, L"properties")) d.properties = value;
    else if (fw::EqualsNoCase(key, L"product-image")) file(d.productImage);
    else if (fw::EqualsNoCase(key, L"company")) d.versionTexts.company = value;
    else if (fw::EqualsNoCase(key, L"description")) d.versionTexts.description = value;
    else if (fw::EqualsNoCase(key, L"copyright")) d.versionTexts.copyright = value;
    else if (fw::EqualsNoCase(key, L"trademarks")) d.versionTexts.trademarks = value;
    else if (fw::EqualsNoCase(key, L"report")) file(d.report);
    else if (fw::EqualsNoCase(key, L"winget-manifest")) file(d.wingetManifest);
    else if (fw::EqualsNoCase(key, L"winget-id")) d.wingetId = value;
    else if (fw::EqualsNoCase(key, L"installer-url")) d.installerUrl = value;
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
    std::string bytes;
    if (!ICBSFileUtilities::FileExists(path) || !ICBSFileUtilities::ReadAllBytes(path, bytes)) {
        error = {path, L"the project file does not exist or cannot be read"};
        return false;
    }
    std::wstring text, reason;
    std::vector<ProjectSection> sections;
    if (!DecodeProjectBytes(bytes, text)) {
        error = {path, L"the project file is neither UTF-8 nor UTF-16 text"};
        return false;
    }
    if (!ParseProjectText(text, sections, reason)) {
        error = {path, reason};
        return false;
    }
    if (sections.empty()) {
        error = {path, L"the project file holds no settings"};
        return false;
    }
    description.projectFiles.push_back(path);
    size_t separator = path.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
    for (const ProjectSection& section : sections) {
        if (section.isPackage) description.packages.push_back(PackageInput{});
        for (const ProjectSetting& setting : section.settings) {
            bool known = section.isPackage
                             ? ApplyPackageKey(description.packages.back(), setting.key, setting.value, folder)
                             : ApplyInstallerKey(description, setting.key, setting.value, folder);
            if (!known) {
                error = {path, fw::Format(L"line %d: unknown key \"%s\" in %s", setting.line, setting.key.c_str(),
                                          section.isPackage ? (L"[package " + section.name + L"]").c_str()
                                                            : L"[installer]")};
                return false;
            }
        }
        if (section.isPackage && description.packages.back().msi.empty()) {
            error = {path, fw::Format(L"line %d: [package %s] has no \"file\"", section.line, section.name.c_str())};
            return false;
        }
    }
    return true;
}
