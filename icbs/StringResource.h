// String resources used as format patterns: the text of a string-table id,
// formatted with further arguments.
#pragma once

// LoadString is a Windows macro; the header is included here so that every
// user of this file sees the same (expanded) name.
#include <windows.h>

#include <string>

namespace icbs {

// The string resource id of module, read into a 256-character buffer that
// grows by 256 characters (and the read is repeated) while the text fills it
// up to its last two characters; the text is then the pattern of Format with
// the further arguments. A missing resource gives an empty string.
std::wstring LoadStringFrom(HMODULE module, UINT id, ...);
// The same from the launcher's own module, which holds its string tables.
std::wstring LoadString(UINT id, ...);

}  // namespace icbs
