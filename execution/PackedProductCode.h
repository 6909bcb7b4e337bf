// The packed form of a product code that Windows Installer uses in the names
// of its own registry keys (Software\Classes\Installer\Products\<packed>).
#pragma once

#include <string>

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (38 characters, hexadecimal
// digits in groups of 8, 4, 4, 4 and 12) becomes 32 characters: the first
// three groups each reversed, then every two-digit pair of the last two
// groups with its digits swapped. Anything else gives an empty text.
std::wstring PackProductCode(const std::wstring& productCode);
