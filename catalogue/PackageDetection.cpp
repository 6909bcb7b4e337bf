// SetupPackage: what Windows Installer knows about a product.
#include "catalogue/InstallerQueries.h"
#include "catalogue/SetupPackage.h"
#include "framework/SystemApi.h"

namespace {

// MsiGetProductInfoW into a buffer of the given size; nothing when it fails.
std::optional<std::wstring> ProductInfo(const std::wstring& productCode, const wchar_t* property, DWORD size) {
    std::wstring value(size, L'\0');
    DWORD length = size;
    if (fw::Msi().MsiGetProductInfoW(productCode.c_str(), property, value.data(), &length) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(length);
    return value;
}

int DecimalInfo(const std::wstring& productCode, const wchar_t* property) {
    std::optional<std::wstring> text = ProductInfo(productCode, property, 11);
    return text ? static_cast<int>(wcstoul(text->c_str(), nullptr, 10)) : 0;
}

}  // namespace

bool IsProductRegistered(const std::wstring& productCode) {
    if (productCode.empty()) return false;
    wchar_t code[39];
    for (DWORD index = 0; fw::Msi().MsiEnumProductsW(index, code) == ERROR_SUCCESS; ++index)
        if (productCode == code) return true;
    return false;
}

std::optional<std::wstring> RegisteredPackageCode(const std::wstring& productCode) {
    return ProductInfo(productCode, INSTALLPROPERTY_PACKAGECODE, 256);
}

std::optional<std::wstring> RegisteredInstallSource(const std::wstring& productCode) {
    return ProductInfo(productCode, INSTALLPROPERTY_INSTALLSOURCE, 4096);
}

std::optional<std::wstring> RegisteredVersion(const std::wstring& productCode) {
    return ProductInfo(productCode, INSTALLPROPERTY_VERSIONSTRING, 64);
}

bool InstallerQueries::IsProductRegistered(const std::wstring& productCode) const {
    return ::IsProductRegistered(productCode);
}

std::optional<std::wstring> InstallerQueries::RegisteredPackageCode(const std::wstring& productCode) const {
    return ::RegisteredPackageCode(productCode);
}

bool SetupPackage::IsInstalled() const { return !fromOtherInstaller && IsProductRegistered(productCode); }

int SetupPackage::InstalledVersionMajor(const std::wstring& productCode) {
    return DecimalInfo(productCode, INSTALLPROPERTY_VERSIONMAJOR);
}

int SetupPackage::InstalledVersionMinor(const std::wstring& productCode) {
    return DecimalInfo(productCode, INSTALLPROPERTY_VERSIONMINOR);
}

std::optional<std::wstring> SetupPackage::ProductOfComponent(const std::wstring& componentCode) {
    wchar_t product[39] = {};
    if (fw::Msi().MsiGetProductCodeW(componentCode.c_str(), product) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(product);
}
