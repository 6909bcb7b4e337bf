// Product versions: parsing the catalogue's and the registry's version texts,
// ordering, and the three ways they are written.
#pragma once

#include <string>

#include "catalogue/ProductTable.h"

struct ProductVersion {
    int major = -1;
    int minor = 0;
    int servicePack = 0;
    int build = 0;

    bool operator==(const ProductVersion&) const = default;
};

// "2020.01.02.3": major, minor, service pack (a third piece of three or more
// characters counts by its first two), build; missing pieces are 0 and an
// empty text has major -1.
ProductVersion ParseVersionText(const std::wstring& text);

// Compares major, minor, service pack, then build.
bool IsOlder(const ProductVersion& a, const ProductVersion& b);

// "2020 rel. 1 sp2 hf3" (year-based) or "5.3 sp1 beta" (plain).
std::wstring DisplayVersionText(const ProductVersion& v, Numbering numbering);
// The Windows Installer version: a year-based major counts from 1998.
std::wstring InstallerVersionText(const ProductVersion& v, Numbering numbering);
// "2020.01.02.00" (year-based) or "5.3.1.0" (plain).
std::wstring FullVersionText(const ProductVersion& v, Numbering numbering);
