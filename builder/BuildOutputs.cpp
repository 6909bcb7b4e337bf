#include "builder/BuildOutputs.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>

#include "framework/Text.h"

namespace {

std::string Utf8(const std::wstring& text) { return fw::ToCodePage(text, CP_UTF8); }

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (char c : Utf8(text)) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonList(const std::vector<std::wstring>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
    return out + "]";
}

// A YAML scalar in single quotes (a quote inside doubled): never read as
// anything but a string.
std::string Yaml(const std::wstring& text) {
    std::string out = "'";
    for (char c : Utf8(text)) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// The exit codes of docs/deployment.md that winget should know, as its sample
// manifest lists them.
const std::pair<int, const char*> kReturnCodes[] = {
    {1602, "cancelledByUser"},        {3, "cancelledByUser"},      {1618, "installInProgress"},
    {6, "installInProgress"},         {4, "systemNotSupported"},   {10, "systemNotSupported"},
    {1633, "systemNotSupported"},     {5, "missingDependency"},    {11, "diskFull"},
    {1624, "invalidParameter"},       {1639, "invalidParameter"},  {1625, "blockedByPolicy"},
    {1638, "downgrade"},              {1, "contactSupport"},       {9, "contactSupport"},
    {13, "contactSupport"},           {1620, "contactSupport"},    {3010, "rebootRequiredToFinish"},
    {1641, "rebootInitiated"},
};

}  // namespace

std::wstring WingetMinimumOs(const std::wstring& os) {
    if (os == L"WinNT") return L"4.0.0";
    if (os == L"WinXP") return L"5.1.0";
    std::wstring version = os.substr(0, os.find(L'/'));
    size_t dot = version.find(L'.');
    std::wstring major = version.substr(0, dot);
    std::wstring minor = L"0";
    if (dot != std::wstring::npos) minor = version.substr(dot + 1, version.find(L'.', dot + 1) - dot - 1);
    return major + L"." + minor + L".0";
}

std::string BuildReportJson(const BuildDescription& d, const BuiltInstaller& installer,
                            const std::vector<PackageFacts>& facts, const std::vector<icbs::Sha256Digest>& digests) {
    std::string json = "{\n  \"installer\": {\n";
    json += "    \"path\": " + JsonString(installer.path) + ",\n";
    json += "    \"size\": " + std::to_string(installer.size) + ",\n";
    json += "    \"sha256\": " + JsonString(icbs::DigestText(installer.digest)) + "\n  },\n  \"packages\": [";
    for (size_t i = 0; i < facts.size(); ++i) {
        const PackageFacts& f = facts[i];
        std::vector<std::wstring> languages, cabinets;
        for (const LanguageFile& transform : d.packages[i].transforms) languages.push_back(transform.language);
        for (const std::wstring& cabinet : f.cabinets) cabinets.push_back(FileNameOf(cabinet));
        json += std::string(i ? "," : "") + "\n    {\n";
        json += "      \"resource\": " + JsonString(fw::Format(L"PACKAGE_%d", static_cast<int>(i))) + ",\n";
        json += "      \"file\": " + JsonString(d.packages[i].msi) + ",\n";
        json += "      \"name\": " + JsonString(f.name) + ",\n";
        json += "      \"productCode\": " + JsonString(f.productCode) + ",\n";
        json += "      \"packageCode\": " + JsonString(f.packageCode) + ",\n";
        json += "      \"upgradeCode\": " + JsonString(f.upgradeCode) + ",\n";
        json += "      \"version\": " + JsonString(f.version) + ",\n";
        json += "      \"manufacturer\": " + JsonString(f.manufacturer) + ",\n";
        json += "      \"platform\": " + JsonString(f.platform) + ",\n";
        json += "      \"productId\": " + JsonString(f.productId) + ",\n";
        json += "      \"transforms\": " + JsonList(languages) + ",\n";
        json += "      \"externalCabinets\": " + JsonList(cabinets) + ",\n";
        json += "      \"sha256\": " + JsonString(icbs::DigestText(digests[i])) + "\n    }";
    }
    return json + "\n  ]\n}\n";
}

std::string WingetManifestYaml(const BuildDescription& d, const BuiltInstaller& installer,
                               const std::vector<PackageFacts>& facts, const std::wstring& identifier) {
    const PackageFacts& main = facts.front();
    std::wstring hash = icbs::DigestText(installer.digest);
    for (wchar_t& c : hash) c = static_cast<wchar_t>(std::towupper(c));
    std::string yaml = "# " + Utf8(FileNameOf(d.output)) +
                       " as SetupBuilder wrote it. Signing changes the installer: sign it before this manifest is\n"
                       "# written, or put the signed file's SHA-256 into InstallerSha256.\n";
    yaml += "PackageIdentifier: " + Yaml(identifier) + "\n";
    yaml += "PackageVersion: " + Yaml(main.version) + "\n";
    yaml += "MinimumOSVersion: " + Yaml(WingetMinimumOs(d.os)) + "\n";
    yaml += "InstallerType: exe\nScope: machine\nInstallModes:\n  - interactive\n  - silent\n  - silentWithProgress\n";
    yaml += "InstallerSwitches:\n  Silent: '/qn'\n  SilentWithProgress: '/qb'\n  Log: '/L*v \"<LOGPATH>\"'\n"
            "  Upgrade: '/qn'\n";
    yaml += "ExpectedReturnCodes:\n";
    for (const auto& [code, response] : kReturnCodes)
        yaml += "  - InstallerReturnCode: " + std::to_string(code) + "\n    ReturnResponse: " + response + "\n";
    yaml += "AppsAndFeaturesEntries:\n";
    yaml += "  - DisplayName: " + Yaml(main.name) + "\n";
    if (!main.manufacturer.empty()) yaml += "    Publisher: " + Yaml(main.manufacturer) + "\n";
    yaml += "    DisplayVersion: " + Yaml(main.version) + "\n";
    yaml += "    ProductCode: " + Yaml(main.productCode) + "\n";
    if (!main.upgradeCode.empty()) yaml += "    UpgradeCode: " + Yaml(main.upgradeCode) + "\n";
    bool x64 = installer.is64 || main.platform == L"x64";
    yaml += "Installers:\n  - Architecture: " + std::string(x64 ? "x64" : "x86") + "\n";
    yaml += "    InstallerUrl: " + Yaml(d.installerUrl) + "\n";
    yaml += "    InstallerSha256: " + Utf8(hash) + "\n";
    yaml += "    ProductCode: " + Yaml(main.productCode) + "\n";
    yaml += "ManifestType: installer\nManifestVersion: 1.6.0\n";
    return yaml;
}
