// One of the maker's products as a package stands for it, or as an older
// installation left it in the registry: its product-table row, version,
// bitness, language and whether it came with a bundle.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue/ProductTable.h"
#include "catalogue/ProductVersion.h"

// A bundle expands into at most this many products.
constexpr size_t kMaxRelatedProducts = 8;

struct RelatedProduct {
    const ProductRow* row = nullptr;
    ProductVersion version;
    bool is64 = false;
    bool fromBundle = false;  // installed as part of a bundle
    std::wstring language;    // two-letter language code, may be empty
    // Found with an older installation: its "ApplicationPath" and whether
    // that file exists.
    std::wstring applicationPath;
    bool applicationExists = false;
    // The catalogue package this record is the predecessor of (set by the
    // upgrade detection); null when it was found for no particular package.
    const void* forPackage = nullptr;

    std::wstring ProductId() const { return row ? row->productId : L""; }
    std::wstring DisplayName() const { return row ? row->displayName : L""; }
    std::wstring RegistryName() const { return row ? RegistryNameOf(*row) : L""; }
    Numbering NumberingKind() const { return row ? row->numbering : Numbering::YearBased; }

    std::wstring DisplayVersion() const { return DisplayVersionText(version, NumberingKind()); }
    std::wstring InstallerVersion() const { return InstallerVersionText(version, NumberingKind()); }
    std::wstring FullVersion() const { return FullVersionText(version, NumberingKind()); }

    // "SOFTWARE\Morvex\<registry name>\Installation_v<major>[_x64]\Setup" of
    // the own major version.
    std::wstring SetupKeyPath() const;

    // The registry records this very version of this product ("Version" and
    // "ProductId" of its setup key).
    bool IsVersionInstalled() const;
    // The newest installation of this product found in the setup keys from
    // the own major version down to the numbering kind's floor, older or
    // not, with its "ApplicationPath"; null when there is none.
    std::unique_ptr<RelatedProduct> FindInstalledRelease() const;
    // That installation when it is older than this one; null otherwise.
    std::unique_ptr<RelatedProduct> FindInstalledPredecessor() const;

    // The folder an installation of this version goes to unless the user
    // chose another: "<Program Files of its platform>\Morvex\<registry
    // name><major>". Empty without a table row.
    std::wstring DefaultInstallFolder() const;
};

// The setup key of a product version, below HKEY_LOCAL_MACHINE.
std::wstring SetupKeyPath(const std::wstring& registryName, int major, bool is64);
// The oldest major version the predecessor search looks at.
int PredecessorFloor(Numbering numbering);

// One product id with a version text: null when the id has no table row or
// the text holds no version.
std::unique_ptr<RelatedProduct> ResolveRelatedProduct(const std::wstring& productId, const std::wstring& versionText,
                                                      bool is64, const std::wstring& language, bool fromBundle);

// The products a package's product id stands for: a bundle's components or
// the product itself. Resolution stops at the first id that cannot be
// resolved; the ones before it are kept.
std::vector<std::unique_ptr<RelatedProduct>> ResolveRelatedProducts(const std::wstring& productId,
                                                                    const std::wstring& versionText, bool is64,
                                                                    const std::wstring& language);
