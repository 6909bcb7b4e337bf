#include "builder/BuilderArguments.h"

#include <functional>
#include <map>

#include "framework/Text.h"

namespace {

using Setter = std::function<bool(BuildDescription&, const std::wstring&, BuildError&)>;

bool SplitLanguageFile(const std::wstring& option, const std::wstring& value, LanguageFile& pair, BuildError& error) {
    size_t equals = value.find(L'=');
    if (equals == 0 || equals == std::wstring::npos || equals + 1 == value.size()) {
        error = {L"", option + L" takes LANGID=FILE (for example 1031=German.mst), not \"" + value + L"\"", true};
        return false;
    }
    pair = {fw::Trim(value.substr(0, equals)), fw::Trim(value.substr(equals + 1))};
    return true;
}

// Options of the package named by the last --package.
Setter ForPackage(const std::wstring& option, std::function<void(PackageInput&, const std::wstring&)> set) {
    return [option, set](BuildDescription& d, const std::wstring& value, BuildError& error) {
        if (d.packages.empty()) {
            error = {L"", option + L" applies to the --package before it, and there is none", true};
            return false;
        }
        set(d.packages.back(), value);
        return true;
    };
}

const std::map<std::wstring, Setter>& Setters() {
    static const std::map<std::wstring, Setter> setters = {
        {L"--template", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.templatePath = v, true; }},
        {L"--out", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.output = v, true; }},
        {L"--package",
         [](BuildDescription& d, const std::wstring& v, BuildError&) {
             d.packages.push_back(PackageInput{v});
             return true;
         }},
        {L"--os", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.os = v, true; }},
        {L"--minimum-msi", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.minimumMsi = v, true; }},
        {L"--properties", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.properties = v, true; }},
        {L"--product-image",
         [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.productImage = v, true; }},
        {L"--background",
         [](BuildDescription& d, const std::wstring& v, BuildError& e) {
             LanguageFile pair;
             if (!SplitLanguageFile(L"--background", v, pair, e)) return false;
             d.backgrounds.push_back(pair);
             return true;
         }},
        {L"--project", [](BuildDescription& d, const std::wstring& v, BuildError& e) { return ReadBuilderProject(v, d, e); }},
        {L"--company", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.versionTexts.company = v, true; }},
        {L"--description",
         [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.versionTexts.description = v, true; }},
        {L"--copyright",
         [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.versionTexts.copyright = v, true; }},
        {L"--trademarks",
         [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.versionTexts.trademarks = v, true; }},
        {L"--report", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.report = v, true; }},
        {L"--winget-manifest",
         [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.wingetManifest = v, true; }},
        {L"--winget-id", [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.wingetId = v, true; }},
        {L"--installer-url",
         [](BuildDescription& d, const std::wstring& v, BuildError&) { return d.installerUrl = v, true; }},
        {L"--product-id", ForPackage(L"--product-id", [](PackageInput& p, const std::wstring& v) { p.productId = v; })},
        {L"--name", ForPackage(L"--name", [](PackageInput& p, const std::wstring& v) { p.name = v; })},
        {L"--product-code", ForPackage(L"--product-code", [](PackageInput& p, const std::wstring& v) { p.productCode = v; })},
        {L"--package-code", ForPackage(L"--package-code", [](PackageInput& p, const std::wstring& v) { p.packageCode = v; })},
        {L"--version", ForPackage(L"--version", [](PackageInput& p, const std::wstring& v) { p.version = v; })},
        {L"--platform", ForPackage(L"--platform", [](PackageInput& p, const std::wstring& v) { p.platform = v; })},
        {L"--transform",
         [](BuildDescription& d, const std::wstring& v, BuildError& e) {
             LanguageFile pair;
             if (!SplitLanguageFile(L"--transform", v, pair, e)) return false;
             return ForPackage(L"--transform", [&](PackageInput& p, const std::wstring&) { p.transforms.push_back(pair); })(
                 d, v, e);
         }},
    };
    return setters;
}

}  // namespace

bool ParseBuilderArguments(const std::vector<std::wstring>& arguments, BuildDescription& description,
                           BuildError& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::wstring option = arguments[i];
        if (option == L"--help" || option == L"-h" || option == L"/?" || option == L"-?") {
            description.help = true;
            continue;
        }
        if (option == L"--remove-signature") {
            description.removeSignature = true;
            continue;
        }
        std::wstring value;
        bool hasValue = false;
        if (size_t equals = option.find(L'='); fw::StartsWithNoCase(option, L"--") && equals != std::wstring::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        auto setter = Setters().find(option);
        if (setter == Setters().end()) {
            error = {L"", L"unknown option \"" + option + L"\" (SetupBuilder --help lists the options)", true};
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                error = {L"", option + L" needs a value", true};
                return false;
            }
            value = arguments[++i];
        }
        if (!setter->second(description, value, error)) return false;
    }
    return true;
}

std::wstring BuilderUsage() {
    return L"SetupBuilder: makes a product installer from the bare launcher and Windows Installer packages.\r\n"
           L"\r\n"
           L"Usage: SetupBuilder --out FILE --package FILE.msi [package options] [--package ...] [options]\r\n"
           L"       SetupBuilder --project FILE.ini [options]\r\n"
           L"\r\n"
           L"  --template FILE        the bare launcher (default: SetupLauncher.exe beside SetupBuilder.exe)\r\n"
           L"  --out FILE             the installer to write; an existing one is replaced only on success;\r\n"
           L"                         it may not name any input\r\n"
           L"  --package FILE.msi     a package, repeatable; the first is the main product. The external\r\n"
           L"                         cabinets its Media table names must lie beside it; they are carried\r\n"
           L"                         and unpacked beside the database\r\n"
           L"    --product-id ID        the product id of the package before it (an id of the launcher's\r\n"
           L"                           product table, for example DY::E; none by default)\r\n"
           L"    --transform LANGID=FILE.mst  its language transform (1031, 1034, 1036 or 1041)\r\n"
           L"    --name, --version TEXT     override the database's ProductName, ProductVersion\r\n"
           L"    --product-code, --package-code {GUID}  override its codes\r\n"
           L"    --platform x64|Intel       override its platform (x86 and amd64 are read as Intel and x64)\r\n"
           L"  --os VERSION           the minimum Windows version the launcher checks: major.minor[.sp] with an\r\n"
           L"                         optional /WSOnly, or WinXP (default 6.1.1: Windows 7 SP1)\r\n"
           L"  --minimum-msi N        the Windows Installer version recorded in the catalogue (default 200);\r\n"
           L"                         /v requires the entry, the launcher does not compare it\r\n"
           L"  --properties TEXT      NAME=value items added to every installation (quote values with blanks)\r\n"
           L"  --product-image FILE.ico   the picture of the welcome and finish pages\r\n"
           L"  --background LANGID=FILE.bmp  the wizard background of one language (1031, 1033, ...)\r\n"
           L"  --company, --description, --copyright, --trademarks TEXT\r\n"
           L"                         the version block's texts (default: the main package's Manufacturer,\r\n"
           L"                         \"<name> Setup\", \"Copyright (C) <Manufacturer>\", none)\r\n"
           L"  --report FILE.json     what was built: the installer's size and SHA-256, each package's facts\r\n"
           L"  --winget-manifest FILE.yaml  a winget installer manifest of the installer (schema 1.6), with\r\n"
           L"    --installer-url URL    where it will be downloaded from (required with it)\r\n"
           L"    --winget-id ID         its PackageIdentifier (default: Manufacturer.ProductName)\r\n"
           L"                         Sign before writing the manifest: signing changes the installer and its\r\n"
           L"                         InstallerSha256 (sign a copy, then hash it anew)\r\n"
           L"  --project FILE.ini     settings and packages from a project file ([installer], [package NAME])\r\n"
           L"  --remove-signature     remove the template's Authenticode signature instead of refusing it\r\n"
           L"  --help                 this text\r\n"
           L"\r\n"
           L"SOURCE_DATE_EPOCH (seconds since 1970), when set, is every time stamp written: cabinet entries,\r\n"
           L"version block, program header. The same inputs and options give the same installer, byte for\r\n"
           L"byte, whatever the files' times, the time zone and the clock.\r\n"
           L"\r\n"
           L"Example:\r\n"
           L"  SetupBuilder --out setup.exe --package Editor.msi --product-id DY::E --transform 1031=Editor_de.mst\r\n"
           L"               --transform 1034=Editor_es.mst --transform 1041=Editor_ja.mst\r\n"
           L"               --package Tools.msi --os 6.1.1 --product-image Editor.ico --report setup.json\r\n"
           L"\r\n"
           L"Exit codes: 0 built (warnings may be printed); 1 an input or the build failed: one line naming\r\n"
           L"the file and the reason, and nothing written; 2 a mistake on the command line.\r\n";
}
