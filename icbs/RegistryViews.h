// The registry view every access names that WOW64 would redirect. The same
// code runs as a 32-bit process, whose default view is the 32-bit one, and as
// a 64-bit process, whose default is the 64-bit one: naming the view keeps
// both on the same keys. On 32-bit Windows the view bits are ignored.
#pragma once

#include <windows.h>

namespace registry_view {

// Where 32-bit products (and the maker's 32-bit records) live.
constexpr REGSAM k32 = KEY_WOW64_32KEY;
// Where 64-bit products, and Windows Installer's own records, live.
constexpr REGSAM k64 = KEY_WOW64_64KEY;

// The view of a product's own records.
constexpr REGSAM ForProduct(bool is64) { return is64 ? k64 : k32; }

}  // namespace registry_view
