// The version block of a built installer: the template's layout (or a plain
// one when the template has none that reads) with the main product's name,
// version and maker, the texts the builder was given, and none of the
// template's own texts.
#pragma once

#include <windows.h>

#include <string>

#include <cstdint>
#include <optional>

#include "builder/PackageFacts.h"

// epoch (seconds since 1970), when given, becomes the block's file date.
bool WriteInstallerVersion(const std::wstring& installer, const PackageFacts& main, const std::wstring& fileName,
                           const VersionTexts& texts, std::optional<int64_t> epoch);

// Seconds since 1970 as a FILETIME value (100 ns since 1601).
ULONGLONG FileTimeOfEpoch(int64_t epoch);

// "2024.1.2" -> 2024, 1, 2, 0 packed as the fixed info's two 32-bit halves.
void PackVersion(const std::wstring& text, DWORD& high, DWORD& low);
