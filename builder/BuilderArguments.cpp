#include "builder/BuilderArguments.h"

#include <functional>
#include <map>

#include "framework/Text.h"

namespace {

using Setter = std::function<bool(BuildDescription&, const std::wstring&, BuildError&)>;

bool SplitLanguageFile(const std::wstring& option, const std::wstring& value, LanguageFile& pair, BuildError& error) {
    size_t equals = value.find(L'=');
    if (equals == 0 || equals == std::wstring::npos || equals + 1 == value.size()) {
        error = {L"", option + L" takes LANGID=FILE (for example 1031=German.mst), not \"" + value + L"\""};
        return false;
    }
    pair = {fw::Trim(value.substr(0, equals)), fw::Trim(value.substr(equals + 1))};
    return true;
}

// Options of the package named by the last --package.
Setter ForPackage(const std::wstring& option, std::function<void(PackageInput&, const std::wstring&)> set) {
    return [option, set](BuildDescription& d, const std::wstring& value, BuildError& error) {
        if (d.packages.empty()) {
            error = {L"", option + L" applies to the --package before it, and there is none"};
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
            error = {L"", L"unknown option \"" + option + L"\" (SetupBuilder --help lists the options)"};
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                error = {L"", option + L" needs a value"};
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
           L"\r\n"
           L"  --template FILE        the bare launcher (default: SetupLauncher.exe beside SetupBuilder.exe)\r\n"
           L"  --out FILE             the installer to write; an existing one is replaced only on success\r\n"
           L"  --package FILE.msi     a package, repeatable; the first is the main product\r\n"
           L"    --product-id ID        the product id of the package before it\r\n"
           L"    --transform LANGID=FILE.mst  its language transform (1031, 1034, 1036 or 1041)\r\n"
           L"    --name, --product-code, --package-code, --version, --platform TEXT\r\n"
           L"                           override what the database says (platform: x64 or Intel)\r\n"
           L"  --os TEXT              the minimum Windows version (default 6.1.1)\r\n"
           L"  --minimum-msi N        the minimum Windows Installer version (default 200)\r\n"
           L"  --properties TEXT      properties added to every installation\r\n"
           L"  --product-image FILE.ico   the picture of the welcome and finish pages\r\n"
           L"  --background LANGID=FILE.bmp  the wizard background of one language (1031, 1033, ...)\r\n"
           L"  --project FILE.ini     settings and packages from a project file ([installer], [package ...])\r\n"
           L"  --remove-signature     remove the template's Authenticode signature instead of refusing it\r\n"
           L"  --help                 this text\r\n"
           L"\r\n"
           L"Example:\r\n"
           L"  SetupBuilder --out setup.exe --package Editor.msi --product-id ED --transform 1031=Editor_de.mst\r\n"
           L"               --package Tools.msi --os 6.1.1 --product-image Editor.ico\r\n"
           L"\r\n"
           L"Exit code 0 on success; otherwise 1 and one line naming the file and the reason.\r\n";
}
