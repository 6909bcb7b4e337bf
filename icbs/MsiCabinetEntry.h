// Extracts one entry of a cabinet file on disk with the cabinet library's
// decompression interface.
#pragma once

#include <string>

// Writes the entry named entryName (exact, case-sensitive) of the cabinet
// at cabinetPath to targetPath. False when the cabinet cannot be read or
// has no such entry.
bool ExtractCabinetEntry(const std::wstring& cabinetPath, const std::string& entryName,
                         const std::wstring& targetPath);
