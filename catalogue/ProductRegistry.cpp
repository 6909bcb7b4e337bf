// RelatedProduct: what the maker's installations left in the setup keys of
// the registry (a 64-bit product in the 64-bit view, any other in the 32-bit
// view).
#include <optional>

#include "catalogue/RelatedProduct.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/ProgramFilesFolder.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"

namespace {

// Opens the setup key read-only; not open when it is missing.
struct SetupKey : RegistryKey {
    SetupKey(const std::wstring& registryName, int major, bool is64)
        : RegistryKey(RegistryKey::LocalMachine(), SetupKeyPath(registryName, major, is64), true, false,
                      registry_view::ForProduct(is64)) {}
};

// "InstalledFromTarnwell": a non-zero number, or a text other than "" and "0".
bool InstalledFromBundle(const RegistryKey& key) {
    std::optional<RegistryValue> value = key.GetRaw(L"InstalledFromTarnwell");
    if (!value) return false;
    if (value->type == REG_DWORD) return key.GetDword(L"InstalledFromTarnwell") != 0;
    std::wstring text = key.GetString(L"InstalledFromTarnwell");
    return !text.empty() && text != L"0";
}

bool IsExistingFile(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool RelatedProduct::IsVersionInstalled() const {
    if (!row) return false;
    SetupKey key(RegistryName(), version.major, is64);
    if (!key.IsOpen()) return false;
    std::wstring installed = key.GetString(L"Version");
    return !installed.empty() && ParseVersionText(installed) == version && key.GetString(L"ProductId") == ProductId();
}

std::unique_ptr<RelatedProduct> RelatedProduct::FindInstalledRelease() const {
    if (!row) return nullptr;
    for (int major = version.major; major >= PredecessorFloor(row->numbering); --major) {
        SetupKey key(RegistryName(), major, is64);
        if (!key.IsOpen()) continue;
        std::wstring versionText = key.GetString(L"Version");
        if (versionText.empty() || InstalledFromBundle(key) != fromBundle) continue;
        std::wstring productId = key.GetString(L"ProductId");
        if (productId.empty()) productId = ProductId();
        std::unique_ptr<RelatedProduct> found =
            ResolveRelatedProduct(productId, versionText, is64, key.GetString(L"Language"), fromBundle);
        // An installation of a product this launcher does not know is not a
        // predecessor; older versions may still be.
        if (!found) continue;
        found->applicationPath = key.GetString(L"ApplicationPath");
        found->applicationExists = IsExistingFile(found->applicationPath);
        return found;
    }
    return nullptr;
}

std::unique_ptr<RelatedProduct> RelatedProduct::FindInstalledPredecessor() const {
    std::unique_ptr<RelatedProduct> found = FindInstalledRelease();
    if (!found || !IsOlder(found->version, version)) return nullptr;
    return found;
}

std::wstring RelatedProduct::DefaultInstallFolder() const {
    if (!row) return std::wstring();
    std::wstring base = ProgramFilesFolder(is64);
    if (base.empty()) return std::wstring();
    return base + L"\\Morvex\\" + RegistryName() + std::to_wstring(version.major);
}
