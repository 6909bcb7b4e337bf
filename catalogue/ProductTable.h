// The maker's products: one row per product id ("DY::E": two letters, "::",
// an edition letter), with display and registry names, numbering kind,
// upgrade code, bundle membership and service facts. One table, in one
// place; extend it by adding rows.
#pragma once

#include <string>
#include <vector>

enum class Numbering {
    Plain,      // "5.3": major.minor
    YearBased,  // "2024 rel. 2": the year is the major version
};

// An upgrade code and the first major version that carries it: a product
// keeps its code until a major version brings a new one.
struct VersionUpgradeCode {
    int fromMajor;
    const wchar_t* code;
};

struct ProductRow {
    int id;                    // numeric id: groups A and B are ranges of these
    const wchar_t* productId;  // "DY::E"
    const wchar_t* displayName;
    const wchar_t* registryName;  // null: derived from the display name
    Numbering numbering;
    std::vector<VersionUpgradeCode> upgradeCodes;  // ascending fromMajor
    bool desktop;         // a desktop application (the desktop-product list)
    bool runsAsService;   // installs a Windows service (the service page)
    bool alwaysReplaced;  // an upgrade always replaces the installed version
};

// The row of a product id (compared case-sensitively), or null.
const ProductRow* FindProduct(const std::wstring& productId);
const std::vector<ProductRow>& ProductTable();

// The upgrade code of a row's major version: the entry with the greatest
// fromMajor not above major; null before the first one.
const wchar_t* UpgradeCodeFor(const ProductRow& row, int major);

// The registry name of a row: its own, or the display name without a leading
// "Morvex " and without spaces.
std::wstring RegistryNameOf(const ProductRow& row);

// A bundle id expands into its components (at most eight); any other id is
// itself. An empty id gives nothing.
std::vector<std::wstring> ExpandProductId(const std::wstring& productId);
bool IsBundle(const std::wstring& productId);
// The bundle ids, in table order.
std::vector<std::wstring> BundleIds();

// Numeric-id groups of the upgrade rules: A (0 to 5, 7, 9) and B (13 to 19
// except 17).
bool InGroupA(const ProductRow& row);
bool InGroupB(const ProductRow& row);

// The product-id lists of the options: every desktop application, and every
// product (desktop applications first, then the servers).
const std::vector<std::wstring>& DesktopProductIds();
const std::vector<std::wstring>& AllProductIds();
