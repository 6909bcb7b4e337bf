// The few file operations the database class needs: copying one file
// without overwriting, a fresh temporary file, and writing bytes to a file.
#pragma once

#include <string>

// False when the source is missing or the target already exists.
bool MsiCopyFileFailIfExists(const std::wstring& source, const std::wstring& target);

// Creates an empty file in the user's temporary folder and returns its
// path; empty when that fails.
std::wstring MsiNewTemporaryFile();

// Creates or replaces path with bytes.
bool MsiWriteFileBytes(const std::wstring& path, const std::string& bytes);
