// The version block of a built installer: the template's block (or a plain
// one when the template has none that reads) with the main product's name,
// version and maker.
#pragma once

#include <windows.h>

#include <string>

#include "builder/PackageFacts.h"

bool WriteInstallerVersion(const std::wstring& installer, const PackageFacts& main, const std::wstring& fileName);

// "2024.1.2" -> 2024, 1, 2, 0 packed as the fixed info's two 32-bit halves.
void PackVersion(const std::wstring& text, DWORD& high, DWORD& low);
