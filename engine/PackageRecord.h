// One row of the package catalogue as the installer's resources give it:
// the product it installs and the resources that carry it. Plain data that
// never touches the machine.
#pragma once

#include <string>

struct PackageRecord {
    std::wstring name;
    std::wstring productCode;
    std::wstring packageCode;
    std::wstring productId;
    bool is64 = false;
    std::wstring versionText;
    std::wstring packageResource;   // PACKAGE_<n>
    std::wstring transformPattern;  // PACKAGE_<n>_%s
    bool isMain = false;
};
