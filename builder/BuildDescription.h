// What a product installer is made of: the template, the packages in
// catalogue order with their transforms and overrides, and the installer's
// own settings. Filled from the command line and the project file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LanguageFile {
    std::wstring language;  // decimal LANGID text, "1031"
    std::wstring file;
};

struct PackageInput {
    std::wstring msi;
    std::wstring productId;
    // Overrides of what the database says.
    std::optional<std::wstring> name, productCode, packageCode, version, platform;
    std::vector<LanguageFile> transforms;
};

// The texts of the installer's version block that the builder was given;
// the others come from the main package.
struct VersionTexts {
    std::optional<std::wstring> company, description, copyright, trademarks;
};

struct BuildDescription {
    std::wstring templatePath;  // empty: the bare launcher beside the builder
    std::wstring output;
    std::vector<PackageInput> packages;
    std::wstring os = L"6.1.1";
    std::wstring minimumMsi = L"200";
    std::optional<std::wstring> properties;
    std::wstring productImage;
    std::vector<LanguageFile> backgrounds;
    VersionTexts versionTexts;
    std::wstring report;           // --report FILE.json
    std::wstring wingetManifest;   // --winget-manifest FILE.yaml
    std::wstring wingetId;         // its PackageIdentifier (default: from the main package)
    std::wstring installerUrl;     // its InstallerUrl
    std::vector<std::wstring> projectFiles;  // read for this build
    // SOURCE_DATE_EPOCH: seconds since 1970 for every time stamp written.
    std::optional<int64_t> sourceDateEpoch;
    bool removeSignature = false;
    bool help = false;
};

// The builder's failure: the file it concerns (may be empty) and the reason.
struct BuildError {
    std::wstring file;
    std::wstring reason;
    // A mistake on the command line itself (exit code 2), not in an input.
    bool commandLine = false;
    // "file: reason", or the reason alone.
    std::wstring Text() const { return file.empty() ? reason : file + L": " + reason; }
};
