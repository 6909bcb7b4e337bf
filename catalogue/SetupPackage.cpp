#include "catalogue/SetupPackage.h"

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
