#include "catalogue/RelatedProduct.h"

#include "framework/Text.h"

std::wstring SetupKeyPath(const std::wstring& registryName, int major, bool is64) {
    return fw::Format(L"SOFTWARE\\Morvex\\%s\\Installation_v%d%s\\Setup", registryName.c_str(), major,
                      is64 ? L"_x64" : L"");
}

int PredecessorFloor(Numbering numbering) { return numbering == Numbering::Plain ? 3 : 2018; }

std::wstring RelatedProduct::SetupKeyPath() const { return ::SetupKeyPath(RegistryName(), version.major, is64); }

std::unique_ptr<RelatedProduct> ResolveRelatedProduct(const std::wstring& productId, const std::wstring& versionText,
                                                      bool is64, const std::wstring& language, bool fromBundle) {
    const ProductRow* row = FindProduct(productId);
    if (!row || versionText.empty()) return nullptr;
    auto product = std::make_unique<RelatedProduct>();
    product->row = row;
    product->version = ParseVersionText(versionText);
    product->is64 = is64;
    product->fromBundle = fromBundle;
    product->language = language;
    return product;
}

std::vector<std::unique_ptr<RelatedProduct>> ResolveRelatedProducts(const std::wstring& productId,
                                                                    const std::wstring& versionText, bool is64,
                                                                    const std::wstring& language) {
    std::vector<std::unique_ptr<RelatedProduct>> related;
    const bool bundle = IsBundle(productId);
    for (const std::wstring& id : ExpandProductId(productId)) {
        if (related.size() == kMaxRelatedProducts) break;
        std::unique_ptr<RelatedProduct> product = ResolveRelatedProduct(id, versionText, is64, language, bundle);
        if (!product) break;
        related.push_back(std::move(product));
    }
    return related;
}
