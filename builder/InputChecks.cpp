#include "builder/InputChecks.h"

#include <cwctype>

#include "builder/BuildFailure.h"
#include "builder/PathIdentity.h"
#include "builder/TemplateChecks.h"
#include "builder/TransformFit.h"
#include "builder/ValueChecks.h"
#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/TextUtilities.h"

namespace {

const wchar_t* const kRequiredLanguages[] = {L"1031", L"1034", L"1041"};

bool CheckValues(const BuildDescription& d, BuildError& error) {
    std::wstring reason;
    if (!CheckOsText(d.os, reason)) return Fail(error, L"", L"--os: " + reason);
    if (!CheckMinimumMsi(d.minimumMsi, reason)) return Fail(error, L"", L"--minimum-msi: " + reason);
    if (d.properties && !CheckPropertiesText(*d.properties, reason)) return Fail(error, L"", L"--properties: " + reason);
    for (const PackageInput& package : d.packages)
        if (!CheckProductId(package.productId, reason)) return Fail(error, package.msi, L"--product-id: " + reason);
    if (!d.wingetManifest.empty()) {
        if (d.installerUrl.empty())
            return Fail(error, d.wingetManifest, L"--winget-manifest needs --installer-url URL (where the installer "
                                                 L"will be downloaded from)");
        if (!fw::StartsWithNoCase(d.installerUrl, L"https://") && !fw::StartsWithNoCase(d.installerUrl, L"http://"))
            return Fail(error, L"", L"--installer-url: \"" + d.installerUrl + L"\" is not an http or https address");
    }
    return true;
}

// One language may come once per package (transforms) or installer
// (backgrounds).
bool CheckLanguagesOnce(const std::vector<LanguageFile>& files, const std::wstring& what, BuildError& error) {
    for (size_t i = 0; i < files.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (files[i].language == files[j].language)
                return Fail(error, files[i].file, L"a second " + what + L" for language " + files[i].language +
                                                      L" (the first is " + files[j].file + L")");
    return true;
}

bool CheckTransformFits(const LanguageFile& transform, const PackageInput& input, const PackageFacts& facts,
                        BuildError& error) {
    TransformSummary summary;
    if (!ReadTransformSummary(transform.file, summary))
        return Fail(error, transform.file, L"the transform's summary cannot be read");
    std::wstring misfit = TransformMisfit(summary, facts);
    if (misfit.empty()) return true;
    return Fail(error, transform.file, L"the transform does not apply to " + input.msi + L": " + misfit);
}

bool CheckPackages(const BuildDescription& d, std::vector<PackageFacts>& facts, BuildError& error) {
    for (const PackageInput& input : d.packages) {
        PackageFacts read;
        if (!ReadPackageFacts(input, read, error)) return false;
        if (!CheckLanguagesOnce(input.transforms, L"transform", error)) return false;
        for (const LanguageFile& transform : input.transforms)
            if (!CheckTransform(transform, error) || !CheckTransformFits(transform, input, read, error)) return false;
        for (size_t j = 0; j < facts.size(); ++j) {
            if (fw::EqualsNoCase(facts[j].packageCode, read.packageCode))
                return Fail(error, input.msi, L"its package code " + read.packageCode + L" is that of " +
                                                  d.packages[j].msi + L" too (each package needs its own folder)");
            if (fw::EqualsNoCase(facts[j].productCode, read.productCode))
                return Fail(error, input.msi, L"its product code " + read.productCode + L" is that of " +
                                                  d.packages[j].msi + L" too");
        }
        facts.push_back(read);
    }
    return true;
}

bool HasLanguage(const PackageInput& package, const wchar_t* language) {
    for (const LanguageFile& transform : package.transforms)
        if (transform.language == language) return true;
    return false;
}

// A German transform for the main product makes a multi-language
// installer: every package then needs 1031, 1034 and 1041 (all missing ones
// named at once); French is optional.
bool CheckLanguageSet(const BuildDescription& d, std::vector<std::wstring>& warnings, BuildError& error) {
    bool multiLanguage = HasLanguage(d.packages.front(), L"1031");
    std::wstring missing;
    for (const PackageInput& package : d.packages) {
        if (!multiLanguage) {
            if (!package.transforms.empty())
                warnings.push_back(package.msi + L": its transforms are not used: only a multi-language installer "
                                                 L"(one whose main package has a German transform) applies them");
            continue;
        }
        std::wstring languages;
        for (const wchar_t* language : kRequiredLanguages)
            if (!HasLanguage(package, language)) languages += std::wstring(languages.empty() ? L"" : L", ") + language;
        if (!languages.empty()) missing += (missing.empty() ? L"" : L"; ") + package.msi + L" " + languages;
        if (!HasLanguage(package, L"1036"))
            warnings.push_back(package.msi + L": no French transform (1036): French users get the package in its "
                                             L"own language");
    }
    if (missing.empty()) return true;
    return Fail(error, L"", L"a multi-language installer (its main package has a German transform) needs the 1031, "
                            L"1034 and 1041 transforms of every package; missing: " + missing);
}

// Every file the build reads.
std::vector<std::wstring> Inputs(const BuildDescription& d, const std::wstring& templatePath,
                                 const std::vector<PackageFacts>& facts) {
    std::vector<std::wstring> inputs = {templatePath};
    for (size_t i = 0; i < d.packages.size(); ++i) {
        inputs.push_back(d.packages[i].msi);
        for (const LanguageFile& transform : d.packages[i].transforms) inputs.push_back(transform.file);
        if (i < facts.size()) inputs.insert(inputs.end(), facts[i].cabinets.begin(), facts[i].cabinets.end());
    }
    for (const LanguageFile& background : d.backgrounds) inputs.push_back(background.file);
    if (!d.productImage.empty()) inputs.push_back(d.productImage);
    inputs.insert(inputs.end(), d.projectFiles.begin(), d.projectFiles.end());
    return inputs;
}

// No file the build writes is an input, nor another file it writes.
bool CheckOutputs(const BuildDescription& d, const std::vector<std::wstring>& inputs, BuildError& error) {
    const std::pair<const wchar_t*, const std::wstring*> outputs[] = {
        {L"--out", &d.output}, {L"--report", &d.report}, {L"--winget-manifest", &d.wingetManifest}};
    for (size_t i = 0; i < std::size(outputs); ++i) {
        const auto& [option, path] = outputs[i];
        if (path->empty()) continue;
        for (const std::wstring& input : inputs)
            if (SameFile(*path, input))
                return Fail(error, *path, std::wstring(option) + L" names an input of the build (" + input +
                                              L"); nothing was written");
        for (size_t j = 0; j < i; ++j)
            if (SameFile(*path, *outputs[j].second))
                return Fail(error, *path, std::wstring(option) + L" names the same file as " + outputs[j].first);
    }
    return true;
}

}  // namespace

bool CheckBuildInputs(const BuildDescription& d, const std::wstring& templatePath, std::vector<PackageFacts>& facts,
                      std::vector<std::wstring>& warnings, BuildError& error) {
    if (d.output.empty()) return Fail(error, L"", L"no --out FILE given");
    if (d.packages.empty()) return Fail(error, L"", L"no --package FILE.msi given");
    if (!CheckValues(d, error) || !CheckPackages(d, facts, error) ||
        !CheckOutputs(d, Inputs(d, templatePath, facts), error))
        return false;
    if (!CheckLanguageSet(d, warnings, error) || !CheckLanguagesOnce(d.backgrounds, L"background", error)) return false;
    for (const LanguageFile& background : d.backgrounds)
        if (!CheckBackground(background, error)) return false;
    if (!d.productImage.empty() && !ICBSFileUtilities::FileExists(d.productImage))
        return Fail(error, d.productImage, L"the product image does not exist");
    if (!d.wingetManifest.empty() && WingetIdentifier(d, facts.front()).empty())
        return Fail(error, d.wingetManifest, L"--winget-id Publisher.Package is needed: \"" + d.wingetId +
                                                 L"\" is not a winget package identifier, and none can be made from "
                                                 L"the main package's Manufacturer and ProductName");
    return true;
}

std::wstring WingetIdentifier(const BuildDescription& d, const PackageFacts& main) {
    auto segment = [](const std::wstring& text) {
        std::wstring kept;
        for (wchar_t c : text)
            if (!std::iswspace(c) && c >= 0x20 && std::wstring(L".\\/:*?\"<>|").find(c) == std::wstring::npos) kept += c;
        return kept.substr(0, 32);
    };
    if (d.wingetId.empty()) {
        std::wstring publisher = segment(main.manufacturer), name = segment(main.name);
        return publisher.empty() || name.empty() ? std::wstring() : publisher + L"." + name;
    }
    // Two to eight segments of 1 to 32 characters that winget accepts.
    std::vector<std::wstring> parts = icbs::SplitAll(d.wingetId, L'.');
    for (const std::wstring& part : parts)
        if (part.empty() || segment(part) != part) return std::wstring();
    return parts.size() >= 2 && parts.size() <= 8 && d.wingetId.size() <= 128 ? d.wingetId : std::wstring();
}
