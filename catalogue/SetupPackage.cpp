#include "catalogue/SetupPackage.h"

#include "framework/SystemApi.h"

bool SetupPackage::IsInstalled() const {
    if (fromOtherInstaller || productCode.empty()) return false;
    wchar_t code[39];
    for (DWORD index = 0; fw::Msi().MsiEnumProductsW(index, code) == ERROR_SUCCESS; ++index)
        if (productCode == code) return true;
    return false;
}

SetupPackage::SetupPackage(CSetupApp* app, PackageFields fields)
    : owner(app),
      isMain(fields.isMain),
      name(std::move(fields.name)),
      productCode(std::move(fields.productCode)),
      packageCode(std::move(fields.packageCode)),
      packageResource(std::move(fields.packageResource)),
      transformPattern(std::move(fields.transformPattern)),
      productId(std::move(fields.productId)),
      is64(fields.is64),
      versionText(std::move(fields.versionText)) {}
